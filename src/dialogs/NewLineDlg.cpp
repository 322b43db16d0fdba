#include "dialogs/NewLineDlg.h"

#include <QGroupBox>
#include <QLabel>
#include <QSlider>

#include "controls/GraphObjectComboBox.h"
#include "dialogs/DialogParts.h"

TUjNyomtatoVonalDlg::TUjNyomtatoVonalDlg(TColorDialogs& colors, TMessageBoxes& messages,
                                         QWidget* parent)
    : TAlapDlg(messages, parent) {
    setObjectName("TUjNyomtatoVonalDlg");
    setWindowTitle("New line");
    LayOutButtons(313, 200);

    GroupBox1 = MakeGroup("Vonaljellemzők", this, 16, 14, 281, 130);
    cmbSzin = new TGraphObjectComboBox(colors, GroupBox1);
    cmbSzin->setObjectName("cmbSzin");
    cmbSzin->SetLanguage(TGraphObjectComboLanguage::goclHungarian);
    cmbSzin->move(72, 24);
    cmbStilus = new TGraphObjectComboBox(colors, GroupBox1);
    cmbStilus->setObjectName("cmbStilus");
    cmbStilus->SetStyle(TGraphObjectComboStyle::gocsPenStyle);
    cmbStilus->SetLanguage(TGraphObjectComboLanguage::goclHungarian);
    cmbStilus->move(72, 56);
    tbVastagsag = new QSlider(Qt::Horizontal, GroupBox1);
    tbVastagsag->setObjectName("tbVastagsag");
    tbVastagsag->setRange(1, 10);
    tbVastagsag->setValue(1);
    tbVastagsag->setSingleStep(1);
    tbVastagsag->setPageStep(2);
    tbVastagsag->setTickInterval(1);
    tbVastagsag->setTickPosition(QSlider::TicksBelow);
    tbVastagsag->setGeometry(66, 88, 157, 30);
    stVastagsag = MakeLabel("1", GroupBox1, 232, 94, 30);
    stVastagsag->setObjectName("stVastagsag");
    MakeLabel("Color:", GroupBox1, 12, 27, 56, cmbSzin);
    MakeLabel("Style", GroupBox1, 12, 59, 56, cmbStilus);
    MakeLabel("Width:", GroupBox1, 12, 94, 56, tbVastagsag);
    stVastagsagMm = MakeLabel("", GroupBox1, 222, 112, 58);
    stVastagsagMm->setObjectName("stVastagsagMm");
    connect(tbVastagsag, &QSlider::valueChanged, this,
            [this](int position) { ShowWidth(position); });
    ShowWidth(tbVastagsag->value());
}

void TUjNyomtatoVonalDlg::SetMmPerPrinterPixel(double mm) {
    MmPerPrinterPixel = mm > 0 ? mm : 25.4 / 600;
    ShowWidth(tbVastagsag->value());
}

void TUjNyomtatoVonalDlg::ShowWidth(int position) {
    stVastagsag->setText(QString::number(position));
    stVastagsagMm->setText(QString("%1 mm").arg(position * MmPerPrinterPixel, 0, 'f', 2));
}

QString TUjNyomtatoVonalDlg::HelpText() const {
    return QString::fromUtf8(
        "Color: the colour of the line; \"Egyéni szín\" lets you mix any colour.\n"
        "Style: solid, dashed or dotted.\n"
        "Width: the thickness of the line in dots of the chosen printer, 1 to 10; beside it\n"
        "what that prints in millimetres. The page picture draws the line that wide.");
}
