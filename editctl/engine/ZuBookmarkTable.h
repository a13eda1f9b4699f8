#pragma once
// The document's bookmarks: byte offsets that follow the text through edits.

#include "editctl/engine/ZuTextPosition.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ZuBookmark {
    std::int64_t offset = 0; // -1 once the text it marked is removed
    std::optional<std::string> name;
    ZuTextPosition position; // in pane 0
};

class ZuBookmarkTable {
public:
    std::uint32_t Count() const { return std::uint32_t(marks_.size()); }
    // Appends empty bookmarks or destroys the last ones.
    void SetCount(std::uint32_t n) { marks_.resize(n); }
    // i is clamped to the last bookmark; null when there is none.
    ZuBookmark* At(std::uint32_t i) { return marks_.empty() ? nullptr : &marks_[std::min<std::size_t>(i, marks_.size() - 1)]; }
    const ZuBookmark* At(std::uint32_t i) const
    {
        return marks_.empty() ? nullptr : &marks_[std::min<std::size_t>(i, marks_.size() - 1)];
    }
    std::vector<ZuBookmark>& All() { return marks_; }

    // Bytes [from, to) were replaced by `inserted` bytes.
    void AdjustForEdit(std::uint64_t from, std::uint64_t to, std::uint64_t inserted)
    {
        for (ZuBookmark& mark : marks_) {
            if (mark.offset < 0 || std::uint64_t(mark.offset) < from)
                continue;
            if (to > from && std::uint64_t(mark.offset) < to)
                mark.offset = -1;
            else
                mark.offset = std::int64_t(std::uint64_t(mark.offset) - (to - from) + inserted);
        }
    }

private:
    std::vector<ZuBookmark> marks_;
};
