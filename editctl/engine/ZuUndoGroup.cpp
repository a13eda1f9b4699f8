#include "editctl/engine/ZuUndoGroup.h"

ZuErr ZuUndoGroup::Undo()
{
    damaged_ = false;
    for (std::size_t i = actions_.size(); i-- > 0;) {
        const ZuErr error = actions_[i]->Undo();
        if (error == ZuOk)
            continue;
        if (actions_[i]->LeftDamaged())
            damaged_ = true;
        // Make again what this run already took back, so the text is as before the call.
        for (std::size_t k = i + 1; k < actions_.size() && !damaged_; ++k)
            if (actions_[k]->Redo() != ZuOk)
                damaged_ = true;
        return error;
    }
    return ZuOk;
}

ZuErr ZuUndoGroup::Redo()
{
    damaged_ = false;
    for (std::size_t i = 0; i < actions_.size(); ++i) {
        const ZuErr error = actions_[i]->Redo();
        if (error == ZuOk)
            continue;
        if (actions_[i]->LeftDamaged())
            damaged_ = true;
        for (std::size_t k = i; k-- > 0 && !damaged_;)
            if (actions_[k]->Undo() != ZuOk)
                damaged_ = true;
        return error;
    }
    return ZuOk;
}

std::unique_ptr<ZuUndoAction> ZuUndoGroup::TakeLast()
{
    if (actions_.empty())
        return nullptr;
    std::unique_ptr<ZuUndoAction> last = std::move(actions_.back());
    actions_.pop_back();
    return last;
}

void ZuUndoGroup::DropFirst(std::size_t n)
{
    n = std::min(n, actions_.size());
    actions_.erase(actions_.begin(), actions_.begin() + std::ptrdiff_t(n));
}
