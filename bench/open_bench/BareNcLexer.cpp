#include "BareNcLexer.h"

#include <Qsci/qsciscintilla.h>

#include <cctype>

QString BareNcLexer::description(int style) const
{
    switch (style) {
    case 0: return QStringLiteral("Text");
    case 1: return QStringLiteral("Number");
    case 2: return QStringLiteral("Keyword");
    case 3: return QStringLiteral("Operator");
    case 5: return QStringLiteral("Comment");
    default: return QString();
    }
}

void BareNcLexer::styleText(int start, int end)
{
    if (!editor() || end <= start)
        return;
    const QByteArray text = editor()->bytes(start, end);
    const int n = int(text.size()) - 1;  // bytes() ends with a NUL
    startStyling(start);
    int i = 0;
    while (i < n) {
        const char c = text[i];
        int len = 1;
        int style = 0;
        if (c == '(') {
            while (i + len < n && text[i + len] != ')' && text[i + len] != '\n' && text[i + len] != '\r')
                ++len;
            if (i + len < n && text[i + len] == ')')
                ++len;
            style = 5;
        } else if ((c == 'G' || c == 'M' || c == 'g' || c == 'm') && i + 1 < n && std::isdigit(uchar(text[i + 1]))) {
            while (i + len < n && std::isdigit(uchar(text[i + len])))
                ++len;
            const int number = text.mid(i + 1, len - 1).toInt();
            style = (len <= 3 && number <= 99) || ((c == 'G' || c == 'g') && number == 106) ? 2 : 0;
            if (style == 0)
                len = 1;
        } else if (std::isdigit(uchar(c))) {
            while (i + len < n && (std::isdigit(uchar(text[i + len])) || text[i + len] == '.'))
                ++len;
            style = 1;
        } else if (c == '+' || c == '-' || c == '.') {
            style = 3;
        }
        setStyling(len, style);
        i += len;
    }
}
