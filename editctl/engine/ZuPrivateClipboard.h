#pragma once
// The in-process clipboard of drag and drop: formats and their data, held by
// one owner at a time. Opening it again by the same owner succeeds; another
// owner is refused while it is open.

#include "editctl/engine/ZuClipboard.h"

#include <string>
#include <utility>
#include <vector>

class ZuPrivateClipboard : public ZuClipboard {
public:
    ZuErr Open(const void* owner) override;
    void Close() override { open_ = false; }
    const std::string* Get(std::string_view format) override;
    ZuErr Set(std::string_view format, std::string data) override;
    const void* Owner() const override { return owner_; }
    void Empty() override { entries_.clear(); }
    bool IsOpen() const { return open_; }

private:
    std::vector<std::pair<std::string, std::string>> entries_; // newest first
    bool open_ = false;
    const void* owner_ = nullptr;
};
