#include "dialogs/PictureBox.h"

#include <QPainter>

TPictureBox::TPictureBox(int width, int height, QWidget* parent)
    : QWidget(parent), Picture(width, height, QImage::Format_RGB32) {
    setFixedSize(width, height);
    Picture.fill(Qt::white);
}

void TPictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, Picture);
}
