#include "clipext/frmClipMain.h"

#include "clipext/frmSysTray.h"
#include "platform/codemax/CodeMax.h"
#include "platform/desktop/Clipboard.h"
#include "platform/desktop/SingleInstance.h"
#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Screen.h"
#include "platform/forms/ToolbarFace.h"
#include "platform/forms/Twips.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"
#include "shell/MIni.h"
#include "shell/cRegistry.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindow>
#include <Qsci/qsciscintilla.h>

#include <cmath>

namespace {

QPointer<frmClipMain> DefaultInstance;

// The name under which the loaded window takes other processes' show requests.
const QString ShowRequestChannel = QStringLiteral("Clipboard Extender");

constexpr int MinWidthPixels = 448;
constexpr int MinHeightPixels = 180;
constexpr int ScreenMarginPixels = 4;

cRegistry Setting(quint32 root, const QString& name, quint32 type = platform::REG_DWORD)
{
    cRegistry registry;
    registry.ClassKey(root);
    registry.SectionKey(ClipSettingsKey);
    registry.ValueKey(name);
    registry.ValueType(type);
    return registry;
}

// A stored number; nullopt when the value is missing or not a number.
std::optional<qint64> ReadNumber(quint32 root, const QString& name)
{
    const QVariant value = Setting(root, name).Value();
    bool ok = false;
    const qint64 number = value.toLongLong(&ok);
    return value.isValid() && ok ? std::optional<qint64>(number) : std::nullopt;
}

QAction* AddItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut = {})
{
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    item->setShortcut(shortcut);
    return item;
}

QAction* AddHidden(QMenu* menu, const char* name, const QString& caption)
{
    QAction* item = AddItem(menu, name, caption);
    item->setVisible(false);
    return item;
}

}  // namespace

// ---------------------------------------------------------------- load and unload

frmClipMain::frmClipMain(QWidget* parent) : QMainWindow(parent, Qt::Window), history_(clipext::ClipHistory::DefaultSize)
{
    setObjectName(QStringLiteral("frmClipMain"));
    setWindowTitle(QStringLiteral("Clipboard Extender"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    resize(MinWidthPixels + 72, 360);
    if (windowIcon().isNull())
        setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));

    BuildMenus();
    BuildControls();
    SetupToolbar();
    BuildFormatTable();

    // Settings of the current user, else of the machine; the ring's size
    // comes from them.
    int size = clipext::ClipHistory::DefaultSize;
    for (const quint32 root : {platform::HKEY_CURRENT_USER, platform::HKEY_LOCAL_MACHINE}) {
        if (Setting(root, QString()).KeyExists()) {
            size = clipext::ClipHistory::RingSize(true, ReadNumber(root, QStringLiteral("EntriesToKeep")));
            LoadClipSettings(root);
            break;
        }
    }
    history_.NumberOfLines(size);

    connect(&viewer_, &cClipboardViewer::ClipboardChanged, this, &frmClipMain::CaptureClipboard);
    viewer_.InitClipboardChangeNotification(this);
    // Settings are kept when the program ends with the window still loaded.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &frmClipMain::SaveClipSettings);
    // Requests of other processes to see the window.
    requests_ = std::make_unique<platform::SingleInstance>(ShowRequestChannel);
    if (requests_->claim())
        connect(requests_.get(), &platform::SingleInstance::messageReceived, this, &frmClipMain::ShowRequest);
    else
        requests_.reset();

    RefreshHistoryList(-1);
    ShowClipView();
    AlwaysOnTop(true);
}

frmClipMain::~frmClipMain()
{
    Unload();
}

void frmClipMain::ShowDefault()
{
    if (!DefaultInstance)
        DefaultInstance = new frmClipMain(MDIMain::Instance());
    frmClipMain& window = *DefaultInstance;
    window.RememberFocus();
    window.show();
    window.raise();
    window.activateWindow();
}

frmClipMain* frmClipMain::Default()
{
    return DefaultInstance.data();
}

void frmClipMain::BuildMenus()
{
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFileOpen = AddItem(mnuFile, "mnuFileOpen", QStringLiteral("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuFileSave = AddItem(mnuFile, "mnuFileSave", QStringLiteral("&Save..."), QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuFile->addSeparator();
    mnuFilePrint = AddItem(mnuFile, "mnuFilePrint", QStringLiteral("&Print..."), QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuFilePrint->setEnabled(false);  // there is no printing of the history
    mnuFile->addSeparator();
    mnuFileClose = AddItem(mnuFile, "mnuFileClose", QStringLiteral("&Close"));

    mnuEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuEditCopy = AddItem(mnuEdit, "mnuEditCopy", QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuEdit->addSeparator();
    mnuEditDelete = AddItem(mnuEdit, "mnuEditDelete", QStringLiteral("&Delete"), QKeySequence(Qt::Key_Delete));
    mnuEditRename = AddItem(mnuEdit, "mnuEditRename", QStringLiteral("Re&name..."));
    mnuEditMoveUp = AddItem(mnuEdit, "mnuEditMoveUp", QStringLiteral("Move U&p"));
    mnuEditMoveDown = AddItem(mnuEdit, "mnuEditMoveDown", QStringLiteral("Move Dow&n"));
    mnuEdit->addSeparator();
    mnuEditClear = AddItem(mnuEdit, "mnuEditClear", QStringLiteral("C&lear"));

    mnuView = menuBar()->addMenu(QStringLiteral("&View"));
    mnuView->setObjectName(QStringLiteral("mnuView"));
    mnuViewToolbar = AddItem(mnuView, "mnuViewToolbar", QStringLiteral("&Toolbar"));
    mnuViewToolbar->setCheckable(true);
    mnuViewToolbar->setChecked(true);
    mnuViewToolbarCaptions = AddHidden(mnuView, "mnuViewToolbarCaptions", QStringLiteral("Toolbar &Captions"));
    mnuViewStatusBar = AddHidden(mnuView, "mnuViewStatusBar", QStringLiteral("&Status Bar"));
    mnuView->addSeparator();
    mnuViewList = AddItem(mnuView, "mnuViewList", QStringLiteral("&List"), QKeySequence(Qt::CTRL | Qt::Key_L));
    mnuViewList->setCheckable(true);
    mnuViewList->setChecked(true);
    mnuViewDetails = AddItem(mnuView, "mnuViewDetails", QStringLiteral("&Details"), QKeySequence(Qt::CTRL | Qt::Key_D));
    mnuViewDetails->setCheckable(true);
    mnuView->addSeparator()->setVisible(false);
    mnuViewConfigure = AddHidden(mnuView, "mnuViewConfigure", QStringLiteral("&Configure..."));

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpContents = AddItem(mnuHelp, "mnuHelpContents", QStringLiteral("&Contents..."), QKeySequence(Qt::Key_F1));
    mnuHelp->addSeparator();
    mnuHelpAbout = AddItem(mnuHelp, "mnuHelpAbout", QStringLiteral("&About..."));

    connect(mnuFileOpen, &QAction::triggered, this, [this] { mnuFileOpen_Click(); });
    connect(mnuFileSave, &QAction::triggered, this, [this] { mnuFileSave_Click(); });
    connect(mnuFileClose, &QAction::triggered, this, [this] { mnuFileClose_Click(); });
    connect(mnuEditCopy, &QAction::triggered, this, [this] { mnuEditCopy_Click(); });
    connect(mnuEditDelete, &QAction::triggered, this, [this] { mnuEditDelete_Click(); });
    connect(mnuEditRename, &QAction::triggered, this, [this] { mnuEditRename_Click(); });
    connect(mnuEditMoveUp, &QAction::triggered, this, [this] { mnuEditMoveUp_Click(); });
    connect(mnuEditMoveDown, &QAction::triggered, this, [this] { mnuEditMoveDown_Click(); });
    connect(mnuEditClear, &QAction::triggered, this, [this] { mnuEditClear_Click(); });
    connect(mnuViewToolbar, &QAction::triggered, this, [this] { mnuViewToolbar_Click(); });
    connect(mnuViewList, &QAction::triggered, this, [this] { mnuViewList_Click(); });
    connect(mnuViewDetails, &QAction::triggered, this, [this] { mnuViewDetails_Click(); });
    connect(mnuHelpContents, &QAction::triggered, this, [this] { mnuHelpContents_Click(); });
    connect(mnuHelpAbout, &QAction::triggered, this, [this] { mnuHelpAbout_Click(); });
}

void frmClipMain::BuildControls()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(2, 2, 2, 2);

    lstClipboard = new QListWidget(central);
    lstClipboard->setObjectName(QStringLiteral("lstClipboard"));
    lstClipboard->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(lstClipboard);

    picDetails = new QWidget(central);
    picDetails->setObjectName(QStringLiteral("picDetails"));
    auto* details = new QVBoxLayout(picDetails);
    details->setContentsMargins(0, 0, 0, 0);
    auto* types = new QHBoxLayout;
    lblTypes = new QLabel(QStringLiteral("Types:"), picDetails);
    lblTypes->setObjectName(QStringLiteral("lblTypes"));
    cboTypes = new QComboBox(picDetails);
    cboTypes->setObjectName(QStringLiteral("cboTypes"));
    lblTypes->setBuddy(cboTypes);
    types->addWidget(lblTypes);
    types->addWidget(cboTypes, 1);
    details->addLayout(types);
    edtDetails = new platform::CodeMax(picDetails);
    edtDetails->setObjectName(QStringLiteral("edtDetails"));
    edtDetails->SetFont(QFont(QStringLiteral("Courier New"), 10));
    edtDetails->SetReadOnly(true);
    details->addWidget(edtDetails, 1);
    layout->addWidget(picDetails);
    setCentralWidget(central);

    connect(lstClipboard, &QListWidget::currentRowChanged, this, [this] { lstClipboard_Click(); });
    connect(lstClipboard, &QListWidget::itemDoubleClicked, this, [this] { lstClipboard_DblClick(); });
    connect(cboTypes, &QComboBox::activated, this, [this] { cboTypes_Click(); });
    // The details only show: the pane takes no key of its own, and the
    // window's shortcuts reach their menus from it.
    connect(edtDetails, &platform::CodeMax::KeyDown, this,
            [](platform::CodeMax*, int, int, bool& cancel) { cancel = true; });
    for (int i = 0; i < edtDetails->PaneCount(); ++i)
        if (QsciScintilla* pane = edtDetails->Pane(i))
            pane->installEventFilter(this);
}

void frmClipMain::SetupToolbar()
{
    if (cToolbar1 == nullptr) {
        cToolbar1 = addToolBar(QStringLiteral("Toolbar1"));
        cToolbar1->setObjectName(QStringLiteral("Toolbar1"));
        cToolbar1->setMovable(false);
    }
    cToolbar1->clear();
    struct Button {
        const char* key;
        QStyle::StandardPixmap image;
        const char* tooltip;
    };
    static const Button buttons[] = {
        {"Exit", QStyle::SP_DialogCloseButton, "Exit Program"},
        {nullptr, {}, nullptr},
        {"Copy", QStyle::SP_DialogApplyButton, "Copy"},
        {nullptr, {}, nullptr},
        {"Open", QStyle::SP_DialogOpenButton, "Open"},
        {nullptr, {}, nullptr},
        {"Save", QStyle::SP_DialogSaveButton, "Save"},
        {nullptr, {}, nullptr},
        {"Delete", QStyle::SP_TrashIcon, "Delete"},
        {nullptr, {}, nullptr},
        {"List", QStyle::SP_FileDialogListView, "List"},
        {nullptr, {}, nullptr},
        {"Details", QStyle::SP_FileDialogDetailedView, "Details"},
        {nullptr, {}, nullptr},
        {"Move Up", QStyle::SP_ArrowUp, "Move Up"},
        {"Move Down", QStyle::SP_ArrowDown, "Move Down"},
    };
    for (const Button& button : buttons) {
        if (button.key == nullptr) {
            cToolbar1->addSeparator();
            continue;
        }
        const QString key = QString::fromLatin1(button.key);
        QAction* action = cToolbar1->addAction(style()->standardIcon(button.image), key);
        action->setObjectName(key);
        action->setData(key);
        action->setToolTip(QString::fromLatin1(button.tooltip));
        connect(action, &QAction::triggered, this, [this, key] { cToolbar1_ButtonClick(key); });
    }
    // The style's images are drawn for a light face: on a dark desktop the toolbar keeps one.
    platform::KeepToolbarIconsVisible(*cToolbar1);
}

void frmClipMain::BuildFormatTable()
{
    // Text and Rich Text Format are kept; HTML and Csv are known, not kept.
    formatTable_ = {{clipext::TextFormatName, clipext::CF_TEXT},
                    {clipext::RtfFormatName, clipboard_.AddFormat(clipext::RtfFormatName)},
                    {clipext::HtmlFormatName, clipboard_.AddFormat(clipext::HtmlFormatName)},
                    {clipext::CsvFormatName, clipboard_.AddFormat(clipext::CsvFormatName)}};
    storeFormats_ = {FormatID(clipext::TextFormatName), FormatID(clipext::RtfFormatName)};
}

quint32 frmClipMain::FormatID(const QString& name) const
{
    for (const auto& [formatName, id] : formatTable_)
        if (formatName == name)
            return id;
    return 0;
}

bool frmClipMain::LoadClipSettings(quint32 root)
{
    if (!Setting(root, QString()).KeyExists())
        return false;
    const auto number = [root](const char* name) { return ReadNumber(root, QString::fromLatin1(name)); };
    if (number("Maximised").value_or(0) != 0) {
        setWindowState(windowState() | Qt::WindowMaximized);
    } else {
        // The screen's area less its panels; a size stored on a larger
        // screen is cut down to what this one can show with the frame.
        const QRect area = platform::AvailableScreenGeometry(this);
        (void)winId();
        const QMargins frame = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
        const int width = std::min(std::max(platform::TwipsToPixelsX(double(number("Width").value_or(0))), MinWidthPixels),
                                   area.width() - frame.left() - frame.right());
        const int height = std::min(std::max(platform::TwipsToPixelsY(double(number("Height").value_or(0))), MinHeightPixels),
                                    area.height() - frame.top() - frame.bottom());
        int left = platform::TwipsToPixelsX(double(number("Left").value_or(0)));
        int top = platform::TwipsToPixelsY(double(number("Top").value_or(0)));
        const int outerWidth = width + frame.left() + frame.right();
        const int outerHeight = height + frame.top() + frame.bottom();
        if (left + outerWidth > area.right() + 1 - ScreenMarginPixels)
            left = area.right() + 1 - outerWidth - ScreenMarginPixels;
        if (top + outerHeight > area.bottom() + 1 - ScreenMarginPixels)
            top = area.bottom() + 1 - outerHeight - ScreenMarginPixels;
        // A window larger than the screen, or stored off its top left, is
        // put back where it can be reached.
        left = std::max(left, area.left());
        top = std::max(top, area.top());
        move(left, top);
        resize(width, height);
    }
    InSysTray(number("ShowInSysTray").value_or(-1) != 0);
    alwaysOnTop_ = number("AlwaysOnTop").value_or(0) != 0;
    return true;
}

void frmClipMain::WriteClipSettings(quint32 root)
{
    const auto write = [root](const char* name, qint64 value) {
        Setting(root, QString::fromLatin1(name)).Value(QVariant(value));
    };
    write("EntriesToKeep", NumberOfLines());
    const bool maximised = isMaximized();
    write("Maximised", maximised ? 1 : 0);
    if (!maximised && !isMinimized()) {
        write("Left", std::lround(platform::PixelsToTwipsX(x())));
        write("Top", std::lround(platform::PixelsToTwipsY(y())));
        write("Width", std::lround(platform::PixelsToTwipsX(width())));
        write("Height", std::lround(platform::PixelsToTwipsY(height())));
    }
    // The user's choice, not whether this desktop could show the icon.
    write("ShowInSysTray", trayWanted_ ? -1 : 0);
    write("AlwaysOnTop", alwaysOnTop_ ? -1 : 0);
}

void frmClipMain::SaveClipSettings()
{
    try {
        WriteClipSettings(platform::HKEY_CURRENT_USER);
    } catch (const std::exception& failure) {
        ShowProgramError(failure);
    }
    // The machine's settings need rights that users often lack.
    try {
        WriteClipSettings(platform::HKEY_LOCAL_MACHINE);
    } catch (...) {
    }
}

void frmClipMain::Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    SaveClipSettings();
    disconnect(qApp, &QCoreApplication::aboutToQuit, this, &frmClipMain::SaveClipSettings);
    requests_.reset();
    RemoveTrayIcon();
    viewer_.StopClipboardChangeNotification();
    history_.Clear();
}

void frmClipMain::closeEvent(QCloseEvent* event)
{
    // With the tray icon the window only hides: the tray brings it back.
    if (inSysTray_ && !exitRequested_) {
        event->ignore();
        hide();
        return;
    }
    Unload();
    event->accept();
    if (DefaultInstance == this)
        deleteLater();
}

void frmClipMain::ShowRequest(const QByteArray& data)
{
    if (data.isEmpty() && !isVisible())
        ShowFromTray();
}

bool frmClipMain::SendShowRequest(const QByteArray& data, int timeoutMs)
{
    return platform::SingleInstance(ShowRequestChannel).sendToRunning(data, timeoutMs);
}

// ---------------------------------------------------------------- properties

void frmClipMain::AlwaysOnTop(bool on)
{
    alwaysOnTop_ = on;
    if (bool(windowFlags() & Qt::WindowStaysOnTopHint) == on)
        return;
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible)
        show();  // changing the flags hides the window
}

void frmClipMain::NumberOfLines(int size)
{
    // Slots are renumbered by a resize; the selected row keeps its entry.
    const int row = lstClipboard->currentRow();
    history_.NumberOfLines(size);
    RefreshHistoryList(row >= 0 ? history_.EntryAtRow(row) : -1, std::max(row, 0));
}

void frmClipMain::InSysTray(bool on)
{
    trayWanted_ = on;
    if (on == inSysTray_)
        return;
    if (on)
        AddTrayIcon();
    else
        RemoveTrayIcon();
}

// ---------------------------------------------------------------- capture and the list

void frmClipMain::CaptureClipboard()
{
    std::vector<clipext::ClipBlock> blocks;
    try {
        blocks = StoredBlocksOnClipboard();
    } catch (...) {
        return;
    }
    if (!ownWrite_.empty() && blocks == ownWrite_ && platform::TheClipboard().ownsContent())
        return;
    if (history_.Capture(blocks) < 0)
        return;
    RefreshHistoryList(SelectedEntry());
}

std::vector<clipext::ClipBlock> frmClipMain::StoredBlocksOnClipboard()
{
    std::vector<clipext::ClipBlock> blocks;
    try {
        const int count = clipboard_.GetCurrentFormats(this);
        clipboard_.ClipboardOpen(this);
        for (int position = 1; position <= count; ++position) {
            const quint32 id = clipboard_.GetCurrentFormatID(position);
            if (std::find(storeFormats_.begin(), storeFormats_.end(), id) == storeFormats_.end())
                continue;
            QByteArray bytes;
            if (clipboard_.GetBinaryData(id, bytes))
                blocks.push_back({id, std::move(bytes)});
        }
        clipboard_.ClipboardClose();
    } catch (...) {
        clipboard_.ClipboardClose();
        throw;
    }
    return blocks;
}

int frmClipMain::SelectedEntry() const
{
    // The current row: a click makes it current before it selects it.
    const QListWidgetItem* item = lstClipboard->currentItem();
    return item != nullptr ? item->data(Qt::UserRole).toInt() : -1;
}

void frmClipMain::RefreshHistoryList(int keepEntry, int fallbackRow)
{
    {
        const QSignalBlocker blocker(lstClipboard);
        lstClipboard->setUpdatesEnabled(false);
        lstClipboard->clear();
        for (const int index : history_.Rows()) {
            auto* item = new QListWidgetItem(history_.Entry(index).RenderString(), lstClipboard);
            item->setData(Qt::UserRole, index);
        }
        int row = keepEntry >= 0 ? history_.RowOfEntry(keepEntry) : -1;
        if (row < 0 && lstClipboard->count() > 0)
            row = std::clamp(fallbackRow, 0, lstClipboard->count() - 1);
        lstClipboard->setCurrentRow(row);
        lstClipboard->setUpdatesEnabled(true);
    }
    RefreshView();
}

void frmClipMain::RefreshView()
{
    const int entry = SelectedEntry();
    ShowFormats(entry);
    if (entry >= 0 && cboTypes->currentIndex() >= 0)
        RenderFormat(entry, cboTypes->currentData().toInt());
    else
        edtDetails->SetText(QString());
}

void frmClipMain::ShowClipView()
{
    const bool list = mnuViewList->isChecked();
    lstClipboard->setVisible(list);
    picDetails->setVisible(!list);
}

void frmClipMain::lstClipboard_Click()
{
    RefreshView();
}

void frmClipMain::lstClipboard_DblClick()
{
    if (SelectedEntry() >= 0)
        mnuViewDetails_Click();
}

void frmClipMain::cboTypes_Click()
{
    const int entry = SelectedEntry();
    if (entry >= 0 && cboTypes->currentIndex() >= 0)
        RenderFormat(entry, cboTypes->currentData().toInt());
}

void frmClipMain::ShowFormats(int entry)
{
    const QSignalBlocker blocker(cboTypes);
    cboTypes->clear();
    const clipext::cClipboardCache* cache = entry >= 0 ? &history_.Entry(entry) : nullptr;
    if (cache == nullptr || cache->FormatCount() == 0) {
        cboTypes->addItem(QStringLiteral("No data available"));
        cboTypes->setCurrentIndex(0);
        cboTypes->setEnabled(false);
        return;
    }
    int rtfRow = -1;
    int textRow = -1;
    for (int position = 1; position <= cache->FormatCount(); ++position) {
        const quint32 id = cache->FormatAt(position);
        cboTypes->addItem(clipboard_.FormatName(id), position);
        if (id == FormatID(clipext::RtfFormatName) && rtfRow < 0)
            rtfRow = position - 1;
        if (id == clipext::CF_TEXT && textRow < 0)
            textRow = position - 1;
    }
    cboTypes->setCurrentIndex(rtfRow >= 0 ? rtfRow : textRow >= 0 ? textRow : 0);
    cboTypes->setEnabled(cboTypes->count() >= 2);
}

void frmClipMain::RenderFormat(int entry, int position)
{
    const clipext::cClipboardCache& cache = history_.Entry(entry);
    edtDetails->SetText(position >= 1 && position <= cache.FormatCount() ? cache.BlockText(position) : QString());
}

void frmClipMain::ApplyDetailColours()
{
    const ColorItem& item = ColorItems[5];
    edtDetails->SetColor(26, item.ForeColor);
    edtDetails->SetColor(27, item.BackColor);
}

// ---------------------------------------------------------------- tray

void frmClipMain::AddTrayIcon()
{
    if (!sysTray_) {
        auto tray = std::make_unique<frmSysTray>();
        if (!tray->IsAvailable()) {
            // Nothing could bring a hidden window back: stay a plain window.
            inSysTray_ = false;
            return;
        }
        tray->AddMenuItem(QStringLiteral("&Open Corvane Clipboard..."), QStringLiteral("open"), true);
        tray->AddMenuItem(QStringLiteral("-"), QStringLiteral("sep1"));
        tray->AddMenuItem(QStringLiteral("&About..."), QStringLiteral("about"));
        tray->AddMenuItem(QStringLiteral("-"), QStringLiteral("sep2"));
        tray->AddMenuItem(QStringLiteral("E&xit"), QStringLiteral("close"));
        tray->ToolTip(QStringLiteral("Corvane Clipboard Extender"));
        tray->IconHandle(windowIcon());
        connect(tray.get(), &frmSysTray::MenuClick, this, &frmClipMain::TrayMenuClick);
        connect(tray.get(), &frmSysTray::SysTrayDoubleClick, this, [this](int button) {
            if (button == 1)
                ShowFromTray();
        });
        connect(tray.get(), &frmSysTray::SysTrayMouseUp, this, [this](int button) {
            if (button == 2 && sysTray_)
                sysTray_->ShowMenu();
        });
        sysTray_ = std::move(tray);
    }
    inSysTray_ = true;
}

void frmClipMain::RemoveTrayIcon()
{
    sysTray_.reset();
    inSysTray_ = false;
}

void frmClipMain::TrayMenuClick(int, const QString& key)
{
    if (key == QLatin1String("open")) {
        ShowFromTray();
    } else if (key == QLatin1String("about")) {
        mnuHelpAbout_Click();
    } else if (key == QLatin1String("close")) {
        exitRequested_ = true;
        close();
    }
}

void frmClipMain::ShowFromTray()
{
    RememberFocus();
    show();
    raise();
    activateWindow();
}

// ---------------------------------------------------------------- focus and events

void frmClipMain::RememberFocus()
{
    QWidget* focus = QApplication::focusWidget();
    if (focus != nullptr && focus->window() != this)
        focusBefore_ = focus;
}

void frmClipMain::ReturnFocus()
{
    QWidget* target = focusBefore_;
    focusBefore_ = nullptr;
    if (target == nullptr || !target->isVisible())
        return;
    target->window()->activateWindow();
    target->setFocus(Qt::OtherFocusReason);
}

void frmClipMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    ApplyDetailColours();
}

void frmClipMain::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    if (!event->spontaneous())
        ReturnFocus();
}

void frmClipMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // The shared colours may have changed while another window was active.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        ApplyDetailColours();
}

bool frmClipMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        // Keys that are the window's shortcuts go to its menus, not the pane.
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        for (QAction* action : findChildren<QAction*>())
            if (action->isEnabled() && !action->shortcut().isEmpty() && action->shortcut() == pressed) {
                event->ignore();
                return true;
            }
    }
    return QMainWindow::eventFilter(watched, event);
}
