#include "platform/forms/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

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

}  // namespace platform
