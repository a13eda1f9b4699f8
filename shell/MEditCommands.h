#pragma once
// The editing commands on the active document (select all, cut, copy, paste,
// delete, undo, redo, insert/overwrite), each with its guard and its message
// when nothing can be done, and the refresh of the main window's status line.
// Menus, toolbar buttons and the plug-in host call these rather than the
// editing control.

#include "platform/codemax/CodeMaxRange.h"

namespace platform {
class CodeMax;
}

// The last selection the status-line refresh took (the command line reuses it).
inline platform::CodeMaxRange SelRange;

// Selects the whole text; an error says "Select all error occured.".
void EditSelectAll();
// Copies the selection; with none, says so.
void EditCopy();
// Cuts the selection; with none, says so and gives the focus back to the text.
void EditCut();
// Deletes the selection. Errors reach the caller.
void EditDelete();
// Pastes the clipboard's text and marks the document modified; with no text
// on the clipboard, says so.
void EditPaste();
// Undoes the last edit (with none, says so); the document's Redo item then
// follows whether anything can be redone.
void EditUndo();
// Redoes the last undone edit; with none, says so.
void EditRedo();
// Switches the active document between inserting and overwriting.
void ToggleInsertMode();
// Shows the typing mode, the caret's line and column and the line count of
// the active document, or "Ready" with zeros when none is open.
void UpdateStatusBar();
// After a jump (go to line): the caret's line becomes the highlighted line
// when the highlight option is on; with it off no line is highlighted.
void HighlightCaretLine(platform::CodeMax& text);
