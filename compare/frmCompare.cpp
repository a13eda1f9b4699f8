// Brevlin's window: its controls, menus and toolbar, its panes' events, and
// closing. The commands are in frmCompareCommands.cpp.

#include "compare/frmCompare.h"

#include "compare/MCompare.h"
#include "platform/codemax/CodeMax.h"
#include "platform/codemax/CodeMaxCommands.h"
#include "platform/codemax/CodeMaxGlobals.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ProgramFolder.h"
#include "platform/forms/ToolbarFace.h"
#include "shell/MIni.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QGridLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>

namespace {

struct ButtonSpec {
    const char* key;     // empty: a separator
    const char* toolTip;
    QStyle::StandardPixmap icon;
};

// The sixteen buttons in order (index 1 first).
const ButtonSpec Buttons[] = {
    {"Exit", "Exit Program", QStyle::SP_DialogCloseButton},
    {"", "", QStyle::SP_CustomBase},
    {"Open", "Open Files To Compare", QStyle::SP_DialogOpenButton},
    {"Compare", "Compare the Files", QStyle::SP_FileDialogContentsView},
    {"", "", QStyle::SP_CustomBase},
    {"Save", "Save File As", QStyle::SP_DialogSaveButton},
    {"", "", QStyle::SP_CustomBase},
    {"Bookmark", "Show/Hide Bookmarks", QStyle::SP_FileDialogDetailedView},
    {"NextBookmark", "Next Bookmark", QStyle::SP_ArrowDown},
    {"PrevBookmark", "Previous Bookmark", QStyle::SP_ArrowUp},
    {"ClearBookmarks", "Clear All Bookmarks", QStyle::SP_DialogResetButton},
    {"", "", QStyle::SP_CustomBase},
    {"FileTop", "Top of File", QStyle::SP_MediaSkipBackward},
    {"FileBottom", "Bottom of File", QStyle::SP_MediaSkipForward},
    {"", "", QStyle::SP_CustomBase},
    {"Stop", "Stop File Compare", QStyle::SP_BrowserStop},
};

// The buttons SetButtons switches (Stop only runs with a compare).
const char* const FileButtons[] = {"Compare", "Save", "Bookmark", "NextBookmark", "PrevBookmark",
                                   "ClearBookmarks", "FileTop", "FileBottom"};

// Commands whose keys would act on one pane only.
constexpr int UnboundCommands[] = {platform::CodeMaxCmd::BookmarkNext, platform::CodeMaxCmd::BookmarkPrev,
                                   platform::CodeMaxCmd::Find, platform::CodeMaxCmd::FindNext, 224,
                                   platform::CodeMaxCmd::BookmarkToggle};

// A label over a pane: " File #1 " and a path of any length. The path
// never widens the window; what does not fit gives way in the middle, so
// that the file name stays in view, and the whole text is the tooltip.
class PathLabel final : public QLabel {
public:
    using QLabel::QLabel;
    QSize sizeHint() const override { return {0, QLabel::sizeHint().height()}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QRect room = contentsRect();
        painter.drawText(room, int(alignment()), Shown(room.width()));
    }
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::ToolTip) {
            if (Shown(contentsRect().width()) != text())
                QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
            else
                QToolTip::hideText();
            return true;
        }
        return QLabel::event(event);
    }

private:
    QString Shown(int width) const { return fontMetrics().elidedText(text(), Qt::ElideMiddle, width); }
};

}  // namespace

frmCompare::frmCompare(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmCompare"));
    setWindowTitle(QStringLiteral("Talvex Compare"));

    auto* central = new QWidget(this);
    auto* grid = new QGridLayout(central);
    grid->setContentsMargins(2, 2, 2, 2);
    for (int i = 0; i < 2; ++i) {
        lblEditor[i] = new PathLabel(central);
        lblEditor[i]->setObjectName(QStringLiteral("lblEditor%1").arg(i));
        lblLines[i] = new QLabel(central);
        lblLines[i]->setObjectName(QStringLiteral("lblLines%1").arg(i));
        Editor[i] = new platform::CodeMax(central);
        Editor[i]->setObjectName(QStringLiteral("Editor%1").arg(i));
        grid->addWidget(lblEditor[i], 0, i);
        grid->addWidget(Editor[i], 1, i);
        grid->addWidget(lblLines[i], 2, i);
        grid->setColumnStretch(i, 1);
        ConnectPane(i);
    }
    grid->setRowStretch(1, 1);
    setCentralWidget(central);
    statusBar();

    BuildToolbar();
    BuildMenus();
    ApplyPaneLook();
    SetButtons(false);
    resize(1000, 700);
}

frmCompare::~frmCompare() = default;

void frmCompare::BuildToolbar()
{
    TBCompare = addToolBar(QStringLiteral("TBCompare"));
    TBCompare->setObjectName(QStringLiteral("TBCompare"));
    TBCompare->setMovable(false);
    for (const ButtonSpec& entry : Buttons) {
        if (*entry.key == '\0') {
            TBCompare->addSeparator();
            continue;
        }
        const QString key = QString::fromLatin1(entry.key);
        QAction* button = TBCompare->addAction(style()->standardIcon(entry.icon), key);
        button->setObjectName(key);
        button->setData(key);
        button->setToolTip(QString::fromLatin1(entry.toolTip));
        connect(button, &QAction::triggered, this, [this, key] { TBCompare_ButtonClick(key); });
    }
    Button(QStringLiteral("Stop"))->setEnabled(false);
    // The style's images are drawn for a light face: on a dark desktop the toolbar keeps one.
    platform::KeepToolbarIconsVisible(*TBCompare);
}

void frmCompare::BuildMenus()
{
    const auto item = [this](QMenu* menu, const char* name, const QString& caption, auto handler) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    const auto button = [this](const char* key) { return [this, key] { TBCompare_ButtonClick(QString::fromLatin1(key)); }; };

    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuOpen = item(mnuFile, "mnuOpen", QStringLiteral("&Open..."), button("Open"));
    mnuSaveAs = item(mnuFile, "mnuSaveAs", QStringLiteral("&Save As..."), button("Save"));
    mnuCompareFiles = item(mnuFile, "mnuCompareFiles", QStringLiteral("&Compare Files"), button("Compare"));
    mnuFile->addSeparator();
    mnuExit = item(mnuFile, "mnuExit", QStringLiteral("E&xit"), [this] { close(); });

    mnuEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
    mnuUndo = item(mnuEdit, "mnuUndo", QStringLiteral("&Undo"), [this] { mnuUndo_Click(); });
    mnuRedo = item(mnuEdit, "mnuRedo", QStringLiteral("&Redo"), [this] { mnuRedo_Click(); });
    mnuEdit->addSeparator();
    mnuCut = item(mnuEdit, "mnuCut", QStringLiteral("Cu&t"), [this] { mnuCut_Click(); });
    mnuCopy = item(mnuEdit, "mnuCopy", QStringLiteral("&Copy"), [this] { mnuCopy_Click(); });
    mnuPaste = item(mnuEdit, "mnuPaste", QStringLiteral("&Paste"), [this] { mnuPaste_Click(); });

    mnuBookmarks = menuBar()->addMenu(QStringLiteral("&Bookmarks"));
    item(mnuBookmarks, "mnuNextBookmark", QStringLiteral("&Next Bookmark"), button("NextBookmark"));
    item(mnuBookmarks, "mnuPrevBookmark", QStringLiteral("&Previous Bookmark"), button("PrevBookmark"));
    item(mnuBookmarks, "mnuShowBookmark", QStringLiteral("&Show/Hide Bookmark"), button("Bookmark"));
    item(mnuBookmarks, "mnuClearBookmarks", QStringLiteral("&Clear All Bookmarks"), button("ClearBookmarks"));
    mnuBookmarks->addSeparator();
    item(mnuBookmarks, "mnuFileTop", QStringLiteral("&Top of File             Ctrl+Home"), button("FileTop"));
    item(mnuBookmarks, "mnuFileBottom", QStringLiteral("&Bottom of File          Ctrl+End"), button("FileBottom"));

    mnuSearch = menuBar()->addMenu(QStringLiteral("&Search"));
    mnuGotoLine = item(mnuSearch, "mnuGotoLine", QStringLiteral("&Goto Line"), [this] { mnuGotoLine_Click(); });

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelpTopics = item(mnuHelp, "mnuHelpTopics", QStringLiteral("&Help Topics"), [this] { mnuHelpTopics_Click(); });
    mnuAbout = item(mnuHelp, "mnuAbout", QStringLiteral("&About..."), [this] { mnuAbout_Click(); });

    mnuPEditMain = new QMenu(this);
    mnuPEditMain->setObjectName(QStringLiteral("mnuPEditMain"));
    mnuPEditMain->addAction(mnuUndo);
    mnuPEditMain->addAction(mnuRedo);
    mnuPEditMain->addSeparator();
    mnuPEditMain->addAction(mnuCut);
    mnuPEditMain->addAction(mnuCopy);
    mnuPEditMain->addAction(mnuPaste);
}

void frmCompare::ConnectPane(int index)
{
    platform::CodeMax* pane = Editor[index];
    connect(pane, &platform::CodeMax::ContentChange, this, [this, index](platform::CodeMax* control) {
        RefreshLineLabel(index);
        if (control->Modified())
            changed_ = true;
    });
    connect(pane, &platform::CodeMax::ModifiedChange, this, [this](platform::CodeMax* control) {
        if (control->Modified())
            changed_ = true;
    });
    connect(pane, &platform::CodeMax::GotFocus, this, [this, index] { activePane_ = index; });
    connect(pane, &platform::CodeMax::MouseDown, this, [this, index](platform::CodeMax*, int button, int, int, int) {
        if (index == 1 && button == 2)
            mnuPEditMain->popup(QCursor::pos());
    });
    // The control's own settings dialog would change one pane only.
    connect(pane, &platform::CodeMax::SettingsRequest, this, [](platform::CodeMax*, bool& cancel) { cancel = true; });
}

bool frmCompare::Form_Load()
{
    platform::CodeMaxGlobals globals;
    for (const int command : UnboundCommands)
        for (int i = globals.GetNumHotKeysForCmd(command) - 1; i >= 0; --i)
            globals.UnregisterHotKey(globals.GetHotKeyForCmd(command, i));
    SetButtons(false);
    GetDefaultDir(platform::HKEY_CURRENT_USER);
    if (!EditorIsRunning()) {
        platform::MsgBox(QStringLiteral("Talvex Grafel must be operational") + QStringLiteral("\r\n")
                             + QStringLiteral("before using the Talvex Compare!"),
                         platform::vbInformation, QStringLiteral("Error"));
        return false;
    }
    return true;
}

void frmCompare::ApplyPaneLook()
{
    const qint32 highlight = ReadColorItem(2, platform::SettingsFile(QStringLiteral("\\Editor.ini"))).ForeColor;
    for (platform::CodeMax* pane : Editor) {
        pane->SetColor(1, 0xC0C0C0);
        pane->SetColor(26, 0xFFFFFF);
        pane->SetColor(27, 0x404040);
        pane->SetColor(6, 0xFFFFFF);
        pane->SetColor(7, 0xFFFFFF);
        pane->SetColor(2, 0xC00000);
        pane->SetColor(3, 0xFFFFFF);
        // The highlighted difference in the colour of Pelmar's highlighted line.
        pane->SetColor(30, highlight);
        pane->SetDisplayLeftMargin(false);
        pane->SetSelBounds(true);
        QFont bold = pane->Font();
        bold.setBold(true);
        pane->SetFont(bold);
    }
}

void frmCompare::SetButtons(bool enabled)
{
    buttonsEnabled_ = enabled;
    for (const char* key : FileButtons)
        Button(QString::fromLatin1(key))->setEnabled(enabled);
    for (QMenu* menu : {mnuEdit, mnuBookmarks, mnuSearch})
        menu->menuAction()->setEnabled(enabled);
    mnuCompareFiles->setEnabled(enabled);
    mnuSaveAs->setEnabled(enabled);
}

void frmCompare::SetRunning(bool running)
{
    running_ = running;
    if (running) {
        SetButtons(false);
        buttonsEnabled_ = true;  // what comes back afterwards
    } else {
        SetButtons(buttonsEnabled_);
    }
    Button(QStringLiteral("Open"))->setEnabled(!running);
    mnuOpen->setEnabled(!running);
    mnuHelp->menuAction()->setEnabled(!running);
    Button(QStringLiteral("Stop"))->setEnabled(running);
    // The panes scroll, but their texts stay as the compare read them.
    for (platform::CodeMax* pane : Editor)
        pane->SetReadOnly(running);
}

QAction* frmCompare::Button(const QString& key) const
{
    for (QAction* action : TBCompare->actions())
        if (action->data().toString() == key)
            return action;
    return nullptr;
}

void frmCompare::RefreshLineLabel(int index)
{
    platform::CodeMax* pane = Editor[index];
    const int last = pane->LineCount() - 1;
    // The empty line after a final line break is no line of the file.
    const int lines = pane->GetLineLength(last) == 0 ? last : last + 1;
    lblLines[index]->setText(QStringLiteral(" Total Lines = ") + QString::number(lines));
}

bool frmCompare::BothHoldText() const
{
    for (const platform::CodeMax* pane : Editor)
        if (pane->LineCount() <= 1 && pane->GetLineLength(0) == 0)
            return false;
    return true;
}

void frmCompare::closeEvent(QCloseEvent* event)
{
    if (running_) {
        // The compare stops at its next step; the window closes after it.
        stopRequested_ = true;
        closeAfterStop_ = true;
        event->ignore();
        return;
    }
    if (changed_) {
        const int answer = platform::MsgBox(QStringLiteral("Save changes to file?"),
                                            platform::vbYesNoCancel | platform::vbQuestion,
                                            QStringLiteral("Corvane File Compare"));
        if (answer == platform::vbCancel || (answer == platform::vbYes && !SaveCommand())) {
            event->ignore();
            return;
        }
    }
    event->accept();
}
