#pragma once
// Text that was removed: a private fragment holds its bytes and formats, and
// the byte offset it was taken from, which stays right whatever the panes'
// wrapping did since. Undo puts the fragment back; Redo takes it out again.

#include "editctl/engine/ZuTextDocument.h"
#include "editctl/engine/ZuUndoAction.h"

#include <memory>

class ZuRemovalUndoAction : public ZuUndoAction {
public:
    // `removed` holds what left the document at `offset`.
    ZuRemovalUndoAction(ZuTextDocument& document, int pane, std::uint64_t offset,
                        std::unique_ptr<ZuTextDocument> removed);
    // Removes [from, to) of the document and records it; null when the removal was refused
    // (then nothing changed and `error` says why).
    static std::unique_ptr<ZuRemovalUndoAction> Remove(ZuTextDocument& document, int pane, std::uint64_t from,
                                                       std::uint64_t to, ZuErr& error);

    ZuErr Undo() override;
    ZuErr Redo() override;

    std::uint64_t Offset() const { return offset_; }
    const ZuTextDocument& Fragment() const { return *fragment_; }

private:
    ZuTextDocument& document_;
    int pane_;
    std::uint64_t offset_;
    std::uint64_t length_;
    std::unique_ptr<ZuTextDocument> fragment_;
};

// A stream range of a pane between two byte offsets.
ZuTextRange ZuStreamRangeOf(const ZuTextDocument& document, int pane, std::uint64_t from, std::uint64_t to);
// An empty fragment that fits a document (its measuring and block size).
std::unique_ptr<ZuTextDocument> ZuNewFragment(const ZuTextDocument& document);
