#include "dialogs/AlapDlg.h"

#include <QFrame>
#include <QPushButton>

TAlapDlg::TAlapDlg(QWidget* parent) : QDialog(parent) {
    setObjectName("TAlapDlg");
    setWindowTitle("Folioscriptor");
    Bevel1 = new QFrame(this);
    Bevel1->setFrameShape(QFrame::StyledPanel);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Button1 = new QPushButton(QString::fromUtf8("&Ok"), this);
    Button2 = new QPushButton(QString::fromUtf8("&Mégsem"), this);
    Button3 = new QPushButton(QString::fromUtf8("&Súgó"), this);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    LayOutButtons(313, 240);
}

void TAlapDlg::LayOutButtons(int clientWidth, int clientHeight) {
    setFixedSize(clientWidth, clientHeight);
    Bevel1->setGeometry(8, 8, clientWidth - 16, clientHeight - 52);
    const int y = clientHeight - 36;
    Button1->setGeometry(clientWidth - 3 * 83 - 8 + 4, y, 75, 25);
    Button2->setGeometry(clientWidth - 2 * 83 - 8 + 4, y, 75, 25);
    Button3->setGeometry(clientWidth - 83 - 8 + 4, y, 75, 25);
}
