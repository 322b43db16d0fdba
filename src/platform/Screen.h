// The application-wide pointer shape (the framework's Screen.Cursor). The editor sets it to
// signal tools and long operations; tests use TMemoryScreen to see what was set.
#pragma once

#include <vector>

#include "platform/Cursor.h"

class TScreen {
public:
    virtual ~TScreen() = default;
    virtual TCursor Cursor() const = 0;
    virtual void SetCursor(TCursor cursor) = 0;
    // Pixels of the screen per millimetre of its glass (its physical dots per inch / 25.4),
    // in the pixels the windows are laid out in.
    virtual double PixelsPerMm() const { return 96 / 25.4; }
};

// Keeps the cursor in memory and remembers every shape that was set.
class TMemoryScreen : public TScreen {
public:
    TCursor Cursor() const override { return Current; }
    void SetCursor(TCursor cursor) override {
        Current = cursor;
        History.push_back(cursor);
    }

    double PixelsPerMm() const override { return ScreenPixelsPerMm; }

    TCursor Current = crDefault;
    std::vector<TCursor> History;
    double ScreenPixelsPerMm = 96 / 25.4;
};

// Sets the hourglass for the lifetime of the object and the arrow afterwards, also when the
// work in between throws.
class THourGlass {
public:
    explicit THourGlass(TScreen& screen) : Screen(screen) { Screen.SetCursor(crHourGlass); }
    ~THourGlass() { Screen.SetCursor(crArrow); }
    THourGlass(const THourGlass&) = delete;
    THourGlass& operator=(const THourGlass&) = delete;

private:
    TScreen& Screen;
};
