// The four caption and text dialogs: their shapes, first values and help texts.
#include "dialogs/CaptionPropertiesDlg.h"
#include "dialogs/NewCaptionDlg.h"
#include "dialogs/NewTextDlg.h"
#include "dialogs/TextPropertiesDlg.h"

namespace {

// The font the new dialogs and the text properties dialog start with.
TFont ArialFont() {
    TFont font;
    font.Name = "Arial";
    font.Height = -11;
    font.Color = clBlack;
    return font;
}

constexpr const char* kFontHelp =
    "The font button chooses the font; Style shows its face and Full size [mm] the height of "
    "its characters in millimetres on the printed page.\n"
    "Fill background: the text is printed on a white background that covers what lies "
    "below it.";

constexpr const char* kPlacementHelp =
    "Coords in edit boxes: the top-left corner goes to X and Y, in millimetres from the "
    "top-left corner of the sheet; both must lie within the printable area.\n"
    "Select with mouse: after Ok, click the page where the top-left corner should go.\n";

const std::string kNewCaptionHelp =
    std::string("Text: the caption, one line.\n") + kPlacementHelp + kFontHelp;
const std::string kNewTextHelp =
    std::string("Text: the lines of the text; without any text nothing is made.\n") +
    kPlacementHelp + kFontHelp;
const std::string kCaptionHelp =
    std::string("Text: the caption, one line (scale captions and locked captions keep theirs).\n"
                "X and Y: the top-left corner, in millimetres from the top-left corner of the "
                "sheet.\n") +
    kFontHelp;
const std::string kTextHelp =
    std::string("Text: the lines of the text.\n"
                "X and Y: the top-left corner, in millimetres from the top-left corner of the "
                "sheet.\n") +
    kFontHelp;

} // namespace

TUjNyomtatoSzovegDlg::TUjNyomtatoSzovegDlg(TFontDialogs& fonts, TMessageBoxes& messages,
                                           QWidget* parent)
    : TTextItemDlg({"TUjNyomtatoSzovegDlg", "New caption", false, true, "Text", "edX", "edY", "20",
                    "120", "Edit...", "Style.", false, ArialFont(), kNewCaptionHelp.c_str()},
                   fonts, messages, parent),
      edSzoveg(TextLine), edX(PosX), edY(PosY), udX(UpDownX), udY(UpDownY), rbBeallitott(ByCoords),
      rbEgerrel(ByMouse) {}

TNyomtatoSzovegModositasDlg::TNyomtatoSzovegModositasDlg(TFontDialogs& fonts,
                                                         TMessageBoxes& messages, QWidget* parent)
    : TTextItemDlg({"TNyomtatoSzovegModositasDlg", "Modify text", false, false, "&Text", "edBal",
                    "edFelso", "10", "10", "&Beállítás...", "Style:", true, TFont{},
                    kCaptionHelp.c_str()},
                   fonts, messages, parent),
      edSzoveg(TextLine), edBal(PosX), edFelso(PosY), udBal(UpDownX), udFelso(UpDownY) {}

TUjNyomtatoSorokDlg::TUjNyomtatoSorokDlg(TFontDialogs& fonts, TMessageBoxes& messages,
                                         QWidget* parent)
    : TTextItemDlg({"TUjNyomtatoSorokDlg", "New text", true, true, "Text", "edX", "edY", "20",
                    "120", "Edit...", "Style:", false, ArialFont(), kNewTextHelp.c_str()},
                   fonts, messages, parent),
      memoSzoveg(TextMemo), edX(PosX), edY(PosY), udX(UpDownX), udY(UpDownY),
      rbBeallitott(ByCoords), rbEgerrel(ByMouse) {}

TNyomtatoSorokModositasDlg::TNyomtatoSorokModositasDlg(TFontDialogs& fonts, TMessageBoxes& messages,
                                                       QWidget* parent)
    : TTextItemDlg({"TNyomtatoSorokModositasDlg", "Printer text properties", true, false, "&Text",
                    "edX", "edY", "20", "120", "&Beállítás...", "Style:", false, ArialFont(),
                    kTextHelp.c_str()},
                   fonts, messages, parent),
      memoSzoveg(TextMemo), edX(PosX), edY(PosY), udX(UpDownX), udY(UpDownY) {}
