#include "platform/codemax/CodeMaxLexer.h"

#include <Qsci/qsciscintilla.h>

#include <algorithm>

namespace platform {

CodeMaxLexer::CodeMaxLexer(QObject* parent) : QsciLexerCustom(parent) {}

void CodeMaxLexer::SetLanguage(std::shared_ptr<const CodeMaxLanguage> language)
{
    language_ = std::move(language);
}

void CodeMaxLexer::SetColouring(bool on) { colouring_ = on; }

const char* CodeMaxLexer::language() const { return "CodeMax"; }

QString CodeMaxLexer::description(int style) const
{
    switch (style) {
    case CodeMaxLanguage::Text: return QStringLiteral("Text");
    case CodeMaxLanguage::Number: return QStringLiteral("Number");
    case CodeMaxLanguage::Keyword: return QStringLiteral("Keyword");
    case CodeMaxLanguage::Operator: return QStringLiteral("Operator");
    case CodeMaxLanguage::Comment: return QStringLiteral("Comment");
    default: return QString();
    }
}

void CodeMaxLexer::styleText(int start, int end)
{
    QsciScintilla* ed = editor();
    if (!ed || end <= start)
        return;
    // A bounded piece per call: Scintilla asks again (in idle time) for the
    // rest, so a key typed while a large program is being coloured waits
    // for one small piece at most.
    const auto send = [ed](unsigned int message, unsigned long w = 0, long l = 0) {
        return ed->SendScintilla(message, w, l);
    };
    if (end - start > maxPiece) {
        const long line = send(QsciScintillaBase::SCI_LINEFROMPOSITION, static_cast<unsigned long>(start + maxPiece));
        end = int(std::max<long>(start + 1, send(QsciScintillaBase::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line + 1))));
    }
    styleRange(start, end);

    // Lines are coloured on their own, so the lines on screen can be coloured
    // now, before the text above them; the mark of what is coloured stays
    // where it was, so the text above still gets its turn.
    const long firstShown = send(QsciScintillaBase::SCI_DOCLINEFROMVISIBLE,
                                 static_cast<unsigned long>(send(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE)));
    const long shownStart = send(QsciScintillaBase::SCI_POSITIONFROMLINE, static_cast<unsigned long>(firstShown));
    if (shownStart > end) {
        const long lastShown = firstShown + send(QsciScintillaBase::SCI_LINESONSCREEN) + 1;
        const long length = send(QsciScintillaBase::SCI_GETLENGTH);
        long shownEnd = send(QsciScintillaBase::SCI_POSITIONFROMLINE, static_cast<unsigned long>(lastShown + 1));
        if (shownEnd < shownStart)
            shownEnd = length;
        styleRange(int(shownStart), int(std::min(shownEnd, length)));
        send(QsciScintillaBase::SCI_STARTSTYLING, static_cast<unsigned long>(end), 0);
    }
}

void CodeMaxLexer::styleRange(int start, int end)
{
    QsciScintilla* ed = editor();
    const int length = end - start;
    if (length <= 0)
        return;
    ed->SendScintilla(QsciScintillaBase::SCI_STARTSTYLING, static_cast<unsigned long>(start), 0L);
    if (!language_ || !colouring_) {
        ed->SendScintilla(QsciScintillaBase::SCI_SETSTYLING, static_cast<unsigned long>(length), 0L);
        return;
    }
    // Straight from the document's bytes; the range starts at a line start
    // and styling is per line, so no state carries over from before it.
    const long ptr = ed->SendScintilla(QsciScintillaBase::SCI_GETRANGEPOINTER, static_cast<unsigned long>(start),
                                       long(length));
    styles_.resize(size_t(length));
    language_->StyleText(reinterpret_cast<const char*>(ptr), size_t(length), styles_.data());
    ed->SendScintilla(QsciScintillaBase::SCI_SETSTYLINGEX, static_cast<unsigned long>(length),
                      static_cast<const char*>(styles_.data()));
}

}  // namespace platform
