#include "platform/files/FileText.h"

#include <QStringDecoder>

namespace platform {

QString TextFromUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decoder(bytes);
}

}  // namespace platform
