// The application-wide pointer shape shown through Qt's override cursor.
#pragma once

#include "platform/Screen.h"

class TQtScreen : public TScreen {
public:
    ~TQtScreen() override;
    TCursor Cursor() const override { return Current; }
    void SetCursor(TCursor cursor) override;
    // The primary screen's physical dots per inch.
    double PixelsPerMm() const override;

private:
    TCursor Current = crDefault;
    bool Overriding = false;
};
