#include "editor/window/EditorWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

#include "controls/CursorImage.h"
#include "dialogs/AboutDlg.h"
#include "dialogs/NavigatorDlg.h"
#include "document/DocumentFile.h"
#include "editor/ContextMenu.h"
#include "editor/Keys.h"
#include "editor/MouseTools.h"
#include "editor/Navigator.h"
#include "editor/PageView.h"
#include "editor/PrintPage.h"
#include "editor/Scrolling.h"
#include "editor/ViewZoom.h"
#include "editor/window/EditorServices.h"
#include "editor/window/Forms.h"
#include "editor/window/QtItemDialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtPrinter.h"
#include "platform/RecoveryStore.h"
#include "platform/Screen.h"

namespace {

template <class W>
W* Help(W* widget, int context) {
    widget->setProperty("HelpContext", context);
    return widget;
}

QPushButton* Button(const char* caption, QWidget* parent, int x, int y, int w = 90) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setGeometry(x, y, w, 25);
    return b;
}

QLabel* Label(const char* caption, QWidget* parent, int x, int y, int w, int h = 16) {
    auto* l = new QLabel(QString::fromUtf8(caption), parent);
    l->setGeometry(x, y, w, h);
    return l;
}

unsigned ShiftOf(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? ssShift : 0u) | (m & Qt::AltModifier ? ssAlt : 0u) |
           (m & Qt::ControlModifier ? ssCtrl : 0u);
}

// The keys the page picture hands to the editor core while it has the focus.
int PictureKey(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_F2: return VK_F2;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Down: return VK_DOWN;
    default: return 0;
    }
}

} // namespace

TNyomtatoOldalDlg::TNyomtatoOldalDlg(TEditorServices& services, TForms& forms)
    : SystemClipboard(std::make_unique<TQtClipboard>()), Services(services), Forms(forms) {
    Clipboard = SystemClipboard.get();
    setObjectName("TNyomtatoOldalDlg");
    setWindowTitle("Folioscriptor");
    // A normal top-level window: it can be resized and maximized, and the page picture
    // takes the room it gains.
    setWindowFlags(Qt::Window);
    setMinimumSize(ClientWidth, ClientHeight);
    resize(ClientWidth, ClientHeight);
    QFont f("MS Sans Serif");
    f.setPixelSize(11);
    setFont(f);

    OpenDialog = {"Nyomtatási beállítás betöltése", "Nyomtatási beállítások (*.PST)|*.PST", "PST",
                  true, false};
    SaveDialog = {"Nyomtatási beállítás kimentése", "Nyomtatási beállítások (*.PST)|*.PST", "PST",
                  false, true};
    OpenDialogJel = {"Nyomtatójel betöltése", "Nyomtatójelek (*.NLG)|*.NLG", "NLG", true, false};

    ItemDialogs = MakeItemDialogs(Forms, Services);
    RunSetupDialog = [this] {
        return RunPrinterSetupDialog(Services.Printer, Services.Modal, this);
    };
    CreateControls();

    // FormCreate.
    ResetPage();
    cmbUjElem->setCurrentIndex(0);
    // The empty page of the start is nothing to save.
    Editor.History.MarkSaved();
    UpdateTitle();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(ClientWidth / 2, ClientHeight / 2));
    }
}

TNyomtatoOldalDlg::~TNyomtatoOldalDlg() = default;

void TNyomtatoOldalDlg::CreateControls() {
    // The page picture on the left takes the free space; the command panel on the right
    // keeps its size.
    auto* columns = new QHBoxLayout(this);
    columns->setContentsMargins(8, 4, 0, 8);
    columns->setSpacing(0);
    GroupBox1 = new QGroupBox("Page layout", this);
    columns->addWidget(GroupBox1, 1);
    auto* panel = new QWidget(this);
    panel->setFixedSize(ClientWidth - kPanelLeft, ClientHeight - 12);
    columns->addWidget(panel, 0, Qt::AlignTop);
    imLap = new TCursorImage(Services.Screen, TPageEditor::BasePictureWidth,
                             TPageEditor::BasePictureHeight, GroupBox1);
    imLap->setObjectName("imLap");
    imLap->SetResizable(TPageEditor::BasePictureWidth, TPageEditor::BasePictureHeight);
    sbVert = Help(new QScrollBar(Qt::Vertical, GroupBox1), 22000);
    sbHorz = Help(new QScrollBar(Qt::Horizontal, GroupBox1), 22000);
    for (QScrollBar* bar : {sbHorz, sbVert}) bar->setRange(0, 0);
    auto* view = new QGridLayout(GroupBox1);
    // At the smallest size the picture is the base size with the margins of the first start.
    view->setContentsMargins(12, 20, 10, 47);
    view->setSpacing(2);
    view->addWidget(imLap, 0, 0);
    view->addWidget(sbVert, 0, 1);
    view->addWidget(sbHorz, 1, 0);
    sbVert->setFixedWidth(16);
    sbHorz->setFixedHeight(16);

    GroupBox4 = new QGroupBox("Main", panel);
    GroupBox4->setGeometry(8, 4, 313, 84);
    btnProba = Help(Button("&Print", GroupBox4, 12, 20, 140), 22003);
    btnKimentes = Help(Button("&Save...", GroupBox4, 160, 20, 140), 22004);
    btnBetoltes = Help(Button("&Load...", GroupBox4, 160, 50, 140), 22005);
    Button1 = Button("Printer setup", GroupBox4, 12, 50, 140);

    GroupBox5 = new QGroupBox("Mouse pointer [mm]", panel);
    GroupBox5->setGeometry(8, 92, 150, 50);
    Label6 = Label("X:", GroupBox5, 10, 24, 14);
    stX = Label("", GroupBox5, 26, 24, 44);
    Label8 = Label("Y:", GroupBox5, 76, 24, 14);
    stY = Label("", GroupBox5, 92, 24, 50);

    GroupBox6 = new QGroupBox("Zoom", panel);
    GroupBox6->setGeometry(164, 92, 157, 50);
    sbNagyitas = Help(new QScrollBar(Qt::Horizontal, GroupBox6), 22012);
    sbNagyitas->setGeometry(10, 24, 137, 16);
    sbNagyitas->setRange(TPageEditor::ZoomMin, TPageEditor::ZoomMax);
    sbNagyitas->setValue(TPageEditor::ZoomMin);

    GroupBox8 = new QGroupBox("Items", panel);
    GroupBox8->setGeometry(8, 146, 313, 84);
    btnUj = Help(Button("&New", GroupBox8, 12, 20, 90), 22006);
    btnTorles = Help(Button("&Delete", GroupBox8, 110, 20, 90), 22007);
    btnModositas = Help(Button("&Modify", GroupBox8, 208, 20, 93), 22008);
    Label20 = Label("New item:", GroupBox8, 12, 56, 70);
    cmbUjElem = Help(new QComboBox(GroupBox8), 22011);
    cmbUjElem->setGeometry(90, 52, 211, 22);
    cmbUjElem->addItems({"Caption", "Text", "Image", "Frame", "Line", "Rectangle", "Polygon"});

    GroupBox3 = new QGroupBox("", panel);
    GroupBox3->setGeometry(8, 234, 313, 128);
    lbInfo = Label("", GroupBox3, 10, 14, 293, 106);
    lbInfo->setWordWrap(true);
    lbInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Button2 = Button("About...", panel, 416 - kPanelLeft, 372, 100);
    Button4 = Help(Button("&Close", panel, 629 - kPanelLeft, 372, 100), 22013);
    // The panel starts below the window's top margin.
    for (QWidget* child : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->move(child->x(), child->y() - 4);

    PopupMenu1 = new QMenu(this);
    for (int i = 0; i < 5; ++i) {
        mIsmetlo[i] = PopupMenu1->addAction(QString::number(i + 1));
        mIsmetlo[i]->setObjectName(QString("mIsmetlo%1").arg(i + 1));
        mIsmetlo[i]->setVisible(false);
    }
    Timer1 = new QTimer(this);
    Timer1->setInterval(TPageEditor::RepeatMenuDelayMs);
    Timer1->setSingleShot(false);

    // The repeat menu opens on a right click while it is attached to the page picture and
    // has at least one command in it.
    imLap->setContextMenuPolicy(Qt::CustomContextMenu);
    ItemMenu = new QMenu(this);
    ItemMenu->setObjectName("ItemMenu");
    connect(imLap, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        if (ShowItemMenu(p)) return;
        const bool any = std::any_of(mIsmetlo.begin(), mIsmetlo.end(),
                                     [](QAction* a) { return a->isVisible(); });
        if (Editor.RepeatMenuAttached && any) PopupMenu1->popup(imLap->mapToGlobal(p));
    });
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

    actUndo = new QAction(this);
    actUndo->setObjectName("actUndo");
    actUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    actRedo = new QAction(this);
    actRedo->setObjectName("actRedo");
    actRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QAction* action : {actUndo, actRedo}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    actOpen = new QAction(this);
    actOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    actSave = new QAction(this);
    actSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    actSaveAs = new QAction(this);
    actSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    actPrint = new QAction(this);
    actPrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    for (QAction* action : {actOpen, actSave, actSaveAs, actPrint}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    connect(actOpen, &QAction::triggered, this, [this] { LoadDocument(); });
    connect(actSave, &QAction::triggered, this, [this] { SaveCurrent(); });
    connect(actSaveAs, &QAction::triggered, this, [this] { SaveDocument(); });
    connect(actPrint, &QAction::triggered, this, [this] { Print(); });
    // Zoom keys: in and out a step about the centre, the whole sheet, its physical size.
    actZoomIn = new QAction(this);
    actZoomIn->setShortcuts({QKeySequence(Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Plus),
                             QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    actZoomOut = new QAction(this);
    actZoomOut->setShortcuts({QKeySequence(Qt::Key_Minus), QKeySequence(Qt::CTRL | Qt::Key_Minus)});
    actFitPage = new QAction(this);
    actFitPage->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    actPhysicalSize = new QAction(this);
    actPhysicalSize->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_1));
    for (QAction* action : {actZoomIn, actZoomOut, actFitPage, actPhysicalSize}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    connect(actZoomIn, &QAction::triggered, this, [this] { FormKeyDown(VK_ADD); });
    connect(actZoomOut, &QAction::triggered, this, [this] { FormKeyDown(VK_SUBTRACT); });
    connect(actFitPage, &QAction::triggered, this, [this] { FormKeyDown(VK_0, ssCtrl); });
    connect(actPhysicalSize, &QAction::triggered, this, [this] { FormKeyDown(VK_1, ssCtrl); });
    // The core decides whether the keys act now (not while a tool runs).
    connect(actUndo, &QAction::triggered, this, [this] { FormKeyDown(VK_Z, ssCtrl); });
    connect(actRedo, &QAction::triggered, this, [this] { FormKeyDown(VK_Y, ssCtrl); });
    const std::array<std::pair<Qt::Key, int>, 5> selectionKeys{{{Qt::Key_A, VK_A},
                                                                {Qt::Key_C, VK_C},
                                                                {Qt::Key_X, VK_X},
                                                                {Qt::Key_V, VK_V},
                                                                {Qt::Key_D, VK_D}}};
    for (size_t i = 0; i < selectionKeys.size(); ++i) {
        QAction* action = new QAction(this);
        action->setObjectName(QString("actSelection%1").arg(QChar(selectionKeys[i].second)));
        action->setShortcut(QKeySequence(Qt::CTRL | selectionKeys[i].first));
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        const int key = selectionKeys[i].second;
        connect(action, &QAction::triggered, this, [this, key] { FormKeyDown(key, ssCtrl); });
        actSelection[i] = action;
    }
    ConnectPicture();

    imLap->OnWheel = [this](int deltaX, int deltaY, bool shift, bool ctrl, int x, int y) {
        const bool hovering = IsHovering(Editor.Mode);
        WheelOnPage(Editor, deltaX, deltaY, shift, ctrl, TPoint{x, y});
        // The sheet moved under a resting pointer: its read-out, the edge it rests on and the
        // cursor are found anew, as a pointer move would.
        if (Editor.RepaintRequested || (hovering && Editor.Mode == mdIdle)) {
            TCoreServices core = Core();
            MouseMove(Editor, core, x, y, ShiftOf(imLap->EventModifiers));
        }
        Reflect();
    };
    imLap->OnResize = [this](int width, int height) {
        SetPictureSize(Editor, width, height);
        PaintView(false);
    };

    connect(sbHorz, &QScrollBar::valueChanged, this, [this](int v) {
        if (Syncing) return;
        Editor.SetScroll(v, Editor.ScrollY);
        PaintView(false);
    });
    connect(sbVert, &QScrollBar::valueChanged, this, [this](int v) {
        if (Syncing) return;
        Editor.SetScroll(Editor.ScrollX, v);
        PaintView(false);
    });
    connect(sbNagyitas, &QScrollBar::valueChanged, this, [this](int v) {
        if (Syncing) return;
        ZoomAtCentre(Editor, v);
        PaintView(false);
    });
    for (QScrollBar* bar : {sbHorz, sbVert, sbNagyitas}) {
        connect(bar, &QScrollBar::sliderPressed, this, [this] { ScrollTracking(true); });
        connect(bar, &QScrollBar::sliderReleased, this, [this] { ScrollTracking(false); });
    }

    connect(btnProba, &QPushButton::clicked, this, [this] { Print(); });
    connect(Button1, &QPushButton::clicked, this, [this] { PrinterSetup(); });
    connect(btnKimentes, &QPushButton::clicked, this, [this] { SaveDocument(); });
    connect(btnBetoltes, &QPushButton::clicked, this, [this] { LoadDocument(); });
    connect(Button2, &QPushButton::clicked, this, [this] { ShowAbout(); });
    // The item commands run in the editor core; the window then shows what they decided.
    connect(btnUj, &QPushButton::clicked, this, [this] {
        TCoreServices core = Core();
        NewItem(Editor, core, this);
        Reflect();
    });
    connect(btnTorles, &QPushButton::clicked, this, [this] {
        TCoreServices core = Core();
        StartDeleteTool(Editor, core);
        Reflect();
    });
    connect(btnModositas, &QPushButton::clicked, this, [this] {
        TCoreServices core = Core();
        StartModifyTool(Editor, core);
        Reflect();
    });
    connect(cmbUjElem, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) Editor.NewItemKind = index;
    });
    for (int i = 0; i < TRepeatMenu::Size; ++i) {
        connect(mIsmetlo[i], &QAction::triggered, this, [this, i] {
            const TRepeatEntry& entry = Editor.RepeatMenu.Entries[i];
            if (!entry.Visible) return;
            TCoreServices core = Core();
            RunRepeatCommand(Editor, core, entry.Command, this);
            Reflect();
        });
    }
    connect(Button4, &QPushButton::clicked, this, [this] { close(); });
}

TCoreServices TNyomtatoOldalDlg::Core() {
    return TCoreServices{Services.Screen, Services.Printer, Services.Messages, Services.Colors,
                         *ItemDialogs,    Clipboard,        &PictureReader};
}

void TNyomtatoOldalDlg::ConnectPicture() {
    // The page picture's mouse events go to the mouse tools, with the modifier keys held.
    imLap->OnMouseDown = [this](TMouseButton button, int x, int y) {
        TCoreServices core = Core();
        MouseDown(Editor, core, button, x, y, ShiftOf(imLap->EventModifiers));
        Reflect();
    };
    imLap->OnMouseMove = [this](int x, int y) {
        TCoreServices core = Core();
        MouseMove(Editor, core, x, y, ShiftOf(imLap->EventModifiers));
        Reflect();
    };
    imLap->OnMouseUp = [this](TMouseButton button, int x, int y) {
        TCoreServices core = Core();
        MouseUp(Editor, core, button, x, y, ShiftOf(imLap->EventModifiers));
        Reflect();
    };
    imLap->OnDoubleClick = [this](int x, int y) {
        TCoreServices core = Core();
        MouseDoubleClick(Editor, core, x, y);
        Reflect();
    };
    imLap->OnLeave = [this] { MouseLeave(Editor); };
    imLap->OnKey = [this](QKeyEvent& event) {
        const int key = PictureKey(event.key());
        return key != 0 && FormKeyDown(key, ShiftOf(event.modifiers()));
    };
}

bool TNyomtatoOldalDlg::ShowItemMenu(const QPoint& p) {
    const std::vector<TContextEntry> entries = ContextMenuAt(Editor, p.x(), p.y());
    if (entries.empty()) return false;
    ItemMenu->clear();
    for (const TContextEntry& entry : entries) {
        QAction* action = ItemMenu->addAction(QString::fromUtf8(entry.Caption));
        action->setEnabled(entry.Enabled);
        const TContextCommand command = entry.Command;
        connect(action, &QAction::triggered, this, [this, command] {
            TCoreServices core = Core();
            RunContextCommand(Editor, core, command);
            Reflect();
        });
    }
    ItemMenu->popup(imLap->mapToGlobal(p));
    return true;
}

void TNyomtatoOldalDlg::Reflect() {
    UpdateTitle();
    lbInfo->setText(QString::fromStdString(Editor.InfoText));
    stX->setText(QString::fromStdString(Editor.PointerXText));
    stY->setText(QString::fromStdString(Editor.PointerYText));
    const TWindowRequests requests = Editor.TakeWindowRequests();
    if (requests.ForgetPictureCursor) imLap->Cursor.ForgetSavedCursor();
    SyncCommands();
    if (requests.RepeatTimerRunning && !Timer1->isActive()) Timer1->start();
    if (!requests.RepeatTimerRunning && Timer1->isActive()) Timer1->stop();
    if (requests.Repaint) PaintView(false);
}

void TNyomtatoOldalDlg::SyncCommands() {
    for (int i = 0; i < TRepeatMenu::Size; ++i) {
        const TRepeatEntry& entry = Editor.RepeatMenu.Entries[i];
        if (entry.Visible) mIsmetlo[i]->setText(QString::fromStdString(entry.Caption));
        mIsmetlo[i]->setVisible(entry.Visible);
    }
    if (cmbUjElem->currentIndex() != Editor.NewItemKind)
        cmbUjElem->setCurrentIndex(Editor.NewItemKind);
}

void TNyomtatoOldalDlg::ResetPage() {
    Editor.ResetPage(Services.Printer);
    PaintView(false);
}

void TNyomtatoOldalDlg::SyncBars() {
    Syncing = true;
    sbHorz->setRange(0, Editor.ScrollMaxX);
    sbHorz->setPageStep(ScrollLargeChange(Editor.ScrollMaxX));
    sbHorz->setValue(Editor.ScrollX);
    sbVert->setRange(0, Editor.ScrollMaxY);
    sbVert->setPageStep(ScrollLargeChange(Editor.ScrollMaxY));
    sbVert->setValue(Editor.ScrollY);
    sbNagyitas->setValue(Editor.ZoomPosition);
    Syncing = false;
}

void TNyomtatoOldalDlg::PaintView(bool relayout) {
    if (relayout) Editor.LayOut();
    SyncBars();
    {
        QPainter painter(&imLap->Picture);
        TQtCanvas canvas(painter);
        PaintPage(canvas, Editor);
    }
    imLap->update();
    if (Editor.NavigatorDirty && Forms.PrinterNavigatorDlg) {
        TCursorImage& thumbnail = *Forms.PrinterNavigatorDlg->imLap;
        {
            QPainter painter(&thumbnail.Picture);
            TQtCanvas canvas(painter);
            PaintNavigator(canvas, Editor);
        }
        thumbnail.update();
        Editor.NavigatorDirty = false;
    }
}

void TNyomtatoOldalDlg::ScrollTracking(bool tracking) {
    // While a thumb is dragged the view draws outlines only.
    if (tracking) {
        BeginScrollTrack(Editor);
    } else {
        EndScrollTrack(Editor);
    }
    Reflect();
}

bool TNyomtatoOldalDlg::FormKeyDown(int key, unsigned shift) {
    TCoreServices core = Core();
    const bool used = KeyDown(Editor, core, key, shift);
    Reflect();
    return used;
}

void TNyomtatoOldalDlg::ShowAbout() {
    TAboutDlg& about = *Forms.AboutDlg;
    // Laid out first, so that the size it is centred by is the size it shows at.
    about.adjustSize();
    about.move(x() + (width() - about.width()) / 2, y() + (height() - about.height()) / 2);
    Services.Modal.Run(about);
}

void TNyomtatoOldalDlg::Timer1Timer() {
    Timer1->stop();
    Editor.RepeatTimerFired();
}

void TNyomtatoOldalDlg::Print() {
    const TOutcome printed =
        PrintDocument(Services.Printer, Editor.Items, Editor.Settings, Editor.Metrics);
    Services.Screen.SetCursor(crArrow);
    if (printed.Failed()) Services.Messages.Show(printed.Message(), kPrintCaption, MB_ICONERROR);
}

void TNyomtatoOldalDlg::PrinterSetup() {
    // Cancelled, nothing changes. Confirmed, the sheet is read again and the page starts
    // empty, as one step that undo takes back.
    if (!RunSetupDialog()) return;
    const int steps = Editor.History.UndoCount();
    const bool modified = IsModified();
    ResetPage();
    Editor.InfoText = Editor.History.UndoCount() != steps || IsModified() != modified
                          ? "The page was emptied for the new sheet; Ctrl+Z brings the items back."
                          : "The page is set up for the new sheet.";
    Reflect();
}

void TNyomtatoOldalDlg::UpdateScaleCaptions() {
    Editor.UpdateScaleCaptions(ScaleText, Services.Printer);
    PaintView(false);
}

void TNyomtatoOldalDlg::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A window coming back from the task bar is shown again by the system: that is no FormShow.
    if (event->spontaneous()) return;
    Editor.NavigatorDirty = true;
    PaintView(true);
    if (TPrinterNavigatorDlg* navigator = Forms.PrinterNavigatorDlg) {
        ConnectNavigator(*navigator->imLap);
        PlaceNavigator();
        navigator->show();
        // Again once the window manager has put its frame around the window.
        QTimer::singleShot(0, this, [this] { PlaceNavigator(); });
    }
}

void TNyomtatoOldalDlg::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Minimised or closed, the navigator goes with the window.
    if (!event->spontaneous() && Forms.PrinterNavigatorDlg) Forms.PrinterNavigatorDlg->hide();
}

void TNyomtatoOldalDlg::PlaceNavigator() {
    TPrinterNavigatorDlg& navigator = *Forms.PrinterNavigatorDlg;
    const QRect frame = frameGeometry();
    const int gap = 8;
    QPoint at(frame.right() + 1 + gap, frame.top());
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        const int width = navigator.frameGeometry().width();
        // Right of the window where it fits, else left of it, else over its right edge.
        if (at.x() + width > area.right() + 1) at.setX(frame.left() - gap - width);
        if (at.x() < area.left()) at.setX(frame.right() - width);
        at.setY(std::max(area.top(), at.y()));
    }
    navigator.move(at);
    NavigatorPlacedAt = navigator.pos();
}

void TNyomtatoOldalDlg::FollowWithNavigator() {
    TPrinterNavigatorDlg* navigator = Forms.PrinterNavigatorDlg;
    if (!navigator || !navigator->isVisible() || !NavigatorPlacedAt) return;
    if (navigator->pos() != *NavigatorPlacedAt) return; // moved by the user
    PlaceNavigator();
}

void TNyomtatoOldalDlg::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    FollowWithNavigator();
}

void TNyomtatoOldalDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FollowWithNavigator();
}

void TNyomtatoOldalDlg::ConnectNavigator(TCursorImage& thumbnail) {
    thumbnail.OnMouseDown = [this](TMouseButton button, int x, int y) {
        NavigatorMouseDown(Editor, Services.Screen, button, x, y);
        Reflect();
    };
    thumbnail.OnMouseMove = [this](int x, int y) {
        NavigatorMouseMove(Editor, x, y);
        Reflect();
    };
    thumbnail.OnMouseUp = [this](TMouseButton, int, int) {
        NavigatorMouseUp(Editor, Services.Screen);
        Reflect();
    };
}

void TNyomtatoOldalDlg::keyPressEvent(QKeyEvent* event) {
    // Escape and the letters reach the core as the key codes it knows.
    int key = 0;
    if (event->key() == Qt::Key_Escape) {
        key = VK_ESCAPE;
    } else if (event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z) {
        key = 'A' + (event->key() - Qt::Key_A);
    }
    const unsigned shift = ShiftOf(event->modifiers());
    if (key != 0 && FormKeyDown(key, shift)) return;
    QWidget::keyPressEvent(event);
}

void TNyomtatoOldalDlg::closeEvent(QCloseEvent* event) {
    if (!SessionEnding) {
        AskingToClose = true;
        const bool mayClose = MayClose();
        AskingToClose = false;
        if (!mayClose) {
            event->ignore();
            return;
        }
    }
    // Closed as the user chose, nothing unsaved is wanted any more; at the end of the session
    // the latest changes go to the recovery copy for the next start.
    if (Recovery) {
        if (SessionEnding && IsModified()) {
            WriteRecoveryCopy();
        } else {
            Recovery->Remove();
        }
        RecoveryTimer->stop();
    }
    // Closing the editor ends the program, the navigator and the dialogs with it. The
    // navigator refuses to be closed on its own, so it is hidden first: quitting asks every
    // visible window to close and would be called off by it.
    QWidget::closeEvent(event);
    if (!event->isAccepted()) return;
    for (QWidget* form : Forms.InOrder())
        if (form != this) form->hide();
    Ended = true;
    QApplication::quit();
}
