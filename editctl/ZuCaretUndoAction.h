#pragma once
// A change of a pane's view state (caret, scroll position, selection): undo
// and redo put the saved state back.

#include "editctl/ZuPaneView.h"
#include "editctl/engine/ZuUndoAction.h"

class ZuCaretUndoAction : public ZuUndoAction {
public:
    ZuCaretUndoAction(ZuPaneView& view, const ZuViewState& before, const ZuViewState& after)
        : view_(view), before_(before), after_(after)
    {
    }
    ZuErr Undo() override
    {
        view_.RestoreState(before_);
        return ZuOk;
    }
    ZuErr Redo() override
    {
        view_.RestoreState(after_);
        return ZuOk;
    }

private:
    ZuPaneView& view_;
    ZuViewState before_;
    ZuViewState after_;
};
