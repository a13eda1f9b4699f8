#pragma once
// The undo history of one document, shared by both panes. An editing operation
// nests while it records: Nest(true), AddAction for each change, Nest(false);
// the outermost nesting makes one group, which undoes as a whole. The history
// holds at most `limit` groups, trimmed when a top-level group closes.
//
// Sound where the plain scheme is not: a group closed while the history is
// invalid is discarded rather than filed half; a failed undo or redo is run
// back (and when even that fails, both lists are emptied); undo is refused
// while an open group already holds actions. The history refers to the
// document, so its owner empties it whenever the document is replaced.

#include "editctl/engine/ZuUndoGroup.h"

#include <cstdint>
#include <memory>
#include <vector>

class ZuUndoManager {
public:
    ZuUndoManager() = default;
    ZuUndoManager(const ZuUndoManager&) = delete;
    ZuUndoManager& operator=(const ZuUndoManager&) = delete;
    ~ZuUndoManager();

    ZuErr BeginGroup();
    ZuErr EndGroup();
    // Takes the action; a null action (it could not be made) invalidates the history.
    void AddAction(std::unique_ptr<ZuUndoAction> action);
    void Nest(bool begin);
    std::int32_t NestingCount() const { return nesting_; }
    bool Recording() const { return suspend_ < 1 && nesting_ != 0; }
    std::int32_t Suspend();
    std::int32_t Resume(std::int32_t savedNesting);

    void EmptyUndo() { undo_.Clear(); }
    void EmptyRedo() { redo_.Clear(); }
    void EmptyAll();

    int CanUndo() const { return undo_.Empty() ? 0 : -1; }
    int CanRedo() const { return redo_.Empty() ? 0 : -1; }
    ZuErr Undo();
    ZuErr Redo();

    void SetLimit(std::int32_t n) { limit_ = n < 0 ? 0 : n; }
    std::int32_t GetLimit() const { return limit_; }

    std::size_t UndoCount() const { return undo_.Count(); }
    std::size_t RedoCount() const { return redo_.Count(); }
    bool Invalid() const { return invalid_; }

private:
    void Invalidate();
    bool OpenChainHoldsActions() const;
    ZuErr Replay(ZuUndoGroup& from, ZuUndoGroup& to, bool undo);

    ZuUndoGroup undo_;
    ZuUndoGroup redo_;
    // The open groups, innermost last; each one's parent is the one before it,
    // the first one's the undo list.
    std::vector<std::unique_ptr<ZuUndoGroup>> open_;
    std::int32_t limit_ = 255;
    std::int32_t nesting_ = 0;
    bool invalid_ = false;
    std::int32_t suspend_ = 0;
};
