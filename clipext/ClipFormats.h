#pragma once
// Clipboard format numbers: the standard numbers of the old clipboard (1
// text, 13 Unicode text, ...) and numbers from 0xC000 up for formats known
// by name. The names the extender knows get fixed numbers, so a number kept
// in a history file means the same format in every session; other names are
// numbered in the order they are first seen. Each number maps to the MIME
// type that carries it on our clipboard.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

class QMimeData;

namespace clipext {

inline constexpr quint32 CF_TEXT = 1;
inline constexpr quint32 CF_OEMTEXT = 7;
inline constexpr quint32 CF_UNICODETEXT = 13;
inline constexpr quint32 CF_HDROP = 15;
inline constexpr quint32 FirstRegisteredFormat = 0xC000;
inline constexpr quint32 RtfFormat = 0xC001;   // "Rich Text Format"
inline constexpr quint32 HtmlFormat = 0xC002;  // "HTML Format"
inline constexpr quint32 CsvFormat = 0xC003;   // "Csv"

inline const QString TextFormatName = QStringLiteral("Text");
inline const QString RtfFormatName = QStringLiteral("Rich Text Format");
inline const QString HtmlFormatName = QStringLiteral("HTML Format");
inline const QString CsvFormatName = QStringLiteral("Csv");

// The number registered for name (the same every time; a new name gets the
// next free number); 0 for an empty name.
quint32 RegisterFormat(const QString& name);
// The standard name of 1 to 17 ("" for 16 and 17), the registered name of
// a number from 0xC000 up, else "".
QString FormatName(quint32 id);

// The MIME type a format travels as ("text/plain" for the text formats).
QString MimeTypeOf(quint32 id);
// The format numbers of the MIME types, in their order, each once.
std::vector<quint32> FormatsOf(const QStringList& mimeTypes);

// One stored clipboard block.
struct ClipBlock {
    quint32 formatID = 0;
    QByteArray bytes;
    friend bool operator==(const ClipBlock&, const ClipBlock&) = default;
};

// The bytes of format id in data, as the old clipboard held them: text
// (1) as UTF-8 with one NUL after it, Unicode text (13) as UTF-16LE with a
// NUL, the rest as the MIME data's bytes. Empty when data lacks the format.
QByteArray BlockOf(const QMimeData& data, quint32 id);
// Puts block on data under its MIME type (text decoded, see ClipText.h).
void AddBlockTo(QMimeData& data, const ClipBlock& block);

}  // namespace clipext
