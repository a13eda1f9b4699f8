#include "nc/ReplaceAll.h"

#include "nc/NcText.h"

#include <cstring>

using namespace ncinternal;

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement)
{
    if (find.empty())
        return std::string(text);
    TextWriter out(replacement.size() > find.size() ? text.size() + text.size() / 4 : text.size());
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = text.find(find, pos);
        const std::size_t end = hit == std::string_view::npos ? text.size() : hit;
        out.Ensure(end - pos + replacement.size());
        out.Put(text.substr(pos, end - pos));
        if (hit == std::string_view::npos)
            break;
        out.Put(replacement);
        pos = hit + find.size();
    }
    return out.Finish();
}

std::string RemoveLeadingZeros(std::string_view text)
{
    TextWriter out(text.size());
    const char* p = text.data();
    const char* last = p + text.size();
    while (p < last) {
        const auto* n = static_cast<const char*>(std::memchr(p, 'N', static_cast<std::size_t>(last - p)));
        if (!n) {
            out.Put(std::string_view(p, static_cast<std::size_t>(last - p)));
            break;
        }
        out.Put(std::string_view(p, static_cast<std::size_t>(n + 1 - p)));
        p = n + 1;
        // "N00" -> "N" takes two zeros, then "N0" -> "N" one more.
        for (int taken = 0; taken < 3 && p < last && *p == '0'; ++taken)
            ++p;
    }
    return out.Finish();
}
