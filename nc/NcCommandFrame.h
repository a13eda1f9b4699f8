#pragma once
// The NC commands of the document window: each binds the active document when it starts and
// changes its program as one edit (one undo step). A text procedure of MControl computes the
// whole new text; the frame around it shows the wait pointer and the "Working..." window, keeps
// the program-wide flags (BulkEditRunning, TextChanged, the slot's Modified), shows the
// command's message when something fails, and puts caret and focus back. While the frame lets
// pending events run it holds user input back, so the document it reads is the one it writes.

#include "nc/NumberingSettings.h"

#include <QtGlobal>

class QDateTime;
class QLocale;
class QString;

// "&Insert Block Numbers": with a selection the numbering popup asks start and step for this run
// and the selected lines are numbered; otherwise the whole text is numbered, after the popup when
// NumPopup is 1 (its values then stay in force).
void InsertBlockNumbersCommand();
// Numbers the selected lines, whole, with Startnumber and Increment (no restart).
void NumberHighLight();
// "&Remove Block Numbers".
void RemoveBlockNumbersCommand();
// "Remove Leading Number &Zeros": N005 and N0005 become N5, N010 becomes N10.
void RemoveLeadingZerosCommand();
// "Insert &Spaces": nothing for a document of one line; a program error is reported with its line
// and nothing is changed.
void InsertSpacesCommand();
// "Remove Spaces".
void RemoveSpacesCommand();
// "Remove &Blank Lines": nothing for fewer than two lines.
void RemoveBlankLinesCommand();
// "&Incremental G91" and "&Absolute G90": X, Y and Z converted together, nothing for a document of
// one line. The absolute conversion runs only when the program holds "G91"; the document
// window's not-found handling reports when it does not.
void DoIncremental();
void DoAbsolute();

// The switches "/n" and "/rs" on the document the command line opened: the whole-text frames
// without the numbering popup and without marking the slot themselves. A failure is thrown, for
// the command-line processing to report.
void NumberBlocksForCommandLine();
void RemoveSpacesForCommandLine();

// Gives the shell's command-line processing the two switches above; the program calls it
// before it starts.
void InstallNcCommandHooks();

// The editor options as the text procedures read them: skip characters are entries 1 to
// CharNumber of SkipChars.
NumberingSettings CurrentNumberingSettings();

// Insert menu. "&Block Skips", "Co&mments" and "&End of Blocks" (asked for, blanks at its ends
// removed) mark the selected lines, whole, or every line without a selection, as one edit;
// block skips and end of blocks then put the caret on the first line. "&Time/Date" puts the
// stamp in place of the selection, or at the caret.
void InsertBlockSkipsCommand();
void InsertCommentsCommand();
void InsertEndOfBlocksCommand();
void InsertTimeDateCommand();
// "(time date)" in the locale's short forms.
QString TimeDateStamp(const QDateTime& when, const QLocale& locale);

// Edit menu: every "/", every "(" and ")", every "$" removed, as one edit; the caret stays.
void RemoveBlockSkipsCommand();
void RemoveCommentsCommand();
void RemoveEndOfBlocksCommand();

// "&Switch XYZ...": asks the mapping of the axes (kept in the window's three switch values) and
// applies any exchange or rotation of X, Y and Z as one edit; two axes sent to one letter are
// refused with "Must have different axis".
void SwitchXYZCommand(qint16& xSwitchValue, qint16& ySwitchValue, qint16& zSwitchValue);
// "Change &Value...": the dialog makes the change.
void ChangeValueCommand();
// The change of "Change &Value...": every occurrence of find, as typed and case-sensitive,
// becomes change, as one edit. Nothing happens when either is empty.
void ChangeValue(const QString& find, const QString& change);
// "Shift &Address": asks the shifts and, after OK with every box valid, shifts X, Y and Z in one
// pass and one edit. A value that is not one decimal number stops it with a message naming its
// line, and nothing is written.
void ShiftAddressCommand();
// "Syntax &Checker": reports the first faulty line and puts the caret and the highlight on it,
// or reports "No syntax errors found.".
void CheckSyntax();
