// The main window's menu commands, its dropped files, the compare and print
// programs it starts, and its shutdown (MDIMain's handlers; the window itself
// is built in MDIMain.cpp).

#include "shell/MDIMain.h"

#include "platform/com/CallByName.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ProgramFolder.h"
#include "platform/forms/ShowModal.h"
#include "platform/forms/WaitCursor.h"
#include "platform/shell/Shell.h"
#include "shell/DocumentForm.h"
#include "shell/DocumentTable.h"
#include "shell/GShell.h"
#include "shell/MCompanions.h"
#include "shell/MCompareProgram.h"
#include "shell/MEditCommands.h"
#include "shell/MEditor.h"
#include "shell/MIni.h"
#include "shell/MRecentFiles.h"
#include "shell/basFileDialogs.h"
#include "shell/frmHelp.h"
#include "shell/frmTip.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QStyle>
#include <QUrl>
#include <algorithm>

namespace {

// The title of the main window's messages (the class's Title is its caption).
const QString MessageTitle = QStringLiteral("Talvex Editor");

}  // namespace

// ---------------------------------------------------------------- File menu

void MDIMain::mnuNew_Click()
{
    NewDocument();
    WordListShown = false;
    // A window that could not be made leaves the buttons as the open documents want them.
    SetButtons(AnyDocumentsOpen());
}

void MDIMain::mnuOpen_Click()
{
    platform::SetWaitCursor(true);
    OpenFiles();
    platform::SetWaitCursor(false);
    // The buttons follow what is open: files that all failed leave none.
    if (!DialogCancelled)
        SetButtons(AnyDocumentsOpen());
    else
        DialogCancelled = false;
}

void MDIMain::mnuCompare_Click()
{
    platform::SetWaitCursor(true);
    const bool started = StartCompareProgram(*this);
    platform::SetWaitCursor(false);
    if (!started)
        platform::MsgBox(QStringLiteral("Error starting program"), platform::vbOKOnly, MessageTitle);
}

void MDIMain::mnuCorvanePrint_Click()
{
    ShellExecuteFile(platform::ProgramFile(QStringLiteral("/Prentil.exe")), platform::SW_SHOWNORMAL, {},
                     QString(), QStringLiteral("open"), this);
    if (ShellError.Number != 0)
        platform::MsgBox(QStringLiteral("Failed to open Prentil application"), platform::vbInformation,
                         MessageTitle);
}

void MDIMain::mnuExit_Click()
{
    if (AnyDocumentsOpen()) {
        // Each document asks to save; a Cancel keeps that one and the others go on.
        for (const QPointer<DocumentForm>& window : OpenDocumentWindows()) {
            if (window == nullptr)
                continue;
            ShowDocument(window);
            UnloadDocument(*window);
        }
        return;
    }
    close();
}

void MDIMain::mnuRecentFile_Click(int index)
{
    platform::SetWaitCursor(true);
    try {
        const QString path = RecentFilePath(index);
        if (!path.isEmpty() && OpenFileInWindow(path, false)) {
            platform::DoEvents();
            RefreshRecentFileMenus();
            SetButtons(true);
        }
        platform::SetWaitCursor(false);
    } catch (...) {
        platform::SetWaitCursor(false);
        platform::MsgBox(QStringLiteral("Error loading file."), platform::vbCritical, MessageTitle);
    }
}

// ---------------------------------------------------------------- Options and Help menus

void MDIMain::mnuEditProp_Click()
{
    if (ShowEditPropHook)
        ShowEditPropHook();
}

void MDIMain::mnuHTopics_Click()
{
    ShowHelpTopics();
}

void MDIMain::mnuAbout_Click()
{
    try {
        const std::unique_ptr<QObject> about =
            CreateCompanionObject(QStringLiteral("KroOlvent.clsAbout"), QStringLiteral("KroOlvent.so"));
        platform::CallByName(about.get(), QStringLiteral("ShowAbout"), platform::VbMethod);
    } catch (...) {
        platform::MsgBox(QStringLiteral("Error loading About Window! "), platform::vbCritical, MessageTitle);
    }
}

void MDIMain::mnuShowTip_Click()
{
    frmTip tip(this);
    platform::ShowModal(tip);
}

// ---------------------------------------------------------------- dropped files

QStringList MDIMain::DroppedFiles(const QMimeData* data)
{
    QStringList files;
    if (data == nullptr || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    return files;
}

void MDIMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        QMainWindow::dragEnterEvent(event);
}

void MDIMain::dragMoveEvent(QDragMoveEvent* event)
{
    if (!DroppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        QMainWindow::dragMoveEvent(event);
}

void MDIMain::dropEvent(QDropEvent* event)
{
    const QStringList files = DroppedFiles(event->mimeData());
    if (files.isEmpty()) {
        QMainWindow::dropEvent(event);
        return;
    }
    event->acceptProposedAction();
    DropFiles(files);
}

void MDIMain::DropFiles(const QStringList& files)
{
    // The last dropped file first. A file that fails has shown its message
    // and does not keep the others out.
    for (qsizetype i = files.size() - 1; i >= 0; --i) {
        try {
            if (OpenFileInWindow(files[i], false)) {
                UpdateRecentFiles(files[i]);
                RefreshRecentFileMenus();
            }
        } catch (...) {
        }
    }
    if (files.size() > 1)
        Arrange(vbTileVertical);
    SetButtons(AnyDocumentsOpen());
}

// ---------------------------------------------------------------- arranging the documents

void MDIMain::Arrange(int arrangement)
{
    QList<QMdiSubWindow*> windows;
    QList<QMdiSubWindow*> minimised;
    for (QMdiSubWindow* sub : mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (!sub->isVisible())
            continue;
        (sub->isMinimized() ? minimised : windows).append(sub);
    }
    const QRect area = mdiArea->viewport()->rect();
    switch (arrangement) {
    case vbCascade: {
        // Each window where a new one is placed, one step on from the one
        // below it, so that the active window (on top) stays on top and
        // each shows a good part of its program; the toolkit's own cascade
        // shrinks them to their size hint, a title bar and little else.
        QList<QMdiSubWindow*> stacked;
        for (QMdiSubWindow* sub : mdiArea->subWindowList(QMdiArea::StackingOrder))
            if (windows.contains(sub))
                stacked.append(sub);
        const int iconRow = minimised.isEmpty() ? 0 : minimised.first()->minimumSizeHint().height();
        const QSize room(area.width(), std::max(1, area.height() - iconRow));
        int place = 0;
        for (QMdiSubWindow* sub : std::as_const(stacked)) {
            if (sub->isMaximized())
                sub->showNormal();
            const int step = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
            sub->setGeometry(CascadeRect(room, place++, step));
        }
        // The next new window steps on from the last one placed here.
        placedCount_ = place;
        return;
    }
    case vbTileHorizontal:
    case vbTileVertical: {
        if (windows.isEmpty())
            return;
        // Room at the bottom for the minimised windows' row.
        const int iconRow = minimised.isEmpty() ? 0 : minimised.first()->minimumSizeHint().height();
        const int height = std::max(1, area.height() - iconRow);
        const auto count = static_cast<int>(windows.size());
        for (int i = 0; i < count; ++i) {
            QMdiSubWindow* sub = windows[i];
            if (sub->isMaximized())
                sub->showNormal();
            if (arrangement == vbTileHorizontal) {
                // One above the other, each the full width.
                const int top = height * i / count;
                sub->setGeometry(0, top, area.width(), height * (i + 1) / count - top);
            } else {
                // Side by side, each the full height.
                const int left = area.width() * i / count;
                sub->setGeometry(left, 0, area.width() * (i + 1) / count - left, height);
            }
        }
        return;
    }
    case vbArrangeIcons: {
        int left = 0;
        for (QMdiSubWindow* sub : minimised) {
            const QSize size = sub->size();
            sub->move(left, area.height() - size.height());
            left += size.width();
        }
        return;
    }
    default:
        return;
    }
}

// ---------------------------------------------------------------- the active document

void MDIMain::SubWindowActivated(QMdiSubWindow* sub)
{
    DocumentForm* form = sub != nullptr ? qobject_cast<DocumentForm*>(sub->widget()) : nullptr;
    ShowMenusOf(form);
    if (form == nullptr)
        return;
    form->Form_Activate();
    UpdateStatusBar();
}

void MDIMain::ShowMenusOf(DocumentForm* form)
{
    // While a document window is active its menus take the menu bar, as an
    // MDI child's menus do; with none, the main window's own come back.
    const QList<QMenu*> menus = form != nullptr ? form->MenuBarMenus() : QList<QMenu*>();
    const QList<QMenu*> wanted =
        menus.isEmpty() ? QList<QMenu*>{mnuFileMain, mnuOptionMain, mnuHelpMain} : menus;
    QList<QMenu*> shown;
    for (QAction* action : menuBar()->actions())
        shown.append(action->menu());
    if (shown == wanted)
        return;
    menuBar()->clear();
    for (QMenu* menu : wanted)
        menuBar()->addMenu(menu);
}

// ---------------------------------------------------------------- shutdown

void MDIMain::closeEvent(QCloseEvent* event)
{
    bool cancel = false;
    MDIForm_QueryUnload(cancel, vbFormControlMenu);
    if (cancel) {
        event->ignore();
        return;
    }
    MDIForm_Unload(cancel);
    event->accept();
    CloseCompanionWindows(this);
}

void MDIMain::MDIForm_QueryUnload(bool& cancel, int)
{
    // A compare program asks about its own changes first; staying open, it keeps the editor open.
    if (!CloseComparePrograms()) {
        cancel = true;
        return;
    }
    // Nothing is taken down before every document has agreed to go.
    for (const QPointer<DocumentForm>& window : OpenDocumentWindows()) {
        if (window == nullptr)
            continue;
        ShowDocument(window);
        const bool mayClose = window->QueryUnload(vbFormMDIForm);
        // What the question left in DialogCancelled is read here.
        DialogCancelled = false;
        if (!mayClose) {
            cancel = true;
            return;
        }
    }
}

void MDIMain::MDIForm_Unload(bool&)
{
    // Every document has agreed: they go without being asked again.
    for (const QPointer<DocumentForm>& window : OpenDocumentWindows())
        if (window != nullptr)
            UnloadDocument(*window, vbFormMDIForm, false);
    SaveIniSettings();
}
