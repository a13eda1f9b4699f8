#include "nc/SyntaxCheck.h"

#include "nc/NcText.h"

#include <array>
#include <cstring>

using namespace ncinternal;

namespace {

// The valid two-digit codes, by their number.
constexpr std::array<bool, 100> TwoDigitCodes(std::initializer_list<std::pair<int, int>> spans)
{
    std::array<bool, 100> valid{};
    for (const auto& [from, to] : spans)
        for (int code = from; code <= to; ++code)
            valid[static_cast<std::size_t>(code)] = true;
    return valid;
}

constexpr std::array<bool, 100> TwoDigitG = TwoDigitCodes({{0, 5},
                                                           {9, 13},
                                                           {15, 23},
                                                           {27, 34},
                                                           {36, 37},
                                                           {39, 61},
                                                           {64, 87},
                                                           {89, 92},
                                                           {94, 99}});

constexpr std::array<bool, 100> TwoDigitM = TwoDigitCodes({{0, 9},
                                                           {12, 12},
                                                           {19, 26},
                                                           {28, 30},
                                                           {41, 42},
                                                           {53, 53},
                                                           {58, 58},
                                                           {60, 62},
                                                           {66, 67},
                                                           {85, 86},
                                                           {97, 99}});

int TwoDigitNumber(std::string_view digits)
{
    return (digits[0] - '0') * 10 + (digits[1] - '0');
}

// A faulty word is reported with at most this many digits.
constexpr std::size_t ReportedDigits = 40;

SyntaxFault Fault(SyntaxFaultKind kind, std::int64_t line, char letter, std::string_view digits)
{
    std::string word(1, letter);
    if (digits.size() > ReportedDigits)
        word.append(digits.substr(0, ReportedDigits)).append("...");
    else
        word.append(digits);
    return SyntaxFault{kind, line, std::move(word)};
}

}  // namespace

bool IsValidGCode(std::string_view digits)
{
    if (digits.size() == 1)
        return digits[0] <= '4';
    return digits.size() == 2 && TwoDigitG[static_cast<std::size_t>(TwoDigitNumber(digits))];
}

bool IsValidMCode(std::string_view digits)
{
    if (digits.size() == 1)
        return true;
    if (digits.size() == 2)
        return TwoDigitM[static_cast<std::size_t>(TwoDigitNumber(digits))];
    return digits == "900" || digits == "901";
}

std::optional<SyntaxFault> FindSyntaxFault(std::string_view text)
{
    LineReader lines(text);
    Line line;
    for (std::int64_t index = 0; lines.Next(line); ++index) {
        const std::string_view content = line.content;
        if (content.find('%') != std::string_view::npos)
            continue;
        bool opening = false;
        bool closing = false;
        std::string_view badG, badM;
        bool haveBadG = false, haveBadM = false;
        const std::size_t n = content.size();
        std::size_t i = 0;
        while (i < n) {
            const char c = content[i];
            if (c == ';')
                break;  // the rest of the line is a comment
            if (c == '(') {
                opening = true;
                const std::size_t close = content.find(')', i + 1);
                if (close == std::string_view::npos)
                    break;
                closing = true;
                i = close + 1;
                continue;
            }
            if (c == ')')
                closing = true;
            const char letter = static_cast<char>(c & ~0x20);  // 'g' reads as 'G'
            if (letter == 'G' || letter == 'M') {
                std::size_t j = i + 1;
                while (j < n && IsDigit(content[j]))
                    ++j;
                const std::string_view digits = content.substr(i + 1, j - i - 1);
                if (letter == 'G' && !haveBadG && !IsValidGCode(digits)) {
                    badG = digits;
                    haveBadG = true;
                } else if (letter == 'M' && !haveBadM && !IsValidMCode(digits)) {
                    badM = digits;
                    haveBadM = true;
                }
                i = j;
                continue;
            }
            ++i;
        }
        if (opening != closing)
            return SyntaxFault{SyntaxFaultKind::CommentBrackets, index, std::string()};
        if (haveBadG)
            return Fault(SyntaxFaultKind::GCode, index, 'G', badG);
        if (haveBadM)
            return Fault(SyntaxFaultKind::MCode, index, 'M', badM);
    }
    return std::nullopt;
}

std::string SyntaxFaultMessage(const SyntaxFault& fault)
{
    switch (fault.kind) {
    case SyntaxFaultKind::CommentBrackets:
        return "Missed matched comment brackets.";
    case SyntaxFaultKind::GCode:
        return "Invalid GCode Number " + fault.word;
    case SyntaxFaultKind::MCode:
        return "Invalid MCode Number " + fault.word;
    }
    return std::string();
}
