#pragma once
// A re-wrap of a pane's lines: the lengths of the lines from the first one on,
// before and after (each the distance from a line's start to the next one's).

#include "editctl/engine/ZuTextDocument.h"
#include "editctl/engine/ZuUndoAction.h"

#include <vector>

class ZuWrapUndoAction : public ZuUndoAction {
public:
    ZuWrapUndoAction(ZuTextDocument& document, int pane, std::uint32_t firstLine, std::vector<std::uint32_t> before,
                     std::vector<std::uint32_t> after)
        : document_(document), pane_(pane), firstLine_(firstLine), before_(std::move(before)), after_(std::move(after))
    {
    }
    // The lengths of `count` lines of a pane from `firstLine` on (fewer at the end of the text).
    static std::vector<std::uint32_t> LineLengths(const ZuTextDocument& document, int pane, std::uint32_t firstLine,
                                                  std::uint32_t count);

    ZuErr Undo() override { return document_.RestoreLineLengths(pane_, firstLine_, before_); }
    ZuErr Redo() override { return document_.RestoreLineLengths(pane_, firstLine_, after_); }

private:
    ZuTextDocument& document_;
    int pane_;
    std::uint32_t firstLine_;
    std::vector<std::uint32_t> before_;
    std::vector<std::uint32_t> after_;
};
