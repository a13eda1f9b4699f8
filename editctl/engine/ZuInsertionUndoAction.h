#pragma once
// Text that was inserted, by its byte offsets. Undo takes it out into a
// private fragment (keeping its formats); Redo puts the fragment back.

#include "editctl/engine/ZuTextDocument.h"
#include "editctl/engine/ZuUndoAction.h"

#include <memory>
#include <string_view>

class ZuInsertionUndoAction : public ZuUndoAction {
public:
    // The document gained [from, to).
    ZuInsertionUndoAction(ZuTextDocument& document, int pane, std::uint64_t from, std::uint64_t to);
    // Inserts bytes at an offset and records it; null when refused (nothing changed).
    static std::unique_ptr<ZuInsertionUndoAction> Insert(ZuTextDocument& document, int pane, std::uint64_t offset,
                                                         std::string_view bytes, ZuErr& error);

    ZuErr Undo() override;
    ZuErr Redo() override;

private:
    ZuTextDocument& document_;
    int pane_;
    std::uint64_t from_;
    std::uint64_t to_;
    std::unique_ptr<ZuTextDocument> fragment_;
};
