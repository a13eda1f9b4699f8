#include "clipext/ClipFormats.h"

#include "clipext/ClipText.h"

#include <QHash>
#include <QMimeData>

#include <algorithm>
#include <array>

namespace clipext {
namespace {

const std::array<QString, 18> StandardNames = {
    QString(),
    QStringLiteral("Text"),
    QStringLiteral("Bitmap Picture"),
    QStringLiteral("Meta-File Picture"),
    QStringLiteral("Microsoft Symbolic Link (SYLK) data."),
    QStringLiteral("Software Arts' Data Interchange information."),
    QStringLiteral("Tagged Image File Format (TIFF) Picture"),
    QStringLiteral("Text (OEM)"),
    QStringLiteral("DIB Bitmap Picture"),
    QStringLiteral("Colour Palette"),
    QStringLiteral("Pen Data"),
    QStringLiteral("RIFF Audio data"),
    QStringLiteral("Wave File"),
    QStringLiteral("Text (Unicode)"),
    QStringLiteral("Enhanced Meta-File Picture"),
    QStringLiteral("File List"),
    QString(),
    QString(),
};

const QString PlainText = QStringLiteral("text/plain");
const QString RtfMimeTypes[] = {QStringLiteral("text/rtf"), QStringLiteral("application/rtf"),
                                QStringLiteral("text/richtext")};

// Registered names, numbered from 0xC000; the extender's own come first.
struct FormatTable {
    QList<QString> names{QStringLiteral("(reserved)"), RtfFormatName, HtmlFormatName, CsvFormatName};
    QHash<QString, quint32> ids{{RtfFormatName, RtfFormat}, {HtmlFormatName, HtmlFormat}, {CsvFormatName, CsvFormat}};
};

FormatTable& Table()
{
    static FormatTable table;
    return table;
}

bool IsPlainText(const QString& mime)
{
    return mime == PlainText || mime.startsWith(PlainText + QLatin1Char(';'));
}

}  // namespace

quint32 RegisterFormat(const QString& name)
{
    if (name.isEmpty())
        return 0;
    FormatTable& table = Table();
    const auto found = table.ids.constFind(name);
    if (found != table.ids.cend())
        return *found;
    const auto id = FirstRegisteredFormat + static_cast<quint32>(table.names.size());
    table.names.append(name);
    table.ids.insert(name, id);
    return id;
}

QString FormatName(quint32 id)
{
    if (id < StandardNames.size())
        return StandardNames[id];
    const FormatTable& table = Table();
    if (id > FirstRegisteredFormat && id - FirstRegisteredFormat < static_cast<quint32>(table.names.size()))
        return table.names[static_cast<qsizetype>(id - FirstRegisteredFormat)];
    return QString();
}

QString MimeTypeOf(quint32 id)
{
    switch (id) {
    case CF_TEXT:
    case CF_OEMTEXT:
    case CF_UNICODETEXT: return PlainText;
    case CF_HDROP: return QStringLiteral("text/uri-list");
    case RtfFormat: return RtfMimeTypes[0];
    case HtmlFormat: return QStringLiteral("text/html");
    case CsvFormat: return QStringLiteral("text/csv");
    default: break;
    }
    const QString name = FormatName(id);
    if (name.contains(QLatin1Char('/')))
        return name;  // registered under its MIME type
    return QStringLiteral("application/x-qt-windows-mime;value=\"%1\"").arg(name.isEmpty() ? QString::number(id) : name);
}

std::vector<quint32> FormatsOf(const QStringList& mimeTypes)
{
    std::vector<quint32> ids;
    for (const QString& mime : mimeTypes) {
        quint32 id = 0;
        if (IsPlainText(mime))
            id = CF_TEXT;
        else if (std::find(std::begin(RtfMimeTypes), std::end(RtfMimeTypes), mime) != std::end(RtfMimeTypes))
            id = RtfFormat;
        else if (mime == QLatin1String("text/html"))
            id = HtmlFormat;
        else if (mime == QLatin1String("text/csv"))
            id = CsvFormat;
        else if (mime == QLatin1String("text/uri-list"))
            id = CF_HDROP;
        else
            id = RegisterFormat(mime);
        if (id != 0 && std::find(ids.begin(), ids.end(), id) == ids.end())
            ids.push_back(id);
    }
    return ids;
}

QByteArray BlockOf(const QMimeData& data, quint32 id)
{
    if (id == CF_TEXT || id == CF_UNICODETEXT || id == CF_OEMTEXT) {
        if (!data.hasText())
            return QByteArray();
        const QString text = data.text();
        if (id == CF_UNICODETEXT) {
            QByteArray bytes;
            bytes.reserve((text.size() + 1) * 2);
            for (const QChar c : text) {
                bytes.append(static_cast<char>(c.unicode() & 0xFF));
                bytes.append(static_cast<char>(c.unicode() >> 8));
            }
            return bytes.append(2, '\0');
        }
        return text.toUtf8().append('\0');
    }
    if (id == RtfFormat) {
        for (const QString& mime : RtfMimeTypes)
            if (data.hasFormat(mime))
                return data.data(mime);
        return QByteArray();
    }
    const QString mime = MimeTypeOf(id);
    return data.hasFormat(mime) ? data.data(mime) : QByteArray();
}

void AddBlockTo(QMimeData& data, const ClipBlock& block)
{
    switch (block.formatID) {
    case CF_TEXT:
    case CF_OEMTEXT:
    case CF_UNICODETEXT:
        // The first text block given wins; an entry holds text once at most.
        if (!data.hasText())
            data.setText(BlockText(block.bytes, block.formatID));
        return;
    default:
        // A copy of its own: the block may be a view of a loaded file's bytes,
        // which go with the entry, while the clipboard keeps its data longer.
        data.setData(MimeTypeOf(block.formatID), QByteArray(block.bytes.constData(), block.bytes.size()));
    }
}

}  // namespace clipext
