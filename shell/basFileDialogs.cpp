#include "shell/basFileDialogs.h"

#include <QFileInfo>

bool FileExists(const QString& path)
{
    const QString trimmed = path.trimmed();
    if (trimmed.isEmpty() || path.endsWith(QLatin1Char('\\')) || path.endsWith(QLatin1Char('/'))
        || path.endsWith(QLatin1Char(':')))
        return false;
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

bool OpenFileInWindow(const QString& path, bool flag)
{
    return OpenFileInWindowHook ? OpenFileInWindowHook(path, flag) : false;
}
