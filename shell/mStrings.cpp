#include "shell/mStrings.h"

namespace {

Qt::CaseSensitivity Sensitivity(int compareMode)
{
    return compareMode == vbTextCompare ? Qt::CaseInsensitive : Qt::CaseSensitive;
}

}  // namespace

QString RemoveAllOf(const QString& text, const QString& ch)
{
    if (ch.isEmpty())
        return text;
    QString result = text;
    result.remove(ch, Qt::CaseSensitive);
    return result;
}

QString ReplaceString(const QString& text, const QString& find, const QString& replacement,
                      int compareMode)
{
    // An empty find would match at every position and never advance.
    if (find.isEmpty())
        return text;
    const Qt::CaseSensitivity cs = Sensitivity(compareMode);
    QString result;
    result.reserve(text.size());
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = text.indexOf(find, from, cs);
        if (at < 0)
            break;
        result += QStringView(text).mid(from, at - from);
        result += replacement;
        from = at + find.size();
    }
    result += QStringView(text).mid(from);
    return result;
}

int InStrLast(const QString& text, const QString& find, int limit, int compareMode)
{
    if (find.isEmpty())
        return 0;
    const qsizetype bound = limit == -1 ? text.size() : limit;
    const Qt::CaseSensitivity cs = Sensitivity(compareMode);
    int last = 0;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = text.indexOf(find, from, cs);
        if (at < 0 || at + 1 >= bound)
            break;
        last = static_cast<int>(at + 1);
        from = at + 1;
    }
    return last;
}

QStringList SplitToArray(const QString& text, const QString& delimiter, int limit,
                         int compareMode)
{
    QStringList items;
    if (delimiter.isEmpty()) {
        if (!text.isEmpty())
            items.append(text);
        return items;
    }
    const Qt::CaseSensitivity cs = Sensitivity(compareMode);
    qsizetype from = 0;
    for (;;) {
        if (limit != -1 && items.size() > limit)
            break;
        const qsizetype at = text.indexOf(delimiter, from, cs);
        if (at < 0)
            break;
        items.append(text.mid(from, at - from));
        from = at + delimiter.size();
    }
    if (from < text.size())
        items.append(text.mid(from));
    return items;
}
