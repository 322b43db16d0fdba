#include "dialogs/AlapDlg.h"

#include <QFrame>
#include <QPushButton>

#include "dialogs/DialogParts.h"

TAlapDlg::TAlapDlg(TMessageBoxes& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint),
      Messages(messages) {
    setObjectName("TAlapDlg");
    setWindowTitle("Folioscriptor");
    UseDialogFont(*this);
    Bevel1 = new QFrame(this);
    Bevel1->setFrameShape(QFrame::StyledPanel);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Button1 = MakeButton("Button1", "&Ok", this, 0, 0);
    Button2 = MakeButton("Button2", "&Mégsem", this, 0, 0);
    Button3 = MakeButton("Button3", "&Súgó", this, 0, 0);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button3, &QPushButton::clicked, this,
            [this] { ShowDialogHelp(Messages, *this, HelpText()); });
    LayOutButtons(313, 240);
}

QString TAlapDlg::HelpText() const {
    return QString::fromUtf8("Ok takes the values shown; Mégsem (or Escape) closes the dialog "
                             "without changing anything.");
}

void TAlapDlg::LayOutButtons(int clientWidth, int clientHeight) {
    setFixedSize(clientWidth, clientHeight);
    Bevel1->setGeometry(8, 8, clientWidth - 16, clientHeight - 52);
    const int y = clientHeight - 36;
    Button1->setGeometry(clientWidth - 3 * 83 - 8 + 4, y, 75, 25);
    Button2->setGeometry(clientWidth - 2 * 83 - 8 + 4, y, 75, 25);
    Button3->setGeometry(clientWidth - 83 - 8 + 4, y, 75, 25);
}
