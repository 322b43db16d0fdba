#include "dialogs/FramePropertiesDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>

#include "controls/GraphObjectComboBox.h"
#include "dialogs/DialogParts.h"
#include "dialogs/UpDown.h"
#include "platform/MessageBoxes.h"

namespace {

constexpr int kClientWidth = 360;
constexpr int kClientHeight = 250;
constexpr int kFieldLeft = 116;

TGraphObjectComboBox* Picker(TColorDialogs& colors, const char* name, QWidget* parent, int y,
                             TGraphObjectComboStyle style, TGraphObjectComboLanguage language) {
    auto* picker = new TGraphObjectComboBox(colors, parent);
    picker->setObjectName(name);
    picker->SetStyle(style);
    picker->SetLanguage(language);
    picker->move(kFieldLeft, y);
    return picker;
}

QLineEdit* Coordinate(const char* name, const char* caption, QWidget* tab, int y) {
    QLineEdit* edit = MakeEdit(name, "0", tab, kFieldLeft, y, 70);
    MakeLabel(caption, tab, 16, y + 3, kFieldLeft - 20, edit);
    return edit;
}

} // namespace

TNyomtatoKeretModositasDlg::TNyomtatoKeretModositasDlg(TColorDialogs& colors, TFontDialogs& fonts,
                                                       TMessageBoxes& messages, QWidget* parent)
    : TAlapDlg(messages, parent), FontDialog(fonts, TFont{}) {
    setObjectName("TNyomtatoKeretModositasDlg");
    setWindowTitle("Frame properties");
    LayOutButtons(kClientWidth, kClientHeight);
    Bevel1->hide();

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->setGeometry(8, 8, kClientWidth - 16, kClientHeight - 52);

    TabSheet1 = new QWidget;
    PageControl1->addTab(TabSheet1, "&Position");
    edBal = Coordinate("edBal", "&Left:", TabSheet1, 14);
    edFelso = Coordinate("edFelso", "&Top:", TabSheet1, 44);
    edJobb = Coordinate("edJobb", "&Right:", TabSheet1, 74);
    edAlso = Coordinate("edAlso", "&Bottom:", TabSheet1, 104);
    udBal = new TUpDown(*edBal, 0, 32000, 1);
    udFelso = new TUpDown(*edFelso, 0, 32000, 1);
    udJobb = new TUpDown(*edJobb, 0, 32000, 1);
    udAlso = new TUpDown(*edAlso, 0, 32000, 1);

    TabSheet2 = new QWidget;
    PageControl1->addTab(TabSheet2, "&Colors");
    const auto color = TGraphObjectComboStyle::gocsColor;
    const auto hungarian = TGraphObjectComboLanguage::goclHungarian;
    cmbKeretszin = Picker(colors, "cmbKeretszin", TabSheet2, 14, color, hungarian);
    cmbBelsoszin = Picker(colors, "cmbBelsoszin", TabSheet2, 44, color, hungarian);
    MakeLabel("&Frame:", TabSheet2, 16, 17, kFieldLeft - 20, cmbKeretszin);
    MakeLabel("&Filling:", TabSheet2, 16, 47, kFieldLeft - 20, cmbBelsoszin);

    TabSheet3 = new QWidget;
    PageControl1->addTab(TabSheet3, "&Caption");
    edSzoveg = MakeEdit("edSzoveg", "", TabSheet3, kFieldLeft, 14, 204);
    cmbSzoveghely = new QComboBox(TabSheet3);
    cmbSzoveghely->setObjectName("cmbSzoveghely");
    cmbSzoveghely->addItems(
        {QString::fromUtf8("Balra"), QString::fromUtf8("Középre"), QString::fromUtf8("Jobbra")});
    cmbSzoveghely->setGeometry(kFieldLeft, 44, 120, 21);
    btnBetustilus = MakeButton("btnBetustilus", "Font style...", TabSheet3, kFieldLeft, 76, 100);
    MakeLabel("&Text:", TabSheet3, 16, 17, kFieldLeft - 20, edSzoveg);
    MakeLabel("Text alignment:", TabSheet3, 16, 47, kFieldLeft - 20, cmbSzoveghely);
    connect(btnBetustilus, &QPushButton::clicked, this, [this] { FontDialog.Execute(); });

    TabSheet4 = new QWidget;
    PageControl1->addTab(TabSheet4, "&Others");
    cbArnyek = MakeCheckBox("cbArnyek", "&Shadow", TabSheet4, 16, 14, 200);
    cmbMinta = Picker(colors, "cmbMinta", TabSheet4, 44, TGraphObjectComboStyle::gocsBrushStyle,
                      TGraphObjectComboLanguage::goclEnglish);
    MakeLabel("&Filling style", TabSheet4, 16, 47, kFieldLeft - 20, cmbMinta);
}

std::optional<TRect> TNyomtatoKeretModositasDlg::EnteredBox() const {
    return FrameBoxFromFields(edBal->text().toStdString(), edFelso->text().toStdString(),
                              edJobb->text().toStdString(), edAlso->text().toStdString(),
                              PrintableArea);
}

void TNyomtatoKeretModositasDlg::accept() {
    if (!EnteredBox()) {
        Messages.Show("Hibás területkoordináták !", "Keret módosítása", MB_OK | MB_ICONERROR);
        return;
    }
    TAlapDlg::accept();
}

void TNyomtatoKeretModositasDlg::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) PageControl1->setCurrentIndex(0);
    TAlapDlg::showEvent(event);
}

QString TNyomtatoKeretModositasDlg::HelpText() const {
    return QString::fromUtf8(
        "Position: the frame's edges in millimetres from the top-left corner of the sheet. "
        "The frame must be at least 2 mm wide and high and lie within the printable area; "
        "the items in it do not move with it here.\n"
        "Colors: the colour of the frame's border and of its filling.\n"
        "Caption: the title printed at the top of the frame, its alignment (Balra: left, "
        "Középre: centred, Jobbra: right) and its font.\n"
        "Others: a shadow at the right and bottom edges, and the pattern of the filling.");
}
