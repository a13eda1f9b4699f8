#pragma once
// The tab stops of one paragraph replaced: undo and redo swap the sets, found
// again by the paragraph's byte offset.

#include "editctl/engine/ZuTabSet.h"
#include "editctl/engine/ZuTextDocument.h"
#include "editctl/engine/ZuUndoAction.h"

#include <memory>

class ZuTabSetUndoAction : public ZuUndoAction {
public:
    // Null sets stand for the document's default set.
    ZuTabSetUndoAction(ZuTextDocument& document, std::uint64_t offset, std::unique_ptr<ZuTabSet> before,
                       std::unique_ptr<ZuTabSet> after)
        : document_(document), offset_(offset), before_(std::move(before)), after_(std::move(after))
    {
    }
    ZuErr Undo() override { return document_.SetParagraphTabSet(offset_, before_ ? before_->Clone() : nullptr); }
    ZuErr Redo() override { return document_.SetParagraphTabSet(offset_, after_ ? after_->Clone() : nullptr); }

private:
    ZuTextDocument& document_;
    std::uint64_t offset_;
    std::unique_ptr<ZuTabSet> before_;
    std::unique_ptr<ZuTabSet> after_;
};
