// The page picture control: shows a picture, reports mouse events in picture pixels, and
// makes tool cursors apply only while the mouse is over it. It takes the keyboard focus on a
// click (or Tab) and shows it with a dotted frame, so keys can act on what it shows.
#pragma once

#include <functional>
#include <QImage>
#include <QKeyEvent>
#include <QWidget>

#include "controls/CursorMemory.h"
#include "platform/MouseButton.h"

class TCursorImage : public QWidget {
public:
    // A picture of a fixed size in pixels.
    TCursorImage(TScreen& screen, int width, int height, QWidget* parent = nullptr);

    // Lets the picture grow with its layout from a smallest size. Each new size (and each
    // change of the screen's pixel density) makes a fresh picture of that size at the
    // screen's device pixel ratio and calls OnResize; draw into it in widget pixels.
    void SetResizable(int minWidth, int minHeight);
    std::function<void(int width, int height)> OnResize;
    // A fresh picture of this size in widget pixels, devicePixelRatio image pixels each,
    // white unless blank is false (for a caller that draws all of it at once).
    void MakePicture(int width, int height, double devicePixelRatio, bool blank = true);

    // The picture shown; draw into it and call update().
    QImage Picture;
    TCursorMemory Cursor;

    // Mouse events in picture pixels.
    std::function<void(TMouseButton button, int x, int y)> OnMouseDown;
    std::function<void(int x, int y)> OnMouseMove;
    std::function<void(TMouseButton button, int x, int y)> OnMouseUp;
    // The wheel over the picture at pointer (x, y): turns in eighths of a degree (120 a
    // notch), x sideways and y forward, with the Shift and Ctrl keys. Without a handler the
    // event goes to the parent.
    std::function<void(int deltaX, int deltaY, bool shift, bool ctrl, int x, int y)> OnWheel;
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
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void Refit();
    bool Resizable = false;
};
