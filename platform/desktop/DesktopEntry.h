#pragma once
// The freedesktop.org side of a file association: a desktop entry for a
// program, a MIME type for a file pattern, an icon, and the program as the
// type's default application. Data go under XDG_DATA_HOME (default
// ~/.local/share), the default application into XDG_CONFIG_HOME/mimeapps.list
// (default ~/.config). Every file is written whole and atomically; other
// entries of mimeapps.list are kept as they stand.

#include "platform/files/AtomicWrite.h"

#include <QString>
#include <QStringList>

namespace platform {

QString XdgDataHome();
QString XdgConfigHome();

// An Exec line: program and arguments quoted and escaped as the desktop
// entry rules ask, so that every argument reaches the program whole.
// Arguments that are field codes ("%f", "%F", "%u", "%U") are written as
// field codes; a literal '%' elsewhere is doubled.
QString DesktopExecLine(const QString& program, const QStringList& arguments);
// The arguments a desktop starts for exec (as ReadDesktopEntryValue gives
// it) with "%f"/"%F"/"%u"/"%U" replaced by file.
// Empty for a line that breaks the quoting rules.
QStringList ExpandDesktopExec(const QString& exec, const QString& file);

struct DesktopEntry {
    QString id;          // file name, "name.desktop"
    QString name;
    QString comment;
    QString exec;        // see DesktopExecLine
    QString icon;        // icon name or absolute path
    QStringList mimeTypes;
};
// XdgDataHome()/applications/<id>.
QString DesktopEntryPath(const QString& id);
WriteOutcome WriteDesktopEntry(const DesktopEntry& entry);
// The value of key in the [Desktop Entry] group of the installed entry id,
// with the string escapes (\s \n \t \r \\) undone; empty when missing.
QString ReadDesktopEntryValue(const QString& id, const QString& key);

// XdgDataHome()/mime/packages/<package>.xml: one MIME type, a subclass of
// text/plain, for the glob pattern (case-insensitive, as the database
// matches), with its comment and icon name.
QString MimePackagePath(const QString& package);
WriteOutcome WriteMimePackage(const QString& package, const QString& mimeType, const QString& comment,
                              const QString& globPattern, const QString& iconName);

// Copies the image file as the icon iconName of the hicolor theme, in the
// folder of its size (XdgDataHome()/icons/hicolor/WxH/apps/<iconName>.png).
// Fails for a file that is not a readable image.
WriteOutcome InstallIcon(const QString& iconName, const QString& imageFile);

// Makes desktopId the first default application of mimeType (and adds it
// to the type's associations) in XdgConfigHome()/mimeapps.list.
QString MimeAppsListPath();
WriteOutcome SetDefaultApplication(const QString& mimeType, const QString& desktopId);
// The first default application of mimeType in that file; empty when none.
QString DefaultApplication(const QString& mimeType);

// Runs update-desktop-database and update-mime-database over XdgDataHome()
// when they are installed, so that the desktop sees the new files at once.
void RefreshDesktopDatabases();

}  // namespace platform
