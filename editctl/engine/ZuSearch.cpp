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

// The first and last line of the paragraph that holds a line of a pane.
std::pair<std::uint32_t, std::uint32_t> ParagraphLines(const ZuTextDocument& document, int pane, std::uint32_t line)
{
    std::uint32_t first = line;
    while (first > 1 && !document.EndsParagraph(pane, first - 1))
        --first;
    return {first, std::max(document.ParagraphEndLine(pane, line), line)};
}

} // namespace

std::int64_t ZuSearch::Find(const ZuTextDocument& document, int pane, std::string_view what, std::uint64_t from,
                            bool forward) const
{
    const std::uint64_t total = document.ByteCount();
    if (what.empty() || document.LineCount(pane) == 0 || total == 0 || document.BlockCount() == 0)
        return -1;
    from = std::min(from, total);
    const std::string pattern = caseSensitive ? std::string(what) : Folded(what);
    // A match in one paragraph (its text without the line break, starting at
    // `start` in the document) that begins at or after `from` going forward,
    // before it going back; -1 when there is none.
    const auto inParagraph = [&](std::string& text, std::uint64_t start) -> std::int64_t {
        if (!caseSensitive)
            for (char& c : text)
                c = static_cast<char>(Fold[static_cast<unsigned char>(c)]);
        const auto wholeWord = [&](std::size_t at) {
            const std::size_t end = at + pattern.size();
            return !wholeWordsOnly || ((at == 0 || IsBlank(static_cast<unsigned char>(text[at - 1]))) &&
                                       (end == text.size() || IsBlank(static_cast<unsigned char>(text[end]))));
        };
        if (forward) {
            std::size_t at = from > start ? std::size_t(from - start) : 0;
            while (at <= text.size() && (at = text.find(pattern, at)) != std::string::npos) {
                if (wholeWord(at))
                    return std::int64_t(start + at);
                ++at;
            }
            return -1;
        }
        std::size_t limit = from > start ? std::size_t(std::min<std::uint64_t>(from - start, text.size() + 1)) : 0;
        while (limit > 0) {
            const std::size_t at = text.rfind(pattern, limit - 1);
            if (at == std::string::npos)
                break;
            if (wholeWord(at))
                return std::int64_t(start + at);
            limit = at;
        }
        return -1;
    };

    // The bytes are read block by block; a paragraph is gathered whole, even
    // one that would run over a block's end.
    const std::uint32_t line = document.OffsetToPosition(pane, from).y;
    const auto [firstLine, lastLine] = ParagraphLines(document, pane, line);
    std::string paragraph;
    if (forward) {
        std::uint64_t start = document.PositionToOffset(pane, {0, firstLine});
        const ZuTextDocument::ZuBlockPlace place = document.FindBlockByOffset(pane, start);
        std::size_t i = place.offset;
        for (std::size_t k = place.block; k < document.BlockCount(); ++k, i = 0) {
            const std::string& text = document.Block(k).text;
            for (;;) {
                const std::size_t crlf = text.find("\r\n", i);
                if (crlf == std::string::npos) {
                    paragraph.append(text, i, std::string::npos);
                    break;
                }
                paragraph.append(text, i, crlf - i);
                if (const std::int64_t at = inParagraph(paragraph, start); at >= 0)
                    return at;
                start += paragraph.size() + 2;
                paragraph.clear();
                i = crlf + 2;
            }
        }
        return inParagraph(paragraph, start);
    }
    std::uint64_t end = document.PositionToOffset(pane, {ZuEndOfLine, lastLine});
    const ZuTextDocument::ZuBlockPlace place = document.FindBlockByOffset(pane, end);
    std::uint64_t blockStart = end - place.offset;
    std::size_t j = place.offset;
    for (std::size_t k = place.block + 1; k-- > 0;) {
        const std::string& text = document.Block(k).text;
        if (k != place.block) {
            blockStart -= text.size();
            j = text.size();
        }
        for (;;) {
            const std::size_t crlf = j >= 2 ? text.rfind("\r\n", j - 2) : std::string::npos;
            if (crlf == std::string::npos) {
                paragraph.insert(0, text, 0, j);
                break;
            }
            paragraph.insert(0, text, crlf + 2, j - (crlf + 2));
            if (const std::int64_t at = inParagraph(paragraph, blockStart + crlf + 2); at >= 0)
                return at;
            paragraph.clear();
            j = crlf;
        }
    }
    return inParagraph(paragraph, 0);
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
