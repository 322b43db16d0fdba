#include "dialogs/AboutDlg.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAboutDlg::TAboutDlg(QWidget* parent) : QDialog(parent) {
    setObjectName("TAboutDlg");
    setWindowTitle("About Folioscriptor");
    auto* text =
        new QLabel("<b>Folioscriptor</b><br>A page-layout editor for printed output.<br><br>"
                   "Captions, texts, images, frames, lines, rectangles and polygons<br>"
                   "placed in millimetres on one printed sheet.",
                   this);
    text->setObjectName("text");
    auto* ok = new QPushButton("&Ok", this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    // The box takes the size its text needs in the font in use, so nothing is cut off.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->setSpacing(12);
    layout->addWidget(text);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
