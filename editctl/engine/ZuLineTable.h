#pragma once
// Where each line of one pane starts inside a block. A soft-wrapped line is only
// an entry that starts inside a paragraph; paragraph ends are CR LF in the text.

#include <cstdint>
#include <vector>

enum ZuLineFlags : std::uint32_t {
    ZuLineKeepsBreak = 1, // starts a display line that wrapping never re-joins
    ZuLineNotInRtf = 2,   // left out when the text is written as RTF
};

struct ZuLineEntry {
    std::uint32_t start = 0;
    std::uint32_t layout[2] = {0, 0}; // measured by painting; 0 = not yet measured
    std::uint32_t flags = 0;

    void ClearLayout() { layout[0] = layout[1] = 0; }
};

using ZuLineTable = std::vector<ZuLineEntry>;
