#pragma once
// What every input to the form file reader must give, whatever its bytes: no
// crash, and entries that the writer writes and the reader reads back as they
// were (and the same text when written again). Shared by the fuzz target and
// the replay and mutation test.

#include "zuhost/ZuHostBagFile.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace bagfuzz {

inline void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "form file reader: %s\n", what);
        std::abort();
    }
}

inline void CheckInput(const char* data, std::size_t size)
{
    const std::vector<ZuBagEntry> entries = ZuParseBagFile(std::string_view(data, size));
    for (const ZuBagEntry& entry : entries)
        Require(!entry.name.empty() && entry.name.find('=') == std::string::npos
                    && entry.name.find('\n') == std::string::npos,
                "a name the writer cannot write");
    const std::string written = ZuFormatBagFile(entries);
    const std::vector<ZuBagEntry> again = ZuParseBagFile(written);
    Require(again == entries, "entries change when written and read back");
    Require(ZuFormatBagFile(again) == written, "a second write differs from the first");
}

}  // namespace bagfuzz
