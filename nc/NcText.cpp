#include "nc/NcText.h"

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

#include <cstdint>

namespace ncinternal {

namespace {

// The page faults of a fresh buffer of tens of megabytes cost as much as a whole pass over the
// text; huge pages, where the system grants them on request, take most of that away.
void AdviseHugePages([[maybe_unused]] char* data, [[maybe_unused]] std::size_t size)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::size_t Worthwhile = std::size_t(4) << 20;
    if (size < Worthwhile)
        return;
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + page - 1) & ~(page - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + size) & ~(page - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);  // advice only: failure is fine
#endif
}

}  // namespace

void SizeBuffer(std::string& buffer, std::size_t size, std::size_t keep)
{
    std::string fresh;
    fresh.reserve(size);  // allocated but not yet touched
    AdviseHugePages(fresh.data(), size);
    fresh.append(buffer, 0, keep);
    fresh.resize(size);
    buffer.swap(fresh);
}

}  // namespace ncinternal
