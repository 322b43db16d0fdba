#include "dialogs/AboutDlg.h"

#include <QLabel>
#include <QPushButton>

TAboutDlg::TAboutDlg(QWidget* parent) : QDialog(parent) {
    setObjectName("TAboutDlg");
    setWindowTitle("About Folioscriptor");
    setFixedSize(300, 150);
    auto* text =
        new QLabel("<b>Folioscriptor</b><br>A page-layout editor for printed output.<br><br>"
                   "Captions, texts, images, frames, lines, rectangles and polygons<br>"
                   "placed in millimetres on one printed sheet.",
                   this);
    text->setGeometry(16, 12, 270, 90);
    auto* ok = new QPushButton("&Ok", this);
    ok->setDefault(true);
    ok->setGeometry(113, 112, 75, 25);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
