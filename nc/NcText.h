#pragma once

// Building blocks shared by the NC text procedures: walking lines and writing the result.
// Not part of the interface the commands use.

#include <cassert>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace ncinternal {

// Makes `buffer` `size` characters long, keeping its first `keep` characters.
void SizeBuffer(std::string& buffer, std::size_t size, std::size_t keep);

// One line of the text: its characters and its own line break (CR LF, LF, or none for a last
// line without one). A lone CR is an ordinary character.
struct Line {
    std::string_view content;
    std::string_view lineBreak;
};

class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    // Nothing follows a final line break: a text "A\n" has one line.
    bool Next(Line& line)
    {
        if (pos_ >= text_.size())
            return false;
        const char* begin = text_.data() + pos_;
        const char* end = text_.data() + text_.size();
        const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', static_cast<std::size_t>(end - begin)));
        if (!lf) {
            line = Line{std::string_view(begin, static_cast<std::size_t>(end - begin)), std::string_view()};
            pos_ = text_.size();
            return true;
        }
        const char* contentEnd = (lf > begin && lf[-1] == '\r') ? lf - 1 : lf;
        line = Line{std::string_view(begin, static_cast<std::size_t>(contentEnd - begin)),
                    std::string_view(contentEnd, static_cast<std::size_t>(lf + 1 - contentEnd))};
        pos_ = static_cast<std::size_t>(lf + 1 - text_.data());
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// The output of one pass: a buffer sized up front and written through a pointer. A procedure
// calls Ensure with a bound of what it is about to write (once per line, as a rule) and then
// writes unchecked; Ensure grows the buffer geometrically when the bound does not fit.
class TextWriter {
public:
    explicit TextWriter(std::size_t expected)
    {
        SizeBuffer(buffer_, expected < 64 ? 64 : expected, 0);
        pos_ = buffer_.data();
        end_ = pos_ + buffer_.size();
    }

    void Ensure(std::size_t n)
    {
        if (static_cast<std::size_t>(end_ - pos_) < n)
            Grow(n);
    }

    void Put(char c)
    {
        assert(pos_ < end_);
        *pos_++ = c;
    }

    void Put(std::string_view s)
    {
        assert(static_cast<std::size_t>(end_ - pos_) >= s.size());
        if (s.empty())  // an empty view may hold no pointer at all
            return;
        std::memcpy(pos_, s.data(), s.size());
        pos_ += s.size();
    }

    char* Pos() { return pos_; }
    void SetPos(char* pos)
    {
        assert(pos >= buffer_.data() && pos <= end_);
        pos_ = pos;
    }

    std::string Finish()
    {
        buffer_.resize(static_cast<std::size_t>(pos_ - buffer_.data()));
        return std::move(buffer_);
    }

private:
    void Grow(std::size_t n)
    {
        const auto used = static_cast<std::size_t>(pos_ - buffer_.data());
        std::size_t size = buffer_.size() * 2;
        if (size < used + n)
            size = used + n;
        SizeBuffer(buffer_, size, used);
        pos_ = buffer_.data() + used;
        end_ = buffer_.data() + buffer_.size();
    }

    std::string buffer_;
    char* pos_ = nullptr;
    char* end_ = nullptr;
};

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A comment starts at "(" and runs to its ")" or the line end, or at ";" and runs to the line end.
inline bool StartsComment(char c) { return c == '(' || c == ';'; }

// The end of the comment that starts at `open`: just past its ")", or the line end (the "\n" of
// the line, or `last` when `last` ends the line).
inline const char* CommentEnd(const char* open, const char* last)
{
    const char* p = open + 1;
    if (*open == '(') {
        while (p < last && *p != ')' && *p != '\n')
            ++p;
        return p < last && *p == ')' ? p + 1 : p;
    }
    const auto* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(last - p)));
    return lf ? lf : last;
}

// The end of the value that follows an address at `p`: the characters `isValueChar` takes,
// except that a comma followed by a letter, a blank or the line end separates two words
// ("X50,Y0", as the bolt circle writes them) and is no part of the number.
template <typename IsValueChar>
const char* ValueEnd(const char* p, const char* last, IsValueChar isValueChar)
{
    for (; p < last && isValueChar(*p); ++p) {
        if (*p != ',')
            continue;
        const char next = p + 1 < last ? p[1] : '\n';
        if (IsLetter(next) || next == ' ' || next == '\t' || next == '\r' || next == '\n')
            break;
    }
    return p;
}

// Several CAM posts write a blank between an axis letter and its number ("X 0.0276"), and a
// control reads blanks inside a word as nothing: the value of the address whose letter stands
// just before `p` is then read past the spaces and tabs after the letter. The value is the run
// ValueEnd takes at `p`, or after the blanks when the letter has some; a run after blanks
// counts only when it holds a digit, so a letter followed by blanks and no number ("G1 X Y",
// "X (NOTE)", "X " at the line end) is a letter without a value: the result is empty at `p`.
// The blanks between `p` and the start of the result are for the caller to keep as written.
template <typename IsValueChar>
std::string_view ValueAfterAddress(const char* p, const char* last, IsValueChar isValueChar)
{
    const char* start = p;
    while (start < last && (*start == ' ' || *start == '\t'))
        ++start;
    const char* end = ValueEnd(start, last, isValueChar);
    if (start != p) {
        const char* digit = start;
        while (digit < end && !IsDigit(*digit))
            ++digit;
        if (digit == end)
            return std::string_view(p, 0);
    }
    return std::string_view(start, static_cast<std::size_t>(end - start));
}

inline std::size_t CountLines(std::string_view text)
{
    std::size_t lines = 1;
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        const auto* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        if (!lf)
            break;
        ++lines;
        p = lf + 1;
    }
    return lines;
}

}  // namespace ncinternal
