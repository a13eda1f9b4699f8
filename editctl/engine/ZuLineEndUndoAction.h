#pragma once
// A paragraph end set or cleared, found again by the byte offset of the break
// (where its CR LF starts), so that re-wrapping or joining of lines in between
// does not misplace it.

#include "editctl/engine/ZuTextDocument.h"
#include "editctl/engine/ZuUndoAction.h"

#include <memory>

class ZuLineEndUndoAction : public ZuUndoAction {
public:
    // `on`: a CR LF now starts at `offset`; otherwise one was removed from there.
    ZuLineEndUndoAction(ZuTextDocument& document, int pane, std::uint64_t offset, bool on)
        : document_(document), pane_(pane), offset_(offset), on_(on)
    {
    }
    // Sets or clears the paragraph end of a line and records it; null when nothing
    // changed or the change was refused (`error`).
    static std::unique_ptr<ZuLineEndUndoAction> Set(ZuTextDocument& document, int pane, std::uint32_t line, bool on,
                                                    ZuErr& error);

    ZuErr Undo() override { return Apply(!on_); }
    ZuErr Redo() override { return Apply(on_); }

private:
    ZuErr Apply(bool on);

    ZuTextDocument& document_;
    int pane_;
    std::uint64_t offset_;
    bool on_;
};
