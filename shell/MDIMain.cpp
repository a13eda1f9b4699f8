#include "shell/MDIMain.h"

#include <algorithm>
#include <utility>

#include "platform/forms/ActionsWithoutCommand.h"
#include "platform/forms/ProgramFolder.h"
#include "platform/forms/Screen.h"
#include "platform/forms/Twips.h"
#include "platform/forms/WaitCursor.h"
#include "shell/CommandLine.h"
#include "shell/DocumentForm.h"
#include "shell/DocumentTable.h"
#include "shell/GShell.h"
#include "shell/MEditor.h"
#include "shell/MRecentFiles.h"
#include "shell/basFileDialogs.h"
#include "shell/cRegistry.h"

#include <QAction>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QIcon>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

namespace {

MDIMain* TheMainWindow = nullptr;

QEvent::Type StatusPaintEvent()
{
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

QFrame* StatusDivider(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

}  // namespace

MDIMain::MDIMain(QWidget* parent) : QMainWindow(parent)
{
    TheMainWindow = this;
    setWindowTitle(Title);
    setObjectName(QStringLiteral("MDIMain"));
    // The document windows inside show it too, in place of the toolkit's.
    setWindowIcon(QIcon(IconResource));
    // The design size, 12120 x 9120 twips, until the settings place it.
    resize(platform::TwipsToPixelsX(12120), platform::TwipsToPixelsY(9120));

    mdiArea = new QMdiArea(this);
    // Windows moved partly out of sight can be scrolled back to.
    mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea->setObjectName(QStringLiteral("mdiArea"));
    // A closed window hands over to the one the user worked in before it.
    mdiArea->setActivationOrder(QMdiArea::ActivationHistoryOrder);
    setCentralWidget(mdiArea);
    connect(mdiArea, &QMdiArea::subWindowActivated, this, &MDIMain::SubWindowActivated);
    // Windows placed before the workspace had its size are placed again when it gets it.
    mdiArea->viewport()->installEventFilter(this);

    BuildMenus();
    BuildStatusBar();

    cToolbar1 = new QToolBar(this);
    cToolbar1->setObjectName(QStringLiteral("Toolbar1"));
    cToolbar3 = new QToolBar(this);
    cToolbar3->setObjectName(QStringLiteral("Toolbar3"));
    cToolbar4 = new QToolBar(this);
    cToolbar4->setObjectName(QStringLiteral("Toolbar4"));
    for (QToolBar* toolbar : {cToolbar1, cToolbar3, cToolbar4}) {
        toolbar->setWindowTitle(toolbar->objectName());
        toolbar->setIconSize(QSize(ToolbarImageSize, ToolbarImageSize));
        toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    // Band "Toolbar1" on a row of its own; the other two share the next row.
    addToolBar(Qt::TopToolBarArea, cToolbar1);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, cToolbar3);
    addToolBar(Qt::TopToolBarArea, cToolbar4);
}

MDIMain::~MDIMain()
{
    // The document windows go with the MDI area; nothing is activated meanwhile.
    disconnect(mdiArea, nullptr, this, nullptr);
    if (TheMainWindow == this)
        TheMainWindow = nullptr;
}

MDIMain* MDIMain::Instance()
{
    return TheMainWindow;
}

void MDIMain::BuildMenus()
{
    const auto separator = [](QMenu* menu, const char* name) {
        QAction* action = menu->addSeparator();
        action->setObjectName(QLatin1String(name));
        return action;
    };
    const auto item = [](QMenu* menu, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };

    mnuFileMain = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFileMain->setObjectName(QStringLiteral("mnuFileMain"));
    mnuNew = item(mnuFileMain, "mnuNew", QStringLiteral("&New"));
    mnuOpen = item(mnuFileMain, "mnuOpen", QStringLiteral("&Open"));
    mnuFBar1 = separator(mnuFileMain, "mnuFBar1");
    mnuCompare = item(mnuFileMain, "mnuCompare", QStringLiteral("&Compare Files"));
    mnuFBar2 = separator(mnuFileMain, "mnuFBar2");
    mnuCorvanePrint = item(mnuFileMain, "mnuCorvanePrint", QStringLiteral("Prentil"));
    mnuFBar3 = separator(mnuFileMain, "mnuFBar3");
    mnuExit = item(mnuFileMain, "mnuExit", QStringLiteral("E&xit"));
    // The recent-file entries stay hidden until a file is listed for them.
    mnuRecentFile[0] = separator(mnuFileMain, "mnuRecentFile0");
    mnuRecentFile[0]->setVisible(false);
    for (int i = 1; i < static_cast<int>(mnuRecentFile.size()); ++i) {
        QAction* entry = item(mnuFileMain, QStringLiteral("mnuRecentFile%1").arg(i).toLatin1().constData(),
                              QStringLiteral("RecentFile%1").arg(i));
        entry->setVisible(false);
        connect(entry, &QAction::triggered, this, [this, i] { mnuRecentFile_Click(i); });
        mnuRecentFile[static_cast<size_t>(i)] = entry;
    }

    mnuOptionMain = menuBar()->addMenu(QStringLiteral("&Options"));
    mnuOptionMain->setObjectName(QStringLiteral("mnuOptionMain"));
    mnuEditProp = item(mnuOptionMain, "mnuEditProp", QStringLiteral("Talvex Editor &Properties..."));
    mnuOptionsBar1 = separator(mnuOptionMain, "mnuOptionsBar1");
    mnuShowCaptions = item(mnuOptionMain, "mnuShowCaptions", QStringLiteral("Show Toolbar &Captions"));
    mnuShowCaptions->setCheckable(true);
    mnuShowCaptions->setChecked(false);
    mnuMachines = mnuOptionMain->addMenu(QStringLiteral("&Machines"));
    mnuMachines->setObjectName(QStringLiteral("mnuMachines"));
    mnuAddMachine = item(mnuMachines, "mnuAddMachine", QStringLiteral("&Add/Delete Machine"));

    mnuHelpMain = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelpMain->setObjectName(QStringLiteral("mnuHelpMain"));
    mnuHTopics = item(mnuHelpMain, "mnuHTopics", QStringLiteral("Talvex &Editor Help Topics"));
    mnuAbout = item(mnuHelpMain, "mnuAbout", QStringLiteral("&About..."));
    mnuHBar1 = separator(mnuHelpMain, "mnuHBar1");
    mnuShowTip = item(mnuHelpMain, "mnuShowTip", QStringLiteral("&Show tip of the day..."));

    connect(mnuNew, &QAction::triggered, this, [this] { mnuNew_Click(); });
    connect(mnuOpen, &QAction::triggered, this, [this] { mnuOpen_Click(); });
    connect(mnuCompare, &QAction::triggered, this, [this] { mnuCompare_Click(); });
    connect(mnuCorvanePrint, &QAction::triggered, this, [this] { mnuCorvanePrint_Click(); });
    connect(mnuExit, &QAction::triggered, this, [this] { mnuExit_Click(); });
    connect(mnuEditProp, &QAction::triggered, this, [this] { mnuEditProp_Click(); });
    connect(mnuHTopics, &QAction::triggered, this, [this] { mnuHTopics_Click(); });
    connect(mnuAbout, &QAction::triggered, this, [this] { mnuAbout_Click(); });
    connect(mnuShowTip, &QAction::triggered, this, [this] { mnuShowTip_Click(); });
    connect(mnuShowCaptions, &QAction::triggered, this, [this](bool checked) {
        // The handler flips the check mark itself, as a click on the item does.
        mnuShowCaptions->setChecked(!checked);
        mnuShowCaptions_Click();
    });
    // Items whose command this program does not have are shown disabled.
    platform::DisableActionsWithoutCommand({mnuFileMain, mnuOptionMain, mnuHelpMain});
}

void MDIMain::BuildStatusBar()
{
    pictStatusBar = new QWidget(this);
    pictStatusBar->setObjectName(QStringLiteral("pictStatusBar"));
    auto* layout = new QHBoxLayout(pictStatusBar);
    layout->setContentsMargins(4, 0, 4, 0);
    const auto label = [this](const char* name, const QString& text) {
        auto* l = new QLabel(text, pictStatusBar);
        l->setObjectName(QLatin1String(name));
        // Painting its own background and keeping its size (ShowStatusText),
        // a label whose text changes is repainted alone.
        l->setAutoFillBackground(true);
        l->setFixedSize(l->sizeHint());
        return l;
    };
    labelInsert = label("labelInsert", QStringLiteral("Insert"));
    lblLine = label("lblLine", QStringLiteral("Line:"));
    lblColumn = label("lblColumn", QStringLiteral("Col:"));
    lblTotalLines = label("lblTotalLines", QStringLiteral("Total Lines:"));
    layout->addWidget(labelInsert);
    layout->addWidget(StatusDivider(pictStatusBar));
    layout->addWidget(lblLine);
    layout->addWidget(StatusDivider(pictStatusBar));
    layout->addWidget(lblColumn);
    layout->addWidget(StatusDivider(pictStatusBar));
    layout->addWidget(lblTotalLines);
    layout->addStretch(1);
    statusBar()->addWidget(pictStatusBar, 1);
}

void MDIMain::ShowStatusText(QLabel& label, const QString& text)
{
    if (label.text() == text)
        return;
    // Painted after the frame now on its way (its update is already posted,
    // and events of one priority come in the order posted).
    if (label.updatesEnabled()) {
        if (statusHeld_.empty())
            QCoreApplication::postEvent(this, new QEvent(StatusPaintEvent()), Qt::LowEventPriority);
        label.setUpdatesEnabled(false);
        statusHeld_.emplace_back(&label);
    }
    label.setText(text);
    // A label grows to fit a longer text and keeps its width for a shorter
    // one: a label that changed size would have the whole status line laid
    // out and painted again. Measuring costs about what painting does, so a
    // label is measured once for each shape of text, not again for another
    // number of as many digits (each key typed changes the column shown).
    QString shape = text;
    for (QChar& c : shape)
        if (c.isDigit())
            c = u'0';
    QSet<QString>& measured = statusShapes_[&label];
    if (measured.contains(shape))
        return;
    measured.insert(shape);
    // Room for the widest digit in each place of a number.
    const QFontMetrics metrics = label.fontMetrics();
    int widestDigit = 0;
    for (char16_t c = u'0'; c <= u'9'; ++c)
        widestDigit = std::max(widestDigit, metrics.horizontalAdvance(QChar(c)));
    const QSize hint = label.sizeHint();
    int needed = hint.width();
    for (QChar c : text)
        if (c.isDigit())
            needed += widestDigit - metrics.horizontalAdvance(c);
    if (needed > label.minimumWidth() || hint.height() != label.minimumHeight())
        label.setFixedSize(std::max(needed, label.minimumWidth()), hint.height());
}

void MDIMain::customEvent(QEvent* event)
{
    if (event->type() != StatusPaintEvent()) {
        QMainWindow::customEvent(event);
        return;
    }
    for (const QPointer<QLabel>& label : std::exchange(statusHeld_, {}))
        if (label)
            label->setUpdatesEnabled(true);  // paints it
}

void MDIMain::MDIForm_Initialize()
{
    IniFile = platform::SettingsFile(QStringLiteral("\\Editor.ini"));
    HelpFile = QStringLiteral("\\Editor.html");
    MacroIniFile = platform::SettingsFile(QStringLiteral("\\Macro.ini"));
    InsertMode = true;
    RefreshRecentFileMenus();
}

bool MDIMain::MDIForm_Load()
{
    platform::CentreOnScreen(*this);
    CreateDefaultIni();
    LoadIniSettings();
    {
        cRegistry registry;
        LoadRegistrySettings(registry, platform::HKEY_CURRENT_USER);
    }
    LoadColorItems();
    BuildToolbars();
    SetButtons(false);
    if (LoadMacroListHook)
        LoadMacroListHook();
    // Files dropped from the file manager (handled with the main window's commands).
    AcceptDroppedFiles(this);
    platform::DoEvents();
    return ApplyCommandLine(Command().trimmed());
}

bool MDIMain::ApplyCommandLine(const QString& command)
{
    if (command.isEmpty())
        return true;
    CommandLineText = command;
    CommandLine commandLine;
    commandLine.CommandString(CommandLineText);
    if (commandLine.HasParameter(QStringLiteral("/?"))) {
        ShowCommandLineHelp();
        return false;
    }
    ShowItemsNotSwitches(commandLine.Items());
    const QString path = commandLine.GetParameterValue(QStringLiteral("/f"));
    if (path.isEmpty())
        return true;
    if (OpenFileInWindow(path, false))
        ProcessCommandLineSwitches();
    // The document buttons follow what is open: a failed open leaves none.
    SetButtons(AnyDocumentsOpen());
    return true;
}

void MDIMain::TakeHandedOverCommand(const QStringList& items)
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
    ApplyCommandLine(CommandFromArguments(items).trimmed());
}

DocumentForm* MDIMain::ActiveForm() const
{
    // The current child even while another program has the focus.
    QMdiSubWindow* sub = mdiArea->currentSubWindow();
    return sub != nullptr ? qobject_cast<DocumentForm*>(sub->widget()) : nullptr;
}

DocumentForm* MDIMain::AddDocument(std::unique_ptr<DocumentForm> form)
{
    DocumentForm* window = form.get();
    QMdiSubWindow* sub = mdiArea->addSubWindow(form.release());
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // A new document window takes three quarters of the client area, as MDI
    // children do by default; an empty form would otherwise open collapsed.
    const QSize area = mdiArea->viewport()->size();
    sub->resize(std::max(480, area.width() * 3 / 4), std::max(320, area.height() * 3 / 4));
    sub->hide();
    sub->setProperty(UnplacedProperty, true);
    return window;
}

bool MDIMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mdiArea->viewport() && event->type() == QEvent::Resize)
        PlaceEarlyWindowsAgain();
    return QMainWindow::eventFilter(watched, event);
}

void MDIMain::PlaceEarlyWindowsAgain()
{
    const QSize area = mdiArea->viewport()->size();
    for (QMdiSubWindow* sub : mdiArea->subWindowList()) {
        const QVariant place = sub->property(EarlyPlaceProperty);
        if (!place.isValid())
            continue;
        if (sub->geometry() != sub->property(EarlyRectProperty).toRect()) {
            // The user moved or sized it (or it was maximised): the place is theirs now.
            sub->setProperty(EarlyPlaceProperty, QVariant());
            sub->setProperty(EarlyRectProperty, QVariant());
            continue;
        }
        const int step = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
        sub->setGeometry(CascadeRect(area, place.toInt(), step));
        sub->setProperty(EarlyRectProperty, sub->geometry());
    }
}

QRect MDIMain::CascadeRect(const QSize& area, int n, int step)
{
    const int width = std::max(1, std::min(area.width(), std::max(area.width() * 3 / 4, 480)));
    const int height = std::max(1, std::min(area.height(), std::max(area.height() * 3 / 4, 320)));
    const int room = std::min(area.width() - width, area.height() - height);
    const int places = step > 0 ? room / step + 1 : 1;
    const int k = n % std::max(1, places);
    return QRect(k * step, k * step, width, height);
}

void MDIMain::ShowDocument(DocumentForm* form)
{
    if (form == nullptr)
        return;
    auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget());
    if (sub == nullptr)
        return;
    if (sub->property(UnplacedProperty).toBool()) {
        // First shown: inside the workspace, below and right of the last
        // document window the program placed.
        sub->setProperty(UnplacedProperty, false);
        const int step = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
        const int place = placedCount_++;
        sub->setGeometry(CascadeRect(mdiArea->viewport()->size(), place, step));
        if (!isVisible()) {
            // Opened by "/f" before the main window came up: the workspace
            // has no real size yet, so the place is only provisional.
            sub->setProperty(EarlyPlaceProperty, place);
            sub->setProperty(EarlyRectProperty, sub->geometry());
        }
    }
    sub->show();
    form->show();
    mdiArea->setActiveSubWindow(sub);
}

void MDIMain::ShowRecentFile(int index, const QString& path)
{
    ShowRecentFileEntry(mnuRecentFile, index, path);
}

QString MDIMain::RecentFilePath(int index) const
{
    if (index < 1 || index >= static_cast<int>(mnuRecentFile.size()))
        return QString();
    return mnuRecentFile[static_cast<size_t>(index)]->data().toString();
}

void MDIMain::ApplyPlacement(const WindowPlacement& placement)
{
    QRect rect(platform::TwipsToPixelsX(placement.Left), platform::TwipsToPixelsY(placement.Top),
               platform::TwipsToPixelsX(placement.Width), platform::TwipsToPixelsY(placement.Height));
    bool onScreen = false;
    for (const QScreen* screen : QGuiApplication::screens())
        onScreen = onScreen || screen->availableGeometry().intersects(rect);
    setGeometry(rect);
    if (!onScreen)
        platform::CentreOnScreen(*this);
    // A window never reopens minimised: it could not be found again.
    placedState_ = placement.WindowState == 2 ? Qt::WindowMaximized : Qt::WindowNoState;
}

WindowPlacement MDIMain::CurrentPlacement() const
{
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    WindowPlacement placement;
    placement.Left = platform::PixelsToTwipsX(normal.x());
    placement.Top = platform::PixelsToTwipsY(normal.y());
    placement.Width = platform::PixelsToTwipsX(normal.width());
    placement.Height = platform::PixelsToTwipsY(normal.height());
    const Qt::WindowStates state = isVisible() ? windowState() : placedState_;
    placement.WindowState = state.testFlag(Qt::WindowMinimized)   ? 1
                            : state.testFlag(Qt::WindowMaximized) ? 2
                                                                  : 0;
    return placement;
}

void MDIMain::ShowAsPlaced()
{
    if (placedState_.testFlag(Qt::WindowMaximized))
        showMaximized();
    else
        showNormal();
}
