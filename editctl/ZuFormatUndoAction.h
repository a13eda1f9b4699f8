#pragma once
// The undo of a character format or colour change: the formatted span of the
// document kept as RTF before and after the change (the bytes themselves do not
// change), put back by replacing the span.

#include "editctl/engine/ZuTextDocument.h"
#include "editctl/engine/ZuUndoAction.h"

#include <memory>
#include <string>

class ZuFormatUndoAction : public ZuUndoAction {
public:
    // The span [from, to) of the document as RTF; false when it cannot be written.
    static bool Capture(const ZuTextDocument& document, std::uint64_t from, std::uint64_t to, std::string& rtf);

    ZuFormatUndoAction(ZuTextDocument& document, std::uint64_t from, std::uint64_t to, std::string before,
                       std::string after);
    ZuErr Undo() override { return Replace(before_); }
    ZuErr Redo() override { return Replace(after_); }
    bool LeftDamaged() const override { return damaged_; }

private:
    ZuErr Replace(const std::string& rtf);

    ZuTextDocument& document_;
    std::uint64_t from_;
    std::uint64_t to_;
    std::string before_;
    std::string after_;
    bool damaged_ = false;
};
