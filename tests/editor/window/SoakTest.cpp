// The real editor window driven offscreen by a seeded random sequence of user actions:
// presses, drags and releases with every button, the wheel, every push button and shortcut,
// the scroll and zoom bars and the repeat menu, with every dialog answered at random by the
// scripted seams. After each action the page must hold together (frame references name
// existing items, it saves and reads back to the same bytes) and the window must still
// answer; at the end of each episode undoing everything with Ctrl+Z gives the start page and
// redoing as many steps with Ctrl+Shift+Z gives the last one.
//
// The seed is printed. FS_SOAK_SEED=N repeats a run (=random draws one), FS_SOAK_SECONDS runs
// episodes for that long instead of the short default and FS_SOAK_STEPS sets the actions per
// episode. Commands come at any moment, also while a mouse button is down. New window commands
// join by one line in Actions().
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
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
#include "editor/PageDescription.h"
#include "editor/window/EditorWindow.h"
#include "editor/window/Forms.h"
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

// One episode: a fresh window on the A4 test printer, a document to load, and the actions.
class TSoak {
public:
    TSoak(uint64_t seed, const TTempDir& dir) : R(seed), Dir(dir) {
        CreateForms(Forms, Services);
        W().ItemDialogs = std::make_unique<TSoakDialogs>(R, Dir.File("picture.bmp"));
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
            {"drag", 10, [](TSoak& s) { s.Drag(); }},
            {"wheel", 5, [](TSoak& s) { s.Wheel(); }},
            {"new item", 10, [](TSoak& s) { s.NewItem(); }},
            {"delete", 3, [](TSoak& s) { s.W().btnTorles->click(); }},
            {"modify", 4, [](TSoak& s) { s.W().btnModositas->click(); }},
            {"save", 2, [](TSoak& s) { s.Save(); }},
            {"load", 2, [](TSoak& s) { s.Load(); }},
            {"print", 1, [](TSoak& s) { s.Print(); }},
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
            {"Escape", 3, [](TSoak& s) { s.Key(Qt::Key_Escape, Qt::NoModifier); }},
            {"Delete key", 1, [](TSoak& s) { s.Key(Qt::Key_Delete, Qt::NoModifier); }},
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
    Qt::MouseButton AnyButton() {
        static const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::LeftButton, Qt::RightButton,
                                                  Qt::MiddleButton};
        return buttons[Pick(R, 4)];
    }
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button) {
        const QPointF local(at);
        const QPointF global(W().imLap->mapToGlobal(at));
        QMouseEvent event(type, local, global, button, Held, Qt::NoModifier);
        QApplication::sendEvent(W().imLap, &event);
    }
    void Press() {
        const Qt::MouseButton button = AnyButton();
        Held |= button;
        Mouse(QEvent::MouseButtonPress, Somewhere(), button);
    }
    void Move() { Mouse(QEvent::MouseMove, Somewhere(), Qt::NoButton); }
    void Release() {
        if (Held == Qt::NoButton) return;
        const Qt::MouseButton button =
            Held & Qt::LeftButton ? Qt::LeftButton
                                  : (Held & Qt::RightButton ? Qt::RightButton : Qt::MiddleButton);
        Held &= ~button;
        Mouse(QEvent::MouseButtonRelease, Somewhere(), button);
    }
    void Drag() {
        Press();
        for (int i = Pick(R, 6); i >= 0; --i) Move();
        if (Chance(80)) Release();
    }
    void Wheel() {
        const QPoint at = Somewhere();
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
    }
    void Save() {
        Scripted.Files.Answers = {Chance(85) ? std::optional(Dir.File("saved.PST")) : std::nullopt};
        W().btnKimentes->click();
    }
    void Load() {
        const char* names[] = {"saved.PST", "sample.PST", "broken.PST", "missing.PST"};
        Scripted.Files.Answers = {Chance(90) ? std::optional(Dir.File(names[Pick(R, 4)]))
                                             : std::nullopt};
        W().btnBetoltes->click();
    }
    void Print() {
        W().btnProba->click();
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
    void AltLetter() {
        static const Qt::Key letters[] = {Qt::Key_P, Qt::Key_S, Qt::Key_L, Qt::Key_N,
                                          Qt::Key_D, Qt::Key_M, Qt::Key_C};
        const Qt::Key key = letters[Pick(R, 7)];
        if (key == Qt::Key_C) return; // Alt+C closes the window: the episode's end does that
        Scripted.Files.Answers = {std::optional(Dir.File("saved.PST"))};
        QTest::keyClick(&W(), key, Qt::AltModifier);
    }

    // The page holds together and the window still answers; the message says what broke.
    std::string Broken() {
        const TPageEditor& e = W().Editor;
        if (auto fault = CheckFrameMembers(e.Items)) return "frame references: " + *fault;
        if (!e.History.IsOpen() && !e.History.Matches(e))
            return "the page changed outside the history";
        if (!HasJpegPicture(e)) {
            const std::vector<uint8_t> bytes = PageBytes(e);
            if (WriteDocument(ReadDocument(bytes, "soak.PST")) != bytes)
                return "the page reads back differently";
        }
        bool answered = false;
        QTimer::singleShot(0, [&answered] { answered = true; });
        QCoreApplication::processEvents();
        if (!answered) return "the window's event loop does not answer";
        if (QApplication::activeModalWidget() != nullptr) return "a modal dialog stays open";
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
};

uint64_t EnvNumber(const char* name, uint64_t fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 10) : fallback;
}

} // namespace

TEST(Soak, RandomUseOfTheWindowKeepsThePageAndTheHistoryWhole) {
    TestApp();
    // The normal suite runs one fixed seed so that it gives the same answer every time;
    // FS_SOAK_SEED=random draws a fresh one.
    const char* seedText = std::getenv("FS_SOAK_SEED");
    const uint64_t seed = seedText != nullptr && std::string(seedText) == "random"
                              ? std::random_device{}()
                              : EnvNumber("FS_SOAK_SEED", 2496120770u);
    const uint64_t seconds = EnvNumber("FS_SOAK_SECONDS", 0);
    const int steps = static_cast<int>(EnvNumber("FS_SOAK_STEPS", 60));
    const int shortEpisodes = 4;
    // FS_SOAK_TRACE=1 prints the mode, the history and the page after every action.
    const bool trace = EnvNumber("FS_SOAK_TRACE", 0) != 0;
    std::cout << "soak seed " << seed << " (FS_SOAK_SEED=" << seed << " repeats this run)\n";

    const TTempDir dir("soak");
    dir.Write("picture.bmp", MakeBmp(TBmpShape{5, 4, 24}));
    dir.Write("sample.PST", WriteDocument(SampleDocument()));
    const std::string broken = "not a document";
    dir.Write("broken.PST",
              std::span(reinterpret_cast<const uint8_t*>(broken.data()), broken.size()));

    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int actions = 0;
    for (uint64_t episode = 0;; ++episode) {
        if (seconds == 0 ? episode >= shortEpisodes : std::chrono::steady_clock::now() >= until)
            break;
        TSoak soak(seed + episode * 0x9E3779B97F4A7C15ULL, dir);
        std::vector<std::string> trail;
        const auto fail = [&](const std::string& what) {
            std::string last;
            for (const std::string& t : trail) last += "\n  " + t;
            return "seed " + std::to_string(seed) + ", episode " + std::to_string(episode) + ": " +
                   what + "\nactions:" + last;
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
                          << "\n"
                          << DescribePage(e);
            }
            const std::string broken_ = soak.Broken();
            ASSERT_TRUE(broken_.empty()) << fail(broken_);
        }
        const std::string history = soak.HistoryBroken();
        ASSERT_TRUE(history.empty()) << fail(history);
    }
    std::cout << "soak: " << actions << " actions\n";
}
