#include "controls/CursorImage.h"

#include <cmath>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
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
    // The picture covers the whole control, so nothing needs clearing beneath it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
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
        OnMouseDown(ButtonOf(e->button()), p.x(), p.y());
    }
}

void TCursorImage::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) Cursor.Enabled = isEnabled();
    QWidget::changeEvent(event);
}

void TCursorImage::mousePressEvent(QMouseEvent* e) {
    EventModifiers = e->modifiers();
    const QPoint p = e->position().toPoint();
    if (OnMouseDown) OnMouseDown(ButtonOf(e->button()), p.x(), p.y());
}

void TCursorImage::mouseMoveEvent(QMouseEvent* e) {
    EventModifiers = e->modifiers();
    const QPoint p = e->position().toPoint();
    if (OnMouseMove) OnMouseMove(p.x(), p.y());
}

void TCursorImage::mouseReleaseEvent(QMouseEvent* e) {
    EventModifiers = e->modifiers();
    const QPoint p = e->position().toPoint();
    if (OnMouseUp) OnMouseUp(ButtonOf(e->button()), p.x(), p.y());
}

void TCursorImage::wheelEvent(QWheelEvent* e) {
    if (!OnWheel) {
        e->ignore();
        return;
    }
    EventModifiers = e->modifiers();
    const QPoint turn = e->angleDelta();
    const QPoint at = e->position().toPoint();
    OnWheel(turn.x(), turn.y(), e->modifiers() & Qt::ShiftModifier,
            e->modifiers() & Qt::ControlModifier, at.x(), at.y());
    e->accept();
}

void TCursorImage::SetResizable(int minWidth, int minHeight) {
    Resizable = true;
    setMinimumSize(minWidth, minHeight);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TCursorImage::MakePicture(int width, int height, double devicePixelRatio, bool blank) {
    const double ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    Picture = QImage(static_cast<int>(std::ceil(width * ratio)),
                     static_cast<int>(std::ceil(height * ratio)), QImage::Format_RGB32);
    Picture.setDevicePixelRatio(ratio);
    if (blank) Picture.fill(Qt::white);
}

void TCursorImage::Refit() {
    if (!Resizable) return;
    const double ratio = devicePixelRatioF();
    if (Picture.deviceIndependentSize().toSize() == size() && Picture.devicePixelRatio() == ratio)
        return;
    // The handler draws the whole picture anew, so it need not be blanked first (a large
    // picture takes a good part of a frame to fill).
    MakePicture(width(), height(), ratio, !OnResize);
    if (OnResize) OnResize(width(), height());
}

void TCursorImage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Refit();
}

bool TCursorImage::event(QEvent* event) {
    // Moving to a screen of another density shows up as a show or a screen change.
    if (event->type() == QEvent::Show || event->type() == QEvent::ScreenChangeInternal) Refit();
    return QWidget::event(event);
}
