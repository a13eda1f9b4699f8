#include "nc/NcText.h"

#include "platform/files/HugePages.h"

namespace ncinternal {

void SizeBuffer(std::string& buffer, std::size_t size, std::size_t keep)
{
    std::string fresh;
    fresh.reserve(size);  // allocated but not yet touched
    platform::AdviseHugePages(fresh.data(), size);
    fresh.append(buffer, 0, keep);
    fresh.resize(size);
    buffer.swap(fresh);
}

}  // namespace ncinternal
