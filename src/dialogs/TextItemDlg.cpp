#include "dialogs/TextItemDlg.h"

#include <algorithm>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "dialogs/DialogParts.h"
#include "dialogs/Memo.h"
#include "dialogs/UpDown.h"
#include "platform/qt/QtText.h"

namespace {

constexpr int kClientWidth = 400;
constexpr int kPositionWidth = 184;
constexpr int kCoordMin = 0;
constexpr int kCoordMax = 1189;
constexpr int kCoordStep = 10;

} // namespace

TTextItemDlg::TTextItemDlg(const TShape& shape, TFontDialogs& fonts, TMessageBoxes& messages,
                           QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      FontDialog(fonts, shape.Font) {
    setObjectName(shape.ObjectName);
    setWindowTitle(QString::fromUtf8(shape.Title));
    UseDialogFont(*this);

    const int textHeight = shape.MultiLine ? 132 : 52;
    GroupBox1 = MakeGroup(shape.TextGroup, this, 8, 4, kClientWidth - 16, textHeight);
    if (shape.MultiLine) {
        TextMemo = new TMemo(GroupBox1);
        TextMemo->setObjectName("memoSzoveg");
        TextMemo->setGeometry(10, 20, kClientWidth - 36, textHeight - 30);
    } else {
        TextLine = MakeEdit("edSzoveg", "", GroupBox1, 10, 20, kClientWidth - 36);
    }

    // Position: the mode radio buttons of the new dialogs above the two edits.
    const int top = 4 + textHeight + 6;
    const int rows = shape.PositionMode ? 66 : 22;
    // Tall enough for the two font labels above the font button.
    const int groupHeight = std::max(rows + 70, 108);
    QGroupBox* position = MakeGroup("Position [mm]", this, 8, top, kPositionWidth, groupHeight);
    if (shape.PositionMode) {
        ByCoords = MakeRadio("rbBeallitott", "Coords in edit boxes", position, 10, 20, 164);
        ByMouse = MakeRadio("rbEgerrel", "Select with mouse", position, 10, 42, 164);
    }
    PosX = MakeEdit(shape.XName, shape.X, position, 34, rows, 70);
    PosY = MakeEdit(shape.YName, shape.Y, position, 34, rows + 30, 70);
    MakeLabel("&X:", position, 10, rows + 3, 22, PosX);
    MakeLabel("&Y:", position, 10, rows + 33, 22, PosY);
    UpDownX = new TUpDown(*PosX, kCoordMin, kCoordMax, kCoordStep);
    UpDownY = new TUpDown(*PosY, kCoordMin, kCoordMax, kCoordStep);
    if (shape.PositionMode) {
        // The edits count only when the position is typed; the choice stays between uses.
        ByMouse->setChecked(true);
        PosX->setEnabled(false);
        PosY->setEnabled(false);
        connect(ByCoords, &QRadioButton::toggled, this, [this](bool typed) {
            PosX->setEnabled(typed);
            PosY->setEnabled(typed);
        });
    }

    const int fontLeft = 8 + kPositionWidth + 8;
    const int fontWidth = kClientWidth - fontLeft - 8;
    QGroupBox* font = MakeGroup("Font", this, fontLeft, top, fontWidth, groupHeight);
    MakeLabel(shape.StyleLabel, font, 10, 22, 40);
    stFontnev = MakeLabel("", font, 50, 22, fontWidth - 60);
    stFontnev->setObjectName("stFontnev");
    MakeLabel("Full size [mm]:", font, 10, 46, 90);
    stFontmeret = MakeLabel("", font, 100, 46, 50);
    stFontmeret->setObjectName("stFontmeret");
    Button4 = MakeButton("Button4", shape.FontButton, font, 10, groupHeight - 35, 100);
    connect(Button4, &QPushButton::clicked, this, [this] {
        if (FontDialog.Execute()) RefreshFontLabels();
    });

    const int below = top + groupHeight + 8;
    cbKitoltes = MakeCheckBox("cbKitoltes", "Fill background", this, 16, below, 200);
    cbKitoltes->setChecked(shape.FillBackground);

    const int buttonsTop = below + 30;
    const TDialogButtons buttons =
        MakeDialogButtons(*this, kClientWidth, buttonsTop, messages, QString::fromUtf8(shape.Help));
    btnOk = buttons.Ok;
    btnMegsem = buttons.Cancel;
    btnSugo = buttons.Help;
    setFixedSize(kClientWidth, buttonsTop + 25 + 10);

    RefreshFontLabels();
}

void TTextItemDlg::RefreshFontLabels() {
    stFontnev->setText(FromCp1250(FontDialog.Font.Name));
    stFontmeret->setText(QString::number(-static_cast<int64_t>(FontDialog.Font.Height)));
}
