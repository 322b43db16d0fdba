// The main window: the page picture with its scroll bars, the zoom bar and every command
// button. It holds the editor state (TPageEditor), forwards its events there and shows the
// result; the dialogs are reached through the program's forms.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <QWidget>
#include <string>

#include "editor/commands/ItemCommands.h"
#include "editor/CoreServices.h"
#include "editor/ItemDialogs.h"
#include "editor/PageEditor.h"
#include "platform/Clipboard.h"
#include "platform/FileDialogs.h"
#include "platform/qt/QtPictureReader.h"
#include "platform/RecoverySchedule.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QAction;
class QPushButton;
class QScrollBar;
class QTimer;
class TCursorImage;
class TRecoveryClaim;
class TRecoveryStore;
struct TEditorServices;
struct TForms;

class TNyomtatoOldalDlg : public QWidget, public TNewCaptionHooks {
public:
    TNyomtatoOldalDlg(TEditorServices& services, TForms& forms);
    ~TNyomtatoOldalDlg() override;

    static constexpr int ClientWidth = 737;
    static constexpr int ClientHeight = 409;
    // Where the command panel on the right begins at the smallest size.
    static constexpr int kPanelLeft = 408;

    TPageEditor Editor;
    // The item dialogs as the editor core sees them (a test may replace them).
    std::unique_ptr<TItemDialogs> ItemDialogs;
    // The services handed to the editor core for each event.
    TCoreServices Core();

    // Controls, named as the program's help and documents refer to them.
    QGroupBox* GroupBox1;
    TCursorImage* imLap;
    QScrollBar* sbHorz;
    QScrollBar* sbVert;
    QGroupBox* GroupBox4;
    QPushButton* btnProba;
    QPushButton* btnKimentes;
    QPushButton* btnBetoltes;
    QPushButton* Button1;
    QGroupBox* GroupBox5;
    QLabel* Label6;
    QLabel* stX;
    QLabel* Label8;
    QLabel* stY;
    QGroupBox* GroupBox6;
    QScrollBar* sbNagyitas;
    QGroupBox* GroupBox8;
    QPushButton* btnUj;
    QPushButton* btnTorles;
    QPushButton* btnModositas;
    QLabel* Label20;
    QComboBox* cmbUjElem;
    QGroupBox* GroupBox3;
    QLabel* lbInfo;
    QPushButton* Button2;
    QPushButton* Button4;
    QMenu* PopupMenu1;
    std::array<QAction*, 5> mIsmetlo;
    QTimer* Timer1;
    // Undo (Ctrl+Z) and redo (Ctrl+Shift+Z, Ctrl+Y): shortcuts of the whole window, so they
    // work whichever control has the focus.
    QAction* actUndo;
    QAction* actRedo;
    // The selection's clipboard keys (Ctrl+A, Ctrl+C, Ctrl+X, Ctrl+V, Ctrl+D), window-wide.
    std::array<QAction*, 5> actSelection;
    // The menu of a right click on an item, filled anew for each click.
    QMenu* ItemMenu;
    // The clipboard the editor copies to and pastes from: the system's unless a test
    // puts another one here.
    TClipboard* Clipboard;
    // Zoom in and out (+, -), the whole sheet (Ctrl+0), its physical size (Ctrl+1).
    QAction* actZoomIn;
    QAction* actZoomOut;
    QAction* actFitPage;
    QAction* actPhysicalSize;

    // The file dialogs of Save and Load (and the unused printer-mark dialog).
    TFileDialogOptions OpenDialog;
    TFileDialogOptions SaveDialog;
    TFileDialogOptions OpenDialogJel;

    // The scale text of the page ("1 : " + this is what scale captions show). No control of
    // this window sets it; an outside scale control may.
    std::string ScaleText;

    // Ctrl+O, Ctrl+S, Ctrl+Shift+S and Ctrl+P.
    QAction* actOpen;
    QAction* actSave;
    QAction* actSaveAs;
    QAction* actPrint;

    // The printer set-up dialog; true when confirmed (a test may replace it).
    std::function<bool()> RunSetupDialog;

    // The file the page came from or was last saved to; empty for a page never saved.
    std::string CurrentFile;

    // Commands the window adds, in this order. SaveDocument ("Save...", Ctrl+Shift+S) always
    // asks for the file, proposing the current one.
    virtual void SaveDocument();
    virtual void LoadDocument();
    // Ctrl+S: saves to the current file without asking; asks when there is none. True when
    // the page was saved.
    bool SaveCurrent();
    // Saves under path; a failure is shown in a message box. True when the page was saved.
    bool SaveTo(const std::string& path);
    // Loads path as Load does (a broken file: the Load message box, the page as it was).
    void OpenFile(const std::string& path);
    // True when the page differs from the one last loaded or saved.
    bool IsModified() const { return Editor.History.IsModified(); }
    // "NAME.PST – Folioscriptor" with the modified mark, "Folioscriptor" for a new page.
    void UpdateTitle();
    // The end of the session: the window closes without asking; unsaved changes stay in the
    // recovery copy for the next start.
    void EndSession();
    // The program is told to quit from outside (the session manager, QCoreApplication::quit):
    // that ends the session as above. False once the window has closed, when Qt's own
    // quitting may go on.
    bool QuitRequested();
    // Keeps a copy of the page with unsaved changes in store (null: none is kept), written
    // as policy says, for a restart after a crash.
    void KeepRecoveryCopies(TRecoveryStore* store, TRecoveryPolicy policy = {});
    // Offers each page that an editor no longer running left unsaved: Restore makes it the
    // page (modified, under the name it had), Discard deletes it. Once at start-up.
    void OfferRecovery();
    // Restores the page of claim as OfferRecovery's Restore does; true once this window's own
    // copy holds it (the claimed copy may then go).
    bool Restore(const TRecoveryClaim& claim);
    void BeforeNewCaption() override {}
    virtual void UpdateScaleCaptions();
    void NewCaptionCreated(TNyomtatoSzoveg&) override {}

    void ResetPage();
    // "&Print": the page on the program's printer; a failure is shown in a message box.
    void Print();
    // "Printer setup": the platform's print dialog, then the page is reset for the sheet.
    void PrinterSetup();
    // Shows the state of the editor: scroll and zoom bars, repeat menu, then the page.
    void PaintView(bool relayout);
    // A key for the editor core (shift: TShiftState bits); true when the core used it.
    bool FormKeyDown(int key, unsigned shift = 0);
    void ShowAbout();
    void Timer1Timer();
    // Shows what the editor core decided after an event: info line, pointer read-out, the
    // page picture's cursor memory, the repeat menu timer, and a repaint when requested.
    void Reflect();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void SyncBars();
    // The repeat menu's entries and the "New item:" selection as the editor holds them.
    void SyncCommands();
    void ScrollTracking(bool tracking);
    // The navigator's picture: pressing on its mark and dragging scrolls the page.
    void ConnectNavigator(TCursorImage& thumbnail);
    void ConnectPicture();
    // The item menu for a right click at picture pixel p; false when no item lies there.
    bool ShowItemMenu(const QPoint& p);
    // The navigator beside the window, on the same screen.
    void PlaceNavigator();
    // The window moved or took a new size: the navigator follows it, unless the user has put
    // it somewhere else.
    void FollowWithNavigator();
    // Asks what to do with unsaved changes before the window closes; true to go on.
    bool MayClose();
    // Brings the recovery copy in step with the page: written when due, removed when the
    // page is clean again; the timer is set for the next write.
    void UpdateRecoveryCopy();
    bool WriteRecoveryCopy();

    std::unique_ptr<TClipboard> SystemClipboard;
    // Reads pasted pictures of formats without a codec of our own (PNG, GIF...).
    TQtPictureReader PictureReader;
    TEditorServices& Services;
    TForms& Forms;
    bool Syncing = false;
    bool SessionEnding = false;
    // True while closeEvent asks about unsaved changes (its message box runs a loop of its
    // own): the end of the session does not wait for that answer.
    bool AskingToClose = false;
    // The window has closed and the program is quitting.
    bool Ended = false;
    TRecoveryStore* Recovery = nullptr;
    TRecoverySchedule RecoverySchedule;
    QTimer* RecoveryTimer = nullptr;
    uint64_t RecoverySeenState = 0;
    // Where PlaceNavigator last put the navigator; nothing until it has placed it.
    std::optional<QPoint> NavigatorPlacedAt;
};
