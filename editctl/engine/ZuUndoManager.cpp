#include "editctl/engine/ZuUndoManager.h"

ZuUndoManager::~ZuUndoManager() = default;

ZuErr ZuUndoManager::BeginGroup()
{
    ZuUndoGroup* parent = open_.empty() ? &undo_ : open_.back().get();
    open_.push_back(std::make_unique<ZuUndoGroup>(parent));
    return ZuOk;
}

ZuErr ZuUndoManager::EndGroup()
{
    if (open_.empty())
        return ZuOk;
    std::unique_ptr<ZuUndoGroup> closed = std::move(open_.back());
    open_.pop_back();
    ZuUndoGroup* parent = closed->Parent();
    // A group closed after recording failed may lack actions: never file it.
    if (!closed->Empty() && !invalid_)
        parent->Add(std::move(closed));
    if (open_.empty()) {
        invalid_ = false;
        if (undo_.Count() > std::size_t(limit_))
            undo_.DropFirst(undo_.Count() - std::size_t(limit_));
    }
    return ZuOk;
}

void ZuUndoManager::Invalidate()
{
    undo_.Clear();
    invalid_ = true;
}

void ZuUndoManager::AddAction(std::unique_ptr<ZuUndoAction> action)
{
    if (!Recording())
        return; // the action is destroyed
    redo_.Clear();
    if (invalid_ || open_.empty())
        return;
    if (action == nullptr) {
        Invalidate();
        return;
    }
    open_.back()->Add(std::move(action));
}

void ZuUndoManager::Nest(bool begin)
{
    if (suspend_ > 0)
        return;
    if (begin) {
        if (nesting_ > 0) {
            ++nesting_;
        } else {
            BeginGroup();
            nesting_ = 1;
        }
    } else if (nesting_ > 0) {
        if (--nesting_ == 0)
            EndGroup();
    }
}

std::int32_t ZuUndoManager::Suspend()
{
    const std::int32_t saved = nesting_;
    nesting_ = 0;
    ++suspend_;
    return saved;
}

std::int32_t ZuUndoManager::Resume(std::int32_t savedNesting)
{
    if (suspend_ > 0) {
        --suspend_;
        nesting_ = savedNesting;
    }
    return suspend_;
}

void ZuUndoManager::EmptyAll()
{
    undo_.Clear();
    redo_.Clear();
}

bool ZuUndoManager::OpenChainHoldsActions() const
{
    for (const auto& group : open_)
        if (!group->Empty())
            return true;
    return false;
}

ZuErr ZuUndoManager::Replay(ZuUndoGroup& from, ZuUndoGroup& to, bool undo)
{
    if (from.Empty())
        return ZuOk;
    // Taking back an older edit beneath newer ones not yet filed would undo the wrong text.
    if (OpenChainHoldsActions())
        return ZuErrBadParameter;
    const std::int32_t saved = Suspend();
    std::unique_ptr<ZuUndoAction> group = from.TakeLast();
    const ZuErr error = undo ? group->Undo() : group->Redo();
    if (error == ZuOk)
        to.Add(std::move(group));
    else if (group->LeftDamaged())
        EmptyAll(); // the text no longer matches what either list expects
    else
        from.Add(std::move(group));
    Resume(saved);
    return error;
}

ZuErr ZuUndoManager::Undo()
{
    return Replay(undo_, redo_, true);
}

ZuErr ZuUndoManager::Redo()
{
    return Replay(redo_, undo_, false);
}
