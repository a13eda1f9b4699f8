#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The editor options that the NC text procedures read. The command copies them from the
// program-wide settings when it starts, so a procedure never looks at globals and a test can
// hand it any combination.
struct NumberingSettings {
    std::int32_t Startnumber = 10;
    std::int32_t Increment = 10;
    std::int32_t RestartNum = 9999;  // after it, numbering starts again at Startnumber
    std::int16_t N = 1;              // 1: a block number carries the letter N
    std::int16_t Space = 0;          // 1: one blank follows the block number
    std::int16_t BlankLines = 0;     // not 0: empty lines are numbered too
    // Line starts that the procedures leave alone: the entries 1 to CharNumber of the options.
    std::vector<std::string> SkipChars{"%", "(", "O"};
};
