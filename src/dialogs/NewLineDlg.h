// The dialog that sets the pen of a line item, when it is created and when it is modified.
#pragma once

#include "dialogs/AlapDlg.h"

class QGroupBox;
class QLabel;
class QSlider;
class TColorDialogs;
class TGraphObjectComboBox;

class TUjNyomtatoVonalDlg : public TAlapDlg {
public:
    TUjNyomtatoVonalDlg(TColorDialogs& colors, TMessageBoxes& messages, QWidget* parent = nullptr);

    QGroupBox* GroupBox1;            // "Vonaljellemzők"
    TGraphObjectComboBox* cmbSzin;   // "Color:", Hungarian names
    TGraphObjectComboBox* cmbStilus; // "Style", Hungarian names
    QSlider* tbVastagsag;            // "Width:", 1 .. 10
    QLabel* stVastagsag;             // the track bar's position
    QLabel* stVastagsagMm;           // what that width prints, in mm

    // The mm one printer pixel of width prints (the editor sets it for its printer).
    void SetMmPerPrinterPixel(double mm);

    QString HelpText() const override;

private:
    void ShowWidth(int position);
    double MmPerPrinterPixel = 25.4 / 600;
};
