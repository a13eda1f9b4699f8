#pragma once
// The document's walk over the block pieces of a byte span, shared by the
// files that implement the document.

#include "editctl/engine/ZuTextDocument.h"

#include <algorithm>

template <typename F> void ZuTextDocument::ForEachBlockSpan(std::uint64_t from, std::uint64_t to, F&& f) const
{
    if (blocks_.empty() || to <= from)
        return;
    for (std::size_t k = cache_.BlockOfOffset(from); k < blocks_.size(); ++k) {
        const std::uint64_t base = cache_.BytesBefore(k);
        if (base >= to)
            break;
        const std::uint32_t a = std::uint32_t(std::max(from, base) - base);
        const std::uint32_t b = std::uint32_t(std::min<std::uint64_t>(to - base, blocks_[k]->Length()));
        if (b > a)
            f(*blocks_[k], a, b);
    }
}
