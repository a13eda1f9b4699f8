#pragma once

// Numbering of selected lines: the document window takes the selected lines whole and writes
// back what NumberHighLightText returns, with one replacement.

#include "nc/NcResult.h"
#include "nc/NumberingSettings.h"
#include "nc/SkipSet.h"

#include <cstdint>
#include <string>
#include <string_view>

struct RenumberedLine {
    std::string text;
    bool LineNumbered = false;  // false: the line was left as it was and used no number
};

// Numbers one line (without its line break) with `number`. A line of fewer than two characters,
// or one whose first character is in charsToSkip, stays as it is. An old block number at the
// start of the line goes first: an N followed (after any blanks) by digits, or digits alone, and
// then one blank.
RenumberedLine RenumberText(std::string_view line, const SkipSet& charsToSkip, std::int64_t number,
                            const NumberingSettings& settings);

// Numbers whole lines (each keeps its own line break) from Startnumber by Increment; RestartNum
// does not apply to a selection. A number that would leave the 32-bit range is an error at that
// line (counted from 1 within `lines`), and then nothing is to be written.
NcResult NumberHighLightText(std::string_view lines, const NumberingSettings& settings);
