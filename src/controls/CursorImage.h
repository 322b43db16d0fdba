// The page picture control: shows a picture, reports mouse events in picture pixels, and
// makes tool cursors apply only while the mouse is over it.
#pragma once

#include <functional>
#include <QImage>
#include <QWidget>

#include "controls/CursorMemory.h"
#include "platform/MouseButton.h"

class TCursorImage : public QWidget {
public:
    TCursorImage(TScreen& screen, int width, int height, QWidget* parent = nullptr);

    // The picture shown; draw into it and call update().
    QImage Picture;
    TCursorMemory Cursor;

    // Mouse events in picture pixels: button is 0 left, 1 right, 2 middle.
    std::function<void(TMouseButton button, int x, int y)> OnMouseDown;
    std::function<void(int x, int y)> OnMouseMove;
    std::function<void(TMouseButton button, int x, int y)> OnMouseUp;
    // The wheel over the picture: turns in eighths of a degree (120 a notch), x sideways and
    // y forward, with the Shift and Ctrl keys. Without a handler the event goes to the parent.
    std::function<void(int deltaX, int deltaY, bool shift, bool ctrl)> OnWheel;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};
