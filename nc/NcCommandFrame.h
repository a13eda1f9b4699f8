#pragma once
// The NC commands of the document window: each binds the active document when it starts and
// changes its program as one edit (one undo step). A text procedure of MControl computes the
// whole new text; the frame around it shows the wait pointer and the "Working..." window, keeps
// the program-wide flags (BulkEditRunning, TextChanged, the slot's Modified), shows the
// command's message when something fails, and puts caret and focus back. While the frame lets
// pending events run it holds user input back, so the document it reads is the one it writes.

#include "nc/NumberingSettings.h"

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
