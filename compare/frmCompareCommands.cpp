// Brevlin's commands: opening, comparing, saving, bookmarks, going to a
// line, the Edit and Help menus.

#include "compare/frmCompare.h"

#include "companions/olvent/frmAbout.h"
#include "compare/LineCompare.h"
#include "compare/MCompare.h"
#include "platform/codemax/CodeMax.h"
#include "platform/codemax/CodeMaxCommands.h"
#include "platform/desktop/HelpWindow.h"
#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ProgramFolder.h"
#include "platform/forms/ShowModal.h"
#include "platform/forms/WaitCursor.h"
#include "shell/basFileDialogs.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QTimer>

namespace {

const QString FileFilter = QStringLiteral("All Files (*.*)|*.*");
const QString CompareTitle = QStringLiteral("File Compare");
const QString WindowTitle = QStringLiteral("Talvex Compare");

// Gives the focus back where it was when a dialog of ours has closed.
class KeepFocus {
public:
    explicit KeepFocus(QWidget* window) : widget_(window->focusWidget()) {}
    ~KeepFocus()
    {
        if (widget_ && widget_->isVisible()) {
            widget_->window()->activateWindow();
            widget_->setFocus(Qt::OtherFocusReason);
        }
    }
    KeepFocus(const KeepFocus&) = delete;
    KeepFocus& operator=(const KeepFocus&) = delete;

private:
    QPointer<QWidget> widget_;
};

QString Reason(const std::exception& failure)
{
    if (const auto* error = dynamic_cast<const platform::Error*>(&failure))
        return error->description();
    return QString::fromLocal8Bit(failure.what());
}

}  // namespace

void frmCompare::TBCompare_ButtonClick(const QString& key)
{
    using namespace platform::CodeMaxCmd;
    if (running_ && key != u"Stop" && key != u"Exit")
        return;
    if (key == u"Exit") {
        close();
    } else if (key == u"Open") {
        OpenFiles();
    } else if (key == u"Compare") {
        CompareCommand();
    } else if (key == u"Save") {
        if (BothHoldText())
            SaveCommand();
    } else if (key == u"Bookmark") {
        ToggleMargins();
    } else if (key == u"NextBookmark" || key == u"PrevBookmark") {
        if (!BothHoldText())
            return;
        for (platform::CodeMax* pane : Editor)
            pane->ExecuteCmd(key == u"NextBookmark" ? BookmarkNext : BookmarkPrev);
        HighLightLine();
    } else if (key == u"ClearBookmarks") {
        for (platform::CodeMax* pane : Editor) {
            pane->ExecuteCmd(BookmarkClearAll);
            pane->SetHighlightedLine(-1);
        }
        ToggleMargins();
    } else if (key == u"FileTop" || key == u"FileBottom") {
        for (platform::CodeMax* pane : Editor)
            pane->ExecuteCmd(key == u"FileTop" ? DocumentStart : DocumentEnd);
    } else if (key == u"Stop") {
        if (running_)
            stopRequested_ = true;
    }
}

void frmCompare::ToggleMargins()
{
    for (platform::CodeMax* pane : Editor)
        pane->SetDisplayLeftMargin(!pane->DisplayLeftMargin());
}

void frmCompare::OpenFiles()
{
    const KeepFocus focus(this);
    for (int n = 1; n <= 2; ++n) {
        const QString path = ShowFileDialog(this, QStringLiteral("Open File #%1").arg(n), FileFilter, 1, QString(),
                                            CompareDefaultDir, QString(), 0);
        if (path.isEmpty())
            return;  // a file opened before stays
        platform::CodeMax* pane = Editor[n - 1];
        try {
            pane->OpenFile(path);
        } catch (const std::exception& failure) {
            platform::MsgBox(Reason(failure), platform::vbCritical, WindowTitle);
            return;
        }
        lblEditor[n - 1]->setText(QStringLiteral(" File #%1 ").arg(n) + path);
        RefreshLineLabel(n - 1);
        for (platform::CodeMax* each : Editor)
            each->ExecuteCmd(platform::CodeMaxCmd::DocumentStart);
        platform::DoEventsHoldingInput();
    }
    ApplyPaneLook();
    SetButtons(true);
}

void frmCompare::CompareCommand()
{
    if (!BothHoldText())
        return;
    const std::string text1 = Editor[0]->DocumentBytes();
    const std::string text2 = Editor[1]->DocumentBytes();
    if (compare::CountLines(text1) != compare::CountLines(text2)) {
        const int answer = platform::MsgBox(QStringLiteral("Files are not identical in size") + QStringLiteral("\r\n")
                                                + QStringLiteral("Continue?"),
                                            platform::vbOKCancel | platform::vbQuestion, CompareTitle);
        if (answer == platform::vbCancel)
            return;
    }
    for (platform::CodeMax* pane : Editor)
        pane->SetDisplayLeftMargin(true);
    const CompareOutcome outcome = CompareFiles(text1, text2);
    if (outcome == CompareOutcome::Identical || outcome == CompareOutcome::Different) {
        for (platform::CodeMax* pane : Editor)
            pane->ExecuteCmd(platform::CodeMaxCmd::BookmarkNext);
        HighLightLine();
    }
    if (closeAfterStop_) {
        closeAfterStop_ = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

frmCompare::CompareOutcome frmCompare::CompareFiles(const std::string& text1, const std::string& text2)
{
    // A Stop given before this compare is no Stop of it.
    stopRequested_ = false;
    SetRunning(true);
    platform::SetWaitCursor(true);
    CompareOutcome outcome = CompareOutcome::Identical;
    QString failure;
    try {
        for (platform::CodeMax* pane : Editor)
            pane->ExecuteCmd(platform::CodeMaxCmd::BookmarkClearAll);
        compare::LineCompare run(text1, text2);
        std::vector<compare::LineDifference> found;
        QElapsedTimer sinceEvents;
        sinceEvents.start();
        bool done = false;
        while (!done) {
            found.clear();
            done = run.Step(LinesPerStep, found);
            for (const compare::LineDifference& d : found) {
                // A mark only where the pane has that line.
                if (d.inText1)
                    Editor[0]->SetBookmark(int(d.line - 1), true);
                if (d.inText2)
                    Editor[1]->SetBookmark(int(d.line - 1), true);
            }
            if (!found.empty())
                outcome = CompareOutcome::Different;
            if (sinceEvents.elapsed() >= EventIntervalMs) {
                platform::DoEvents();
                sinceEvents.restart();
            }
            if (stopRequested_) {
                outcome = CompareOutcome::Stopped;
                break;
            }
        }
        if (outcome != CompareOutcome::Stopped)
            for (platform::CodeMax* pane : Editor)
                pane->ExecuteCmd(platform::CodeMaxCmd::DocumentStart);
    } catch (const std::exception& error) {
        outcome = CompareOutcome::Failed;
        failure = Reason(error);
    } catch (...) {
        outcome = CompareOutcome::Failed;
        failure = QStringLiteral("an unexpected error");
    }
    stopRequested_ = false;
    platform::SetWaitCursor(false);
    SetRunning(false);
    switch (outcome) {
    case CompareOutcome::Identical:
        platform::MsgBox(QStringLiteral("Files are identical!."), platform::vbInformation, CompareTitle);
        break;
    case CompareOutcome::Different:
        platform::MsgBox(QStringLiteral("Files are not identical!."), platform::vbInformation, CompareTitle);
        break;
    case CompareOutcome::Failed:
        platform::MsgBox(QStringLiteral("Compare failed: ") + failure, platform::vbCritical, CompareTitle);
        break;
    case CompareOutcome::Stopped:
        break;
    }
    return outcome;
}

bool frmCompare::SaveCommand()
{
    const KeepFocus focus(this);
    const QString path = ShowFileDialog(this, QStringLiteral("Save File As"), FileFilter, 1, QString(),
                                        CompareDefaultDir, QString(), SaveFileDialog);
    if (path.isEmpty())
        return false;
    try {
        // Pane 2 in the encoding and line breaks it was read with.
        Editor[1]->SaveFile(path, true);
    } catch (const std::exception& failure) {
        platform::MsgBox(QStringLiteral("The file was not saved: ") + Reason(failure), platform::vbCritical,
                         WindowTitle);
        return false;
    }
    lblEditor[1]->setText(QStringLiteral(" File #2 ") + path);
    lastSavedPath_ = path;
    changed_ = false;
    return true;
}

void frmCompare::HighLightLine()
{
    const int line = Editor[0]->GetSel(true).endLine;
    for (platform::CodeMax* pane : Editor)
        pane->SetHighlightedLine(line);
}

void frmCompare::mnuGotoLine_Click()
{
    Editor[0]->ExecuteCmd(platform::CodeMaxCmd::GotoLine, -1);
    const int line = Editor[0]->GetSel(true).endLine;
    Editor[0]->SetHighlightedLine(line);
    Editor[1]->ExecuteCmd(platform::CodeMaxCmd::GotoLine, line);
    Editor[1]->SetHighlightedLine(line);
}

void frmCompare::mnuUndo_Click()
{
    if (Editor[activePane_]->CanUndo())
        Editor[activePane_]->Undo();
}

void frmCompare::mnuRedo_Click()
{
    if (Editor[1]->CanRedo())
        Editor[1]->Redo();
}

void frmCompare::mnuCut_Click()
{
    if (Editor[1]->CanCut())
        Editor[1]->Cut();
}

void frmCompare::mnuCopy_Click()
{
    if (Editor[activePane_]->CanCopy())
        Editor[activePane_]->Copy();
}

void frmCompare::mnuPaste_Click()
{
    Editor[1]->Paste();
}

void frmCompare::mnuHelpTopics_Click()
{
    // The suite's help, at its section on comparing.
    platform::ShowHelpFile(platform::ProgramFile(CompareHelpFile), QStringLiteral("Talvex Editor Help Topics"),
                           WindowTitle, this, CompareHelpAnchor);
}

void frmCompare::mnuAbout_Click()
{
    const KeepFocus focus(this);
    frmAbout about(false, this);
    platform::ShowModal(about);
}
