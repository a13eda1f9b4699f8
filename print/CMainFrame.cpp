#include "print/CMainFrame.h"

#include "print/CTxtPrintApp.h"
#include "print/CTxtPrintView.h"
#include "print/FilesPage.h"
#include "print/PrintProfile.h"
#include "print/PrintStrings.h"
#include "platform/forms/Screen.h"
#include "platform/forms/ToolbarFace.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QSessionManager>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>
#include <QWindow>
#include <algorithm>

namespace prentil {

namespace {
const QString Placement = QStringLiteral("Window placement");
}

QRect FitOnScreen(QRect rect, QWidget& window)
{
    // The frame's size is known once the platform window exists.
    QWidget* top = window.window();
    if (top->windowHandle() == nullptr)
        (void)top->winId();
    QMargins frame;
    if (const QWindow* handle = top->windowHandle())
        frame = handle->frameMargins();
    const QRect room = platform::AvailableScreenGeometry(&window).marginsRemoved(frame);
    rect.setSize(rect.size().boundedTo(room.size()));
    rect.moveLeft(std::clamp(rect.left(), room.left(), room.left() + room.width() - rect.width()));
    rect.moveTop(std::clamp(rect.top(), room.top(), room.top() + room.height() - rect.height()));
    return rect;
}

CMainFrame::CMainFrame(CTxtPrintApp& app, QWidget* parent) : QMainWindow(parent), app_(app)
{
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(AppName);
    setAcceptDrops(true);
    view_ = new CTxtPrintView(app, this);
    setCentralWidget(view_);
    BuildMenus();
    // The status bar is there for the tips of commands; shown only in preview.
    statusBar()->hide();
    resize(QSize(640, 480).expandedTo(minimumSizeHint()));
    setGeometry(FitOnScreen(geometry(), *this));
    // A session that ends keeps the placement as a close does.
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this] { SavePlacement(); });
}

QAction* CMainFrame::MakeAction(int id, const QString& text, const QString& status, const QString& tip,
                                const QKeySequence& key)
{
    auto* action = new QAction(text, this);
    action->setData(id);
    action->setStatusTip(status);
    action->setToolTip(tip);
    if (!key.isEmpty())
        action->setShortcut(key);
    actions_.insert(id, action);
    return action;
}

void CMainFrame::BuildMenus()
{
    QAction* add = MakeAction(ID_FILE_ADD, QStringLiteral("&Add file(s) to be printed..."),
                              QStringLiteral("Add files to print"), QStringLiteral("Add files"),
                              QKeySequence(Qt::CTRL | Qt::Key_O));
    QAction* remove = MakeAction(ID_FILE_REMOVE, QStringLiteral("&Remove selected file(s)"),
                                 QStringLiteral("Remove selected files"), QStringLiteral("Remove files"),
                                 QKeySequence(Qt::Key_Delete));
    QAction* print = MakeAction(ID_FILE_PRINT, QStringLiteral("&Print..."), QStringLiteral("Print all files"),
                                QStringLiteral("Print"), QKeySequence(Qt::CTRL | Qt::Key_P));
    QAction* printSelected = MakeAction(ID_FILE_PRINT_SELECTED, QStringLiteral("Print selected file(s)..."),
                                        QStringLiteral("Print selected files"), QStringLiteral("Print selected"));
    QAction* setup = MakeAction(ID_FILE_PRINT_SETUP, QStringLiteral("Print Setup..."),
                                QStringLiteral("Change the printer and printing options"),
                                QStringLiteral("Print Setup"));
    QAction* preview = MakeAction(ID_FILE_PRINT_PREVIEW, QStringLiteral("Print Pre&view..."),
                                  QStringLiteral("Display full pages"), QStringLiteral("Print Preview"),
                                  QKeySequence(Qt::CTRL | Qt::Key_W));
    QAction* previewSelected =
        MakeAction(ID_FILE_PREVIEW_SELECTED, QStringLiteral("Print Preview selected file(s)..."),
                   QStringLiteral("Print preview selected files"), QStringLiteral("Print preview selected"));
    QAction* exitAction = MakeAction(ID_APP_EXIT, QStringLiteral("E&xit"), QStringLiteral("Quit the application"),
                                     QStringLiteral("Exit"));
    QAction* save = MakeAction(ID_EDIT_SAVE_SETTINGS, QStringLiteral("&Save settings"),
                               QStringLiteral("Save all settings to the windows registry"),
                               QStringLiteral("Save settings"));
    QAction* restore = MakeAction(ID_EDIT_RESTORE_SETTINGS, QStringLiteral("&Restore original settings"),
                                  QStringLiteral("Restore settings from the windows registry"),
                                  QStringLiteral("Restore settings"));
    QAction* toolbarAction = MakeAction(ID_VIEW_TOOLBAR, QStringLiteral("&Toolbar"),
                                        QStringLiteral("Show or hide the toolbar"), QStringLiteral("Toggle ToolBar"));
    QAction* warnings = MakeAction(ID_VIEW_WARNINGS, QStringLiteral("&Warnings"),
                                   QStringLiteral("Toggle warning messages"), QStringLiteral("Toggle warnings"));
    QAction* helpTopics = MakeAction(ID_HELP_FINDER, QStringLiteral("&Help Topics"), QStringLiteral("List Help topics"),
                                     QStringLiteral("Help Topics"));
    QAction* about = MakeAction(ID_APP_ABOUT, QStringLiteral("&About Prentil..."),
                                QStringLiteral("Display program information, version number and copyright"),
                                QStringLiteral("About"));
    QAction* printDirect = MakeAction(ID_FILE_PRINT_DIRECT, QStringLiteral("Print all"),
                                      QStringLiteral("Print all files"), QStringLiteral("Print all"));
    QAction* help = MakeAction(ID_HELP, QStringLiteral("Help"), QStringLiteral("Display help for current task or command"),
                               QStringLiteral("Help"), QKeySequence(Qt::Key_F1));
    QAction* contextHelp = MakeAction(ID_CONTEXT_HELP, QStringLiteral("Help"),
                                      QStringLiteral("Display help for clicked on buttons, menus and windows"),
                                      QStringLiteral("Help"), QKeySequence(Qt::SHIFT | Qt::Key_F1));
    addAction(help);

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addActions({add, remove});
    file->addSeparator();
    file->addActions({print, printSelected, setup});
    file->addSeparator();
    file->addActions({preview, previewSelected});
    file->addSeparator();
    file->addAction(exitAction);
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->addActions({save, restore});
    QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    viewMenu->addActions({toolbarAction, warnings});
    QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    helpMenu->addAction(helpTopics);
    helpMenu->addSeparator();
    helpMenu->addAction(about);

    QToolBar* toolbar = addToolBar(QStringLiteral("Toolbar"));
    toolbar->setObjectName(QStringLiteral("Toolbar"));
    toolbar->setMovable(false);
    QStyle* s = style();
    exitAction->setIcon(s->standardIcon(QStyle::SP_DialogCloseButton));
    add->setIcon(s->standardIcon(QStyle::SP_DialogOpenButton));
    remove->setIcon(s->standardIcon(QStyle::SP_TrashIcon));
    printDirect->setIcon(s->standardIcon(QStyle::SP_DialogSaveButton));
    preview->setIcon(s->standardIcon(QStyle::SP_FileDialogContentsView));
    contextHelp->setIcon(s->standardIcon(QStyle::SP_DialogHelpButton));
    toolbar->addActions({exitAction, add, remove});
    toolbar->addSeparator();
    toolbar->addActions({printDirect, preview});
    toolbar->addSeparator();
    toolbar->addAction(contextHelp);
    // The style's images are drawn for a light face: on a dark desktop the toolbar keeps one.
    platform::KeepToolbarIconsVisible(*toolbar);

    toolbarAction->setCheckable(true);
    toolbarAction->setChecked(true);
    connect(toolbarAction, &QAction::toggled, toolbar, &QToolBar::setVisible);
    warnings->setCheckable(true);
    connect(viewMenu, &QMenu::aboutToShow, this,
            [this, warnings] { warnings->setChecked(app_.Document().ViewWarnings() != 0); });
    warnings->setChecked(app_.Document().ViewWarnings() != 0);

    connect(add, &QAction::triggered, this, &CMainFrame::OnFileAdd);
    connect(remove, &QAction::triggered, this, &CMainFrame::OnFileRemove);
    connect(print, &QAction::triggered, this, &CMainFrame::OnFilePrint);
    connect(printSelected, &QAction::triggered, this, &CMainFrame::OnFilePrintSelected);
    connect(setup, &QAction::triggered, this, &CMainFrame::OnFilePrintSetup);
    connect(preview, &QAction::triggered, this, &CMainFrame::OnFilePrintPreview);
    connect(previewSelected, &QAction::triggered, this, &CMainFrame::OnFilePreviewSelected);
    connect(printDirect, &QAction::triggered, this, &CMainFrame::OnFilePrintDirect);
    connect(exitAction, &QAction::triggered, this, &CMainFrame::close);
    connect(save, &QAction::triggered, this, &CMainFrame::OnSaveSettings);
    connect(restore, &QAction::triggered, this, &CMainFrame::OnRestoreSettings);
    connect(warnings, &QAction::triggered, this, &CMainFrame::OnToggleWarnings);
    connect(helpTopics, &QAction::triggered, this, &CMainFrame::OnHelp);
    connect(help, &QAction::triggered, this, &CMainFrame::OnHelp);
    connect(contextHelp, &QAction::triggered, this, &CMainFrame::OnHelp);
    connect(about, &QAction::triggered, this, &CMainFrame::OnAbout);
}

void CMainFrame::RestorePlacement()
{
    int values[6];
    const char* names[6] = {"normal.flags", "normal.showCmd", "normal.left", "normal.top", "normal.right",
                            "normal.bottom"};
    for (int i = 0; i < 6; ++i) {
        values[i] = GetProfileInt(Placement, QString::fromLatin1(names[i]), -1);
        if (values[i] == -1)
            return;
    }
    // A placement kept on a larger screen opens whole on this one.
    const QRect rect(QPoint(values[2], values[3]), QPoint(values[4] - 1, values[5] - 1));
    if (rect.width() > 0 && rect.height() > 0)
        setGeometry(FitOnScreen(rect, *this));
    if (values[1] == 3)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void CMainFrame::SavePlacement() const
{
    const QRect rect = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    WriteProfileInt(Placement, QStringLiteral("normal.flags"), 0);
    WriteProfileInt(Placement, QStringLiteral("normal.showCmd"), isMaximized() ? 3 : 1);
    WriteProfileInt(Placement, QStringLiteral("normal.left"), rect.left());
    WriteProfileInt(Placement, QStringLiteral("normal.top"), rect.top());
    WriteProfileInt(Placement, QStringLiteral("normal.right"), rect.left() + rect.width());
    WriteProfileInt(Placement, QStringLiteral("normal.bottom"), rect.top() + rect.height());
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    SavePlacement();
    QMainWindow::closeEvent(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    if (paths.isEmpty())
        return;
    view_->Files()->AddFilesToList(paths);
    event->acceptProposedAction();
}

}  // namespace prentil
