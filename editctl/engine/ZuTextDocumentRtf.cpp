// RTF reading and writing.

#include "editctl/engine/ZuTextDocument.h"

ZuErr ZuTextDocument::LoadRtf(ZuInStream&)
{
    return ZuErrRtf;
}

ZuErr ZuTextDocument::SaveRtf(ZuOutStream&, int, const ZuTextRange&) const
{
    return ZuErrRtf;
}
