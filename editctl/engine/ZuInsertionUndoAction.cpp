#include "editctl/engine/ZuInsertionUndoAction.h"

#include "editctl/engine/ZuRemovalUndoAction.h"

ZuInsertionUndoAction::ZuInsertionUndoAction(ZuTextDocument& document, int pane, std::uint64_t from, std::uint64_t to)
    : document_(document), pane_(pane), from_(from), to_(to), fragment_(ZuNewFragment(document))
{
}

std::unique_ptr<ZuInsertionUndoAction> ZuInsertionUndoAction::Insert(ZuTextDocument& document, int pane,
                                                                     std::uint64_t offset, std::string_view bytes,
                                                                     ZuErr& error)
{
    const std::uint64_t before = document.ByteCount();
    error = document.InsertTextAt(offset, bytes);
    if (error != ZuOk)
        return nullptr;
    // The document may add a line break of its own; the offsets cover what it gained.
    return std::make_unique<ZuInsertionUndoAction>(document, pane, offset,
                                                   offset + (document.ByteCount() - before));
}

ZuErr ZuInsertionUndoAction::Undo()
{
    if (to_ > document_.ByteCount())
        return ZuErrDataDamage;
    return document_.RemoveBytes(fragment_.get(), from_, to_);
}

ZuErr ZuInsertionUndoAction::Redo()
{
    if (from_ > document_.ByteCount())
        return ZuErrDataDamage;
    return document_.InsertFragmentAt(from_, *fragment_);
}
