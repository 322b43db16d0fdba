// The dialog that edits every property of a frame item except its members ("Frame
// properties"). Ok is taken only for a box of at least 2 x 2 mm inside the printable area.
#pragma once

#include <optional>

#include "dialogs/AlapDlg.h"
#include "dialogs/CommonDialogs.h"
#include "dialogs/FrameBounds.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTabWidget;
class TColorDialogs;
class TGraphObjectComboBox;
class TUpDown;

class TNyomtatoKeretModositasDlg : public TAlapDlg {
public:
    TNyomtatoKeretModositasDlg(TColorDialogs& colors, TFontDialogs& fonts, TMessageBoxes& messages,
                               QWidget* parent = nullptr);

    QTabWidget* PageControl1;
    QWidget* TabSheet1; // "&Position"
    QLineEdit* edBal;   // "&Left:"
    QLineEdit* edFelso; // "&Top:"
    QLineEdit* edJobb;  // "&Right:"
    QLineEdit* edAlso;  // "&Bottom:"
    TUpDown* udBal;
    TUpDown* udFelso;
    TUpDown* udJobb;
    TUpDown* udAlso;
    QWidget* TabSheet2;                 // "&Colors"
    TGraphObjectComboBox* cmbKeretszin; // "&Frame:", Hungarian names
    TGraphObjectComboBox* cmbBelsoszin; // "&Filling:", Hungarian names
    QWidget* TabSheet3;                 // "&Caption"
    QLineEdit* edSzoveg;                // "&Text:"
    QComboBox* cmbSzoveghely;           // "Balra", "Középre", "Jobbra"
    QPushButton* btnBetustilus;         // "Font style..."
    TFontDialog FontDialog;
    QWidget* TabSheet4;             // "&Others"
    QCheckBox* cbArnyek;            // "&Shadow"
    TGraphObjectComboBox* cmbMinta; // "&Filling style"

    // The printer's printable area the box must lie in (mm), set before each use.
    TMmArea PrintableArea;

    // The box in the four edits when it passes the check; nothing otherwise.
    std::optional<TRect> EnteredBox() const;

    // Ok is refused with a message while the box does not pass; the dialog stays open with
    // the values as typed. Cancel closes without any check.
    void accept() override;
    QString HelpText() const override;

protected:
    // Each show starts on the "&Position" tab.
    void showEvent(QShowEvent* event) override;
};
