#pragma once
// The container's form file: the property bag of its control as text, one
// "Name=Value" line per property under a "[ZuEditor20]" section. Values are
// written with escapes (\\, \n, \r, \t, \xHH for other control bytes and for a
// leading or trailing blank), so any text comes back whole. Reading never
// fails: lines without '=' and sections are skipped, a bad escape is taken as
// written, and a name given twice keeps its last value. Plain C++, so that the
// reader runs under a fuzzer.

#include <string>
#include <string_view>
#include <vector>

struct ZuBagEntry {
    std::string name;
    std::string value;
    bool operator==(const ZuBagEntry&) const = default;
};

std::vector<ZuBagEntry> ZuParseBagFile(std::string_view text);
// Names are written as given after dropping what a name cannot hold ('=',
// line ends, blanks around it, a leading '[' or ';'); an empty name is skipped.
std::string ZuFormatBagFile(const std::vector<ZuBagEntry>& entries);
