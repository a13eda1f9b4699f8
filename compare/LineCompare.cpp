#include "compare/LineCompare.h"

#include <cstring>

namespace compare {

namespace {

// The end of the line starting at pos (after its break), or the text's end.
std::size_t LineEnd(std::string_view text, std::size_t pos)
{
    const char* const begin = text.data();
    const char* p = begin + pos;
    const char* const end = begin + text.size();
    while (p != end && *p != '\n' && *p != '\r')
        ++p;
    if (p == end)
        return text.size();
    if (*p == '\r' && p + 1 != end && p[1] == '\n')
        return std::size_t(p + 2 - begin);
    return std::size_t(p + 1 - begin);
}

}  // namespace

LineCompare::LineCompare(std::string_view text1, std::string_view text2) : text1_(text1), text2_(text2)
{
}

bool LineCompare::Step(std::size_t maxLines, std::vector<LineDifference>& out)
{
    for (std::size_t n = 0; n < maxLines && !Done(); ++n) {
        ++line_;
        const bool has1 = pos1_ < text1_.size();
        const bool has2 = pos2_ < text2_.size();
        if (!has1 || !has2) {
            // Past the end of one text: the other's line is not empty, so it differs.
            if (has1)
                pos1_ = LineEnd(text1_, pos1_);
            else
                pos2_ = LineEnd(text2_, pos2_);
            out.push_back({line_, has1, has2});
            continue;
        }
        const std::size_t end1 = LineEnd(text1_, pos1_);
        const std::size_t length = end1 - pos1_;
        // The second line is the same when it holds the same bytes and ends where the first
        // does: its break lies at the same place, unless the first ends in a lone CR (or no
        // break) and the second goes on with the LF of a CR LF (or any byte).
        bool same = text2_.size() - pos2_ >= length
                    && std::memcmp(text1_.data() + pos1_, text2_.data() + pos2_, length) == 0;
        if (same) {
            const std::size_t after2 = pos2_ + length;
            const char last = text1_[end1 - 1];
            if (last != '\n' && last != '\r')
                same = after2 == text2_.size();  // the first text's last line, without a break
            else if (last == '\r')
                same = after2 == text2_.size() || text2_[after2] != '\n';
        }
        if (same) {
            pos2_ += length;
        } else {
            pos2_ = LineEnd(text2_, pos2_);
            out.push_back({line_, true, true});
        }
        pos1_ = end1;
    }
    return Done();
}

std::vector<LineDifference> DifferingLines(std::string_view text1, std::string_view text2)
{
    std::vector<LineDifference> out;
    LineCompare run(text1, text2);
    while (!run.Step(std::size_t(-1), out)) {
    }
    return out;
}

std::size_t CountLines(std::string_view text)
{
    std::size_t lines = 0;
    for (std::size_t pos = 0; pos < text.size(); pos = LineEnd(text, pos))
        ++lines;
    return lines;
}

}  // namespace compare
