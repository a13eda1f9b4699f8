#pragma once
// Helpers of Prentil's tests: files in a temporary folder and a clean
// settings key.

#include "print/PrintProfile.h"
#include "platform/registry/Registry.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace printtest {

inline bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size();
}

// Lines "L1" ... "Ln", LF ended.
inline QByteArray NumberedLines(int count, const char* prefix = "L")
{
    QByteArray text;
    for (int i = 1; i <= count; ++i)
        text += prefix + QByteArray::number(i) + '\n';
    return text;
}

inline void ClearSettings()
{
    platform::RegDeleteTree(platform::HKEY_CURRENT_USER, QStringLiteral("Software\\KroPrint"));
}

}  // namespace printtest
