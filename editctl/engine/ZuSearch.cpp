#include "editctl/engine/ZuSearch.h"

#include "editctl/engine/ZuTextDocument.h"

#include <algorithm>
#include <array>

namespace {

// Windows-1252 letters folded to lower case: ASCII, the accented capitals
// 0xC0-0xDE (not the multiplication sign), and S, OE, Z with caron or ligature
// and Y with diaeresis, whose small forms lie elsewhere.
constexpr std::array<unsigned char, 256> MakeFold()
{
    std::array<unsigned char, 256> fold{};
    for (int i = 0; i < 256; ++i)
        fold[std::size_t(i)] = static_cast<unsigned char>(i);
    for (int i = 'A'; i <= 'Z'; ++i)
        fold[std::size_t(i)] = static_cast<unsigned char>(i + 32);
    for (int i = 0xC0; i <= 0xDE; ++i)
        if (i != 0xD7)
            fold[std::size_t(i)] = static_cast<unsigned char>(i + 32);
    fold[0x8A] = 0x9A;
    fold[0x8C] = 0x9C;
    fold[0x8E] = 0x9E;
    fold[0x9F] = 0xFF;
    return fold;
}
constexpr std::array<unsigned char, 256> Fold = MakeFold();

std::string Folded(std::string_view bytes)
{
    std::string out(bytes);
    for (char& c : out)
        c = static_cast<char>(Fold[static_cast<unsigned char>(c)]);
    return out;
}

bool IsBlank(unsigned char c)
{
    return c == 0 || c == '\t' || c == ' ' || c == 0xFF;
}

// One paragraph of a pane: its lines and its text without the line break.
struct Paragraph {
    std::uint32_t firstLine = 0;
    std::uint32_t lastLine = 0;
    std::uint64_t offset = 0;
    std::string text;
};

Paragraph ParagraphOf(const ZuTextDocument& document, int pane, std::uint32_t line)
{
    Paragraph p;
    p.firstLine = line;
    while (p.firstLine > 1 && !document.EndsParagraph(pane, p.firstLine - 1))
        --p.firstLine;
    p.lastLine = document.ParagraphEndLine(pane, line);
    if (p.lastLine < line)
        p.lastLine = line;
    p.offset = document.PositionToOffset(pane, {0, p.firstLine});
    for (std::uint32_t l = p.firstLine; l <= p.lastLine; ++l)
        p.text += document.LineText(pane, l);
    return p;
}

} // namespace

std::int64_t ZuSearch::Find(const ZuTextDocument& document, int pane, std::string_view what, std::uint64_t from,
                            bool forward) const
{
    const std::uint32_t lines = document.LineCount(pane);
    if (what.empty() || lines == 0 || document.ByteCount() == 0)
        return -1;
    const std::string pattern = caseSensitive ? std::string(what) : Folded(what);
    const auto wholeWord = [&](const std::string& text, std::size_t at) {
        if (!wholeWordsOnly)
            return true;
        const std::size_t end = at + pattern.size();
        return (at == 0 || IsBlank(static_cast<unsigned char>(text[at - 1]))) &&
               (end == text.size() || IsBlank(static_cast<unsigned char>(text[end])));
    };
    std::uint32_t line = document.OffsetToPosition(pane, from).y;
    bool first = true;
    while (line >= 1 && line <= lines) {
        Paragraph p = ParagraphOf(document, pane, line);
        if (!caseSensitive)
            p.text = Folded(p.text);
        if (forward) {
            std::size_t at = first && from > p.offset ? std::size_t(from - p.offset) : 0;
            while (at <= p.text.size() && (at = p.text.find(pattern, at)) != std::string::npos) {
                if (wholeWord(p.text, at))
                    return std::int64_t(p.offset + at);
                ++at;
            }
            line = p.lastLine + 1;
        } else {
            // The last match that starts before `from`.
            std::size_t limit = p.text.size() + 1;
            if (first)
                limit = from > p.offset ? std::min<std::uint64_t>(from - p.offset, limit) : 0;
            while (limit > 0) {
                const std::size_t at = p.text.rfind(pattern, limit - 1);
                if (at == std::string::npos)
                    break;
                if (wholeWord(p.text, at))
                    return std::int64_t(p.offset + at);
                limit = at;
            }
            line = p.firstLine - 1;
        }
        first = false;
    }
    return -1;
}

std::int16_t ZuSearch::FireSearchReplaceConfirm()
{
    if (replaceAction == 1)
        return ZuAnswerReplaceStop;
    if (replaceAction >= 2)
        return ZuAnswerReplaceAll;
    std::int16_t answer = ZuAnswerReplaceAll;
    if (confirm)
        confirm(answer);
    return answer;
}

std::uint64_t ZuSearch::StartOffset(const ZuSearchPane& pane, bool forward, bool continuing) const
{
    if (origin != 0)
        return forward ? 0 : pane.SearchDocument().ByteCount();
    // A later step goes on from the match it handled, wherever the caret went:
    // forward after its replacement, backward before its start, so a
    // replacement is never searched again and every loop ends.
    if (continuing && haveMatch_)
        return std::min(forward ? matchEnd_ : matchStart_, pane.SearchDocument().ByteCount());
    return pane.CaretOffset();
}

int ZuSearch::RunSearch(ZuSearchPane& pane, bool replace, bool again, std::string_view what, ZuErr& error)
{
    error = ZuOk;
    if (!again)
        replaceMode_ = replace;
    const ZuTextDocument& document = pane.SearchDocument();
    const bool forward = to != 0;
    const std::int64_t at =
        what.empty() ? -1
                     : Find(document, pane.SearchPaneIndex(), what, StartOffset(pane, forward, again || continuing_),
                            forward);
    if (at < 0) {
        lastAnswer_ = 0;
        haveMatch_ = false;
        return ZuSearchNotFound;
    }
    haveMatch_ = true;
    matchStart_ = std::uint64_t(at);
    matchEnd_ = matchStart_ + what.size();
    error = pane.SelectMatch(matchStart_, matchEnd_);
    if (error != ZuOk)
        return ZuSearchStopped;
    origin = 0;
    if (!replaceMode_)
        return ZuSearchFound;

    const std::int16_t answer =
        lastAnswer_ == ZuAnswerReplaceAll ? std::int16_t(ZuAnswerReplaceAll) : FireSearchReplaceConfirm();
    lastAnswer_ = answer;
    int step = ZuSearchStopped;
    bool replaceIt = false;
    switch (answer) {
    case ZuAnswerReplace: step = ZuSearchReplaced, replaceIt = true; break;
    case ZuAnswerSkip: step = ZuSearchSkipped; break;
    case ZuAnswerReplaceStop: step = ZuSearchFound, replaceIt = true; break;
    case ZuAnswerReplaceAll: step = ZuSearchReplaceAll, replaceIt = true; break;
    default: break; // 0, and anything the container made up, stops
    }
    if (replaceIt) {
        const std::uint64_t expected = document.ByteCount() - what.size() + replacement.size();
        error = pane.ReplaceSelection(replacement);
        if (error != ZuOk)
            return ZuSearchStopped;
        // A pane that replaced something else cannot be followed: stop there.
        if (document.ByteCount() != expected)
            return ZuSearchStopped;
        ++replaceCount_;
        matchEnd_ = matchStart_ + replacement.size();
    }
    return step;
}

ZuErr ZuSearch::Repeat(ZuSearchPane& pane, int step, bool again)
{
    ZuErr error = ZuOk;
    int result = step;
    continuing_ = true;
    while (result > 0)
        result = RunSearch(pane, replaceMode_, again, target, error);
    continuing_ = false;
    return error;
}

ZuErr ZuSearch::Search(ZuSearchPane& pane)
{
    lastAnswer_ = 0;
    ZuErr error = ZuOk;
    result_ = RunSearch(pane, false, false, target, error) != ZuSearchNotFound ? 1 : 0;
    return error;
}

ZuErr ZuSearch::Replace(ZuSearchPane& pane)
{
    replaceCount_ = 0;
    lastAnswer_ = 0;
    ZuErr error = ZuOk;
    const int step = RunSearch(pane, true, false, target, error);
    result_ = step != ZuSearchNotFound ? 1 : 0;
    if (error != ZuOk)
        return error;
    return Repeat(pane, step, false);
}

ZuErr ZuSearch::SearchAgain(ZuSearchPane& pane)
{
    if (target.empty())
        return Search(pane);
    lastAnswer_ = 0;
    ZuErr error = ZuOk;
    const int step = RunSearch(pane, replaceMode_, true, target, error);
    result_ = step != ZuSearchNotFound ? 1 : 0;
    if (error != ZuOk)
        return error;
    return Repeat(pane, step, true);
}
