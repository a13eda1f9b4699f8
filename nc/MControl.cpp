#include "nc/MControl.h"

#include "nc/NcNumber.h"
#include "nc/NcText.h"
#include "nc/SkipSet.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

using namespace ncinternal;

namespace {

// A capital N begins a block number when blanks and then a digit follow it.
bool BeginsBlockNumber(const char* p, const char* last)
{
    while (p < last && *p == ' ')
        ++p;
    return p < last && IsDigit(*p);
}

const char* FindChar(const char* p, const char* last, char c)
{
    return static_cast<const char*>(std::memchr(p, c, static_cast<std::size_t>(last - p)));
}

char* Copy(const char* first, const char* last, char* out)
{
    const auto n = static_cast<std::size_t>(last - first);
    std::memcpy(out, first, n);
    return out + n;
}

// Copies [first, last) into out without its block numbers and returns the end of what it wrote.
// `first` is the start of the text or of a line; `inComment` carries a comment that is still open
// at `last` into the next call.
char* StripBlockNumbers(const char* first, const char* last, char* out, bool& inComment)
{
    const char* p = first;
    if (inComment) {
        const char* close = FindChar(p, last, ')');
        if (!close)
            return Copy(p, last, out);
        out = Copy(p, close + 1, out);
        p = close + 1;
        inComment = false;
    }
    while (p < last) {
        const char c = *p;
        if (c == '(') {
            const char* close = FindChar(p + 1, last, ')');
            if (!close) {
                inComment = true;
                return Copy(p, last, out);
            }
            out = Copy(p, close + 1, out);
            p = close + 1;
        } else if (c == 'N' && (p == first || !IsLetter(p[-1])) && BeginsBlockNumber(p + 1, last)) {
            ++p;
            while (p < last && (*p == ' ' || IsDigit(*p)))
                ++p;
        } else {
            *out++ = c;
            ++p;
        }
    }
    return out;
}

// Writes the line without the blanks before its first "(", unless it is a skip line; returns
// the end of what it wrote. out has room for the whole line.
char* RemoveSpacesOfLine(std::string_view line, const SkipSet& skip, char* out)
{
    const char* p = line.data();
    const char* last = p + line.size();
    if (p == last || skip.Contains(*p))
        return Copy(p, last, out);
    const char* paren = FindChar(p, last, '(');
    const char* packedEnd = paren ? paren : last;
    for (; p < packedEnd; ++p) {
        *out = *p;
        out += (*p != ' ');
    }
    return Copy(packedEnd, last, out);
}

// The characters of a value after an address, for Insert Spaces: + , - . and digits.
bool IsWordValueChar(char c)
{
    return (c >= '+' && c <= '.') || IsDigit(c);
}

// The characters of a coordinate value: + , - . / and digits (codes 43 to 57).
bool IsAxisValueChar(char c)
{
    return c >= '+' && c <= '9';
}

}  // namespace

std::string RemoveBlockNumbers(std::string_view text)
{
    TextWriter out(text.size());
    bool inComment = false;
    out.SetPos(StripBlockNumbers(text.data(), text.data() + text.size(), out.Pos(), inComment));
    return out.Finish();
}

NcResult InsertBlockNumbers(std::string_view text, const NumberingSettings& settings)
{
    const SkipSet skip = SkipSet::FromSkipChars(settings.SkipChars);
    const bool numberEmptyLines = settings.BlankLines != 0;
    TextWriter out(text.size() + CountLines(text) * 6);
    LineReader lines(text);
    Line line;
    bool inComment = false;
    std::int64_t number = settings.Startnumber;
    std::int64_t lineNumber = 0;
    while (lines.Next(line)) {
        ++lineNumber;
        out.Ensure(line.content.size() + line.lineBreak.size() + MaxBlockNumberText);
        char* start = out.Pos();
        char* end = StripBlockNumbers(line.content.data(), line.content.data() + line.content.size(), start,
                                      inComment);
        const auto length = static_cast<std::size_t>(end - start);
        // A last line that held only a block number is gone, not an empty line to number.
        const bool skipLine = length == 0 ? (!numberEmptyLines || line.lineBreak.empty()) : skip.Contains(*start);
        if (!skipLine) {
            if (number < INT32_MIN || number > INT32_MAX)
                return NcResult::Fail(NcErrorKind::NumberOutOfRange, lineNumber);
            char numberText[MaxBlockNumberText];
            const std::size_t k = WriteBlockNumberText(numberText, number, settings);
            if (k > 0) {
                std::memmove(start + k, start, length);
                std::memcpy(start, numberText, k);
                end += k;
            }
            number += settings.Increment;
            if (number > settings.RestartNum)
                number = settings.Startnumber;
        }
        out.SetPos(end);
        out.Put(line.lineBreak);
    }
    return NcResult::Ok(out.Finish());
}

std::string RemoveBlankLines(std::string_view text)
{
    TextWriter out(text.size());
    LineReader lines(text);
    Line line;
    while (lines.Next(line)) {
        if (line.content.empty())
            continue;
        out.Ensure(line.content.size() + line.lineBreak.size());
        out.Put(line.content);
        out.Put(line.lineBreak);
    }
    return out.Finish();
}

std::string RemoveSpaces(std::string_view text, const NumberingSettings& settings)
{
    const SkipSet skip = SkipSet::FromSkipChars(settings.SkipChars);
    TextWriter out(text.size());
    LineReader lines(text);
    Line line;
    while (lines.Next(line)) {
        out.Ensure(line.content.size() + line.lineBreak.size());
        out.SetPos(RemoveSpacesOfLine(line.content, skip, out.Pos()));
        out.Put(line.lineBreak);
    }
    return out.Finish();
}

NcResult InsertSpaces(std::string_view text, const NumberingSettings& settings)
{
    const SkipSet skip = SkipSet::FromSkipChars(settings.SkipChars);
    TextWriter out(text.size() + text.size() / 4);
    std::string packed;  // the line as Remove Spaces leaves it
    LineReader lines(text);
    Line line;
    std::int64_t lineNumber = 0;
    while (lines.Next(line)) {
        ++lineNumber;
        if (packed.size() < line.content.size())
            packed.resize(line.content.size());
        const char* first = packed.data();
        const char* last = RemoveSpacesOfLine(line.content, skip, packed.data());
        const auto n = static_cast<std::size_t>(last - first);
        // Every character may get one blank after it.
        out.Ensure(2 * n + line.lineBreak.size());
        if (n == 0 || skip.Contains(*first)) {
            out.Put(std::string_view(first, n));
            out.Put(line.lineBreak);
            continue;
        }
        const char* p = first;
        while (p < last) {
            const char c = *p;
            if (IsLetter(c) || c == '/') {
                out.Put(c);
                ++p;
                while (p < last && IsWordValueChar(*p))
                    out.Put(*p++);
                if (p < last)
                    out.Put(' ');
            } else if (c == '(' || c == ')') {
                out.Put(std::string_view(p, static_cast<std::size_t>(last - p)));
                break;
            } else {
                return NcResult::Fail(NcErrorKind::ProgramError, lineNumber);
            }
        }
        out.Put(line.lineBreak);
    }
    return NcResult::Ok(out.Finish());
}

NcResult ConvertAxes(std::string_view text, const NumberingSettings& settings, AxisConversion direction,
                     std::string_view axes)
{
    struct Axis {
        bool converted = false;
        bool hasPrevious = false;
        NcValue previous;
    };
    std::array<Axis, 256> axis{};
    for (char letter : axes)
        axis[static_cast<unsigned char>(letter)].converted = true;
    const bool toIncremental = direction == AxisConversion::ToIncremental;

    const SkipSet skip = SkipSet::FromSkipChars(settings.SkipChars);
    // Positions written with four decimals grow more than moves do: room for that up front saves
    // a copy of the whole text.
    TextWriter out(text.size() + text.size() / (toIncremental ? 4 : 2));
    LineReader lines(text);
    Line line;
    std::int64_t lineNumber = 0;
    char written[MaxFixed4Text];
    while (lines.Next(line)) {
        ++lineNumber;
        const std::size_t n = line.content.size();
        const char* content = line.content.data();
        out.Ensure(n + line.lineBreak.size());
        if (n == 0 || skip.Contains(content[0])) {
            out.Put(line.content);
            out.Put(line.lineBreak);
            continue;
        }
        std::size_t i = 0;
        while (i < n) {
            const char c = content[i];
            if (StartsComment(c)) {
                // A comment keeps its words: they are no moves of the machine.
                const std::size_t end = static_cast<std::size_t>(CommentEnd(content + i, content + n) - content);
                out.Put(line.content.substr(i, end - i));
                i = end;
                continue;
            }
            Axis& a = axis[static_cast<unsigned char>(c)];
            const std::string_view run =
                a.converted ? ValueAfterAddress(content + i + 1, content + n, IsAxisValueChar) : std::string_view();
            if (run.empty()) {
                out.Put(c);
                ++i;
                continue;
            }
            const std::optional<NcValue> value = ReadNcValue(run);
            if (!value)
                return NcResult::Fail(NcErrorKind::UnreadableValue, lineNumber);
            const auto valueStart = static_cast<std::size_t>(run.data() - content);
            const std::size_t j = valueStart + run.size();
            out.Put(line.content.substr(i, valueStart - i));  // the letter and any blanks after it
            if (!a.hasPrevious) {
                out.Put(run);
                a.previous = *value;
                a.hasPrevious = true;
            } else {
                std::size_t length;
                if (value->exact && a.previous.exact) {
                    const std::int64_t result = toIncremental ? value->tenThousandths - a.previous.tenThousandths
                                                              : value->tenThousandths + a.previous.tenThousandths;
                    length = WriteFixed4(written, result);
                    // Toward absolute the next move adds to the position as written.
                    a.previous = toIncremental ? *value : ValueOfTenThousandths(result);
                } else {
                    const double result = toIncremental ? value->Value() - a.previous.Value()
                                                        : value->Value() + a.previous.Value();
                    if (!std::isfinite(result))
                        return NcResult::Fail(NcErrorKind::UnreadableValue, lineNumber);
                    length = WriteFixed4(written, result);
                    a.previous = toIncremental ? *value : *ReadNcValue(std::string_view(written, length));
                }
                out.Ensure(length + (n - j) + line.lineBreak.size());
                out.Put(std::string_view(written, length));
            }
            i = j;
        }
        out.Put(line.lineBreak);
    }
    return NcResult::Ok(out.Finish());
}

std::string MarkLines(std::string_view lines, std::string_view prefix, std::string_view suffix)
{
    const std::size_t extra = prefix.size() + suffix.size();
    if (suffix.empty()) {
        // Only a prefix: each line goes whole, with its break, behind it.
        TextWriter out(lines.size() + lines.size() / 16 * extra);
        const char* p = lines.data();
        const char* const last = p + lines.size();
        while (p < last) {
            const char* lf = FindChar(p, last, '\n');
            const char* end = lf ? lf + 1 : last;
            out.Ensure(extra + static_cast<std::size_t>(end - p));
            out.Put(prefix);
            out.Put(std::string_view(p, static_cast<std::size_t>(end - p)));
            p = end;
        }
        return out.Finish();
    }
    TextWriter out(lines.size() + lines.size() / 16 * extra);
    LineReader reader(lines);
    Line line;
    while (reader.Next(line)) {
        out.Ensure(extra + line.content.size() + line.lineBreak.size());
        out.Put(prefix);
        out.Put(line.content);
        out.Put(suffix);
        out.Put(line.lineBreak);
    }
    return out.Finish();
}

std::string RemoveCommentBrackets(std::string_view text)
{
    TextWriter out(text.size());
    const char* p = text.data();
    const char* const last = p + text.size();
    // The next "(" and the next ")" at or after p, found once each.
    const char* open = FindChar(p, last, '(');
    const char* close = FindChar(p, last, ')');
    while (open || close) {
        const char* bracket = !close || (open && open < close) ? open : close;
        out.Put(std::string_view(p, static_cast<std::size_t>(bracket - p)));
        p = bracket + 1;
        if (bracket == open)
            open = FindChar(p, last, '(');
        else
            close = FindChar(p, last, ')');
    }
    out.Put(std::string_view(p, static_cast<std::size_t>(last - p)));
    return out.Finish();
}

bool AxisMap::IsPermutation() const
{
    const auto isAxis = [](char c) { return c == 'X' || c == 'Y' || c == 'Z'; };
    return isAxis(X) && isAxis(Y) && isAxis(Z) && X != Y && Y != Z && X != Z;
}

std::string SwitchAxes(std::string_view text, const AxisMap& map)
{
    TextWriter out(text.size());
    char* p = out.Pos();
    const char x = map.X;
    const char y = map.Y;
    const char z = map.Z;
    const char* const first = text.data();
    const char* const last = first + text.size();
    const char* from = first;
    while (from < last) {
        // Up to the next comment the letters change; selects rather than a table, so that the
        // compiler can do many bytes at a time.
        const char* to = from;
        while (to < last && !StartsComment(*to))
            ++to;
        const auto n = static_cast<std::size_t>(to - from);
        for (std::size_t i = 0; i < n; ++i) {
            const char c = from[i];
            p[i] = c == 'X' ? x : c == 'Y' ? y : c == 'Z' ? z : c;
        }
        p += n;
        if (to == last)
            break;
        const char* end = CommentEnd(to, last);
        std::memcpy(p, to, static_cast<std::size_t>(end - to));
        p += end - to;
        from = end;
    }
    out.SetPos(p);
    return out.Finish();
}
