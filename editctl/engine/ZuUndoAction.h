#pragma once
// One recorded change that can be taken back and made again. Both operations
// return 0 or an engine error code and leave the text as it was when they fail.

#include "editctl/engine/ZuErrors.h"

class ZuUndoAction {
public:
    virtual ~ZuUndoAction() = default;
    virtual ZuErr Undo() = 0;
    virtual ZuErr Redo() = 0;
    // True after a failed Undo or Redo could not put back what it had already
    // done; the history can then no longer be trusted.
    virtual bool LeftDamaged() const { return false; }
};
