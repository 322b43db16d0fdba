#include "dialogs/NewImageDlg.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

#include "dialogs/DialogParts.h"
#include "dialogs/ImageProportions.h"
#include "dialogs/PictureBox.h"
#include "dialogs/UpDown.h"
#include "imaging/MemBitmap.h"
#include "imaging/PictureImport.h"
#include "platform/MessageBoxes.h"
#include "platform/qt/QtCanvas.h"
#include "platform/Screen.h"
#include "platform/WholeNumber.h"

namespace {

constexpr int kClientWidth = 420;

const char* const kNoPicture = "(Nincs definiált kép)";

constexpr const char* kHelp =
    "Filename...: the picture file (Windows bitmap, JPEG, PNG, GIF, TIFF or WebP); the picture "
    "is previewed on the right.\n"
    "Coords in edit boxes: the image's top-left corner goes to Left and Top, in millimetres "
    "from the top-left corner of the sheet.\n"
    "Select with mouse: after Ok, click the page where the top-left corner should go.\n"
    "Width: the image's width in millimetres; its height follows so that the picture keeps "
    "its proportions.";

TFileDialogOptions PictureFileOptions() {
    TFileDialogOptions options;
    options.Title = "Kép betöltése";
    // Every format the import reads comes first, so a folder of photos does not look empty.
    options.Filter = "All pictures (*.BMP;*.JPG;*.JPEG;*.PNG;*.GIF;*.TIF;*.TIFF;*.WEBP)|"
                     "*.BMP;*.JPG;*.JPEG;*.PNG;*.GIF;*.TIF;*.TIFF;*.WEBP|"
                     "Bittérképek (*.BMP)|*.BMP|JPEG (*.JPG;*.JPEG)|*.JPG;*.JPEG|"
                     "Portable Network Graphics (*.PNG)|*.PNG|"
                     "Graphic Interchange Format (*.GIF)|*.GIF|TIFF (*.TIF;*.TIFF)|*.TIF;*.TIFF|"
                     "WebP (*.WEBP)|*.WEBP";
    options.DefaultExt = "BMP";
    options.MustExist = true;
    return options;
}

} // namespace

TUjNyomtatoKepDlg::TUjNyomtatoKepDlg(TFileDialogs& files, TMessageBoxes& messages, TScreen& screen,
                                     QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      OpenDialog(files, PictureFileOptions()), Messages(messages), Screen(screen) {
    setObjectName("TUjNyomtatoKepDlg");
    setWindowTitle("New image");
    UseDialogFont(*this);

    GroupBox1 = MakeGroup("File", this, 8, 4, kClientWidth - 16, 52);
    stFajlnev = MakeLabel("", GroupBox1, 10, 24, 290);
    stFajlnev->setObjectName("stFajlnev");
    btnFajlnev = MakeButton("btnFajlnev", "Filename...", GroupBox1, 310, 18, 84);
    connect(btnFajlnev, &QPushButton::clicked, this, [this] { btnFajlnevClick(); });

    GroupBox2 = MakeGroup("Image properties", this, 8, 62, kClientWidth - 16, 188);
    rbBeallitott = MakeRadio("rbBeallitott", "Coords in edit boxes", GroupBox2, 10, 20, 180);
    rbEgerrel = MakeRadio("rbEgerrel", "Select with mouse", GroupBox2, 10, 42, 180);
    edBal = MakeEdit("edBal", "10", GroupBox2, 66, 72, 70);
    edFelso = MakeEdit("edFelso", "20", GroupBox2, 66, 100, 70);
    edSzelesseg = MakeEdit("edSzelesseg", "80", GroupBox2, 66, 128, 70);
    edMagassag = MakeEdit("edMagassag", "", GroupBox2, 66, 156, 70);
    MakeLabel("&Left:", GroupBox2, 10, 75, 54, edBal);
    MakeLabel("&Top:", GroupBox2, 10, 103, 54, edFelso);
    MakeLabel("&Width:", GroupBox2, 10, 131, 54, edSzelesseg);
    MakeLabel("&Height:", GroupBox2, 10, 159, 54, edMagassag);
    edBal->setEnabled(false);
    edFelso->setEnabled(false);
    edMagassag->setEnabled(false);
    udBal = new TUpDown(*edBal, 0, 1189, 10);
    udFelso = new TUpDown(*edFelso, 0, 1189, 10);
    udSzelesseg = new TUpDown(*edSzelesseg, 0, 1189, 10);
    imKep = new TPictureBox(180, 160, GroupBox2);
    imKep->setObjectName("imKep");
    imKep->move(GroupBox2->width() - 190, 18);
    rbEgerrel->setChecked(true);
    connect(rbBeallitott, &QRadioButton::toggled, this, [this](bool typed) {
        edBal->setEnabled(typed);
        edFelso->setEnabled(typed);
    });
    connect(edSzelesseg, &QLineEdit::textChanged, this, [this] { RecomputeHeight(); });
    connect(edSzelesseg, &QLineEdit::editingFinished, this, [this] { RecomputeHeight(); });

    const TDialogButtons buttons =
        MakeDialogButtons(*this, kClientWidth, 260, messages, QString::fromUtf8(kHelp));
    btnOk = buttons.Ok;
    btnMegsem = buttons.Cancel;
    btnSugo = buttons.Help;
    setFixedSize(kClientWidth, 295);

    FormShow();
}

TUjNyomtatoKepDlg::~TUjNyomtatoKepDlg() = default;

void TUjNyomtatoKepDlg::ShowFileName(const QString& name) {
    // Long paths keep their start and the file's own name.
    stFajlnev->setToolTip(name);
    stFajlnev->setText(
        QFontMetrics(stFajlnev->font()).elidedText(name, Qt::ElideMiddle, stFajlnev->width()));
}

void TUjNyomtatoKepDlg::btnFajlnevClick() {
    if (!OpenDialog.Execute()) return;
    DropPicture();
    ShowFileName(QString::fromStdString(OpenDialog.FileName));
    auto picture = std::make_shared<TMemBitmap>();
    std::string why;
    bool loaded = false;
    {
        THourGlass busy(Screen);
        loaded = ImportPictureFile(OpenDialog.FileName, *picture, why, &Reader);
    }
    if (loaded) {
        Picture = std::move(picture);
        PictureFile = OpenDialog.FileName;
        PaintPreview();
        RecomputeHeight();
        return;
    }
    Messages.Show("Hibás fájl.\n" + why, "Kép betöltése", MB_OK | MB_ICONERROR);
    ShowFileName(QString::fromUtf8(kNoPicture));
}

void TUjNyomtatoKepDlg::RecomputeHeight() {
    if (!Picture) return;
    const auto width = ParseWholeNumber(edSzelesseg->text().toStdString());
    if (!width) return;
    if (const auto height = ProportionalHeight(*width, Picture->Width, Picture->Height)) {
        edMagassag->setText(QString::number(*height));
    }
}

void TUjNyomtatoKepDlg::DropPicture() {
    Picture.reset();
    PictureFile.clear();
    PaintPreview();
}

void TUjNyomtatoKepDlg::ResetPicture() {
    DropPicture();
    ShowFileName(QString());
}

void TUjNyomtatoKepDlg::FormShow() {
    DropPicture();
    ShowFileName(QString::fromUtf8(kNoPicture));
}

void TUjNyomtatoKepDlg::PaintPreview() {
    {
        QPainter painter(&imKep->Picture);
        TQtCanvas canvas(painter);
        const int w = imKep->Picture.width();
        const int h = imKep->Picture.height();
        if (Picture) {
            // The whole picture, as large as fits with its proportions, on the dialog's
            // background.
            painter.fillRect(0, 0, w, h, palette().color(QPalette::Window));
            const TRect fit = FitPreview(Picture->Width, Picture->Height, w, h);
            Picture->StretchDraw(canvas, fit.Left, fit.Top, fit.Width(), fit.Height());
        } else {
            canvas.Pen = TPen{clBlack, 1, TPenStyle::psSolid};
            canvas.Brush = TBrush{clSilver, TBrushStyle::bsSolid};
            canvas.Rectangle(0, 0, w, h);
        }
    }
    imKep->update();
}

void TUjNyomtatoKepDlg::accept() {
    if (!Picture) {
        Messages.Show("Jelöljön ki képet !", "Új kép", MB_OK | MB_ICONERROR);
        return;
    }
    QDialog::accept();
}

void TUjNyomtatoKepDlg::showEvent(QShowEvent* event) {
    // Not when the window system shows it again (after minimising, say).
    if (!event->spontaneous()) FormShow();
    QDialog::showEvent(event);
}
