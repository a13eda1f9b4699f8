// The document window's Search menu: find, replace and repeat through the
// editing control, the NC word searches that bookmark every line holding a
// word, go to line, the jumps to the top and bottom, and the block search.

#include "document/frmNotePad.h"

#include "document/frmBlockSearch.h"
#include "document/MenuItems.h"
#include "platform/codemax/CodeMax.h"
#include "platform/forms/ShowModal.h"
#include "platform/forms/WaitCursor.h"
#include "shell/MDIMain.h"
#include "shell/MEditCommands.h"
#include "shell/MEditor.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

namespace Cmd = platform::CodeMaxCmd;

namespace {

// Runs a control command on the active document; with none open there is nothing to do.
void RunOnActive(int command)
{
    try {
        ActiveText1().ExecuteCmd(command);
    } catch (...) {
    }
}

}  // namespace

void frmNotePad::BuildSearchMenu()
{
    mnuSFind = AddMenuItem(mnuSearch, "mnuSFind", QStringLiteral("&Find..."));
    mnuSearchReplace = AddMenuItem(mnuSearch, "mnuSearchReplace", QStringLiteral("Find and &Replace..."));
    mnuSFindNext = AddMenuItem(mnuSearch, "mnuSFindNext", QStringLiteral("Re&peat"));
    mnuSearch->addSeparator();
    mnuNextToolChange = AddMenuItem(mnuSearch, "mnuNextToolChange", QStringLiteral("&Next Tool Change"));
    mnuPrevToolchange = AddMenuItem(mnuSearch, "mnuPrevToolchange", QStringLiteral("&Previous Tool Change"));
    mnuBlockSearch = AddMenuItem(mnuSearch, "mnuBlockSearch", QStringLiteral("Block &Hightlight Search"));
    QMenu* codes = mnuSearch->addMenu(QStringLiteral("&Codes"));
    codes->setObjectName(QStringLiteral("mnuCodes"));
    mnuGCodes = AddMenuItem(codes, "mnuGCodes", QStringLiteral("All &G Codes"));
    mnuMCodes = AddMenuItem(codes, "mnuMCodes", QStringLiteral("All &M Codes"));
    QMenu* feeds = mnuSearch->addMenu(QStringLiteral("&Feeds and Speeds"));
    feeds->setObjectName(QStringLiteral("mnuFeedsSpeeds"));
    mnuFeeds = AddMenuItem(feeds, "mnuFeeds", QStringLiteral("&Feed Rate Change"));
    mnuSpindle = AddMenuItem(feeds, "mnuSpindle", QStringLiteral("&Spindle Speed Change"));
    mnuToolChange = AddMenuItem(feeds, "mnuToolChange", QStringLiteral("&Tool Change"));
    mnuSearch->addSeparator();
    mnuSGoto = AddMenuItem(mnuSearch, "mnuSGoto", QStringLiteral("&Goto Line..."));
    QMenu* jump = mnuSearch->addMenu(QStringLiteral("&Jump to"));
    jump->setObjectName(QStringLiteral("mnuJump"));
    mnuJumpTop = AddMenuItem(jump, "mnuJumpTop", QStringLiteral("&Top of File"));
    mnuJumpBottom = AddMenuItem(jump, "mnuJumpBottom", QStringLiteral("&Bottom of File"));
    mnuSearch->addSeparator();
    mnuWhiteSpace = AddMenuItem(mnuSearch, "mnuWhiteSpace", QStringLiteral("&Display Spaces"));
    mnuWhiteSpace->setCheckable(true);

    const std::pair<QAction*, void (frmNotePad::*)()> items[] = {
        {mnuSFind, &frmNotePad::mnuSFind_Click},
        {mnuSearchReplace, &frmNotePad::mnuSearchReplace_Click},
        {mnuSFindNext, &frmNotePad::mnuSFindNext_Click},
        {mnuBlockSearch, &frmNotePad::mnuBlockSearch_Click},
        {mnuGCodes, &frmNotePad::mnuGCodes_Click},
        {mnuMCodes, &frmNotePad::mnuMCodes_Click},
        {mnuFeeds, &frmNotePad::mnuFeeds_Click},
        {mnuSpindle, &frmNotePad::mnuSpindle_Click},
        {mnuToolChange, &frmNotePad::mnuToolChange_Click},
        {mnuSGoto, &frmNotePad::mnuSGoto_Click},
        {mnuJumpTop, &frmNotePad::mnuJumpTop_Click},
        {mnuJumpBottom, &frmNotePad::mnuJumpBottom_Click},
        {mnuWhiteSpace, &frmNotePad::mnuWhiteSpace_Click},
    };
    for (const auto& [item, handler] : items)
        connect(item, &QAction::triggered, this, [this, handler = handler] { (this->*handler)(); });
    connect(cmdGoto, &QPushButton::clicked, this, [this] { mnuSGoto_Click(); });
}

void frmNotePad::mnuSFind_Click() { RunOnActive(Cmd::Find); }
void frmNotePad::mnuSearchReplace_Click() { RunOnActive(Cmd::FindReplace); }
void frmNotePad::mnuSFindNext_Click() { RunOnActive(Cmd::FindNext); }
void frmNotePad::mnuJumpTop_Click() { RunOnActive(Cmd::DocumentStart); }
void frmNotePad::mnuJumpBottom_Click() { RunOnActive(Cmd::DocumentEnd); }

void frmNotePad::mnuGCodes_Click() { NcWordSearch(QStringLiteral("G0")); }
void frmNotePad::mnuMCodes_Click() { NcWordSearch(QStringLiteral("M")); }
void frmNotePad::mnuFeeds_Click() { NcWordSearch(QStringLiteral("F")); }
void frmNotePad::mnuSpindle_Click() { NcWordSearch(QStringLiteral("S")); }
void frmNotePad::mnuToolChange_Click() { NcWordSearch(QStringLiteral("T")); }

void frmNotePad::NcWordSearch(const QString& word)
{
    try {
        platform::CodeMax& text = ActiveText1();
        text.ExecuteCmd(Cmd::BookmarkClearAll);
        // Kept afterwards: Repeat goes on to the next line holding the word.
        text.SetFindText(word);
        text.ExecuteCmd(Cmd::FindMarkAll);
        text.SetDisplayLeftMargin(true);
    } catch (...) {
    }
}

void frmNotePad::mnuSGoto_Click()
{
    try {
        platform::CodeMax& text = ActiveText1();
        CurrentRange = text.GetSel(false);
        text.ExecuteCmd(Cmd::GotoLine, -1);
        HighlightCaretLine(text);
        text.SetFocus();
    } catch (...) {
    }
}

void frmNotePad::mnuBlockSearch_Click()
{
    try {
        int lineCount = 0;
        try {
            lineCount = ActiveText1().LineCount();
        } catch (...) {
            return;  // no document to search
        }
        {
            frmBlockSearch dialog(lineCount, MDIMain::Instance());
            platform::ShowModal(dialog);
        }
        platform::DoEvents();
        auto* window = qobject_cast<frmNotePad*>(ActiveDocumentForm());
        if (window == nullptr)
            return;
        platform::CodeMax& text = *window->Text1();
        text.SetSelBounds(true);
        // The keyboard goes back to the document, whichever window the
        // dialog's going left active.
        text.window()->activateWindow();
        text.SetFocus();
        if (DialogCancelled) {
            DialogCancelled = false;
            return;
        }
        const int last = text.LineCount() - 1;
        platform::CodeMaxRange range{window->BlockLine1 - 1, 0, window->BlockLine2, 0};
        // Through the last line: the selection runs to the end of the text.
        if (range.endLine > last) {
            range.endLine = last;
            range.endCol = text.GetLineLength(last);
        }
        window->CurrentRange = range;
        text.SetSel(range, true);
    } catch (...) {
    }
}
