// The page picture control: shows a picture, reports mouse events in picture pixels, and
// makes tool cursors apply only while the mouse is over it. It takes the keyboard focus on a
// click (or Tab) and shows it with a dotted frame, so keys can act on what it shows.
#pragma once

#include <functional>
#include <QImage>
#include <QKeyEvent>
#include <QWidget>

#include "controls/CursorMemory.h"

class TCursorImage : public QWidget {
public:
    TCursorImage(TScreen& screen, int width, int height, QWidget* parent = nullptr);

    // The picture shown; draw into it and call update().
    QImage Picture;
    TCursorMemory Cursor;

    // Mouse events in picture pixels: button is 0 left, 1 right, 2 middle.
    std::function<void(int button, int x, int y)> OnMouseDown;
    std::function<void(int x, int y)> OnMouseMove;
    std::function<void(int button, int x, int y)> OnMouseUp;
    // The wheel over the picture: turns in eighths of a degree (120 a notch), x sideways and
    // y forward, with the Shift and Ctrl keys. Without a handler the event goes to the parent.
    std::function<void(int deltaX, int deltaY, bool shift, bool ctrl)> OnWheel;
    // A double click of the left button, and the pointer leaving the picture.
    std::function<void(int x, int y)> OnDoubleClick;
    std::function<void()> OnLeave;
    // A key while the picture has the focus; true when it was used (otherwise it goes on as
    // usual, e.g. Tab to the next control).
    std::function<bool(QKeyEvent& event)> OnKey;
    // The modifier keys of the mouse event being reported.
    Qt::KeyboardModifiers EventModifiers;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};
