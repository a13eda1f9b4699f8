#pragma once
// What a bare QsciScintilla would colour NC text with: a custom lexer written
// the plain way (copy the range out, one setStyling call per token). The
// benchmark's yardstick for the adapter's own lexer.

#include <Qsci/qscilexercustom.h>

class BareNcLexer : public QsciLexerCustom {
    Q_OBJECT
public:
    using QsciLexerCustom::QsciLexerCustom;
    const char* language() const override { return "BareNC"; }
    QString description(int style) const override;
    void styleText(int start, int end) override;
};
