// A box that shows a picture the dialog draws into (the preview of the new-image dialog).
#pragma once

#include <QImage>
#include <QWidget>

class TPictureBox : public QWidget {
public:
    TPictureBox(int width, int height, QWidget* parent = nullptr);

    // Draw into it and call update().
    QImage Picture;

protected:
    void paintEvent(QPaintEvent* event) override;
};
