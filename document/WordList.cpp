#include "document/WordList.h"

namespace {

void ParseLine(QStringView line, QStringList& entries)
{
    if (line.trimmed().isEmpty())
        return;
    const qsizetype length = line.size();
    qsizetype pos = 0;
    while (true) {
        while (pos < length && line[pos] == QLatin1Char(' '))
            ++pos;
        qsizetype comma = -1;
        if (pos < length && line[pos] == QLatin1Char('"')) {
            const qsizetype close = line.indexOf(QLatin1Char('"'), pos + 1);
            if (close < 0) {
                entries.append(line.mid(pos + 1).toString());
                return;
            }
            entries.append(line.mid(pos + 1, close - pos - 1).toString());
            comma = line.indexOf(QLatin1Char(','), close + 1);
        } else {
            comma = line.indexOf(QLatin1Char(','), pos);
            entries.append(line.mid(pos, comma < 0 ? length - pos : comma - pos).toString());
        }
        // A comma that ends the line starts no further field.
        if (comma < 0 || comma + 1 >= length)
            return;
        pos = comma + 1;
    }
}

}  // namespace

QStringList ParseWordList(const QString& text)
{
    QStringList entries;
    const QStringView all(text);
    qsizetype start = 0;
    const qsizetype length = all.size();
    for (qsizetype i = 0; i <= length; ++i) {
        if (i < length && all[i] != QLatin1Char('\r') && all[i] != QLatin1Char('\n'))
            continue;
        ParseLine(all.mid(start, i - start), entries);
        if (i + 1 < length && all[i] == QLatin1Char('\r') && all[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    return entries;
}

QString WordListInsertion(const QString& entry, bool lineBreak)
{
    const QString crlf = QStringLiteral("\r\n");
    if (entry.endsWith(QLatin1Char(';')))
        return entry.chopped(1) + crlf;
    return lineBreak ? entry + crlf : entry;
}
