#include "editctl/engine/ZuWrapUndoAction.h"

std::vector<std::uint32_t> ZuWrapUndoAction::LineLengths(const ZuTextDocument& document, int pane,
                                                         std::uint32_t firstLine, std::uint32_t count)
{
    std::vector<std::uint32_t> lengths;
    const std::uint32_t lines = document.LineCount(pane);
    firstLine = firstLine == 0 ? 1 : firstLine;
    for (std::uint32_t line = firstLine; line <= lines && line - firstLine < count; ++line) {
        const std::uint64_t start = document.PositionToOffset(pane, {0, line});
        const std::uint64_t next =
            line == lines ? document.ByteCount() : document.PositionToOffset(pane, {0, line + 1});
        if (next == start)
            break; // the empty last line has no length to restore
        lengths.push_back(std::uint32_t(next - start));
    }
    return lengths;
}
