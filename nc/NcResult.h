#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

// Why a text procedure refused to change the program.
enum class NcErrorKind {
    ProgramError,      // Insert Spaces met a character that is neither an address, a value nor a comment
    UnreadableValue,   // a coordinate value that is not a decimal number ("X-", "X1,5", "X1.2.3")
    NumberOutOfRange,  // a block number would leave the 32-bit range
};

struct NcError {
    NcErrorKind kind;
    std::int64_t line;  // counted from 1 within the text the procedure was given

    friend bool operator==(const NcError&, const NcError&) = default;
};

// The new text, or the error that stopped the procedure. On an error the caller writes nothing.
struct NcResult {
    std::string text;
    std::optional<NcError> error;

    bool ok() const { return !error.has_value(); }

    static NcResult Ok(std::string text) { return NcResult{std::move(text), std::nullopt}; }
    static NcResult Fail(NcErrorKind kind, std::int64_t line)
    {
        return NcResult{std::string(), NcError{kind, line}};
    }
};

// The text of the message Insert Spaces shows for a program error. The number is written with a
// leading blank, so two blanks stand before it, as users of the program know it.
inline std::string ProgramErrorText(std::int64_t line)
{
    return "Program error at line # " + std::string(" ") + std::to_string(line);
}
