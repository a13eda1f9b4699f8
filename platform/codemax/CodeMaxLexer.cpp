#include "platform/codemax/CodeMaxLexer.h"

#include <Qsci/qsciscintilla.h>

#include <algorithm>

namespace platform {

using Sci = QsciScintillaBase;

CodeMaxLexer::CodeMaxLexer(QObject* parent) : QsciLexerCustom(parent) {}

void CodeMaxLexer::SetLanguage(std::shared_ptr<const CodeMaxLanguage> language)
{
    language_ = std::move(language);
    edited_.pending = false;  // everything is coloured again
}

void CodeMaxLexer::SetColouring(bool on)
{
    colouring_ = on;
    edited_.pending = false;
}

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

void CodeMaxLexer::setEditor(QsciScintilla* editor)
{
    if (QsciScintilla* old = this->editor())
        disconnect(old, &QsciScintillaBase::SCN_MODIFIED, this, nullptr);
    QsciLexerCustom::setEditor(editor);
    edited_.pending = false;
    // Every view of a document hears of every edit, whichever view made it,
    // so each view's lexer knows the same edited lines.
    if (editor)
        connect(editor, &QsciScintillaBase::SCN_MODIFIED, this,
                [this](int position, int type, const char*, int length, int, int, int, int, int, int) {
                    noteEdit(position, type, length);
                });
}

long CodeMaxLexer::send(unsigned int message, unsigned long w, long l) const
{
    return editor()->SendScintilla(message, w, l);
}

long CodeMaxLexer::lineStart(long position) const
{
    return send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(send(Sci::SCI_LINEFROMPOSITION,
                                                                           static_cast<unsigned long>(position))));
}

long CodeMaxLexer::nextLineStart(long position) const
{
    const long line = send(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(position));
    if (line + 1 >= send(Sci::SCI_GETLINECOUNT))
        return send(Sci::SCI_GETLENGTH);
    return send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line + 1));
}

void CodeMaxLexer::noteEdit(int position, int type, int length)
{
    const bool inserting = type & Sci::SC_MOD_BEFOREINSERT;
    if (!editor() || length <= 0 || !(inserting || (type & Sci::SC_MOD_BEFOREDELETE)))
        return;
    // Called before the edit: positions are those of the text as it is.
    const long marked = send(Sci::SCI_GETENDSTYLED);
    Edited& e = edited_;
    if (e.pending && marked >= e.after)
        e.pending = false;  // the lines edited before are coloured by now
    const long pos = position, len = length;
    const long first = lineStart(pos);
    // Where the positions after the edit go, and where the edited lines end.
    const auto moved = [inserting, pos, len](long& p) {
        if (p > pos)
            p = inserting ? p + len : std::max(pos, p - len);
    };
    const long after = inserting ? nextLineStart(pos) + len : nextLineStart(pos + len) - len;
    if (!e.pending) {
        e = {true, first, after, marked};
        moved(e.colouredTo);
        return;
    }
    moved(e.first);
    moved(e.after);
    moved(e.colouredTo);
    e.first = std::min(e.first, first);
    e.after = std::max(e.after, after);
}

void CodeMaxLexer::styleText(int start, int end)
{
    if (!editor() || end <= start)
        return;
    const int asked = end;
    // Edited lines with coloured text after them: colour up to the end of
    // the edited lines only, then take the mark past the coloured text.
    bool skip = false;
    Edited& e = edited_;
    if (e.pending) {
        if (send(Sci::SCI_GETENDSTYLED) >= e.after || start < e.first)
            e.pending = false;  // coloured since, or colouring starts again before the edits
        else if (start < e.after && e.colouredTo > e.after) {
            end = int(std::min<long>(end, e.after));
            skip = true;
        }
    }
    // A bounded piece per call: Scintilla asks again (in idle time) for the
    // rest, so a key typed while a large program is being coloured waits
    // for one small piece at most.
    if (end - start > maxPiece) {
        const long line = send(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(start + maxPiece));
        end = int(std::max<long>(start + 1, send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line + 1))));
    }
    styleRange(start, end);
    if (skip && end >= e.after) {
        e.pending = false;
        send(Sci::SCI_STARTSTYLING, static_cast<unsigned long>(e.colouredTo), 0);
        // Asked for more than was coloured before the edits: on as usual.
        if (e.colouredTo < asked)
            styleText(int(lineStart(e.colouredTo)), asked);
        return;
    }

    // Lines are coloured on their own, so the lines on screen can be coloured
    // now, before the text above them; the mark of what is coloured stays
    // where it was, so the text above still gets its turn.
    const long firstShown =
        send(Sci::SCI_DOCLINEFROMVISIBLE, static_cast<unsigned long>(send(Sci::SCI_GETFIRSTVISIBLELINE)));
    const long shownStart = send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(firstShown));
    if (shownStart > end) {
        const long lastShown = firstShown + send(Sci::SCI_LINESONSCREEN) + 1;
        const long length = send(Sci::SCI_GETLENGTH);
        long shownEnd = send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(lastShown + 1));
        if (shownEnd < shownStart)
            shownEnd = length;
        styleRange(int(shownStart), int(std::min(shownEnd, length)));
        send(Sci::SCI_STARTSTYLING, static_cast<unsigned long>(end), 0);
    }
}

void CodeMaxLexer::styleRange(int start, int end)
{
    QsciScintilla* ed = editor();
    const int length = end - start;
    if (length <= 0)
        return;
    ed->SendScintilla(Sci::SCI_STARTSTYLING, static_cast<unsigned long>(start), 0L);
    if (!language_ || !colouring_) {
        ed->SendScintilla(Sci::SCI_SETSTYLING, static_cast<unsigned long>(length), 0L);
        return;
    }
    // Straight from the document's bytes; the range starts at a line start
    // and styling is per line, so no state carries over from before it.
    const long ptr = ed->SendScintilla(Sci::SCI_GETRANGEPOINTER, static_cast<unsigned long>(start), long(length));
    styles_.resize(size_t(length));
    language_->StyleText(reinterpret_cast<const char*>(ptr), size_t(length), styles_.data());
    ed->SendScintilla(Sci::SCI_SETSTYLINGEX, static_cast<unsigned long>(length),
                      static_cast<const char*>(styles_.data()));
}

}  // namespace platform
