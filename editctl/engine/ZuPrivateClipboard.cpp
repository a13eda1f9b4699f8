#include "editctl/engine/ZuPrivateClipboard.h"

ZuErr ZuPrivateClipboard::Open(const void* owner)
{
    if (open_ && owner != owner_)
        return ZuErrClipboard;
    open_ = true;
    owner_ = owner;
    return ZuOk;
}

const std::string* ZuPrivateClipboard::Get(std::string_view format)
{
    for (const auto& [name, data] : entries_)
        if (ZuSameClipFormat(name, format))
            return &data;
    return nullptr;
}

ZuErr ZuPrivateClipboard::Set(std::string_view format, std::string data)
{
    for (auto& [name, old] : entries_)
        if (ZuSameClipFormat(name, format)) {
            old = std::move(data);
            return ZuOk;
        }
    entries_.emplace(entries_.begin(), std::string(format), std::move(data));
    return ZuOk;
}
