#pragma once
// NC-like program text for the benchmarks: lines of exactly 40 bytes
// ("N000001 G01 X...", padded) ending in CR LF, with words to break at.

#include <cstdio>
#include <string>

inline std::string MakeNcText(std::size_t bytes)
{
    std::string text;
    text.reserve(bytes + 64);
    char line[64];
    for (long n = 0; text.size() < bytes; ++n) {
        std::snprintf(line, sizeof line, "N%06ld G01 X%07.3f Y%07.3f F%04ld", n % 1000000, (n % 9000) / 10.0,
                      (n % 7000) / 10.0, 100 + n % 900);
        std::string l(line);
        l.resize(38, ' ');
        text += l;
        text += "\r\n";
    }
    return text;
}
