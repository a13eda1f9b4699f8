#include "platform/forms/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace platform {
namespace {

QString withoutTrailingSeparator(QString folder)
{
    while (folder.size() > 1 && (folder.endsWith(u'/') || folder.endsWith(u'\\')))
        folder.chop(1);
    return folder;
}

}  // namespace

QString ProgramFolder()
{
    const QString overridden = qEnvironmentVariable("TALVEX_PROGRAM_DIR");
    if (!overridden.isEmpty())
        return withoutTrailingSeparator(QDir::cleanPath(overridden));
    if (QCoreApplication::instance())
        return withoutTrailingSeparator(QCoreApplication::applicationDirPath());
    // Before the application object exists: the executable's own link.
    return withoutTrailingSeparator(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2));
}

QString PathJoin(const QString& folder, const QString& name)
{
    QString tail = name;
    tail.replace(u'\\', u'/');
    while (tail.startsWith(u'/'))
        tail.remove(0, 1);
    QString head = folder;
    head.replace(u'\\', u'/');
    while (head.size() > 1 && head.endsWith(u'/'))
        head.chop(1);
    if (head.isEmpty())
        return QDir::toNativeSeparators(tail);
    if (tail.isEmpty())
        return QDir::toNativeSeparators(head);
    if (head == u"/")
        return QDir::toNativeSeparators(head + tail);
    return QDir::toNativeSeparators(head + u'/' + tail);
}

QString ProgramFile(const QString& name) { return PathJoin(ProgramFolder(), name); }

QString SettingsFolderFor(const QString& programFolder)
{
    // access() also says no on a read-only file system, even to root.
    if (::access(QFile::encodeName(programFolder).constData(), W_OK | X_OK) == 0)
        return programFolder;
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    const QString folder = QDir::cleanPath(config + QStringLiteral("/Talvex"));
    QDir().mkpath(folder);
    return folder;
}

QString SettingsFolder() { return SettingsFolderFor(ProgramFolder()); }

QString SettingsFile(const QString& name) { return PathJoin(SettingsFolder(), name); }

QString UserDataFolder()
{
    return PathJoin(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation), QStringLiteral("Talvex"));
}

}  // namespace platform
