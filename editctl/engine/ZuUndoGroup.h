#pragma once
// The actions of one user operation, in the order they were recorded. Undo
// runs them from the last to the first, Redo from the first to the last; a
// failing action stops the run and the actions already run are run back, so a
// group is applied whole or not at all.

#include "editctl/engine/ZuUndoAction.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

class ZuUndoGroup : public ZuUndoAction {
public:
    explicit ZuUndoGroup(ZuUndoGroup* parent = nullptr) : parent_(parent) {}

    ZuErr Undo() override;
    ZuErr Redo() override;
    bool LeftDamaged() const override { return damaged_; }

    ZuUndoGroup* Parent() const { return parent_; }
    std::size_t Count() const { return actions_.size(); }
    bool Empty() const { return actions_.empty(); }
    void Add(std::unique_ptr<ZuUndoAction> action) { actions_.push_back(std::move(action)); }
    std::unique_ptr<ZuUndoAction> TakeLast();
    // Destroys the oldest n actions.
    void DropFirst(std::size_t n);
    void Clear() { actions_.clear(); }

private:
    ZuUndoGroup* parent_;
    std::vector<std::unique_ptr<ZuUndoAction>> actions_;
    bool damaged_ = false;
};
