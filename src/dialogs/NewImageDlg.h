// The dialog that chooses a picture file, previews it and places a new image item ("New
// image"). The height follows the width so the picture keeps its proportions.
#pragma once

#include <memory>
#include <QDialog>
#include <string>

#include "dialogs/CommonDialogs.h"
#include "platform/qt/QtPictureReader.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TMemBitmap;
class TMessageBoxes;
class TPictureBox;
class TScreen;
class TUpDown;

class TUjNyomtatoKepDlg : public QDialog {
public:
    TUjNyomtatoKepDlg(TFileDialogs& files, TMessageBoxes& messages, TScreen& screen,
                      QWidget* parent = nullptr);
    ~TUjNyomtatoKepDlg() override;

    QGroupBox* GroupBox1;    // "File"
    QLabel* stFajlnev;       // the chosen file
    QPushButton* btnFajlnev; // "Filename..."
    QGroupBox* GroupBox2;    // "Image properties"
    QLineEdit* edBal;        // "10", enabled only with "Coords in edit boxes"
    QLineEdit* edFelso;      // "20"
    QLineEdit* edSzelesseg;  // "80"
    QLineEdit* edMagassag;   // computed from the width, never typed
    TUpDown* udBal;
    TUpDown* udFelso;
    TUpDown* udSzelesseg;
    TPictureBox* imKep;         // the preview
    QRadioButton* rbBeallitott; // "Coords in edit boxes"
    QRadioButton* rbEgerrel;    // "Select with mouse" (the first choice)
    QPushButton* btnOk;
    QPushButton* btnMegsem;
    QPushButton* btnSugo;
    TOpenDialog OpenDialog; // "Kép betöltése"

    bool HasPicture() const { return Picture != nullptr; }
    const TMemBitmap* Preview() const { return Picture.get(); }
    // The previewed picture, for the new item (it is not read again).
    std::shared_ptr<TMemBitmap> SharedPicture() const { return Picture; }
    // The file the previewed picture came from; empty without a picture.
    const std::string& PictureFileName() const { return PictureFile; }

    // "Filename...": choose a file and preview it; a file that does not load is reported.
    void btnFajlnevClick();
    // The height edit from the width edit, while a picture is held.
    void RecomputeHeight();
    // Ready for the next use: no picture, a blank preview and an empty file label.
    void ResetPicture();
    // On each show: no picture, a blank preview, "(Nincs definiált kép)".
    void FormShow();

    // Ok is refused while no picture is chosen; the dialog stays open.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void DropPicture();
    void PaintPreview();
    void ShowFileName(const QString& name);

    TMessageBoxes& Messages;
    TScreen& Screen;
    TQtPictureReader Reader;
    std::shared_ptr<TMemBitmap> Picture;
    std::string PictureFile;
};
