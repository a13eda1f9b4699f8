#include "editctl/engine/ZuRemovalUndoAction.h"

ZuTextRange ZuStreamRangeOf(const ZuTextDocument& document, int pane, std::uint64_t from, std::uint64_t to)
{
    return ZuTextRange(document.OffsetToPosition(pane, from), document.OffsetToPosition(pane, to), ZuRangeStream);
}

std::unique_ptr<ZuTextDocument> ZuNewFragment(const ZuTextDocument& document)
{
    return std::make_unique<ZuTextDocument>(document.Fonts().Provider(), document.BlockSize());
}

ZuRemovalUndoAction::ZuRemovalUndoAction(ZuTextDocument& document, int pane, std::uint64_t offset,
                                         std::unique_ptr<ZuTextDocument> removed)
    : document_(document), pane_(pane), offset_(offset), length_(removed->ByteCount()), fragment_(std::move(removed))
{
}

std::unique_ptr<ZuRemovalUndoAction> ZuRemovalUndoAction::Remove(ZuTextDocument& document, int pane,
                                                                 std::uint64_t from, std::uint64_t to, ZuErr& error)
{
    auto fragment = ZuNewFragment(document);
    error = document.RemoveBytes(fragment.get(), from, to);
    if (error != ZuOk)
        return nullptr;
    return std::make_unique<ZuRemovalUndoAction>(document, pane, from, std::move(fragment));
}

ZuErr ZuRemovalUndoAction::Undo()
{
    if (offset_ > document_.ByteCount())
        return ZuErrDataDamage;
    return document_.InsertFragmentAt(offset_, *fragment_);
}

ZuErr ZuRemovalUndoAction::Redo()
{
    if (offset_ + length_ > document_.ByteCount())
        return ZuErrDataDamage;
    return document_.RemoveBytes(fragment_.get(), offset_, offset_ + length_);
}
