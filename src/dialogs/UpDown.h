// The up-down arrows beside a number field: each click (or the Up / Down key in the field)
// steps the field's number by the increment, kept within the range. The field itself takes
// any text; a field that holds no number steps from the last position.
#pragma once

#include <cstdint>
#include <QWidget>

class QLineEdit;
class QToolButton;

class TUpDown : public QWidget {
public:
    // Sits at the right edge of associate, in the same parent, enabled when it is.
    TUpDown(QLineEdit& associate, int32_t min, int32_t max, int32_t increment);

    int32_t Min() const { return MinValue; }
    int32_t Max() const { return MaxValue; }
    int32_t Increment() const { return Step; }

    // One click on the up (+1) or down (-1) arrow.
    void Click(int direction);

    QToolButton* UpButton;
    QToolButton* DownButton;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit& Associate;
    int32_t MinValue;
    int32_t MaxValue;
    int32_t Step;
    int32_t Position;
};
