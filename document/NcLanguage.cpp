#include "document/NcLanguage.h"

#include "platform/codemax/CodeMax.h"

namespace {

// 221 entries, each followed by a line feed: G0, G00 .. G9, G09, G10 .. G99,
// G106, then the same for M without G106.
QString keywordList()
{
    QString list;
    const auto codes = [&](QChar letter) {
        for (int n = 0; n <= 9; ++n)
            list += letter + QString::number(n) + u'\n' + letter + u'0' + QString::number(n) + u'\n';
        for (int n = 10; n <= 99; ++n)
            list += letter + QString::number(n) + u'\n';
    };
    codes(QChar('G'));
    list += QStringLiteral("G106\n");
    codes(QChar('M'));
    return list;
}

}  // namespace

void RegisterNcLanguage(platform::CodeMax& control)
{
    Q_UNUSED(control);
    platform::CodeMaxLanguage language;
    language.SetOption(1, true);  // keywords in any letter case
    language.SetKeywords(keywordList());
    language.SetOption(15, false);
    language.SetOperators(QStringLiteral("+\n-\n.\n0.\n1.\n2.\n3.\n4.\n5.\n6."));
    language.SetLineComment(QStringLiteral("("));
    language.SetCommentPair(QStringLiteral("("), QStringLiteral(")"));
    platform::CodeMaxGlobals globals;
    globals.RegisterLanguage(QStringLiteral("CNC"), language);
}
