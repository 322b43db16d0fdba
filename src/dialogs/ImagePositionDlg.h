// The dialog that changes the position and width of an image item ("Image position"). The
// height follows the width so that the item's picture keeps its proportions.
#pragma once

#include <cstdint>
#include <QDialog>

class QGroupBox;
class QLineEdit;
class QPushButton;
class TMessageBoxes;
class TUpDown;

class TNyomtatoKepModositasDlg : public QDialog {
public:
    explicit TNyomtatoKepModositasDlg(TMessageBoxes& messages, QWidget* parent = nullptr);

    QGroupBox* GroupBox1;   // "New position"
    QLineEdit* edBal;       // "&Left:"
    QLineEdit* edFelso;     // "&Top:"
    QLineEdit* edSzelesseg; // "&Width:", "100"
    QLineEdit* edMagassag;  // "&Height:", computed
    TUpDown* udBal;
    TUpDown* udFelso;
    TUpDown* udSzelesseg;
    TUpDown* udMagassag;
    QPushButton* btnOk;
    QPushButton* btnMegsem;
    QPushButton* btnSugo;

    // The picture of the item being edited, in pixels, for the height rule; Detach after use.
    void AttachPicture(int32_t width, int32_t height);
    void DetachPicture();
    // The height edit from the width edit, while a picture with a size is attached.
    void RecomputeHeight();

    // Closing by either button recomputes the height first.
    void done(int result) override;

private:
    bool Attached = false;
    int32_t PictureWidth = 0;
    int32_t PictureHeight = 0;
};
