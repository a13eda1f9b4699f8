#pragma once
// What the shell knows of a document window: the document window itself
// lives in a library that links the shell, so the shell reaches it through
// this base. A document window sits in one slot of the document table; its
// Tag holds the slot number as decimal text.
//
// Closing: a window closes through UnloadDocument (or its MDI frame's close
// box): QueryUnload asks whether it may go (a modified document asks to
// save), then Form_Unload releases its slot.

#include <QList>
#include <QString>
#include <QWidget>

class QMenu;

namespace platform {
class CodeMax;
}

// Who closes a window (the unload modes of QueryUnload).
inline constexpr int vbFormControlMenu = 0;  // the user, with the window's close box
inline constexpr int vbFormCode = 1;         // a command of the program
inline constexpr int vbFormMDIForm = 4;      // the main window, closing

class DocumentForm : public QWidget {
    Q_OBJECT
public:
    explicit DocumentForm(QWidget* parent = nullptr);
    ~DocumentForm() override;

    // The slot number as decimal text ("7").
    QString Tag;
    // The full path the document reads and writes; empty while it has never
    // been saved. Captions and DocumentPaths only show a path.
    QString FilePath;
    bool IsUntitled() const { return FilePath.isEmpty(); }

    // The window's caption ("Untitled:3", a path).
    QString Caption() const;
    void Caption(const QString& text);

    // The editing control of the document.
    virtual platform::CodeMax* Text1() = 0;

    // Shows entry index (1 to 4) of the window's recent-file menu with path,
    // and its separator. Windows without such a menu ignore it.
    virtual void ShowRecentFile(int index, const QString& path);

    // The menus the main window's menu bar shows while this window is the
    // active document (none: the main window keeps its own).
    virtual QList<QMenu*> MenuBarMenus() const;

    // Runs each time the window becomes the active document window.
    virtual void Form_Activate();

    // Whether the window may close now; false keeps it open.
    virtual bool QueryUnload(int unloadMode);

protected:
    // Runs when the window goes, after QueryUnload agreed.
    virtual void Form_Unload();
    void closeEvent(QCloseEvent* event) override;

private:
    friend bool UnloadDocument(DocumentForm& window, int unloadMode, bool ask);
    int unloadMode_ = vbFormControlMenu;
    bool ask_ = true;
};

// Closes the document window with its MDI frame: asks it first (QueryUnload)
// unless ask is false; true when it closed. DialogCancelled is never left
// set by the question.
bool UnloadDocument(DocumentForm& window, int unloadMode = vbFormCode, bool ask = true);

// The main window's active document window, or null.
DocumentForm* ActiveDocumentForm();
// The editing control of the active document; raises platform::Error 91
// when no document is open.
platform::CodeMax& ActiveText1();
