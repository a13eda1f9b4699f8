#include "editctl/ZuFormatUndoAction.h"

#include "editctl/engine/ZuGlobalOutStream.h"
#include "editctl/engine/ZuMemoryInStream.h"

bool ZuFormatUndoAction::Capture(const ZuTextDocument& document, std::uint64_t from, std::uint64_t to,
                                 std::string& rtf)
{
    if (to <= from)
        return false;
    ZuTextRange range;
    range.Init(document.OffsetToPosition(0, from), document.OffsetToPosition(0, to), ZuRangeStream);
    ZuGlobalOutStream out;
    if (document.SaveRtf(out, 0, range) != ZuOk)
        return false;
    rtf = out.Detach();
    return true;
}

ZuFormatUndoAction::ZuFormatUndoAction(ZuTextDocument& document, std::uint64_t from, std::uint64_t to,
                                       std::string before, std::string after)
    : document_(document), from_(from), to_(to), before_(std::move(before)), after_(std::move(after))
{
}

ZuErr ZuFormatUndoAction::Replace(const std::string& rtf)
{
    ZuTextDocument fragment(document_.Fonts().Provider());
    ZuMemoryInStream stream(rtf.data(), rtf.size());
    if (const ZuErr error = fragment.LoadRtf(stream))
        return error;
    // The span must come back with the same bytes, or the positions of the views would move.
    if (fragment.ByteCount() != to_ - from_)
        return ZuErrDataDamage;
    ZuTextDocument removed(document_.Fonts().Provider());
    if (const ZuErr error = document_.RemoveBytes(&removed, from_, to_))
        return error;
    if (const ZuErr error = document_.InsertFragmentAt(from_, fragment)) {
        // Put the span back as it was.
        if (document_.InsertFragmentAt(from_, removed) != ZuOk)
            damaged_ = true;
        return error;
    }
    return ZuOk;
}
