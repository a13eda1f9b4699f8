#pragma once
// What every input to the RTF reader must give, whatever its bytes: no crash,
// 0 or 0x700F (or a line too long, or too much text), a document whose
// structure is sound, and, when it loads, a write that reads back to the
// same write. Shared by the fuzz target and the replay and mutation tests.

#include "editctl/engine/ZuGlobalOutStream.h"
#include "editctl/engine/ZuMemoryInStream.h"
#include "editctl/engine/ZuTextDocument.h"

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace rtffuzz {

inline void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "RTF reader: %s\n", what);
        std::abort();
    }
}

// Bytes shown printable: letters, digits and punctuation as they are, others as %XX.
inline std::string Shown(const std::string& s)
{
    std::string shown;
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c > 0x20 && c < 0x7F && c != '%') {
            shown.push_back(ch);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            shown += hex;
        }
    }
    return shown;
}

// Everything a reader must give back, as text: the bytes; per byte (the CR LF
// of a paragraph end aside) its face, size, flags and colours; per paragraph
// its tab stops; the default tab width; the bookmarks.
inline std::string Model(const ZuTextDocument& doc)
{
    const std::string text = doc.Text();
    std::string model = "text " + Shown(text) + "\n";
    const ZuMetricsProvider& provider = *doc.Fonts().Provider();
    auto color = [&](std::uint32_t c) {
        return c == ZuNoColor ? std::string("-") : std::to_string(ZuRgbOfColor(c, provider));
    };
    std::uint64_t base = 0;
    std::string last;
    for (std::size_t k = 0; k < doc.BlockCount(); ++k) {
        const ZuTextBlock& block = doc.Block(k);
        for (std::uint32_t i = 0; i < block.Length(); ++i) {
            const bool lineEnd = (block.text[i] == '\r' && i + 1 < block.Length() && block.text[i + 1] == '\n') ||
                                 (block.text[i] == '\n' && i > 0 && block.text[i - 1] == '\r');
            if (lineEnd)
                continue;
            const ZuFontEntry& font =
                doc.Fonts().At(block.fonts.Empty() ? 0 : block.fonts.runs[block.fonts.FindRun(i)].font);
            const ZuColorRun colors =
                block.colors.Empty() ? ZuColorRun::Default(0) : block.colors.runs[block.colors.FindRun(i)];
            std::string f = font.Font().faceName + " " + std::to_string(int(font.Attribute(ZuAttrSize).number + 0.99)) +
                            (font.Font().weight >= 700 ? " b" : "") + (font.Font().italic ? " i" : "") +
                            (font.Font().underline ? " u" : "") + (font.Font().strikeOut ? " s" : "") + " " +
                            color(colors.fore) + "/" + color(colors.back);
            if (f != last)
                model += "at " + std::to_string(base + i) + ": " + f + "\n";
            last = f;
        }
        base += block.Length();
    }
    const std::int32_t cw = doc.AverageCharWidth();
    for (std::uint64_t at = 0; at <= text.size(); ++at) {
        if (at != 0 && !(at >= 2 && text[at - 2] == '\r' && text[at - 1] == '\n'))
            continue;
        const ZuTabSet& tabs = doc.ParagraphTabSet(at);
        model += "tabs " + std::to_string(at) + ":";
        for (std::int32_t i = 0; i < tabs.Count(); ++i) {
            model += ' ';
            model += std::to_string(tabs.StopPosition(i, ZuTabsByIndex, cw));
            model += '/';
            model += std::to_string(tabs.Alignment(i, ZuTabsByIndex));
            model += '/';
            model += std::to_string(tabs.Leader(i, ZuTabsByIndex));
        }
        model += "\n";
    }
    model += "default tab " + std::to_string(doc.DefaultTabSet().DefaultWidth(cw)) + "\n";
    // Bookmarks go out in the order of their offsets.
    std::vector<std::string> marks;
    for (std::uint32_t i = 0; i < doc.BookmarkCount(); ++i) {
        const std::string* name = doc.BookmarkName(i);
        marks.push_back("mark " + std::to_string(doc.BookmarkOffset(i)) + " " +
                        (name != nullptr ? Shown(*name) : std::string("<none>")) + "\n");
    }
    std::stable_sort(marks.begin(), marks.end());
    for (const std::string& mark : marks)
        model += mark;
    return model;
}

inline std::string WriteAll(const ZuTextDocument& doc)
{
    ZuGlobalOutStream out;
    const ZuErr error = doc.SaveRtf(out, 0, ZuTextRange({0, 0}, {0, 0}, ZuRangeWhole));
    Require(error == ZuOk, "writing failed");
    return out.Data();
}

inline void CheckInput(const char* data, std::size_t size)
{
    ZuTextDocument doc(nullptr, 64);
    ZuMemoryInStream in(data, size);
    const ZuErr error = doc.LoadRtf(in);
    Require(error == ZuOk || error == ZuErrRtf || error == ZuErrLineLength || error == ZuErrLineCount,
            "unexpected error code");
    Require(doc.CheckStructure().empty(), "unsound document after reading");

    // Whatever was read writes out as RTF that reads back to the same model;
    // from then on writing and reading change nothing.
    const std::string first = WriteAll(doc);
    ZuTextDocument again(nullptr, 64);
    ZuMemoryInStream in2(first.data(), first.size());
    Require(again.LoadRtf(in2) == ZuOk, "own writing does not read back");
    Require(Model(again) == Model(doc), "the model changed in a round trip");
    const std::string second = WriteAll(again);
    ZuTextDocument third(nullptr, 64);
    ZuMemoryInStream in3(second.data(), second.size());
    Require(third.LoadRtf(in3) == ZuOk && WriteAll(third) == second, "a second round trip changed the writing");

    // Detection: data without the signature stays plain text, byte for byte.
    ZuTextDocument plain(nullptr, 64);
    ZuMemoryInStream in4(data, size);
    int type = ZuTextDetect;
    const ZuErr loaded = plain.Load(in4, type, false);
    Require(loaded == ZuOk || loaded == ZuErrLineLength || type == ZuTextRtf, "detection failed");
    Require(plain.CheckStructure().empty(), "unsound document after detection");
}

} // namespace rtffuzz
