// The document window's View, Window and Options menus and Utilities >
// Highlight Line: split panes, line numbers, spaces, the highlighted line,
// the arrangement of the document windows, the status bar and the settings
// dialog. Check marks are read from the active document when a menu opens,
// so they never describe another window's control.

#include "document/frmNotePad.h"
#include "document/MenuItems.h"

#include "platform/codemax/CodeMax.h"
#include "shell/DocumentTable.h"
#include "shell/MDIMain.h"
#include "shell/MEditCommands.h"
#include "shell/MEditor.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStatusBar>

namespace Cmd = platform::CodeMaxCmd;

namespace {

// The active document's window as the desktop frames it (its MDI frame).
QWidget* FrameOf(DocumentForm& window)
{
    QWidget* frame = window.parentWidget();
    return qobject_cast<QMdiSubWindow*>(frame) != nullptr ? frame : &window;
}

void ArrangeDocuments(int arrangement)
{
    if (MDIMain* main = MDIMain::Instance())
        main->Arrange(arrangement);
}

}  // namespace

void frmNotePad::BuildViewMenus()
{
    mnuHSplit = AddMenuItem(mnuView, "mnuHSplit", QStringLiteral("Split Window &Horizontally"));
    mnuVSplit = AddMenuItem(mnuView, "mnuVSplit", QStringLiteral("Split Window &Vertically"));
    mnuClearSplits = AddMenuItem(mnuView, "mnuClearSplits", QStringLiteral("&Clear All Window Splits"));
    mnuView->addSeparator();
    mnuLineNumbers = AddMenuItem(mnuView, "mnuLineNumbers", QStringLiteral("Margin Line &Numbers"));
    mnuLineNumbers->setCheckable(true);

    mnuUtilities->addSeparator()->setObjectName(QStringLiteral("mnuUBar1"));
    mnuLineHighlight = AddMenuItem(mnuUtilities, "mnuLineHighlight", QStringLiteral("&Highlight Line"));
    mnuLineHighlight->setCheckable(true);

    mnuOptionsMain = new QMenu(QStringLiteral("&Options"), this);
    mnuOptionsMain->setObjectName(QStringLiteral("mnuOptionsMain"));
    const QString captions[] = {QStringLiteral("&Toolbar"), QStringLiteral("&Status Bar"), QString(),
                                QStringLiteral("Talvex Editor &Properties...")};
    for (int i = 0; i < static_cast<int>(mnuOptions.size()); ++i) {
        QAction* item = captions[i].isEmpty() ? mnuOptionsMain->addSeparator()
                                              : mnuOptionsMain->addAction(captions[i]);
        item->setObjectName(QStringLiteral("mnuOptions%1").arg(i));
        // "&Toolbar" does nothing, and the settings item needs the settings dialog: no command.
        if (!item->isSeparator() && i != 0 && (i != 3 || ShowEditPropHook))
            connect(item, &QAction::triggered, this, [this, i] { mnuOptions_Click(i); });
        mnuOptions[static_cast<size_t>(i)] = item;
    }
    mnuOptions[1]->setCheckable(true);

    // The Window menu's arrangement items go before its close items.
    QAction* closeItems = mnuWindow->actions().value(0);
    const auto insert = [&](const char* name, const QString& caption) {
        auto* item = new QAction(caption, mnuWindow);
        item->setObjectName(QLatin1String(name));
        mnuWindow->insertAction(closeItems, item);
        return item;
    };
    mnuNewWindow = insert("mnuNewWindow", QStringLiteral("&New Window"));
    mnuWindow->insertSeparator(closeItems);
    mnuWCascade = insert("mnuWCascade", QStringLiteral("Ca&scade"));
    mnuTileHorz = insert("mnuTileHorz", QStringLiteral("Tile &Horizontally"));
    mnuWindowTileHorizontal = insert("mnuWindowTileHorizontal", QStringLiteral("&Tile Vertically"));
    mnuWArrange = insert("mnuWArrange", QStringLiteral("&Arrange Icons"));
    mnuWindow->insertSeparator(closeItems);

    const std::pair<QAction*, void (frmNotePad::*)()> items[] = {
        {mnuHSplit, &frmNotePad::mnuHSplit_Click},
        {mnuVSplit, &frmNotePad::mnuVSplit_Click},
        {mnuClearSplits, &frmNotePad::mnuClearSplits_Click},
        {mnuLineNumbers, &frmNotePad::mnuLineNumbers_Click},
        {mnuLineHighlight, &frmNotePad::mnuLineHighlight_Click},
        {mnuNewWindow, &frmNotePad::mnuNewWindow_Click},
        {mnuWCascade, &frmNotePad::mnuWCascade_Click},
        {mnuTileHorz, &frmNotePad::mnuTileHorz_Click},
        {mnuWindowTileHorizontal, &frmNotePad::mnuWindowTileHorizontal_Click},
        {mnuWArrange, &frmNotePad::mnuWArrange_Click},
    };
    for (const auto& [item, handler] : items)
        connect(item, &QAction::triggered, this, [this, handler = handler] { (this->*handler)(); });
    for (QMenu* menu : {mnuView, mnuSearch, mnuUtilities, mnuOptionsMain})
        connect(menu, &QMenu::aboutToShow, this, [this] { RefreshCheckMarks(); });
}

void frmNotePad::RefreshCheckMarks()
{
    mnuLineHighlight->setChecked(LineHighlightOn);
    if (const MDIMain* main = MDIMain::Instance())
        mnuOptions[1]->setChecked(!main->statusBar()->isHidden());
    try {
        const platform::CodeMax& text = ActiveText1();
        mnuLineNumbers->setChecked(text.LineNumbering());
        mnuWhiteSpace->setChecked(text.DisplayWhitespace());
    } catch (...) {
    }
}

void frmNotePad::mnuHSplit_Click()
{
    try {
        DocumentForm* active = ActiveDocumentForm();
        if (active == nullptr)
            return;
        platform::CodeMax& text = *active->Text1();
        text.SetEnableVSplitter(true);
        text.SetVSplitterPos(FrameOf(*active)->frameGeometry().height() / 2.0);
    } catch (...) {
    }
}

void frmNotePad::mnuVSplit_Click()
{
    try {
        DocumentForm* active = ActiveDocumentForm();
        if (active == nullptr)
            return;
        platform::CodeMax& text = *active->Text1();
        text.SetEnableHSplitter(true);
        text.SetHSplitterPos(FrameOf(*active)->frameGeometry().width() / 2.0);
    } catch (...) {
    }
}

void frmNotePad::mnuClearSplits_Click()
{
    try {
        platform::CodeMax& text = ActiveText1();
        if (text.EnableHSplitter())
            text.SetEnableHSplitter(false);
        if (text.EnableVSplitter())
            text.SetEnableVSplitter(false);
        text.SetEnableHSplitter(true);
        text.SetEnableVSplitter(true);
    } catch (...) {
    }
}

void frmNotePad::mnuLineNumbers_Click()
{
    try {
        platform::CodeMax& text = ActiveText1();
        text.SetLineNumbering(!text.LineNumbering());
        mnuLineNumbers->setChecked(text.LineNumbering());
    } catch (...) {
    }
}

void frmNotePad::mnuWhiteSpace_Click()
{
    try {
        platform::CodeMax& text = ActiveText1();
        text.SetDisplayWhitespace(!text.DisplayWhitespace());
        mnuWhiteSpace->setChecked(text.DisplayWhitespace());
    } catch (...) {
    }
}

void frmNotePad::mnuLineHighlight_Click()
{
    LineHighlightOn = !LineHighlightOn;
    mnuLineHighlight->setChecked(LineHighlightOn);
    try {
        platform::CodeMax& text = ActiveText1();
        text.ExecuteCmd(Cmd::LineEnd);
        text.ExecuteCmd(Cmd::Home);
        // On an empty line the caret does not move and no selection change
        // follows: the highlight is set here in every case.
        HighlightCaretLine(text);
    } catch (...) {
    }
}

void frmNotePad::mnuOptions_Click(int index)
{
    if (index == 1) {
        MDIMain* main = MDIMain::Instance();
        if (main == nullptr)
            return;
        QStatusBar* bar = main->statusBar();
        bar->setVisible(bar->isHidden());
        mnuOptions[1]->setChecked(!bar->isHidden());
    } else if (index == 3 && ShowEditPropHook) {
        ShowEditPropHook();
    }
}

void frmNotePad::mnuNewWindow_Click() { NewDocument(); }
void frmNotePad::mnuWCascade_Click() { ArrangeDocuments(vbCascade); }
void frmNotePad::mnuTileHorz_Click() { ArrangeDocuments(vbTileHorizontal); }
void frmNotePad::mnuWindowTileHorizontal_Click() { ArrangeDocuments(vbTileVertical); }
void frmNotePad::mnuWArrange_Click() { ArrangeDocuments(vbArrangeIcons); }
