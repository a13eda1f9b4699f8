#include "nc/SkipSet.h"

SkipSet SkipSet::FromSkipChars(const std::vector<std::string>& entries)
{
    SkipSet set;
    for (const std::string& entry : entries) {
        const auto first = entry.find_first_not_of(' ');
        if (first == std::string::npos)
            continue;
        const auto last = entry.find_last_not_of(' ');
        for (auto i = first; i <= last; ++i)
            set.Add(entry[i]);
    }
    return set;
}
