#pragma once
// Advice for a fresh buffer of tens of megabytes: its page faults cost as much
// as a whole pass over it, and huge pages, where the system grants them on
// request, take most of that away. Header only and free of Qt, so the pure
// text libraries use it too.

#include <cstddef>
#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace platform {

inline void AdviseHugePages([[maybe_unused]] void* data, [[maybe_unused]] std::size_t size)
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

}  // namespace platform
