#pragma once
// The host object handed to a plug-in of contract "1.1.0" for one start.
// Plug-ins call its members by name; each acts on the editing control of the
// document window that is active in the main window at the moment of the
// call, so the object keeps no document of its own and may outlive any.
//
// With no document open, members that use the editing control raise
// platform::Error 91, except those that run an edit command (Copy, Cut,
// Paste, Undo, Redo, SelectAll: they do what the command does, nothing),
// SelectLineEnd (nothing), GetLine (the program-error box, ""), GotoLine and
// ClearSplits (nothing). ApplicationPath needs no document.
//
// "Marks the document modified" sets Modified of the active window's slot
// in the document table; a window whose Tag names no slot raises
// platform::Error 9.

#include "platform/codemax/CodeMaxRange.h"

#include <QObject>
#include <QString>
#include <optional>

class cEditorPlugin : public QObject {
    Q_OBJECT
public:
    explicit cEditorPlugin(QObject* parent = nullptr);
    ~cEditorPlugin() override;

    // Inserts the text at the caret; marks the document modified and sets TextChanged.
    Q_INVOKABLE void AddText(const QString& text);
    Q_INVOKABLE void Copy();
    // The find dialog.
    Q_INVOKABLE void Find();
    // The replace dialog; marks the document modified, whatever the user does there.
    Q_INVOKABLE void Replace();
    // Pastes; marks the document modified.
    Q_INVOKABLE void Paste();
    // Asks for a line number and goes there; that line is highlighted.
    Q_INVOKABLE void GoToDlg();
    // Caret to the start and to the end of the text.
    Q_INVOKABLE void PageHome();
    Q_INVOKABLE void PageEnd();
    Q_INVOKABLE void Cut();
    // Undoes; marks the document modified.
    Q_INVOKABLE void Undo();
    Q_INVOKABLE void Redo();
    // Splits the text into left and right panes, half and half.
    Q_INVOKABLE void SplitVert();
    // Splits the text into upper and lower panes, half and half.
    Q_INVOKABLE void SplitHorz();
    Q_INVOKABLE void LineHome();
    Q_INVOKABLE void LineEnd();
    Q_INVOKABLE void SelectAll();
    Q_INVOKABLE void LineDown();
    Q_INVOKABLE void LineUp();
    // Line lineNumber (from 1) without its leading and trailing blanks
    // (tabs stay); on any failure the program-error box and "".
    Q_INVOKABLE QString GetLine(int lineNumber);
    // A new line at the caret; marks the document modified.
    Q_INVOKABLE void InsertLine();
    // Removes any split; both splitters stay available. Failures are ignored.
    Q_INVOKABLE void ClearSplits();
    // Caret to line lineNumber (from 1); a number outside the text says
    // "Invalid line number" and leaves the caret. Failures are ignored.
    Q_INVOKABLE void GotoLine(int lineNumber);
    Q_INVOKABLE QString TextAll();
    // Replaces every findText by replaceText.
    Q_INVOKABLE void ReplaceAll(const QString& findText, const QString& replaceText);
    // Selects the next findText after the caret.
    Q_INVOKABLE void FindText(const QString& findText);
    // Extends the selection to the end of the caret's line.
    Q_INVOKABLE void SelectLineEnd();
    Q_INVOKABLE void DeleteSelection();
    // The program folder, with no trailing separator unless it is the root.
    Q_INVOKABLE QString ApplicationPath();

private:
    // The selection GoToDlg read last (made on first use).
    std::optional<platform::CodeMaxRange> range_;
};
