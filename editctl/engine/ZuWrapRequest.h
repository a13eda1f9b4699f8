#pragma once
// A request to wrap or unwrap lines of one pane, and what it did.

#include <cstdint>

struct ZuWrapRequest {
    std::uint32_t firstLine = 1;    // 1-based lines of the pane
    std::uint32_t lastLine = 1;
    std::uint32_t stopLine = 0;     // past this line wrapping may stop once lines come out unchanged
    std::int32_t width = 0;         // pixels
    bool wholeWords = false;
    std::uint32_t lineOffset = 0;   // lines before the block being wrapped
    std::uint32_t baseLine = 0;     // for notifications
    std::uint32_t linesChanged = 0; // out: line entries added and removed
    std::uint32_t firstChanged = 0; // out: first changed line, 0 = none
    std::uint32_t lastReached = 0;  // out: the last line handled
};
