#include "editctl/engine/ZuLineEndUndoAction.h"

std::unique_ptr<ZuLineEndUndoAction> ZuLineEndUndoAction::Set(ZuTextDocument& document, int pane,
                                                              std::uint32_t line, bool on, ZuErr& error)
{
    error = ZuOk;
    if (line == 0 || line > document.LineCount(pane)) {
        error = ZuErrBadParameter;
        return nullptr;
    }
    if (document.EndsParagraph(pane, line) == on)
        return nullptr;
    const std::uint64_t end = document.PositionToOffset(pane, {ZuEndOfLine, line});
    error = document.SetParagraphEnd(pane, line, on);
    if (error != ZuOk)
        return nullptr;
    return std::make_unique<ZuLineEndUndoAction>(document, pane, end, on);
}

ZuErr ZuLineEndUndoAction::Apply(bool on)
{
    if (offset_ > document_.ByteCount())
        return ZuErrDataDamage;
    const ZuTextPosition at = document_.OffsetToPosition(pane_, offset_);
    // The line whose text ends at the offset (a soft line end may resolve to the next line's start).
    std::uint32_t line = at.y;
    if (document_.PositionToOffset(pane_, {ZuEndOfLine, line}) != offset_ && at.x == 0 && line > 1 &&
        document_.PositionToOffset(pane_, {ZuEndOfLine, line - 1}) == offset_)
        --line;
    const bool endsThere = document_.PositionToOffset(pane_, {ZuEndOfLine, line}) == offset_;
    if (on) {
        if (endsThere && !document_.EndsParagraph(pane_, line))
            return document_.SetParagraphEnd(pane_, line, true);
        return document_.InsertTextAt(offset_, "\r\n"); // the line runs on past the offset
    }
    if (!endsThere || !document_.EndsParagraph(pane_, line))
        return ZuErrDataDamage;
    return document_.SetParagraphEnd(pane_, line, false);
}
