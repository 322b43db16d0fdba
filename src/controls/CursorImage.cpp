#include "controls/CursorImage.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace {

TMouseButton ButtonOf(Qt::MouseButton b) {
    switch (b) {
    case Qt::RightButton: return TMouseButton::Right;
    case Qt::MiddleButton: return TMouseButton::Middle;
    default: return TMouseButton::Left;
    }
}

} // namespace

TCursorImage::TCursorImage(TScreen& screen, int width, int height, QWidget* parent)
    : QWidget(parent), Picture(width, height, QImage::Format_RGB32), Cursor(screen) {
    setFixedSize(width, height);
    setMouseTracking(true);
    Picture.fill(Qt::white);
}

void TCursorImage::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, Picture);
}

void TCursorImage::enterEvent(QEnterEvent*) { Cursor.MouseEnter(); }
void TCursorImage::leaveEvent(QEvent*) { Cursor.MouseLeave(); }

void TCursorImage::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) Cursor.Enabled = isEnabled();
    QWidget::changeEvent(event);
}

void TCursorImage::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    if (OnMouseDown) OnMouseDown(ButtonOf(e->button()), p.x(), p.y());
}

void TCursorImage::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    if (OnMouseMove) OnMouseMove(p.x(), p.y());
}

void TCursorImage::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    if (OnMouseUp) OnMouseUp(ButtonOf(e->button()), p.x(), p.y());
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
