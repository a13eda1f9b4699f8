#include "clipext/ClipText.h"

#include "clipext/ClipFormats.h"

#include <QStringDecoder>

namespace clipext {
namespace {

// Windows-1252 at 0x80 to 0x9F; the five unassigned codes keep their value,
// as the system's conversion does.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString DecodeCp1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = QChar(byte >= 0x80 && byte < 0xA0 ? Cp1252High[byte - 0x80] : char16_t(byte));
    }
    return text;
}

QByteArrayView CutAtNul(QByteArrayView bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    return nul < 0 ? bytes : bytes.first(nul);
}

}  // namespace

QString DecodeText(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return QString();
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return DecodeCp1252(bytes);
}

QString BlockText(QByteArrayView bytes, quint32 id)
{
    if (id == CF_UNICODETEXT) {
        const qsizetype units = bytes.size() / 2;
        QString text;
        text.reserve(units);
        for (qsizetype i = 0; i < units; ++i) {
            const auto unit = char16_t(static_cast<unsigned char>(bytes[2 * i])
                                       | static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
            if (unit == 0)
                break;
            text.append(QChar(unit));
        }
        return text;
    }
    return DecodeText(CutAtNul(bytes));
}

QString CleanDisplayString(const QString& text)
{
    QStringView view(text);
    const qsizetype nul = view.indexOf(QChar(0));
    if (nul >= 0)
        view = view.first(nul);
    view = view.first(std::min<qsizetype>(view.size(), 512));
    qsizetype start = 0;
    while (start < view.size() && view[start].unicode() < 32)
        ++start;
    if (start == view.size())
        return QStringLiteral("...");
    qsizetype end = start;
    while (end < view.size() && view[end].unicode() >= 32)
        ++end;
    return view.sliced(start, end - start).toString();
}

}  // namespace clipext
