#include "controls/CursorImage.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace {

int ButtonCode(Qt::MouseButton b) {
    switch (b) {
    case Qt::RightButton: return 1;
    case Qt::MiddleButton: return 2;
    default: return 0;
    }
}

} // namespace

TCursorImage::TCursorImage(TScreen& screen, int width, int height, QWidget* parent)
    : QWidget(parent), Picture(width, height, QImage::Format_RGB32), Cursor(screen) {
    setFixedSize(width, height);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    Picture.fill(Qt::white);
}

void TCursorImage::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, Picture);
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(1, 1, -1, -1));
    }
}

void TCursorImage::enterEvent(QEnterEvent*) { Cursor.MouseEnter(); }
void TCursorImage::leaveEvent(QEvent*) {
    Cursor.MouseLeave();
    if (OnLeave) OnLeave();
}

void TCursorImage::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void TCursorImage::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void TCursorImage::keyPressEvent(QKeyEvent* event) {
    if (OnKey && OnKey(*event)) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TCursorImage::mouseDoubleClickEvent(QMouseEvent* e) {
    EventModifiers = e->modifiers();
    const QPoint p = e->position().toPoint();
    if (e->button() == Qt::LeftButton && OnDoubleClick) {
        OnDoubleClick(p.x(), p.y());
    } else if (OnMouseDown) {
        // Another button's second press is a press like any other.
        OnMouseDown(ButtonCode(e->button()), p.x(), p.y());
    }
}

void TCursorImage::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) Cursor.Enabled = isEnabled();
    QWidget::changeEvent(event);
}

void TCursorImage::mousePressEvent(QMouseEvent* e) {
    EventModifiers = e->modifiers();
    const QPoint p = e->position().toPoint();
    if (OnMouseDown) OnMouseDown(ButtonCode(e->button()), p.x(), p.y());
}

void TCursorImage::mouseMoveEvent(QMouseEvent* e) {
    EventModifiers = e->modifiers();
    const QPoint p = e->position().toPoint();
    if (OnMouseMove) OnMouseMove(p.x(), p.y());
}

void TCursorImage::mouseReleaseEvent(QMouseEvent* e) {
    EventModifiers = e->modifiers();
    const QPoint p = e->position().toPoint();
    if (OnMouseUp) OnMouseUp(ButtonCode(e->button()), p.x(), p.y());
}

void TCursorImage::wheelEvent(QWheelEvent* e) {
    if (!OnWheel) {
        e->ignore();
        return;
    }
    const QPoint turn = e->angleDelta();
    OnWheel(turn.x(), turn.y(), e->modifiers() & Qt::ShiftModifier,
            e->modifiers() & Qt::ControlModifier);
    e->accept();
}
