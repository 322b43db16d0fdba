// The real editor window driven offscreen by a seeded random sequence of user actions:
// presses, drags, double clicks and releases with every button, the wheel, the item menu of a
// right click, every push button and shortcut, the scroll and zoom bars and the repeat menu,
// with every dialog answered at random by the scripted seams and the file dialogs naming
// files in a folder of the test's own (saved earlier, a sample, broken, missing, unwritable).
//
// After each action: frame and selection references name existing items, the item a drag
// holds exists, the history holds a step open only for a gesture and has recorded every
// change, a page marked unmodified saves to the very bytes of the file it was last saved to
// or loaded from, the page saves and reads back to the same bytes, and the window still
// answers. Every few actions and at the end of each episode undoing everything with Ctrl+Z
// gives the start page and redoing as many steps with Ctrl+Shift+Z gives the last one.
//
// A run lasts FS_SOAK_SECONDS (60 by default), episode after episode of FS_SOAK_STEPS
// actions each on a fresh window. The seed is printed: FS_SOAK_SEED=N repeats a run (=random
// draws one); FS_SOAK_FROM=E and FS_SOAK_EPISODES=K run K episodes from episode E, which is
// what a failure message proposes. Commands come at any moment, also while a mouse button is
// down. New window commands join by one line in Actions().
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <random>
#include <string>
#include <vector>

#include "controls/CursorImage.h"
#include "document/DocumentFile.h"
#include "editor/ChangeStep.h"
#include "editor/PageDescription.h"
#include "editor/PageView.h"
#include "editor/Selection.h"
#include "editor/window/EditorWindow.h"
#include "editor/window/Forms.h"
#include "platform/Clipboard.h"
#include "support/BmpFixtures.h"
#include "support/QtTestApp.h"
#include "support/SampleDocument.h"
#include "support/ScriptedServices.h"
#include "support/TempDir.h"
#include "support/TestPrinters.h"

namespace {

using TRandom = std::mt19937_64;

int Pick(TRandom& r, int n) { return static_cast<int>(r() % static_cast<uint64_t>(n)); }
bool Chance(TRandom& r, int percent) { return Pick(r, 100) < percent; }

// A number as a user types it into a dialog field: mostly fitting, now and then not one.
std::string Field(TRandom& r) {
    switch (Pick(r, 8)) {
    case 0: return "";
    case 1: return "12.5";
    case 2: return "x";
    case 3: return "99999999999";
    case 4: return "-" + std::to_string(Pick(r, 40));
    default: return std::to_string(Pick(r, 220));
    }
}

// The item dialogs answer at random: cancel, or Ok with fields good and bad.
class TSoakDialogs : public TItemDialogs {
public:
    TSoakDialogs(TRandom& r, std::string picture) : R(r), Picture(std::move(picture)) {}
    bool NewCaption(TTextDialogData& d) override { return Text(d); }
    bool NewText(TTextDialogData& d) override { return Text(d); }
    bool ModifyCaption(TTextDialogData& d) override { return Text(d); }
    bool ModifyText(TTextDialogData& d) override { return Text(d); }
    bool NewImage(TImageDialogData& d) override {
        if (!Ok()) return false;
        Image(d);
        d.ByMouse = Chance(R, 50);
        d.FileName = Chance(R, 80) ? Picture : std::string("/nonexistent/picture.bmp");
        return true;
    }
    bool ModifyImage(TImageDialogData& d) override {
        if (!Ok()) return false;
        Image(d);
        return true;
    }
    bool LineProperties(TLineDialogData& d, bool) override {
        if (!Ok()) return false;
        d.Color = static_cast<TColor>(Pick(R, 256) * 0x10101);
        d.Width = Pick(R, 8);
        d.PenStyle = static_cast<uint8_t>(Pick(R, 6));
        return true;
    }
    bool ModifyFrame(TFrameDialogData& d) override {
        if (!Ok()) return false;
        // The dialog lets only boxes inside the printable area through.
        const auto l = static_cast<int32_t>(d.Area.Left) + Pick(R, 50);
        const auto t = static_cast<int32_t>(d.Area.Top) + Pick(R, 50);
        d.Rect = TRect{l, t, l + 2 + Pick(R, 80), t + 2 + Pick(R, 80)};
        if (d.Rect.Right > d.Area.Right || d.Rect.Bottom > d.Area.Bottom) return false;
        d.Shadow = Chance(R, 50);
        d.Title = std::string(static_cast<size_t>(Pick(R, 5)), 'T');
        d.TitleAlignment = Pick(R, 3);
        return true;
    }

private:
    bool Ok() { return Chance(R, 75); }
    bool Text(TTextDialogData& d) {
        if (!Ok()) return false;
        d.Text = Chance(R, 50) ? std::string("a\r\nbb") : std::string(Pick(R, 6), 'x');
        d.LineCount = Pick(R, 3);
        d.X = Field(R);
        d.Y = Field(R);
        d.ByMouse = Chance(R, 50);
        d.FillBackground = Chance(R, 50);
        d.Font.Height = static_cast<int8_t>(Pick(R, 40) - 20);
        return true;
    }
    void Image(TImageDialogData& d) {
        d.Left = Field(R);
        d.Top = Field(R);
        d.Width = Field(R);
        d.Height = Field(R);
    }
    TRandom& R;
    std::string Picture;
};

std::vector<uint8_t> PageBytes(const TPageEditor& e) {
    return WriteDocument(e.PageWidthMm, e.PageHeightMm, e.Settings, e.Items,
                         e.Compass ? &*e.Compass : nullptr);
}

bool HasJpegPicture(const TPageEditor& e) {
    for (int i = 0; i < e.Items.Images.Count(); ++i)
        if (e.Items.Images[i].Picture->IsJpeg) return true;
    return false;
}

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Where two documents' bytes part, for a failure message.
std::string Difference(const std::vector<uint8_t>& was, const std::vector<uint8_t>& now) {
    const auto at = std::mismatch(was.begin(), was.end(), now.begin(), now.end());
    std::string text = " (" + std::to_string(was.size()) + " bytes against " +
                       std::to_string(now.size()) + ", first difference at byte " +
                       std::to_string(at.first - was.begin());
    try {
        const TDocumentData a = ReadDocument(was, "was.PST");
        const TDocumentData b = ReadDocument(now, "now.PST");
        text += "; compass " + std::to_string(a.Compass.has_value()) + " against " +
                std::to_string(b.Compass.has_value());
    } catch (const std::exception& e) {
        text += std::string("; ") + e.what();
    }
    return text + ")";
}

// The item a drag or resize holds, by the mode; nothing when the mode holds none.
std::optional<TKKItem> HeldItem(const TPageEditor& e) {
    switch (e.Mode) {
    case mdDragFrame: return TKKItem{ikFrame, e.FrameIndex};
    case mdDragCaption: return TKKItem{ikCaption, e.CaptionOrTextIndex};
    case mdDragText: return TKKItem{ikText, e.CaptionOrTextIndex};
    case mdDragImage: return TKKItem{ikImage, e.ImageIndex};
    case mdDragRectangle: return TKKItem{ikRectangle, e.RectangleIndex};
    case mdDragLine:
    case mdDragLinePoint: return TKKItem{ikLine, e.LineIndex};
    case mdDragPolygon:
    case mdDragPolygonPoint: return TKKItem{ikPolygon, e.PolygonIndex};
    default: break;
    }
    if (!IsResizing(e.Mode) && e.Mode != mdResizeCorner) return std::nullopt;
    switch (e.ResizeKind) {
    case rkFrame: return TKKItem{ikFrame, e.FrameIndex};
    case rkRectangle: return TKKItem{ikRectangle, e.RectangleIndex};
    case rkImage: return TKKItem{ikImage, e.ImageIndex};
    default: return std::nullopt;
    }
}

// The file names the file dialogs answer with, all in the soak's folder.
constexpr const char* kSaveNames[] = {"saved.PST", "saved.PST", "other.PST", "no-folder/x.PST"};
constexpr const char* kLoadNames[] = {"saved.PST",  "other.PST",     "sample.PST",
                                      "broken.PST", "truncated.PST", "missing.PST"};

// One episode: a fresh window on the A4 test printer, a document to load, and the actions.
class TSoak {
public:
    TSoak(uint64_t seed, const TTempDir& dir, TClipboard* clipboard) : R(seed), Dir(dir) {
        CreateForms(Forms, Services);
        W().ItemDialogs = std::make_unique<TSoakDialogs>(R, Dir.File("picture.bmp"));
        if (clipboard != nullptr) W().Clipboard = clipboard;
        W().show();
        Start = PageBytes(W().Editor);
    }
    ~TSoak() { Release(); }

    TNyomtatoOldalDlg& W() { return *Forms.NyomtatoOldalDlg; }
    TEditorServices WithA4Printer() {
        Scripted.Printer = &Printer;
        return Scripted.Services();
    }

    struct TAction {
        const char* Name;
        int Weight;
        std::function<void(TSoak&)> Run;
    };

    // Everything a user can do to the window, with how often the soak does it.
    static const std::vector<TAction>& Actions() {
        static const std::vector<TAction> actions = {
            {"press", 14, [](TSoak& s) { s.Press(); }},
            {"move", 14, [](TSoak& s) { s.Move(); }},
            {"release", 12, [](TSoak& s) { s.Release(); }},
            {"drag", 12, [](TSoak& s) { s.Drag(); }},
            {"double click", 3, [](TSoak& s) { s.DoubleClick(); }},
            {"item menu", 5, [](TSoak& s) { s.ItemMenu(); }},
            {"wheel", 4, [](TSoak& s) { s.Wheel(); }},
            {"new item", 10, [](TSoak& s) { s.NewItem(); }},
            {"delete", 3, [](TSoak& s) { s.W().btnTorles->click(); }},
            {"modify", 4, [](TSoak& s) { s.W().btnModositas->click(); }},
            {"save", 2,
             [](TSoak& s) { s.WithFile(kSaveNames, [&] { s.W().btnKimentes->click(); }); }},
            {"load", 2,
             [](TSoak& s) { s.WithFile(kLoadNames, [&] { s.W().btnBetoltes->click(); }); }},
            {"print", 1, [](TSoak& s) { s.Print([&] { s.W().btnProba->click(); }); }},
            {"printer setup", 1, [](TSoak& s) { s.Modal(s.W().Button1); }},
            {"about", 1, [](TSoak& s) { s.Modal(s.W().Button2); }},
            {"repeat menu", 4, [](TSoak& s) { s.Repeat(); }},
            {"repeat timer", 2, [](TSoak& s) { s.W().Timer1Timer(); }},
            {"zoom bar", 3, [](TSoak& s) { s.Bar(*s.W().sbNagyitas); }},
            {"scroll bar", 3,
             [](TSoak& s) { s.Bar(s.Chance(50) ? *s.W().sbHorz : *s.W().sbVert); }},
            {"Ctrl+Z", 6, [](TSoak& s) { s.Key(Qt::Key_Z, Qt::ControlModifier); }},
            {"Ctrl+Shift+Z", 3,
             [](TSoak& s) { s.Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); }},
            {"Ctrl+Y", 2, [](TSoak& s) { s.Key(Qt::Key_Y, Qt::ControlModifier); }},
            {"Ctrl+S", 3,
             [](TSoak& s) {
                 s.WithFile(kSaveNames, [&] { s.Key(Qt::Key_S, Qt::ControlModifier); });
             }},
            {"Ctrl+Shift+S", 2,
             [](TSoak& s) {
                 s.WithFile(kSaveNames,
                            [&] { s.Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier); });
             }},
            {"Ctrl+O", 2,
             [](TSoak& s) {
                 s.WithFile(kLoadNames, [&] { s.Key(Qt::Key_O, Qt::ControlModifier); });
             }},
            {"Ctrl+P", 1,
             [](TSoak& s) { s.Print([&] { s.Key(Qt::Key_P, Qt::ControlModifier); }); }},
            {"Ctrl+A", 2, [](TSoak& s) { s.Key(Qt::Key_A, Qt::ControlModifier); }},
            {"Ctrl+C", 2, [](TSoak& s) { s.Key(Qt::Key_C, Qt::ControlModifier); }},
            {"Ctrl+X", 2, [](TSoak& s) { s.Key(Qt::Key_X, Qt::ControlModifier); }},
            {"Ctrl+V", 3, [](TSoak& s) { s.Key(Qt::Key_V, Qt::ControlModifier); }},
            {"Ctrl+D", 2, [](TSoak& s) { s.Key(Qt::Key_D, Qt::ControlModifier); }},
            {"arrow", 5, [](TSoak& s) { s.Arrow(); }},
            {"Enter", 1, [](TSoak& s) { s.PictureKey(Qt::Key_Return); }},
            {"F2", 1, [](TSoak& s) { s.PictureKey(Qt::Key_F2); }},
            {"Delete key", 2, [](TSoak& s) { s.PictureKey(Qt::Key_Delete); }},
            {"zoom key", 3, [](TSoak& s) { s.ZoomKey(); }},
            {"Escape", 3, [](TSoak& s) { s.Key(Qt::Key_Escape, Qt::NoModifier); }},
            {"Alt+letter", 3, [](TSoak& s) { s.AltLetter(); }},
        };
        return actions;
    }

    const TAction& NextAction() {
        int total = 0;
        for (const TAction& a : Actions()) total += a.Weight;
        int at = Pick(R, total);
        for (const TAction& a : Actions()) {
            if (at < a.Weight) return a;
            at -= a.Weight;
        }
        return Actions().front();
    }

    bool Chance(int percent) { return ::Chance(R, percent); }

    // A point on or around the page picture, now and then far off it.
    QPoint Somewhere() {
        if (Chance(3)) return QPoint(Pick(R, 20000) - 10000, Pick(R, 20000) - 10000);
        return QPoint(Pick(R, W().Editor.PictureWidth + 40) - 20,
                      Pick(R, W().Editor.PictureHeight + 40) - 20);
    }
    // A point on an item of the page: inside it, on an edge or a corner (where the handles
    // are), give or take a pixel or two.
    QPoint OnItem() {
        const TPageEditor& e = W().Editor;
        std::vector<TKKItem> items;
        for (int32_t kind = ikCaption; kind <= ikFrame; ++kind)
            for (int32_t i = 0; i < e.Items.CountOf(kind); ++i) items.push_back({kind, i});
        if (items.empty()) return Somewhere();
        const auto box = ItemBounds(e.Items, items[static_cast<size_t>(Pick(R, items.size()))]);
        if (!box) return Somewhere();
        const auto along = [this](int32_t from, int32_t to) {
            switch (Pick(R, 4)) {
            case 0: return static_cast<double>(from);
            case 1: return static_cast<double>(to);
            case 2: return (from + to) / 2.0;
            default: return from + (to - from) * (Pick(R, 1000) / 1000.0);
            }
        };
        const double x = MmToViewX(e, along(box->Left, box->Right));
        const double y = MmToViewY(e, along(box->Top, box->Bottom));
        return QPoint(static_cast<int>(x) + Pick(R, 5) - 2, static_cast<int>(y) + Pick(R, 5) - 2);
    }
    QPoint Anywhere() { return Chance(55) ? OnItem() : Somewhere(); }
    Qt::MouseButton AnyButton() {
        static const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::LeftButton, Qt::RightButton,
                                                  Qt::MiddleButton};
        return buttons[Pick(R, 4)];
    }
    Qt::KeyboardModifiers AnyModifiers() {
        return Chance(85) ? Qt::NoModifier : Chance(60) ? Qt::ShiftModifier : Qt::ControlModifier;
    }
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
        const QPointF local(at);
        const QPointF global(W().imLap->mapToGlobal(at));
        QMouseEvent event(type, local, global, button, Held, mods);
        if (Trace)
            std::cout << "  mouse " << static_cast<int>(type) << " button " << button << " mods "
                      << mods.toInt() << " at " << at.x() << "," << at.y() << "\n";
        QApplication::sendEvent(W().imLap, &event);
        if (Trace)
            std::cout << "    mode " << static_cast<int>(W().Editor.Mode) << " gesture "
                      << W().Editor.GestureOpen << " spanning " << W().Editor.Spanning << "\n";
    }
    void Press(Qt::MouseButton button, QPoint at) {
        Held |= button;
        Mouse(QEvent::MouseButtonPress, at, button, AnyModifiers());
    }
    void Press() { Press(AnyButton(), Anywhere()); }
    void Move() { Mouse(QEvent::MouseMove, Anywhere(), Qt::NoButton); }
    void Release(QPoint at) {
        if (Held == Qt::NoButton) return;
        const Qt::MouseButton button =
            Held & Qt::LeftButton ? Qt::LeftButton
                                  : (Held & Qt::RightButton ? Qt::RightButton : Qt::MiddleButton);
        Held &= ~button;
        Mouse(QEvent::MouseButtonRelease, at, button);
    }
    void Release() { Release(Anywhere()); }
    void Drag() {
        Press();
        for (int i = Pick(R, 6); i >= 0; --i) Move();
        if (Chance(80)) Release();
    }
    // What the platform sends for a double click: press, release, double click, release.
    void DoubleClick() {
        const QPoint at = Anywhere();
        Press(Qt::LeftButton, at);
        Release(at);
        Held |= Qt::LeftButton;
        Mouse(QEvent::MouseButtonDblClick, at, Qt::LeftButton);
        Release(at);
    }
    // A right click: the press, the context menu event the platform sends with it, a pick in
    // the menu that opened (item menu or repeat menu) or none, then the release.
    void ItemMenu() {
        const QPoint at = Anywhere();
        Press(Qt::RightButton, at);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, W().imLap->mapToGlobal(at),
                                Qt::NoModifier);
        QApplication::sendEvent(W().imLap, &event);
        if (Chance(50)) Release(at);
        for (QMenu* menu : {W().ItemMenu, W().PopupMenu1}) {
            if (!menu->isVisible()) continue;
            std::vector<QAction*> entries;
            for (QAction* a : menu->actions())
                if (a->isEnabled() && a->isVisible()) entries.push_back(a);
            // The menu closes before its command runs, as a click in it does.
            menu->hide();
            if (!entries.empty() && Chance(85)) {
                Scripted.Colors.Answers = {std::optional<TColor>(Pick(R, 0x1000000))};
                entries[static_cast<size_t>(Pick(R, entries.size()))]->trigger();
                Scripted.Colors.Answers.clear();
            }
        }
        Release(at);
    }
    void Wheel() {
        const QPoint at = Anywhere();
        const int delta = (Pick(R, 5) - 2) * (Chance(30) ? 30 : 120);
        const Qt::KeyboardModifiers mods = Chance(40)   ? Qt::ControlModifier
                                           : Chance(30) ? Qt::ShiftModifier
                                                        : Qt::NoModifier;
        QWheelEvent event(QPointF(at), QPointF(W().imLap->mapToGlobal(at)), QPoint(),
                          QPoint(0, delta), Held, mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(W().imLap, &event);
    }
    void NewItem() {
        W().cmbUjElem->setCurrentIndex(Pick(R, W().cmbUjElem->count()));
        Scripted.Colors.Answers = {Chance(70) ? std::optional<TColor>(Pick(R, 0x1000000))
                                              : std::nullopt};
        W().btnUj->click();
        Scripted.Colors.Answers.clear();
    }
    // A command whose file dialog (if it asks) answers one of names, or is cancelled.
    template <size_t N, class Command>
    void WithFile(const char* const (&names)[N], Command command) {
        Scripted.Files.Answers = {Chance(90) ? std::optional(Dir.File(names[Pick(R, N)]))
                                             : std::nullopt};
        command();
        Scripted.Files.Answers.clear();
    }
    template <class Command>
    void Print(Command command) {
        command();
        Printer.Page = TRecordingCanvas(); // keep long runs from hoarding the drawings
    }
    void Modal(QPushButton* button) {
        Scripted.Modal.Answers = {[accept = Chance(30)](QDialog&) {
            return accept ? QDialog::Accepted : QDialog::Rejected;
        }};
        button->click();
        Scripted.Modal.Answers.clear();
    }
    void Repeat() {
        QAction* entry = W().mIsmetlo[static_cast<size_t>(Pick(R, 5))];
        if (entry->isEnabled() && entry->isVisible()) entry->trigger();
    }
    void Bar(QScrollBar& bar) {
        bar.setValue(bar.minimum() + Pick(R, bar.maximum() - bar.minimum() + 1));
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods) { QTest::keyClick(&W(), key, mods); }
    // The keys the page picture takes while it has the focus.
    void PictureKey(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(W().imLap, key, mods);
    }
    void Arrow() {
        static const Qt::Key arrows[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
        PictureKey(arrows[Pick(R, 4)], Chance(30) ? Qt::ShiftModifier : Qt::NoModifier);
    }
    void ZoomKey() {
        switch (Pick(R, 6)) {
        case 0: Key(Qt::Key_Plus, Qt::NoModifier); break;
        case 1: Key(Qt::Key_Minus, Qt::NoModifier); break;
        case 2: Key(Qt::Key_Equal, Qt::ControlModifier); break;
        case 3: Key(Qt::Key_Minus, Qt::ControlModifier); break;
        case 4: Key(Qt::Key_0, Qt::ControlModifier); break;
        default: Key(Qt::Key_1, Qt::ControlModifier); break;
        }
    }
    void AltLetter() {
        static const Qt::Key letters[] = {Qt::Key_P, Qt::Key_S, Qt::Key_L, Qt::Key_N,
                                          Qt::Key_D, Qt::Key_M, Qt::Key_C};
        const Qt::Key key = letters[Pick(R, 7)];
        if (key == Qt::Key_C) return; // Alt+C closes the window: the episode's end does that
        WithFile(kLoadNames, [&] { QTest::keyClick(&W(), key, Qt::AltModifier); });
    }

    // The page holds together and the window still answers; the message says what broke.
    // Cheap enough for every action.
    std::string Broken() {
        const TPageEditor& e = W().Editor;
        if (auto fault = CheckFrameMembers(e.Items)) return "frame references: " + *fault;
        for (size_t i = 0; i < e.Selection.size(); ++i) {
            const TKKItem item = e.Selection[i];
            if (!ItemExists(e.Items, item))
                return "the selection names item " + std::to_string(item.Index) + " of kind " +
                       std::to_string(item.Kind) + ", which does not exist";
            if (std::find(e.Selection.begin(), e.Selection.begin() + static_cast<long>(i), item) !=
                e.Selection.begin() + static_cast<long>(i))
                return "the selection names an item twice";
        }
        if (const auto held = HeldItem(e); held && !ItemExists(e.Items, *held))
            return "mode " + std::to_string(static_cast<int>(e.Mode)) +
                   " holds an item that does not exist";
        if (e.History.IsOpen() != e.GestureOpen)
            return e.GestureOpen ? "a gesture runs without its history step"
                                 : "a history step stays open with no gesture";
        if (e.GestureOpen && !IsGestureUnderWay(e))
            return "a gesture's history step stays open in mode " +
                   std::to_string(static_cast<int>(e.Mode));
        if (!e.History.IsOpen() && !e.History.Matches(e))
            return "the page changed outside the history";
        if (W().isWindowModified() != W().IsModified())
            return "the title's modified mark disagrees with the history";
        const bool jpeg = HasJpegPicture(e);
        const std::vector<uint8_t> bytes = PageBytes(e);
        // A page said to be unmodified is the one on disk (a JPEG picture is coded anew).
        if (!e.History.IsOpen() && !W().IsModified() && !jpeg) {
            const std::string& file = W().CurrentFile;
            const std::vector<uint8_t> saved = file.empty() ? Start : FileBytes(file);
            // A document without a compass block leaves the compass as it was when it is
            // loaded: the page then holds it besides what the file holds.
            if (bytes != saved &&
                !(e.Compass && WriteDocument(e.PageWidthMm, e.PageHeightMm, e.Settings, e.Items,
                                             nullptr) == saved))
                return "the page is marked unmodified but is not " +
                       (file.empty() ? std::string("the new page") : "what " + file + " holds") +
                       Difference(saved, bytes);
        }
        if (!jpeg && WriteDocument(ReadDocument(bytes, "soak.PST")) != bytes)
            return "the page reads back differently";
        bool answered = false;
        QTimer::singleShot(0, [&answered] { answered = true; });
        QCoreApplication::processEvents();
        if (!answered) return "the window's event loop does not answer";
        if (QApplication::activeModalWidget() != nullptr) return "a modal dialog stays open";
        if (QApplication::activePopupWidget() != nullptr) return "a menu stays open";
        if (!W().isVisible()) return "the window closed";
        return {};
    }
    // Ctrl+Z until nothing is left gives the start page, Ctrl+Shift+Z back gives the last.
    std::string HistoryBroken() {
        Release();
        TPageEditor& e = W().Editor;
        // Undo waits while a tool runs: Escape ends an entry, a click on the sheet places
        // what waits for its place, as a user would do.
        for (int i = 0; i < 4 && e.Mode != mdIdle; ++i) {
            Key(Qt::Key_Escape, Qt::NoModifier);
            if (e.Mode == mdIdle) break;
            const QPoint centre(W().Editor.PictureWidth / 2, W().Editor.PictureHeight / 2);
            Held = Qt::LeftButton;
            Mouse(QEvent::MouseButtonPress, centre, Qt::LeftButton);
            Held = Qt::NoButton;
            Mouse(QEvent::MouseButtonRelease, centre, Qt::LeftButton);
        }
        if (e.History.UndoCount() + e.History.RedoCount() >= TUndoHistory::kMaxSteps)
            return {}; // the oldest steps were dropped: there is no start page to reach
        // Releasing may have ended a gesture; what counts is the page now.
        const std::vector<uint8_t> last = PageBytes(e);
        const std::string lastText = DescribePage(e);
        const bool jpeg = HasJpegPicture(e);
        const int done = e.History.UndoCount();
        const int undone = e.History.RedoCount();
        for (int guard = 0; e.History.UndoCount() > 0 && guard < 1000; ++guard)
            Key(Qt::Key_Z, Qt::ControlModifier);
        if (e.History.UndoCount() != 0)
            return "Ctrl+Z leaves " + std::to_string(e.History.UndoCount()) +
                   " steps behind in mode " + std::to_string(static_cast<int>(e.Mode));
        if (PageBytes(e) != Start) return "undoing everything does not give the start page";
        // As many redos as there were steps come back to the last page; the steps that
        // were already undone then stay for redoing.
        for (int i = 0; i < done; ++i) Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        if (e.History.RedoCount() != undone)
            return "redoing leaves " + std::to_string(e.History.RedoCount()) +
                   " steps to redo, not " + std::to_string(undone);
        if (!jpeg && PageBytes(e) != last)
            return "redoing them does not give the last page (" +
                   std::to_string(e.History.RedoCount()) + " left)\nwas:\n" + lastText + "now:\n" +
                   DescribePage(e);
        return {};
    }

    TRandom R;
    const TTempDir& Dir;
    TA4Printer Printer;
    TScriptedServices Scripted;
    TEditorServices Services = WithA4Printer();
    TForms Forms;
    std::vector<uint8_t> Start;
    Qt::MouseButtons Held = Qt::NoButton;
    bool Trace = false;
};

uint64_t EnvNumber(const char* name, uint64_t fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 10) : fallback;
}

// The files the dialogs name: a picture, a sample made for the test printer's sheet (so that
// loading and saving it unchanged gives its bytes back), a broken and a truncated document.
void WriteFiles(const TTempDir& dir) {
    dir.Write("picture.bmp", MakeBmp(TBmpShape{5, 4, 24}));
    const std::string broken = "not a document";
    dir.Write("broken.PST",
              std::span(reinterpret_cast<const uint8_t*>(broken.data()), broken.size()));
    static const std::vector<uint8_t> sample = [&dir] {
        TSoak probe(0, dir, nullptr);
        TDocumentData d = SampleDocument();
        d.PageWidthMm = probe.W().Editor.PageWidthMm;
        d.PageHeightMm = probe.W().Editor.PageHeightMm;
        return WriteDocument(d);
    }();
    dir.Write("sample.PST", sample);
    dir.Write("truncated.PST", std::span(sample).first(sample.size() / 2));
}

} // namespace

TEST(Soak, RandomUseOfTheWindowKeepsThePageAndTheHistoryWhole) {
    TestApp();
    // The normal suite runs one fixed seed, so a run goes the same way every time (how far
    // depends on the machine's speed); FS_SOAK_SEED=random draws a fresh one.
    const char* seedText = std::getenv("FS_SOAK_SEED");
    const uint64_t seed = seedText != nullptr && std::string(seedText) == "random"
                              ? std::random_device{}()
                              : EnvNumber("FS_SOAK_SEED", 2496120770u);
    const auto seconds = std::chrono::seconds(EnvNumber("FS_SOAK_SECONDS", 60));
    const uint64_t first = EnvNumber("FS_SOAK_FROM", 0);
    const uint64_t episodes = EnvNumber("FS_SOAK_EPISODES", 0); // 0: as many as the time allows
    const int steps = static_cast<int>(EnvNumber("FS_SOAK_STEPS", 80));
    // The full undo-and-redo check runs this often and at the end of each episode; under
    // TUndoHistory::kMaxSteps steps an episode always reaches back to its start.
    const int historyEvery = 20;
    // FS_SOAK_TRACE=1 prints the mode, the history and the page after every action.
    const bool trace = EnvNumber("FS_SOAK_TRACE", 0) != 0;
    std::cout << "soak seed " << seed << " (FS_SOAK_SEED=" << seed << " repeats this run)\n";

    const auto start = std::chrono::steady_clock::now();
    int actions = 0;
    uint64_t episode = first;
    for (;; ++episode) {
        if (episodes != 0 ? episode >= first + episodes
                          : std::chrono::steady_clock::now() - start >= seconds)
            break;
        // Each episode starts afresh, so that it can be run alone: its own folder, an empty
        // clipboard (every fourth episode the system's).
        const TTempDir dir("soak");
        WriteFiles(dir);
        TMemoryClipboard clipboard;
        if (episode % 4 == 3) QGuiApplication::clipboard()->clear();
        TSoak soak(seed + episode * 0x9E3779B97F4A7C15ULL, dir,
                   episode % 4 == 3 ? nullptr : &clipboard);
        soak.Trace = trace;
        std::vector<std::string> trail;
        const auto fail = [&](const std::string& what) {
            std::string last;
            for (const std::string& t : trail) last += "\n  " + t;
            return "seed " + std::to_string(seed) + ", episode " + std::to_string(episode) +
                   " (FS_SOAK_SEED=" + std::to_string(seed) +
                   " FS_SOAK_FROM=" + std::to_string(episode) +
                   " FS_SOAK_EPISODES=1 repeats it): " + what + "\nactions:" + last;
        };
        for (int step = 0; step < steps; ++step) {
            const TSoak::TAction& action = soak.NextAction();
            trail.emplace_back(action.Name);
            action.Run(soak);
            ++actions;
            if (trace) {
                const TPageEditor& e = soak.W().Editor;
                std::cout << episode << "." << step << " " << action.Name << ": mode "
                          << static_cast<int>(e.Mode) << ", undo " << e.History.UndoCount()
                          << ", redo " << e.History.RedoCount() << ", open " << e.History.IsOpen()
                          << ", modified " << soak.W().IsModified() << ", selection";
                for (const TKKItem& item : e.Selection)
                    std::cout << " " << item.Kind << ":" << item.Index;
                std::cout << "\n" << DescribePage(e);
            }
            const std::string broken_ = soak.Broken();
            ASSERT_TRUE(broken_.empty()) << fail(broken_);
            if ((step + 1) % historyEvery == 0 || step + 1 == steps) {
                trail.emplace_back("(undo everything, redo it)");
                const std::string history = soak.HistoryBroken();
                ASSERT_TRUE(history.empty()) << fail(history);
                const std::string after = soak.Broken();
                ASSERT_TRUE(after.empty()) << fail(after);
            }
        }
    }
    const double took =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "soak seed " << seed << ": " << actions << " actions in " << episode - first
              << " episodes, " << took << " s\n";
}
