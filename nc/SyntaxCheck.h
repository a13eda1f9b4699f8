#pragma once

// The NC syntax check: comment brackets, G codes and M codes, line by line.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class SyntaxFaultKind {
    CommentBrackets,  // a line holds "(" or ")" without the other
    GCode,            // a G word that is not a valid G code
    MCode,            // an M word that is not a valid M code
};

struct SyntaxFault {
    SyntaxFaultKind kind;
    std::int64_t line;  // counted from 0, as the editing control counts
    std::string word;   // the faulty word, its letter in capitals ("G5", "M13", "G")

    friend bool operator==(const SyntaxFault&, const SyntaxFault&) = default;
};

// The first fault of the text, or none. A line holding "%" is not checked. Comments ("(" to the
// first ")" or the line end, ";" to the line end) are skipped wherever they stand; every G and M
// word outside them is checked, lower-case letters read as capitals. The bracket rule looks at
// the line outside ";" comments and comes first; then the G words, then the M words of the line.
std::optional<SyntaxFault> FindSyntaxFault(std::string_view text);

// The word (the letter and the digits after it, without the letter here) is a valid code.
bool IsValidGCode(std::string_view digits);
bool IsValidMCode(std::string_view digits);

// The message for a fault, as the check shows it.
std::string SyntaxFaultMessage(const SyntaxFault& fault);
