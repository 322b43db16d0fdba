#include "dialogs/ImagePositionDlg.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/DialogParts.h"
#include "dialogs/ImageProportions.h"
#include "dialogs/UpDown.h"
#include "platform/WholeNumber.h"

namespace {

constexpr int kClientWidth = 262;

constexpr const char* kHelp =
    "Left and Top: the image's top-left corner, in millimetres from the top-left corner of "
    "the sheet.\n"
    "Width: the image's width in millimetres; Height follows it so that the picture keeps "
    "its proportions.";

} // namespace

TNyomtatoKepModositasDlg::TNyomtatoKepModositasDlg(TMessageBoxes& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName("TNyomtatoKepModositasDlg");
    setWindowTitle("Image position");
    UseDialogFont(*this);

    GroupBox1 = MakeGroup("New position", this, 8, 4, kClientWidth - 16, 142);
    edBal = MakeEdit("edBal", "0", GroupBox1, 80, 20, 70);
    edFelso = MakeEdit("edFelso", "0", GroupBox1, 80, 48, 70);
    edSzelesseg = MakeEdit("edSzelesseg", "100", GroupBox1, 80, 76, 70);
    edMagassag = MakeEdit("edMagassag", "", GroupBox1, 80, 104, 70);
    MakeLabel("&Left:", GroupBox1, 14, 23, 64, edBal);
    MakeLabel("&Top:", GroupBox1, 14, 51, 64, edFelso);
    MakeLabel("&Width:", GroupBox1, 14, 79, 64, edSzelesseg);
    MakeLabel("&Height:", GroupBox1, 14, 107, 64, edMagassag);
    edMagassag->setEnabled(false);
    udBal = new TUpDown(*edBal, 0, 1189, 10);
    udFelso = new TUpDown(*edFelso, 0, 1189, 10);
    udSzelesseg = new TUpDown(*edSzelesseg, 0, 1189, 10);
    udMagassag = new TUpDown(*edMagassag, 0, 32000, 10);
    connect(edSzelesseg, &QLineEdit::textChanged, this, [this] { RecomputeHeight(); });
    connect(edSzelesseg, &QLineEdit::editingFinished, this, [this] { RecomputeHeight(); });

    const TDialogButtons buttons =
        MakeDialogButtons(*this, kClientWidth, 156, messages, QString::fromUtf8(kHelp));
    btnOk = buttons.Ok;
    btnMegsem = buttons.Cancel;
    btnSugo = buttons.Help;
    setFixedSize(kClientWidth, 191);
}

void TNyomtatoKepModositasDlg::AttachPicture(int32_t width, int32_t height) {
    Attached = true;
    PictureWidth = width;
    PictureHeight = height;
}

void TNyomtatoKepModositasDlg::DetachPicture() {
    Attached = false;
    PictureWidth = 0;
    PictureHeight = 0;
}

void TNyomtatoKepModositasDlg::RecomputeHeight() {
    if (!Attached) return;
    const auto width = ParseWholeNumber(edSzelesseg->text().toStdString());
    if (!width) return;
    if (const auto height = ProportionalHeight(*width, PictureWidth, PictureHeight)) {
        edMagassag->setText(QString::number(*height));
    }
}

void TNyomtatoKepModositasDlg::done(int result) {
    RecomputeHeight();
    QDialog::done(result);
}
