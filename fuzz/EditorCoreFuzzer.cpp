// libFuzzer target for the editor core without a window: a document (refused ones end the
// run) followed by a sequence of user actions decoded from the remaining bytes: presses,
// moves and releases anywhere with any button, zoom and scroll changes, Escape, every item
// command with dialog answers taken from the input (valid and invalid numbers, cancel),
// the repeat menu, the navigator, the wheel, undo and redo, saving the page to memory and
// loading it back, Shift-clicks and bands, double clicks, the selection's keys, the item
// menu, and clipboard bytes from the input (copies of the page's items, damaged or not).
// After every action the page must hold together: frame references name existing items, the
// selection names existing items, the mode is a defined one, the view keeps the sheet's
// proportions, and the page saves and reads back to the same bytes; a paste refused with a
// message changes nothing. At the end, undoing everything must give back the page as it was
// loaded.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

#include "document/DocumentFile.h"
#include "editor/ChangeStep.h"
#include "editor/commands/ClipboardCommands.h"
#include "editor/commands/ItemCommands.h"
#include "editor/ContextMenu.h"
#include "editor/CoreServices.h"
#include "editor/ItemDialogs.h"
#include "editor/Keys.h"
#include "editor/MouseTools.h"
#include "editor/Navigator.h"
#include "editor/PageEditor.h"
#include "editor/PageView.h"
#include "editor/Scrolling.h"
#include "editor/Selection.h"
#include "editor/Tools.h"
#include "editor/ViewZoom.h"
#include "platform/Clipboard.h"
#include "platform/MessageBoxes.h"
#include "platform/PickerDialogs.h"
#include "platform/RecordingCanvas.h"
#include "platform/Screen.h"
#include "support/BmpFixtures.h"
#include "support/SampleDocument.h"
#include "support/TestPrinters.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "editor core invariant broken: %s\n", what);
    std::abort();
}

// The input, read front to back; past the end every read gives zero.
class TInput {
public:
    explicit TInput(std::span<const uint8_t> bytes) : Bytes(bytes) {}
    bool Done() const { return Pos >= Bytes.size(); }
    uint8_t Byte() { return Pos < Bytes.size() ? Bytes[Pos++] : 0; }
    uint16_t Word() { return static_cast<uint16_t>(Byte() | (Byte() << 8)); }
    std::span<const uint8_t> Take(size_t n) {
        n = std::min(n, Bytes.size() - Pos);
        auto out = Bytes.subspan(Pos, n);
        Pos += n;
        return out;
    }
    // A view coordinate: mostly on and around the page picture, now and then far off.
    int32_t Coordinate(int32_t size) {
        const uint16_t w = Word();
        if ((w & 0xF000) == 0xF000) return static_cast<int16_t>(w) * 4096;
        return static_cast<int32_t>(w % (size + 120)) - 60;
    }
    // A number as typed into a dialog field: a fitting value, a wild one, or not a number.
    std::string Field() {
        switch (Byte() % 8) {
        case 0: return "";
        case 1: return "12.5";
        case 2: return "x" + std::to_string(Byte());
        case 3:
            return std::to_string(
                static_cast<int32_t>(static_cast<uint32_t>(Word()) << 16 | Word()));
        case 4: return "-" + std::to_string(Byte());
        default: return std::to_string(Byte() % 220);
        }
    }

private:
    std::span<const uint8_t> Bytes;
    size_t Pos = 0;
};

std::string PicturePath() {
    static const std::string path = [] {
        const auto p = std::filesystem::temp_directory_path() / "fs_editor_fuzz_picture.bmp";
        const std::vector<uint8_t> bmp = MakeBmp(TBmpShape{4, 3, 24});
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bmp.data()),
                   static_cast<std::streamsize>(bmp.size()));
        return p.string();
    }();
    return path;
}

// Every dialog answers from the input: cancel, or Ok with fields taken from it.
class TFuzzDialogs : public TItemDialogs {
public:
    explicit TFuzzDialogs(TInput& in) : In(in) {}
    bool NewCaption(TTextDialogData& d) override { return Text(d); }
    bool NewText(TTextDialogData& d) override { return Text(d); }
    bool ModifyCaption(TTextDialogData& d) override { return Text(d); }
    bool ModifyText(TTextDialogData& d) override { return Text(d); }
    bool NewImage(TImageDialogData& d) override {
        if (!Ok()) return false;
        Image(d);
        d.ByMouse = In.Byte() & 1;
        d.FileName = In.Byte() & 1 ? PicturePath() : std::string("/nonexistent/picture.bmp");
        return true;
    }
    bool ModifyImage(TImageDialogData& d) override {
        if (!Ok()) return false;
        Image(d);
        return true;
    }
    bool LineProperties(TLineDialogData& d, bool) override {
        if (!Ok()) return false;
        d.Color = In.Byte() * 0x10101;
        d.Width = In.Byte() % 12;
        d.PenStyle = In.Byte() % 8;
        return true;
    }
    bool ModifyFrame(TFrameDialogData& d) override {
        if (!Ok()) return false;
        // The dialog only lets valid boxes inside the printable area through.
        const int32_t l = static_cast<int32_t>(d.Area.Left) + In.Byte() % 50;
        const int32_t t = static_cast<int32_t>(d.Area.Top) + In.Byte() % 50;
        d.Rect = TRect{l, t, l + 2 + In.Byte() % 100, t + 2 + In.Byte() % 100};
        if (d.Rect.Right > d.Area.Right || d.Rect.Bottom > d.Area.Bottom) return false;
        d.FillStyle = In.Byte() % 8;
        d.TitleAlignment = In.Byte() % 3;
        d.Title = std::string(In.Byte() % 6, 'T');
        d.TitleFont.Height = static_cast<int8_t>(In.Byte());
        return true;
    }

private:
    bool Ok() { return In.Byte() % 4 != 0; }
    bool Text(TTextDialogData& d) {
        if (!Ok()) return false;
        const uint8_t shape = In.Byte();
        d.Text = shape & 1 ? std::string("a\r\nbb") : std::string(shape % 7, 'x');
        d.LineCount = shape % 3;
        d.X = In.Field();
        d.Y = In.Field();
        d.ByMouse = shape & 2;
        d.FillBackground = shape & 4;
        d.Font.Height = static_cast<int8_t>(In.Byte());
        return true;
    }
    void Image(TImageDialogData& d) {
        d.Left = In.Field();
        d.Top = In.Field();
        d.Width = In.Field();
        d.Height = In.Field();
    }
    TInput& In;
};

class TFuzzColors : public TColorDialogs {
public:
    explicit TFuzzColors(TInput& in) : In(in) {}
    std::optional<TColor> PickColor(TColor) override {
        if (In.Byte() % 4 == 0) return std::nullopt;
        return static_cast<TColor>(In.Byte() * 0x010203);
    }

private:
    TInput& In;
};

class TSilentMessages : public TMessageBoxes {
public:
    int Show(const std::string&, const std::string&, unsigned) override {
        ++Shown;
        return IDOK;
    }
    int Shown = 0;
};

// An A4 printer that measures text on a recording canvas.
class TMeasuringA4Printer : public TA4Printer {
public:
    std::unique_ptr<TCanvas> CreateMeasureCanvas() override {
        return std::make_unique<TRecordingCanvas>();
    }
};

std::vector<uint8_t> Save(const TPageEditor& e) {
    return WriteDocument(e.PageWidthMm, e.PageHeightMm, e.Settings, e.Items,
                         e.Compass ? &*e.Compass : nullptr);
}

// The page without the sheet's place and click-through area, which undoing a printer set-up
// leaves as the new sheet has them.
std::vector<uint8_t> SaveContent(const TPageEditor& e) {
    TPageSettings settings = e.Settings;
    settings.BasePageRect = settings.ClickThroughArea = TRect{};
    return WriteDocument(e.PageWidthMm, e.PageHeightMm, settings, e.Items,
                         e.Compass ? &*e.Compass : nullptr);
}

bool HasJpegPicture(const TPageEditor& e) {
    for (int i = 0; i < e.Items.Images.Count(); ++i)
        if (e.Items.Images[i].Picture->IsJpeg) return true;
    return false;
}

void CheckPage(const TPageEditor& e) {
    if (CheckFrameMembers(e.Items)) Fail("a frame reference names no item");
    if (!IsDefinedMode(static_cast<int32_t>(e.Mode))) Fail("undefined interaction mode");
    for (const TKKItem& item : e.Selection)
        if (!ItemExists(e.Items, item)) Fail("the selection names no item");
    // The sheet on the picture keeps the proportions of the sheet in mm (within rounding).
    const int64_t pw = e.PageRect().Right - e.PageRect().Left;
    const int64_t ph = e.PageRect().Bottom - e.PageRect().Top;
    const int64_t slack =
        static_cast<int64_t>((e.Zoom() + 2) * std::max(e.PageWidthMm, e.PageHeightMm));
    if (std::llabs(pw * e.PageHeightMm - ph * e.PageWidthMm) > slack)
        Fail("view distorts the sheet");
    // Saving and reading back gives the same page (JPEG pictures are encoded anew on every
    // save, so pages holding one are compared by what they hold, not by bytes).
    if (HasJpegPicture(e)) return;
    const std::vector<uint8_t> bytes = Save(e);
    const TDocumentData again = ReadDocument(bytes, "fuzz.PST");
    if (WriteDocument(again) != bytes) Fail("the page reads back differently");
}

// Seeds: documents with every kind of item, nested and overlapping frames (one item listed in
// two frames), items off the sheet, empty point lists and a text without lines, each followed
// by a few actions.
std::vector<std::vector<uint8_t>> SeedDocuments() {
    std::vector<std::vector<uint8_t>> docs;
    TDocumentData sample = SampleDocument();
    docs.push_back(WriteDocument(sample));

    TDocumentData odd = SampleDocument();
    auto inner = std::make_unique<TNyomtatoKeret>();
    inner->Rect = {20, 20, 80, 60};
    inner->FillStyle = 1;
    inner->Members.AddReference(ikCaption, 2); // also a member of the first frame
    odd.Items.Frames.Add(std::move(inner));
    odd.Items.Frames[0].Members.AddReference(ikFrame, 2);
    auto far = std::make_unique<TNyomtatoNegyszog>();
    far->Rect = {-500, 4000, 2147483000, 2147483600};
    odd.Items.Rectangles.Add(std::move(far));
    odd.Items.Lines.Add(std::make_unique<TNyomtatoVonal>());
    odd.Items.Polygons.Add(std::make_unique<TNyomtatoPoligon>());
    auto one = std::make_unique<TNyomtatoVonal>();
    one->AddPoint(100, 150);
    one->Width = 1000000;
    odd.Items.Lines.Add(std::move(one));
    odd.Items.Texts[0].LineCount = 0;
    odd.Compass->Simple = false;
    docs.push_back(WriteDocument(odd));

    TDocumentData empty;
    docs.push_back(WriteDocument(empty));
    return docs;
}

void WriteSeeds(const char* dir) {
    // Presses, drags and commands that reach items of the seed documents at zoom 1.
    const uint8_t actions[] = {0, 0,  100, 0, 60,  0, 2,   110, 0, 70, 0, 4,  0,   110, 0,   70,
                               0, 9,  0,   0, 130, 0, 90,  0,   8, 5,  3, 0,  200, 0,   150, 0,
                               1, 10, 0,   0, 180, 0, 200, 0,   1, 1,  5, 30, 13,  2,   0,   8};
    int i = 0;
    for (const std::vector<uint8_t>& doc : SeedDocuments()) {
        std::vector<uint8_t> seed = {static_cast<uint8_t>(doc.size() & 0xFF),
                                     static_cast<uint8_t>(doc.size() >> 8)};
        seed.insert(seed.end(), doc.begin(), doc.end());
        seed.insert(seed.end(), std::begin(actions), std::end(actions));
        const auto path = std::filesystem::path(dir) / ("seed" + std::to_string(i++));
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(seed.data()),
                   static_cast<std::streamsize>(seed.size()));
    }
}

// Whatever came before, the history matches the page: nothing changed outside a step, and
// when nothing runs, undoing every step gives the loaded page and redoing them gives the page
// back byte for byte (unless the history had to drop its oldest steps).
void CheckHistory(TPageEditor& e, const std::vector<uint8_t>& loaded, bool stepsDropped) {
    if (e.History.IsOpen()) return;
    if (!e.History.Matches(e)) Fail("the page changed outside the history");
    if (stepsDropped || !IsAtRest(e.Mode) || IsGestureUnderWay(e)) return;
    const std::vector<uint8_t> now = Save(e);
    const int done = e.History.UndoCount();
    const int undone = e.History.RedoCount();
    while (e.History.Undo(e)) {
    }
    if (SaveContent(e) != loaded) Fail("undoing everything does not give the loaded page back");
    for (int i = 0; i < done; ++i)
        if (!e.History.Redo(e)) Fail("a step undone cannot be redone");
    if (e.History.RedoCount() != undone || Save(e) != now)
        Fail("redoing every step does not give the page back");
}

} // namespace

// FS_EDITOR_FUZZ_SEEDS=DIR writes the seed inputs into DIR before fuzzing starts.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* dir = std::getenv("FS_EDITOR_FUZZ_SEEDS")) WriteSeeds(dir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TInput in({data, size});
    TMemoryScreen screen;
    TMeasuringA4Printer printer;
    TSilentMessages messages;
    TFuzzColors colors(in);
    TFuzzDialogs dialogs(in);
    TMemoryClipboard clipboard;
    TCoreServices s{screen, printer, messages, colors, dialogs, &clipboard};

    TPageEditor e;
    e.ResetPage(printer);
    e.LayOut();
    const size_t docLength = in.Word();
    if (docLength > 0) {
        TDocumentData doc;
        try {
            doc = ReadDocument(in.Take(docLength), "fuzz.PST");
        } catch (const EDocumentError&) {
            return 0;
        }
        e.Settings = doc.PageSettings;
        e.Items = std::move(doc.Items);
        if (doc.Compass) e.Compass = doc.Compass;
        e.History.Restart(e);
    }
    CheckPage(e);
    const std::vector<uint8_t> loaded = SaveContent(e);
    bool stepsDropped = false;

    const auto button = [&] {
        const uint8_t b = in.Byte() % 3;
        return b == 0 ? TMouseButton::Left : b == 1 ? TMouseButton::Right : TMouseButton::Middle;
    };
    for (int step = 0; step < 200 && !in.Done(); ++step) {
        const int action = in.Byte() % 26;
        // FS_EDITOR_FUZZ_TRACE=1 prints the actions of a run (to replay a finding).
        static const bool trace = std::getenv("FS_EDITOR_FUZZ_TRACE") != nullptr;
        if (trace) std::fprintf(stderr, "action %d, mode %d\n", action, static_cast<int>(e.Mode));
        switch (action) {
        case 0:
        case 1: {
            const TMouseButton b = button();
            const int32_t x = in.Coordinate(e.PictureWidth);
            MouseDown(e, s, b, x, in.Coordinate(e.PictureHeight));
            break;
        }
        case 2:
        case 3: {
            const int32_t x = in.Coordinate(e.PictureWidth);
            MouseMove(e, s, x, in.Coordinate(e.PictureHeight));
            break;
        }
        case 4: {
            const TMouseButton b = button();
            const int32_t x = in.Coordinate(e.PictureWidth);
            MouseUp(e, s, b, x, in.Coordinate(e.PictureHeight));
            break;
        }
        case 5: e.SetZoomPosition(in.Byte()); break;
        case 6: {
            const int32_t x = in.Word();
            e.SetScroll(x, in.Word());
            break;
        }
        case 7: KeyDown(e, s, VK_ESCAPE); break;
        case 8:
            e.NewItemKind = in.Byte() % 7;
            NewItem(e, s);
            break;
        case 9: StartDeleteTool(e, s); break;
        case 10: StartModifyTool(e, s); break;
        case 11: RunRepeatCommand(e, s, static_cast<TRepeatCommand>(in.Byte() % 11)); break;
        case 12: {
            const uint8_t what = in.Byte() % 3;
            const int32_t x = in.Coordinate(TPageEditor::NavigatorWidth);
            const int32_t y = in.Coordinate(TPageEditor::NavigatorHeight);
            if (what == 0) NavigatorMouseDown(e, screen, button(), x, y);
            if (what == 1) NavigatorMouseMove(e, x, y);
            if (what == 2) NavigatorMouseUp(e, screen);
            break;
        }
        case 13: {
            const uint8_t flags = in.Byte();
            WheelOnPage(e, static_cast<int8_t>(in.Byte()) * 15, static_cast<int8_t>(in.Byte()) * 15,
                        flags & 1, flags & 2,
                        TPoint{in.Coordinate(e.PictureWidth), in.Coordinate(e.PictureHeight)});
            // Now and then the window is resized, or a zoom key pressed.
            if (flags & 4) SetPictureSize(e, in.Coordinate(2000), in.Coordinate(1500));
            if (flags & 8) KeyDown(e, s, flags & 16 ? VK_1 : VK_0, ssCtrl);
            break;
        }
        case 14:
            if (in.Byte() & 1)
                BeginScrollTrack(e);
            else
                EndScrollTrack(e);
            break;
        case 15: e.RepeatTimerFired(); break;
        case 16: KeyDown(e, s, VK_Z, ssCtrl); break;
        case 17:
            KeyDown(e, s, in.Byte() & 1 ? VK_Y : VK_Z, in.Byte() & 1 ? ssCtrl : ssCtrl | ssShift);
            break;
        case 18: e.InstallDocument(ReadDocument(Save(e), "fuzz.PST")); break;
        case 19: {
            // The mouse with Shift held (or not): toggles, bands, proportional corners.
            const uint8_t what = in.Byte();
            const unsigned shift = what & 4 ? ssShift : 0u;
            const int32_t x = in.Coordinate(e.PictureWidth);
            const int32_t y = in.Coordinate(e.PictureHeight);
            if (what % 3 == 0) MouseDown(e, s, TMouseButton::Left, x, y, shift);
            if (what % 3 == 1) MouseMove(e, s, x, y, shift);
            if (what % 3 == 2) MouseUp(e, s, TMouseButton::Left, x, y, shift);
            break;
        }
        case 20: {
            static constexpr int kPlain[] = {VK_DELETE, VK_RETURN, VK_F2,  VK_LEFT,
                                             VK_RIGHT,  VK_UP,     VK_DOWN};
            static constexpr int kCtrl[] = {VK_A, VK_C, VK_X, VK_V, VK_D};
            const uint8_t k = in.Byte();
            if (k & 0x80) {
                KeyDown(e, s, kCtrl[k % 5], ssCtrl);
            } else {
                KeyDown(e, s, kPlain[k % 7], k & 0x40 ? ssShift : 0u);
            }
            break;
        }
        case 21: {
            // Clipboard bytes: the page's own items, cut short or with a byte changed, or raw
            // bytes from the input; then a paste.
            const uint8_t how = in.Byte();
            if (how % 3 == 0) {
                const auto raw = in.Take(in.Byte() * 4u);
                clipboard.SetData(kItemsMimeType, std::vector<uint8_t>(raw.begin(), raw.end()),
                                  nullptr);
            } else if (!clipboard.Bytes.empty()) {
                const size_t at = in.Word() % clipboard.Bytes.size();
                if (how % 3 == 1)
                    clipboard.Bytes.resize(at);
                else
                    clipboard.Bytes[at] ^= static_cast<uint8_t>(in.Byte() | 1);
            }
            const std::vector<uint8_t> before = Save(e);
            const int steps = e.History.UndoCount();
            const int shown = messages.Shown;
            PasteClipboard(e, s);
            if (messages.Shown != shown && (Save(e) != before || e.History.UndoCount() != steps))
                Fail("a refused paste changed the page");
            break;
        }
        case 22: {
            const int32_t x = in.Coordinate(e.PictureWidth);
            MouseDoubleClick(e, s, x, in.Coordinate(e.PictureHeight));
            break;
        }
        case 23: {
            const int32_t x = in.Coordinate(e.PictureWidth);
            const int32_t y = in.Coordinate(e.PictureHeight);
            MouseDown(e, s, TMouseButton::Right, x, y);
            const std::vector<TContextEntry> menu = ContextMenuAt(e, x, y);
            const uint8_t pick = in.Byte();
            if (!menu.empty() && menu[pick % menu.size()].Enabled)
                RunContextCommand(e, s, menu[pick % menu.size()].Command);
            break;
        }
        case 24: MouseLeave(e); break;
        case 25: e.ResetPage(printer); break; // Printer setup, at any moment of a gesture
        }
        if (e.History.UndoCount() + e.History.RedoCount() >= TUndoHistory::kMaxSteps)
            stepsDropped = true;
        CheckPage(e);
        CheckHistory(e, loaded, stepsDropped);
        TRecordingCanvas canvas;
        PaintPage(canvas, e);
    }
    // Undoing every step (an unfinished drag is committed first) gives the loaded page back,
    // unless the history had to drop its oldest steps.
    if (!stepsDropped) {
        EndGesture(e);
        CommitGesture(e);
        while (e.History.Undo(e)) {
        }
        if (SaveContent(e) != loaded) Fail("undoing everything does not give the loaded page back");
    }
    return 0;
}
