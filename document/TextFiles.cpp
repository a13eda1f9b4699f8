#include "document/TextFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

bool ReadTextFile(const QString& path, QString& text)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8.decode(bytes);
    text = utf8.hasError() ? QString::fromLatin1(bytes) : std::move(decoded);
    return true;
}
