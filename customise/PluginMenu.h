#pragma once
// The Plugins menu of a document window: the plug-in libraries of the
// program's "Plugins" folder, listed by their PluginId, each started from its
// item.
//
// A plug-in library ("*.so") holds the class Main under the ProgID made of
// its file name up to the first dot and ".Main" ("STATS.so" gives
// "STATS.Main", found whatever the letter case). A plug-in is created only
// from a library in that folder: a ProgID registered to a library elsewhere
// counts as not registered, and registering the folder's library puts it
// right.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class QAction;
class QMenu;
class QWidget;

// How long the registration tool may run on one library.
inline constexpr int RegistrationTimeoutMs = 30000;

// The plug-in folder: "Plugins" in the program folder.
QString PluginFolder();
// The library files of a folder, names only, sorted by name whatever the
// letter case; none when the folder is missing.
QStringList PluginFiles(const QString& folder);
// The ProgID of a library file: its name up to the first dot, and ".Main".
QString PluginProgId(const QString& fileName);
// The path with a separator after it, unless it ends in one already (the
// root "/"), so that a file name can follow.
QString EnsureTrailingBackslash(const QString& path);
// Registers the library with the registration tool (silently, with an
// argument list, no shell) and waits for it, at most RegistrationTimeoutMs;
// the window repaints meanwhile but takes no input. When the tool fails,
// cannot be started or runs out of time, says "Error Registering: " and the
// command (title "ERROR") and gives false.
bool ShellAndWait(const QString& libraryPath);

// Starts the plug-in of a ProgID: creates it, hands it a new cEditorPlugin
// when its PluginVersion is "1.1.0", calls PluginStart again for as long as
// it answers 1 (letting the program's events run in between), inserts a
// non-empty strReturn at the caret of the active document, and releases the
// plug-in, then the host object. Any failure says "number - description"
// and inserts nothing. A start asked for while another runs is ignored.
void StartPlugin(const QString& progId);

class PluginMenu : public QObject {
    Q_OBJECT
public:
    // The items go into mnuPlugins (the window's menu, not owned).
    PluginMenu(QMenu& mnuPlugins, QObject* parent);
    ~PluginMenu() override;

    // Lists the plug-ins of the plug-in folder, in file-name order, in place
    // of the items of an earlier listing; a ProgID is tried once, from the
    // first library that gives it. A library that cannot be created is
    // registered (once per listing) and tried once more; one that still
    // cannot be created, or that is no plug-in, is reported with
    // "number - description" and the library's path, and the listing goes
    // on with the next.
    void ScanPlugins();
    // Adds one item: its text the caption, its data (the Tag) the ProgID;
    // the menu is enabled.
    void AddPluginMenuItem(const QString& caption, const QString& progId);
    // Starts the plug-in of item index.
    void mnupluginoptions_Click(int index);

    // The library files of the last listing (names only).
    QStringList FilePlugin;
    // The items, in listing order.
    QList<QAction*> mnupluginoptions;

private:
    void ClearItems();

    QPointer<QMenu> mnuPlugins_;
};

// The document window's plug-in scan: the window's PluginMenu (made on first
// use, owned by the window) lists the plug-ins into mnuPlugins.
PluginMenu& ScanPlugins(QWidget& window, QMenu& mnuPlugins);
