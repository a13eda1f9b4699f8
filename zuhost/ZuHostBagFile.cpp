#include "zuhost/ZuHostBagFile.h"

#include <cstdio>

namespace {

constexpr std::string_view Section = "[ZuEditor20]";

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string Unescape(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c != '\\' || i + 1 == s.size()) {
            out.push_back(c);
            continue;
        }
        const char e = s[i + 1];
        switch (e) {
        case '\\': out.push_back('\\'); ++i; break;
        case 'n': out.push_back('\n'); ++i; break;
        case 'r': out.push_back('\r'); ++i; break;
        case 't': out.push_back('\t'); ++i; break;
        case 'x':
            if (i + 3 < s.size() && HexDigit(s[i + 2]) >= 0 && HexDigit(s[i + 3]) >= 0) {
                out.push_back(char(HexDigit(s[i + 2]) * 16 + HexDigit(s[i + 3])));
                i += 3;
            } else {
                out.push_back(c);
            }
            break;
        default: out.push_back(c); break;
        }
    }
    return out;
}

std::string Escape(std::string_view s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        const bool edgeBlank = (c == ' ' || c == '\t') && (i == 0 || i + 1 == s.size());
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t' && !edgeBlank) {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F || edgeBlank) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out.push_back(char(c));
        }
    }
    return out;
}

std::string CleanName(std::string_view name)
{
    std::string clean;
    for (const char c : name)
        if (c != '=' && c != '\n' && c != '\r')
            clean.push_back(c);
    std::string_view trimmed = Trim(clean);
    while (!trimmed.empty() && (trimmed.front() == '[' || trimmed.front() == ';'))
        trimmed = Trim(trimmed.substr(1));
    return std::string(trimmed);
}

}  // namespace

std::vector<ZuBagEntry> ZuParseBagFile(std::string_view text)
{
    std::vector<ZuBagEntry> entries;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::string_view trimmed = Trim(line);
        if (trimmed.empty() || trimmed.front() == '[' || trimmed.front() == ';')
            continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string name = CleanName(line.substr(0, equals));
        if (name.empty())
            continue;
        std::string value = Unescape(Trim(line.substr(equals + 1)));
        bool replaced = false;
        for (ZuBagEntry& entry : entries) {
            if (entry.name == name) {
                entry.value = std::move(value);
                replaced = true;
                break;
            }
        }
        if (!replaced)
            entries.push_back({name, std::move(value)});
    }
    return entries;
}

std::string ZuFormatBagFile(const std::vector<ZuBagEntry>& entries)
{
    std::string text(Section);
    text += '\n';
    for (const ZuBagEntry& entry : entries) {
        const std::string name = CleanName(entry.name);
        if (name.empty())
            continue;
        text += name;
        text += '=';
        text += Escape(entry.value);
        text += '\n';
    }
    return text;
}
