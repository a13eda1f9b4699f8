#pragma once
// Bringing NC files into document windows and back to disk: the open, save
// and insert dialogs, loading a file into a new document window, saving a
// document, and the file-title rule of captions.
//
// A document reads and writes its file through the full path it keeps
// (DocumentForm::FilePath); captions and DocumentPaths only show it.

#include <QString>

class DocumentForm;
class QWidget;

// Modes of ShowFileDialog.
inline constexpr int SaveFileDialog = 2;          // save, asking before overwriting
inline constexpr int SaveFileDialogNoPrompt = 3;  // save without asking
inline constexpr int OpenFileDialogCreate = 4;    // open, a missing file may be named
                                                  // any other: open an existing file

// One file from the open or save dialog: its full path, or "" when cancelled.
// filter: "description|pattern|..."; filterIndex 1-based (0: the first);
// initialFolder empty: the current folder. defaultExt is added to a name
// without one in the save modes only; an open dialog opens what was typed.
QString ShowFileDialog(QWidget* owner, const QString& title, const QString& filter, int filterIndex,
                       const QString& proposedName, const QString& initialFolder,
                       const QString& defaultExt, int mode);
// Several existing files from the open dialog (initial folder DefaultDir):
// one file gives its full path; several give their folder, then each name,
// every part followed by a NUL character; "" when cancelled. No extension is
// added to a typed name (defaultExt is kept for the callers' sake).
QString ShowOpenFilesDialog(QWidget* owner, const QString& title, const QString& filter,
                            int filterIndex, const QString& proposedName, const QString& defaultExt);

// The "Open File(s)" dialog, then one document window per chosen file (in
// the dialog's order; several are tiled). A file that fails has shown its
// message and does not keep the others out. Cancel sets DialogCancelled.
void OpenFiles();

// Loads the file into a new document window; true when the window was
// opened. A failure (a missing or unreadable file, 30 documents open) shows
// the program-error box and leaves no window and no slot taken. flag is the
// editing control's read-only state (every caller passes false). The wait
// pointer shows while it works; it is put back as found after a success and
// is the normal pointer from before the message of a failure on.
bool OpenFileInWindow(const QString& path, bool flag);

// The caption text of a path: unchanged when it names an "Untitled" document
// or DisplayPath is on; else the file name alone.
QString GetFileTitle(const QString& path);

// The Save As dialog for window (null: the active document), proposing
// "Editor<n>.cnc" for "Untitled:<n>" and the document's file otherwise.
// Returns true when cancelled (path then "" and DialogCancelled set); a
// name without an extension gets the chosen filter's, and when that names an
// existing file the user is asked to replace it (No: the dialog again).
bool GetSaveAsFileName(QString& path, DocumentForm* window = nullptr);

// Write the window's text to path, atomically. On success the caption shows
// the path in upper case (SaveDocumentAs: its file title), DocumentPaths
// holds it and the window keeps path as its file; a failure shows the
// program-error box and changes nothing. Neither clears the modified flag.
bool SaveDocument(DocumentForm& window, const QString& path);
bool SaveDocumentAs(DocumentForm& window, const QString& path);

// The "File Insert Open" dialog: the chosen file, or "" when cancelled
// (the active document then gets the focus back).
QString InsertFileDialog();

// True when path names an existing file (not a folder). A path that is blank
// or ends in a separator or ":" names none.
bool FileExists(const QString& path);
