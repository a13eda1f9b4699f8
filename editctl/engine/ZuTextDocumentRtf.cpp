// RTF reading and writing: a small subset of the format (character runs, font
// and colour tables, paragraph tab stops, the default tab width, bookmarks);
// everything else in a stream is passed over.
//
// The reader parses the whole stream first and then appends the text in one
// go, setting the runs of each new block directly: inserting piece by piece
// would cost a block edit per format change. Every quantity it takes from the
// input is bounded (group depth, word length, parameters, names, table sizes),
// so no input makes it crash, loop or hoard memory. The writer escapes every
// byte the reader would not give back as it is, so a write reads back the same.

#include "editctl/engine/ZuTextDocument.h"
#include "editctl/engine/ZuTextDocumentSpans.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

constexpr std::size_t MaxDepth = 2048;
constexpr std::size_t MaxWordLength = 32;
constexpr std::size_t MaxFaceName = 31;
constexpr std::size_t MaxBookmarkName = 255;
constexpr std::size_t MaxFontEntries = 4096;
constexpr std::size_t MaxColors = 65536;
constexpr std::size_t MaxBookmarks = 65536;
constexpr std::size_t MaxFormats = 65536;
constexpr std::size_t MaxTabStops = 1024;
constexpr std::uint64_t MaxText = 0x7FFFFFFF;
constexpr std::int32_t PlainHalfPoints = 24;
constexpr std::int32_t MaxHalfPoints = 3276; // 1,638 points

struct CharFormat {
    std::uint32_t fore = ZuNoColor;
    std::uint32_t back = ZuNoColor;
    ZuFontDescriptor font;
    bool operator==(const CharFormat&) const = default;
};

std::string FormatKey(const CharFormat& f)
{
    const ZuFontDescriptor& d = f.font;
    std::string key = d.faceName;
    key.push_back('\0');
    const std::int32_t numbers[] = {std::int32_t(f.fore), std::int32_t(f.back), d.height,        d.width,
                                    d.escapement,         d.orientation,         d.weight,        d.italic,
                                    d.underline,          d.strikeOut,           d.charSet,       d.outPrecision,
                                    d.clipPrecision,      d.quality,             d.pitchAndFamily};
    key.append(reinterpret_cast<const char*>(numbers), sizeof numbers);
    return key;
}

bool IsLetter(int c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(int c)
{
    return c >= '0' && c <= '9';
}

int HexValue(int c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

enum class Word {
    Backslash, OpenBrace, CloseBrace, Star, Tab, Par, Quote, Bin, Hex,
    Bold, Italic, Underline, UnderlineNone, Strike, Font, FontSize, Fore, Back, Red, Green, Blue, Plain, DefaultFont,
    FamilyNil, FamilyRoman, FamilySwiss, FamilyModern, FamilyScript, FamilyDecor, DefaultTab, TabStop,
    TabRight, TabCentre, LeaderDot, LeaderHyphen, LeaderUnderline, LeaderThick, LeaderEquals, Pard,
    FontTable, ColorTable, BookmarkStart, SkippedDestination,
};

struct Keyword {
    std::string_view name;
    Word word;
};

// Sorted by name for the binary search.
constexpr Keyword Keywords[] = {
    {"'", Word::Hex},
    {"*", Word::Star},
    {"\\", Word::Backslash},
    {"author", Word::SkippedDestination},
    {"b", Word::Bold},
    {"bin", Word::Bin},
    {"bkmkend", Word::SkippedDestination},
    {"bkmkstart", Word::BookmarkStart},
    {"blue", Word::Blue},
    {"buptim", Word::SkippedDestination},
    {"cb", Word::Back},
    {"cf", Word::Fore},
    {"colortbl", Word::ColorTable},
    {"comment", Word::SkippedDestination},
    {"creatim", Word::SkippedDestination},
    {"deff", Word::DefaultFont},
    {"deftab", Word::DefaultTab},
    {"doccomm", Word::SkippedDestination},
    {"f", Word::Font},
    {"fbidi", Word::FamilyNil},
    {"fdecor", Word::FamilyDecor},
    {"fmodern", Word::FamilyModern},
    {"fnil", Word::FamilyNil},
    {"fonttbl", Word::FontTable},
    {"footer", Word::SkippedDestination},
    {"footerf", Word::SkippedDestination},
    {"footerl", Word::SkippedDestination},
    {"footerr", Word::SkippedDestination},
    {"footnote", Word::SkippedDestination},
    {"froman", Word::FamilyRoman},
    {"fs", Word::FontSize},
    {"fscript", Word::FamilyScript},
    {"fswiss", Word::FamilySwiss},
    {"ftech", Word::FamilyNil},
    {"ftncn", Word::SkippedDestination},
    {"ftnsep", Word::SkippedDestination},
    {"ftnsepc", Word::SkippedDestination},
    {"green", Word::Green},
    {"header", Word::SkippedDestination},
    {"headerf", Word::SkippedDestination},
    {"headerl", Word::SkippedDestination},
    {"headerr", Word::SkippedDestination},
    {"i", Word::Italic},
    {"info", Word::SkippedDestination},
    {"keywords", Word::SkippedDestination},
    {"ldblquote", Word::Quote},
    {"operator", Word::SkippedDestination},
    {"par", Word::Par},
    {"pard", Word::Pard},
    {"pict", Word::SkippedDestination},
    {"plain", Word::Plain},
    {"printim", Word::SkippedDestination},
    {"private1", Word::SkippedDestination},
    {"rdblquote", Word::Quote},
    {"red", Word::Red},
    {"revtim", Word::SkippedDestination},
    {"rxe", Word::SkippedDestination},
    {"strike", Word::Strike},
    {"stylesheet", Word::SkippedDestination},
    {"subject", Word::SkippedDestination},
    {"tab", Word::Tab},
    {"tc", Word::SkippedDestination},
    {"title", Word::SkippedDestination},
    {"tldot", Word::LeaderDot},
    {"tleq", Word::LeaderEquals},
    {"tlhyph", Word::LeaderHyphen},
    {"tlth", Word::LeaderThick},
    {"tlul", Word::LeaderUnderline},
    {"tqc", Word::TabCentre},
    {"tqr", Word::TabRight},
    {"tx", Word::TabStop},
    {"txe", Word::SkippedDestination},
    {"ul", Word::Underline},
    {"uld", Word::Underline},
    {"uldb", Word::Underline},
    {"ulnone", Word::UnderlineNone},
    {"ulw", Word::Underline},
    {"xe", Word::SkippedDestination},
    {"{", Word::OpenBrace},
    {"}", Word::CloseBrace},
};

std::optional<Word> LookupRtfKeyword(std::string_view name)
{
    const auto* end = std::end(Keywords);
    const auto* it = std::lower_bound(std::begin(Keywords), end, name,
                                      [](const Keyword& k, std::string_view n) { return k.name < n; });
    if (it == end || it->name != name)
        return std::nullopt;
    return it->word;
}

// Bytes of an input stream read in large pieces.
class Source {
public:
    explicit Source(ZuInStream& in) : in_(in), buffer_(1 << 16) {}
    int Get()
    {
        if (at_ == size_ && !Fill())
            return -1;
        return static_cast<unsigned char>(buffer_[at_++]);
    }
    // Only right after a Get that gave a byte.
    void Unget() { --at_; }

private:
    bool Fill()
    {
        if (in_.Bad() || in_.AtEnd())
            return false;
        size_ = in_.Read(buffer_.data(), buffer_.size());
        at_ = 0;
        return size_ > 0;
    }
    ZuInStream& in_;
    std::vector<char> buffer_;
    std::size_t at_ = 0;
    std::size_t size_ = 0;
};

struct TabDefinition {
    std::vector<ZuTabStop> stops; // in the order they were set
};

struct FontDefinition {
    std::string face;
    std::uint8_t pitchAndFamily = 0;
};

} // namespace

// What the reader found, with offsets from the start of its text.
struct ZuRtfContent {
    std::string text;
    struct FormatRun {
        std::uint64_t start;
        std::uint32_t format;
    };
    std::vector<FormatRun> runs;     // where a new format begins
    std::vector<CharFormat> formats; // distinct formats, by number
    struct Paragraphs {
        std::uint64_t start;
        std::shared_ptr<TabDefinition> tabs; // null: the document's default stops
    };
    std::vector<Paragraphs> paragraphs; // where a new tab definition begins
    struct Bookmark {
        std::uint64_t offset;
        std::optional<std::string> name;
    };
    std::vector<Bookmark> bookmarks;
    std::int32_t defaultTab = 0; // pixels; 0 = not given
};

namespace {

class RtfReader {
public:
    RtfReader(ZuInStream& in, ZuRtfContent& out, const ZuFontDescriptor& defaultFont, int ppiX, int ppiY)
        : src_(in), in_(in), out_(out), defaultFont_(defaultFont), twipsPerPixel_(std::max(1, 1440 / std::max(1, ppiX))),
          ppiY_(ppiY)
    {
        colors_.assign(1, 0);
        Plain();
        format_.font.faceName = defaultFont_.faceName;
        format_.font.pitchAndFamily = defaultFont_.pitchAndFamily;
    }

    ZuErr Parse();

private:
    struct GroupState {
        bool skip;
        CharFormat format;
    };

    ZuErr ReadRtfToken(int c);
    ZuErr ReadControl();
    ZuErr Act(Word word, bool hasParam, std::int32_t param);
    ZuErr PushRtfState();
    ZuErr PopRtfState();
    ZuErr Char(char c, bool escaped);
    void EndParagraph();
    void Plain();
    void SetHalfPoints(std::int32_t halfPoints);
    void SetFamily(std::uint8_t family);
    FontDefinition* FontBeingDefined();
    // The innermost destination the text goes to: 0 text, 1 font, 2 colour, 3 bookmark.
    int Destination() const;

    Source src_;
    ZuInStream& in_;
    ZuRtfContent& out_;
    const ZuFontDescriptor& defaultFont_;
    std::int32_t twipsPerPixel_;
    int ppiY_;

    std::vector<GroupState> stack_;
    bool completed_ = false;
    bool skip_ = false;
    std::int64_t binLeft_ = 0;
    int hexDigits_ = -1; // -1: not in \' ; else the digits read so far
    int hexValue_ = 0;

    std::size_t fontDepth_ = 0;
    std::size_t colorDepth_ = 0;
    std::size_t bookmarkDepth_ = 0;
    std::map<std::int32_t, FontDefinition> fontTable_;
    std::optional<std::int32_t> definingFont_;
    std::vector<std::uint32_t> colors_;
    std::int32_t defaultFontNumber_ = 0;

    CharFormat format_;
    bool formatDirty_ = true;
    std::optional<std::uint32_t> lastFormat_;
    std::unordered_map<std::string, std::uint32_t> formatNumbers_;

    std::uint32_t pendingAlignment_ = 0;
    std::uint32_t pendingLeader_ = 0;
    std::shared_ptr<TabDefinition> tabs_; // in force
    bool ownTabs_ = false;                // made for the paragraph under way
    std::uint64_t paragraphStart_ = 0;
};

ZuErr RtfReader::Parse()
{
    for (;;) {
        const int c = src_.Get();
        if (c < 0)
            break;
        if (const ZuErr error = ReadRtfToken(c))
            return error;
    }
    if (in_.Bad())
        return in_.Error() != ZuOk ? in_.Error() : ZuErrStream;
    EndParagraph();
    if (!stack_.empty() || !completed_)
        return ZuErrRtf;
    return ZuOk;
}

ZuErr RtfReader::ReadRtfToken(int c)
{
    if (binLeft_ > 0) {
        --binLeft_;
        return ZuOk;
    }
    if (c == '\r' || c == '\n')
        return ZuOk;
    if (hexDigits_ >= 0) {
        const int v = HexValue(c);
        if (v < 0)
            return ZuErrRtf;
        hexValue_ = hexValue_ * 16 + v;
        if (++hexDigits_ < 2)
            return ZuOk;
        hexDigits_ = -1;
        return Char(char(hexValue_), true);
    }
    if (c == '{')
        return PushRtfState();
    if (c == '}')
        return PopRtfState();
    if (stack_.empty())
        return completed_ ? ZuOk : ZuErrRtf; // outside the document
    if (c == '\\')
        return ReadControl();
    return Char(char(c), false);
}

ZuErr RtfReader::ReadControl()
{
    int c = src_.Get();
    if (c < 0)
        return ZuOk; // the end check fails the unclosed group
    if (!IsLetter(c)) {
        if (c == '\r' || c == '\n')
            return Act(Word::Par, false, 0);
        const char symbol[2] = {char(c), 0};
        if (const std::optional<Word> word = LookupRtfKeyword(std::string_view(symbol, 1)))
            return Act(*word, false, 0);
        return ZuOk;
    }
    char name[MaxWordLength];
    std::size_t length = 0;
    while (IsLetter(c)) {
        if (length == MaxWordLength)
            return ZuErrRtf;
        name[length++] = char(c);
        c = src_.Get();
    }
    bool negative = false;
    if (c == '-') {
        negative = true;
        c = src_.Get();
    }
    bool hasParam = false;
    std::int64_t value = 0;
    while (IsDigit(c)) {
        hasParam = true;
        value = std::min<std::int64_t>(value * 10 + (c - '0'), std::int64_t(1) << 31);
        c = src_.Get();
    }
    if (c >= 0 && c != ' ')
        src_.Unget();
    value = negative ? -value : std::min<std::int64_t>(value, 0x7FFFFFFF);
    const std::optional<Word> word = LookupRtfKeyword(std::string_view(name, length));
    return word ? Act(*word, hasParam, std::int32_t(value)) : ZuOk;
}

ZuErr RtfReader::PushRtfState()
{
    if (stack_.size() >= MaxDepth)
        return ZuErrRtf;
    stack_.push_back({skip_, format_});
    return ZuOk;
}

ZuErr RtfReader::PopRtfState()
{
    if (stack_.empty())
        return ZuErrRtf;
    const std::size_t depth = stack_.size();
    if (!(stack_.back().format == format_)) {
        format_ = stack_.back().format;
        formatDirty_ = true;
    }
    skip_ = stack_.back().skip;
    stack_.pop_back();
    for (std::size_t* marker : {&fontDepth_, &colorDepth_, &bookmarkDepth_})
        if (*marker >= depth)
            *marker = 0;
    if (fontDepth_ == 0)
        definingFont_.reset();
    if (stack_.empty())
        completed_ = true;
    return ZuOk;
}

int RtfReader::Destination() const
{
    const std::size_t deepest = std::max({fontDepth_, colorDepth_, bookmarkDepth_});
    if (deepest == 0)
        return 0;
    return deepest == bookmarkDepth_ ? 3 : deepest == colorDepth_ ? 2 : 1;
}

void RtfReader::Plain()
{
    const auto entry = fontTable_.find(defaultFontNumber_);
    if (entry != fontTable_.end()) {
        format_.font.faceName = entry->second.face;
        format_.font.pitchAndFamily = entry->second.pitchAndFamily;
    }
    ZuFontDescriptor& f = format_.font;
    const std::string face = f.faceName;
    const std::uint8_t pitch = f.pitchAndFamily;
    f = defaultFont_;
    f.faceName = face;
    f.pitchAndFamily = pitch;
    f.weight = 400;
    f.italic = f.underline = f.strikeOut = false;
    SetHalfPoints(PlainHalfPoints);
    format_.fore = format_.back = ZuNoColor;
    formatDirty_ = true;
}

void RtfReader::SetHalfPoints(std::int32_t halfPoints)
{
    if (halfPoints <= 0)
        halfPoints = PlainHalfPoints;
    const std::int32_t points = std::clamp(halfPoints, 2, MaxHalfPoints) / 2;
    format_.font.height = -std::int32_t(double(ppiY_) * points * 0.013888889);
    formatDirty_ = true;
}

FontDefinition* RtfReader::FontBeingDefined()
{
    if (!definingFont_)
        return nullptr;
    const auto it = fontTable_.find(*definingFont_);
    return it == fontTable_.end() ? nullptr : &it->second;
}

void RtfReader::SetFamily(std::uint8_t family)
{
    if (FontDefinition* font = FontBeingDefined())
        font->pitchAndFamily = std::uint8_t((font->pitchAndFamily & 0x0F) | family);
}

ZuErr RtfReader::Act(Word word, bool hasParam, std::int32_t param)
{
    const bool on = !hasParam || param != 0;
    // In a skipped group only \bin and \' act on the reading itself; format
    // words change the group's own format, which its end discards.
    switch (word) {
    case Word::Bin:
        binLeft_ = hasParam && param > 0 ? param : 0;
        return ZuOk;
    case Word::Hex:
        hexDigits_ = 0;
        hexValue_ = 0;
        return ZuOk;
    case Word::Bold:
        format_.font.weight = hasParam && param == 0 ? 0 : 700;
        break;
    case Word::Italic:
        format_.font.italic = on;
        break;
    case Word::Underline:
        format_.font.underline = on;
        break;
    case Word::UnderlineNone:
        format_.font.underline = false;
        break;
    case Word::Strike:
        format_.font.strikeOut = on;
        break;
    case Word::FontSize:
        SetHalfPoints(hasParam ? param : PlainHalfPoints);
        break;
    case Word::Plain:
        Plain();
        break;
    case Word::Fore:
    case Word::Back: {
        const std::int64_t n = hasParam ? param : 0;
        const std::uint32_t color = n >= 0 && std::uint64_t(n) < colors_.size() ? colors_[std::size_t(n)] : ZuNoColor;
        (word == Word::Fore ? format_.fore : format_.back) = color;
        break;
    }
    case Word::Font:
        if (fontDepth_ != 0) {
            if (skip_)
                return ZuOk;
            const std::int32_t number = hasParam ? param : 0;
            definingFont_.reset();
            if (fontTable_.count(number) == 0) {
                if (fontTable_.size() >= MaxFontEntries)
                    return ZuOk;
                fontTable_[number].pitchAndFamily = std::uint8_t(defaultFont_.pitchAndFamily & 0x0F);
            }
            definingFont_ = number;
        } else {
            // An unknown font keeps the current face.
            const auto it = fontTable_.find(hasParam ? param : 0);
            if (it != fontTable_.end()) {
                format_.font.faceName = it->second.face;
                format_.font.pitchAndFamily = it->second.pitchAndFamily;
            }
        }
        break;
    default:
        break;
    }
    switch (word) {
    case Word::Bold: case Word::Italic: case Word::Underline: case Word::UnderlineNone: case Word::Strike:
    case Word::Font: case Word::Fore: case Word::Back:
        formatDirty_ = true;
        return ZuOk;
    case Word::FontSize: case Word::Plain:
        return ZuOk;
    default:
        break;
    }
    if (skip_)
        return ZuOk;
    switch (word) {
    case Word::Backslash:
        return Char('\\', true);
    case Word::OpenBrace:
        return Char('{', true);
    case Word::CloseBrace:
        return Char('}', true);
    case Word::Tab:
        return Char('\t', true);
    case Word::Quote:
        return Char('"', true);
    case Word::Par:
        if (Destination() != 0)
            return ZuOk;
        if (out_.text.size() + 2 > MaxText)
            return ZuErrLineCount;
        out_.text += "\r\n";
        EndParagraph();
        ownTabs_ = false; // the next paragraph keeps these stops until it sets its own
        paragraphStart_ = out_.text.size();
        return ZuOk;
    case Word::Star:
    case Word::SkippedDestination:
        skip_ = true;
        return ZuOk;
    case Word::FontTable:
        fontDepth_ = stack_.size();
        return ZuOk;
    case Word::ColorTable:
        colorDepth_ = stack_.size();
        colors_.assign(1, 0);
        return ZuOk;
    case Word::BookmarkStart:
        if (out_.bookmarks.size() < MaxBookmarks) {
            out_.bookmarks.push_back({out_.text.size(), std::nullopt});
            bookmarkDepth_ = stack_.size();
        }
        return ZuOk;
    case Word::Red:
    case Word::Green:
    case Word::Blue:
        if (colorDepth_ != 0) {
            const int shift = word == Word::Red ? 0 : word == Word::Green ? 8 : 16;
            const std::uint32_t v = std::uint32_t(std::clamp(param, 0, 255));
            colors_.back() = (colors_.back() & ~(0xFFu << shift)) | v << shift;
        }
        return ZuOk;
    case Word::DefaultFont:
        defaultFontNumber_ = hasParam ? param : 0;
        return ZuOk;
    case Word::FamilyNil:
        SetFamily(0);
        return ZuOk;
    case Word::FamilyRoman:
        SetFamily(16);
        return ZuOk;
    case Word::FamilySwiss:
        SetFamily(32);
        return ZuOk;
    case Word::FamilyModern:
        SetFamily(48);
        return ZuOk;
    case Word::FamilyScript:
        SetFamily(64);
        return ZuOk;
    case Word::FamilyDecor:
        SetFamily(80);
        return ZuOk;
    case Word::DefaultTab:
        if (hasParam && param > 0)
            out_.defaultTab = std::clamp(param / twipsPerPixel_, 1, ZuMaxTabPosition);
        return ZuOk;
    case Word::TabStop:
        if (hasParam && param / twipsPerPixel_ >= 1 && Destination() == 0) {
            if (!ownTabs_) {
                tabs_ = std::make_shared<TabDefinition>();
                ownTabs_ = true;
            }
            if (tabs_->stops.size() < MaxTabStops)
                tabs_->stops.push_back({std::uint32_t(std::min(param / twipsPerPixel_, ZuMaxTabPosition)),
                                        pendingAlignment_, pendingLeader_});
        }
        pendingAlignment_ = pendingLeader_ = 0;
        return ZuOk;
    case Word::TabRight:
        pendingAlignment_ = 2;
        return ZuOk;
    case Word::TabCentre:
        pendingAlignment_ = 1;
        return ZuOk;
    case Word::LeaderDot: case Word::LeaderHyphen: case Word::LeaderUnderline: case Word::LeaderThick:
    case Word::LeaderEquals:
        pendingLeader_ = 1 + std::uint32_t(int(word) - int(Word::LeaderDot));
        return ZuOk;
    case Word::Pard:
        if (Destination() == 0) {
            tabs_.reset();
            ownTabs_ = false;
        }
        return ZuOk;
    default:
        return ZuOk;
    }
}

void RtfReader::EndParagraph()
{
    // One entry per change of tab definition, at the start of the first
    // paragraph that has it.
    if (out_.paragraphs.empty() ? tabs_ != nullptr : out_.paragraphs.back().tabs != tabs_)
        out_.paragraphs.push_back({paragraphStart_, tabs_});
}

ZuErr RtfReader::Char(char c, bool escaped)
{
    if (skip_)
        return ZuOk;
    switch (Destination()) {
    case 3: {
        // Spaces written as \'20 belong to the name; plain ones are layout.
        auto& name = out_.bookmarks.back().name;
        if ((c != ' ' || escaped) && (!name || name->size() < MaxBookmarkName)) {
            if (!name)
                name.emplace();
            name->push_back(c);
        }
        return ZuOk;
    }
    case 2:
        if (c == ';' && !escaped && colors_.size() < MaxColors)
            colors_.push_back(0);
        return ZuOk;
    case 1:
        if (c == ';' && !escaped)
            definingFont_.reset();
        else if (FontDefinition* font = FontBeingDefined(); font && font->face.size() < MaxFaceName)
            font->face.push_back(c);
        return ZuOk;
    default:
        break;
    }
    if (formatDirty_) {
        formatDirty_ = false;
        std::uint32_t number = 0;
        const std::string key = FormatKey(format_);
        const auto it = formatNumbers_.find(key);
        if (it != formatNumbers_.end()) {
            number = it->second;
        } else if (out_.formats.size() < MaxFormats) {
            number = std::uint32_t(out_.formats.size());
            out_.formats.push_back(format_);
            formatNumbers_.emplace(key, number);
        }
        if (lastFormat_ != number) {
            if (!out_.runs.empty() && out_.runs.back().start == out_.text.size())
                out_.runs.back().format = number;
            else
                out_.runs.push_back({out_.text.size(), number});
            lastFormat_ = number;
        }
    }
    if (out_.text.size() >= MaxText)
        return ZuErrLineCount;
    out_.text.push_back(c);
    return ZuOk;
}

// True when the data starts with "{\\rtf", after an optional UTF-8 byte-order
// mark; the stream is left at the brace.
bool StartsAsRtf(ZuInStream& in)
{
    const std::int64_t start = in.Tell();
    char head[8] = {};
    const std::size_t got = ZuReadBlock(in, head, sizeof head);
    const std::size_t at = got >= 3 && std::memcmp(head, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
    const bool rtf = got >= at + 5 && std::memcmp(head + at, "{\\rtf", 5) == 0;
    in.ClearEnd();
    in.Seek(start + std::int64_t(rtf ? at : 0));
    return rtf && !in.Bad();
}

} // namespace

ZuErr ZuTextDocument::LoadRtf(ZuInStream& stream)
{
    if (stream.Bad())
        return stream.Error() != ZuOk ? stream.Error() : ZuErrStream;
    // As with plain text, data of 2^31 bytes or more is refused before reading.
    if (const std::int64_t length = stream.Length(); length >= 0 && length - stream.Tell() > std::int64_t(MaxText))
        return ZuErrLineCount;
    if (!StartsAsRtf(stream))
        return stream.Bad() ? (stream.Error() != ZuOk ? stream.Error() : ZuErrStream) : ZuErrRtf;
    ZuRtfContent content;
    ZuErr error = ZuOk;
    try {
        ZuMetricsProvider& provider = *fonts_->Provider();
        RtfReader reader(stream, content, fonts_->DefaultFont().Font(), provider.PixelsPerInchX(),
                         provider.PixelsPerInchY());
        error = reader.Parse();
        // What was read before a fault stays, as with any load that stops early.
        const ZuErr appended = AppendRtfContent(content);
        if (error == ZuOk)
            error = appended;
    } catch (const std::bad_alloc&) {
        error = ZuErrNoMemory;
    }
    EnsureBlock();
    EnsureFinalLine();
    return error;
}

ZuErr ZuTextDocument::AppendRtfContent(ZuRtfContent& content)
{
    const std::uint64_t base = byteCount_;
    const std::size_t firstBlock = blocks_.empty() ? 0 : blocks_.size() - 1;
    const std::uint64_t firstBlockStart = blocks_.empty() ? 0 : cache_.BytesBefore(firstBlock);
    std::uint64_t taken = 0;
    const ZuErr error = AppendText(taken, content.text.data(), content.text.size(), ZuCrLfText, 0);
    const std::uint64_t end = base + taken;

    // The formats as the document's fonts and colours.
    struct Resolved {
        std::uint32_t font;
        std::uint32_t fore;
        std::uint32_t back;
    };
    std::vector<Resolved> resolved;
    resolved.reserve(content.formats.size());
    bool anyFont = false, anyColor = false;
    for (const CharFormat& format : content.formats) {
        // A font that cannot be made, or one past the limit, shows in the default font.
        std::uint32_t index = 0;
        ZuFontEntry entry(fonts_->Provider());
        if (!(format.font == entry.Font()) && entry.Measure(format.font) == ZuOk &&
            !fonts_->FindFont(entry, index) &&
            (fonts_->Count() > MaxFontEntries || fonts_->FindOrAdd(entry, index) != ZuOk))
            index = 0;
        resolved.push_back({index, format.fore, format.back});
        anyFont |= index != 0;
        anyColor |= format.fore != ZuNoColor || format.back != ZuNoColor;
    }

    std::size_t run = 0;
    std::size_t paragraph = 0;
    for (std::size_t k = firstBlock; k < blocks_.size(); ++k) {
        ZuTextBlock& block = *blocks_[k];
        const std::uint64_t blockStart = k == firstBlock ? firstBlockStart : cache_.BytesBefore(k);
        const std::uint64_t from = std::max(blockStart, base) - base; // in the content's text
        const std::uint64_t to = std::min<std::uint64_t>(blockStart + block.Length(), end) - base;
        if (to <= from)
            continue;
        const std::uint32_t offset = std::uint32_t(from + base - blockStart);
        const std::uint32_t length = std::uint32_t(to - from);

        if ((anyFont || anyColor) && !content.runs.empty()) {
            while (run + 1 < content.runs.size() && content.runs[run + 1].start <= from)
                ++run;
            ZuRunTable<ZuFontRun> fontSegment;
            ZuRunTable<ZuColorRun> colorSegment;
            for (std::size_t r = run; r < content.runs.size() && content.runs[r].start < to; ++r) {
                const std::uint32_t at = std::uint32_t(std::max(content.runs[r].start, from) - from);
                const Resolved& value = resolved[content.runs[r].format];
                if (fontSegment.runs.empty() && at > 0) {
                    fontSegment.runs.push_back(ZuFontRun::Default(0));
                    colorSegment.runs.push_back(ZuColorRun::Default(0));
                }
                fontSegment.runs.push_back({at, value.font});
                colorSegment.runs.push_back({at, value.fore, value.back});
            }
            if (anyFont) {
                block.fonts.AppendSegment(fontSegment, offset, length);
                block.fonts.MergeEqualRuns();
            }
            if (anyColor) {
                block.colors.AppendSegment(colorSegment, offset, length);
                block.colors.MergeEqualRuns();
            }
        }

        while (paragraph + 1 < content.paragraphs.size() && content.paragraphs[paragraph + 1].start <= from)
            ++paragraph;
        bool anyTabs = false;
        for (std::size_t p = paragraph; p < content.paragraphs.size() && content.paragraphs[p].start < to; ++p)
            anyTabs |= content.paragraphs[p].tabs != nullptr;
        if (anyTabs) {
            for (std::size_t p = paragraph; p < content.paragraphs.size() && content.paragraphs[p].start < to; ++p) {
                // Where the text continues the document's own last paragraph, the
                // run starts inside it and that paragraph keeps its stops.
                const ZuRtfContent::Paragraphs& entry = content.paragraphs[p];
                const std::uint32_t at = offset + std::uint32_t(std::max(entry.start, from) - from);
                std::unique_ptr<ZuTabSet> tabs;
                if (entry.tabs && !entry.tabs->stops.empty()) {
                    tabs = std::make_unique<ZuTabSet>();
                    tabs->DelegateDefaultWidth(&defaultTabs_);
                    for (const ZuTabStop& stop : entry.tabs->stops) {
                        const std::int32_t i = tabs->InsertStop(std::int32_t(stop.position));
                        if (i < 0)
                            break;
                        tabs->SetAlignment(stop.alignment, i, ZuTabsByIndex);
                        tabs->SetLeader(stop.leader, i, ZuTabsByIndex);
                    }
                }
                if (block.paragraphs.runs.empty() && at > 0)
                    block.paragraphs.runs.push_back(ZuParagraphRun::Default(0));
                if (!block.paragraphs.runs.empty() && block.paragraphs.runs.back().start == at)
                    block.paragraphs.runs.back().tabs = std::move(tabs);
                else
                    block.paragraphs.runs.emplace_back(at, std::move(tabs));
            }
            block.paragraphs.MergeEqualRuns();
        }
    }

    if (content.defaultTab > 0)
        defaultTabs_.SetDefaultWidth(content.defaultTab);
    for (const ZuRtfContent::Bookmark& mark : content.bookmarks) {
        const std::uint32_t i = BookmarkCount();
        SetBookmarkCount(i + 1);
        if (mark.name)
            SetBookmarkName(i, *mark.name);
        SetBookmarkOffset(i, std::int64_t(base + std::min<std::uint64_t>(mark.offset, taken)));
    }
    return error;
}

namespace {

// Appends a number in decimal.
void AppendNumber(std::string& out, std::int64_t n)
{
    char digits[24];
    const int length = std::snprintf(digits, sizeof digits, "%lld", static_cast<long long>(n));
    out.append(digits, std::size_t(length));
}

void AppendHex(std::string& out, unsigned char c)
{
    static constexpr char Digits[] = "0123456789abcdef";
    out += "\\'";
    out.push_back(Digits[c >> 4]);
    out.push_back(Digits[c & 15]);
}

// A name inside a table or a bookmark: besides the escapes of text, every
// byte that means something there (";", and in bookmarks the space) is hex.
void AppendName(std::string& out, std::string_view name)
{
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\\' || c == '{' || c == '}') {
            out.push_back('\\');
            out.push_back(ch);
        } else if (c < 0x20 || c >= 0x80 || c == ';' || c == ' ') {
            AppendHex(out, c);
        } else {
            out.push_back(ch);
        }
    }
}

class RtfWriter {
public:
    RtfWriter(ZuOutStream& stream, const ZuTextDocument& doc) : stream_(stream), doc_(doc) {}

    std::string out;

    void Flush()
    {
        if (!out.empty() && !stream_.Bad())
            stream_.Write(out.data(), out.size());
        out.clear();
    }
    void MaybeFlush()
    {
        if (out.size() >= (1 << 16))
            Flush();
    }
    std::string TabDefinition(const ZuTabSet& tabs, std::int32_t twipsPerPixel) const
    {
        std::string def;
        const std::int32_t characterWidth = doc_.AverageCharWidth();
        for (std::int32_t i = 0; i < tabs.Count(); ++i) {
            const std::uint32_t alignment = tabs.Alignment(i, ZuTabsByIndex);
            const std::uint32_t leader = tabs.Leader(i, ZuTabsByIndex);
            if (alignment == 1)
                def += "\\tqc";
            else if (alignment == 2)
                def += "\\tqr";
            static constexpr const char* Leaders[] = {"", "\\tldot", "\\tlhyph", "\\tlul", "\\tlth", "\\tleq"};
            if (leader < std::size(Leaders))
                def += Leaders[leader];
            def += "\\tx";
            AppendNumber(def, std::int64_t(tabs.StopPosition(i, ZuTabsByIndex, characterWidth)) * twipsPerPixel);
        }
        return def;
    }
    // Escapes text bytes: a CR LF is a paragraph end, other control bytes
    // and bytes of 0x80 or more are hex, so the reader gives them all back.
    void Text(const char* p, std::size_t n)
    {
        std::size_t from = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const auto c = static_cast<unsigned char>(p[i]);
            if (c >= 0x20 && c < 0x80 && c != '\\' && c != '{' && c != '}')
                continue;
            out.append(p + from, i - from);
            if (c == '\r' && i + 1 < n && p[i + 1] == '\n') {
                out += "\\par\r\n";
                ++i;
            } else if (c == '\t') {
                out += "\\tab ";
            } else if (c == '\\' || c == '{' || c == '}') {
                out.push_back('\\');
                out.push_back(char(c));
            } else {
                AppendHex(out, c);
            }
            from = i + 1;
        }
        out.append(p + from, n - from);
        MaybeFlush();
    }

private:
    ZuOutStream& stream_;
    const ZuTextDocument& doc_;
};

} // namespace

ZuErr ZuTextDocument::SaveRtf(ZuOutStream& stream, int pane, const ZuTextRange& range) const
{
    if (range.type < ZuRangeStream || range.type > ZuRangeWhole || pane < 0 || pane > 1)
        return ZuErrBadParameter;
    if (stream.Bad())
        return stream.Error() != ZuOk ? stream.Error() : ZuErrStream;
    try {
        const ZuMetricsProvider& provider = *fonts_->Provider();
        const std::int32_t twipsPerPixel = std::max(1, 1440 / std::max(1, provider.PixelsPerInchX()));

        // The byte spans written, one per line for a column range.
        std::vector<std::pair<std::uint64_t, std::uint64_t>> spans;
        if (!blocks_.empty()) {
            if (range.type == ZuRangeColumn) {
                const std::uint32_t low = std::max<std::uint32_t>(range.LowestLine(), 1);
                const std::uint32_t high = std::min(range.HighestLine(), lineCount_[pane]);
                for (std::uint32_t line = low; line <= high; ++line)
                    spans.emplace_back(PositionToOffset(pane, {range.SmallestX(), line}),
                                       PositionToOffset(pane, {range.LargestX(), line}));
            } else {
                spans.push_back(SpanOf(pane, range));
            }
        }

        // Bookmarks inside the written text, by offset, then index.
        std::vector<std::pair<std::uint64_t, std::uint32_t>> marks;
        for (std::uint32_t i = 0; i < bookmarks_.Count(); ++i) {
            const std::int64_t offset = bookmarks_.At(i)->offset;
            if (offset < 0)
                continue;
            for (const auto& [from, to] : spans)
                if (std::uint64_t(offset) >= from && std::uint64_t(offset) <= to) {
                    marks.emplace_back(std::uint64_t(offset), i);
                    break;
                }
        }
        std::sort(marks.begin(), marks.end());

        // The colour table: the pane's text colours, then those of the runs written.
        std::vector<std::uint32_t> colors = {ZuRgbOfColor(PaneColor(pane, ZuColorTextFore), provider),
                                             ZuRgbOfColor(PaneColor(pane, ZuColorTextBack), provider)};
        std::unordered_map<std::uint32_t, std::uint32_t> colorIndex; // by stored value
        auto colorNumber = [&](std::uint32_t stored) {
            const auto it = colorIndex.find(stored);
            if (it != colorIndex.end())
                return it->second;
            const std::uint32_t rgb = ZuRgbOfColor(stored, provider);
            std::uint32_t n = std::uint32_t(std::find(colors.begin(), colors.end(), rgb) - colors.begin());
            if (n == colors.size())
                colors.push_back(rgb);
            colorIndex.emplace(stored, n);
            return n;
        };
        for (const auto& [from, to] : spans)
            ForEachBlockSpan(from, to, [&](const ZuTextBlock& block, std::uint32_t a, std::uint32_t b) {
                if (block.colors.Empty())
                    return;
                for (std::uint32_t r = block.colors.FindRun(a); r < block.colors.Count(); ++r) {
                    const ZuColorRun& c = block.colors.runs[r];
                    if (c.start >= b)
                        break;
                    if (c.fore != ZuNoColor)
                        colorNumber(c.fore);
                    if (c.back != ZuNoColor)
                        colorNumber(c.back);
                }
            });

        RtfWriter w(stream, *this);
        std::string& out = w.out;
        out += "{\\rtf1\\ansi\\deff0\\deftab";
        AppendNumber(out, std::int64_t(defaultTabs_.DefaultWidth(AverageCharWidth())) * twipsPerPixel);
        out += "\r\n{\\fonttbl";
        static constexpr const char* Families[] = {"\\fnil", "\\froman", "\\fswiss", "\\fmodern", "\\fscript",
                                                   "\\fdecor"};
        for (std::uint32_t i = 0; i < fonts_->Count(); ++i) {
            const ZuFontDescriptor& font = fonts_->At(i).Font();
            out += "{\\f";
            AppendNumber(out, i);
            const std::size_t family = font.pitchAndFamily >> 4;
            if (family < std::size(Families))
                out += Families[family];
            out.push_back(' ');
            AppendName(out, font.faceName);
            out += ";}";
        }
        out += "}\r\n{\\colortbl";
        for (const std::uint32_t c : colors) {
            out += "\\red";
            AppendNumber(out, c & 0xFF);
            out += "\\green";
            AppendNumber(out, (c >> 8) & 0xFF);
            out += "\\blue";
            AppendNumber(out, (c >> 16) & 0xFF);
            out.push_back(';');
        }
        out += "}\r\n\\pard\\plain ";
        std::string lastTabs = w.TabDefinition(defaultTabs_, twipsPerPixel);
        if (!lastTabs.empty())
            out += lastTabs + " ";

        // The control words of each font, made once.
        std::vector<std::optional<std::string>> fontWords(fonts_->Count());
        auto words = [&](std::uint32_t fontIndex, std::uint32_t fore, std::uint32_t back) {
            std::string s;
            if (fore != ZuNoColor) {
                s += "\\cf";
                AppendNumber(s, colorNumber(fore));
            }
            if (back != ZuNoColor) {
                s += "\\cb";
                AppendNumber(s, colorNumber(back));
            }
            if (fontIndex >= fontWords.size())
                fontIndex = 0;
            if (!fontWords[fontIndex]) {
                std::string f;
                const ZuFontEntry& font = fonts_->At(fontIndex);
                if (fontIndex != 0) {
                    f += "\\f";
                    AppendNumber(f, fontIndex);
                }
                const auto size = std::int64_t(font.Attribute(ZuAttrSize).number + 0.99);
                if (size != 12) {
                    f += "\\fs";
                    AppendNumber(f, 2 * size);
                }
                if (font.Font().weight > 699)
                    f += "\\b";
                if (font.Font().italic)
                    f += "\\i";
                if (font.Font().underline)
                    f += "\\ul";
                if (font.Font().strikeOut)
                    f += "\\strike";
                fontWords[fontIndex] = std::move(f);
            }
            return s + *fontWords[fontIndex];
        };

        bool groupOpen = false;
        std::string lastWords;
        auto closeGroup = [&] {
            if (groupOpen)
                out.push_back('}');
            groupOpen = false;
            lastWords.clear();
        };
        std::size_t nextMark = 0;
        auto writeMarks = [&](std::uint64_t upTo) {
            for (; nextMark < marks.size() && marks[nextMark].first <= upTo; ++nextMark) {
                closeGroup();
                const ZuBookmark* mark = bookmarks_.At(marks[nextMark].second);
                const std::string_view name = mark->name ? std::string_view(*mark->name) : std::string_view();
                out += "{\\bkmkstart ";
                AppendName(out, name);
                out += "}{\\bkmkend ";
                AppendName(out, name);
                out += "}";
            }
        };

        // WriteRtfRuns: each piece of one format, cut at paragraph starts (where
        // the tab stops may change) and at bookmarks.
        const ZuTabSet* lastTabSet = nullptr;
        std::uint32_t lastFont = ~0u, lastFore = 0, lastBack = 0;
        std::string desired;
        for (std::size_t s = 0; s < spans.size(); ++s) {
            const auto [spanFrom, spanTo] = spans[s];
            if (s > 0) {
                closeGroup();
                out += "\\par\r\n";
            }
            for (std::size_t k = spanTo > spanFrom ? cache_.BlockOfOffset(spanFrom) : blocks_.size();
                 k < blocks_.size(); ++k) {
                const std::uint64_t base = cache_.BytesBefore(k);
                if (base >= spanTo)
                    break;
                const ZuTextBlock& block = *blocks_[k];
                const std::string& text = block.text;
                const std::uint32_t a = std::uint32_t(std::max(spanFrom, base) - base);
                const std::uint32_t b = std::uint32_t(std::min<std::uint64_t>(spanTo - base, block.Length()));
                std::uint32_t fontRun = block.fonts.Empty() ? 0 : block.fonts.FindRun(a);
                std::uint32_t colorRun = block.colors.Empty() ? 0 : block.colors.FindRun(a);
                for (std::uint32_t i = a; i < b;) {
                    const std::uint64_t at = base + i;
                    if (at == spanFrom || i == 0 || (i >= 2 && text[i - 2] == '\r' && text[i - 1] == '\n')) {
                        const ZuTabSet& tabs = ParagraphTabSet(at);
                        if (&tabs != lastTabSet) {
                            lastTabSet = &tabs;
                            std::string def = w.TabDefinition(tabs, twipsPerPixel);
                            if (def != lastTabs) {
                                closeGroup();
                                out += "\\pard" + def + " ";
                                lastTabs = std::move(def);
                            }
                        }
                    }
                    writeMarks(at);

                    while (fontRun + 1 < block.fonts.Count() && block.fonts.runs[fontRun + 1].start <= i)
                        ++fontRun;
                    while (colorRun + 1 < block.colors.Count() && block.colors.runs[colorRun + 1].start <= i)
                        ++colorRun;
                    const std::uint32_t font = block.fonts.Empty() ? 0 : block.fonts.runs[fontRun].font;
                    const std::uint32_t fore = block.colors.Empty() ? ZuNoColor : block.colors.runs[colorRun].fore;
                    const std::uint32_t back = block.colors.Empty() ? ZuNoColor : block.colors.runs[colorRun].back;
                    if (font != lastFont || fore != lastFore || back != lastBack) {
                        desired = words(font, fore, back);
                        lastFont = font, lastFore = fore, lastBack = back;
                    }
                    if (groupOpen ? desired != lastWords : !desired.empty()) {
                        closeGroup();
                        if (!desired.empty()) {
                            out += "{" + desired + " ";
                            groupOpen = true;
                            lastWords = desired;
                        }
                    }

                    // The piece ends at the next run, paragraph start or bookmark.
                    std::uint32_t j = b;
                    if (fontRun + 1 < block.fonts.Count())
                        j = std::min(j, block.fonts.runs[fontRun + 1].start);
                    if (colorRun + 1 < block.colors.Count())
                        j = std::min(j, block.colors.runs[colorRun + 1].start);
                    const bool markAtEnd = nextMark < marks.size() && marks[nextMark].first <= base + j;
                    if (markAtEnd)
                        j = std::uint32_t(marks[nextMark].first - base);
                    // A run boundary never splits a CR LF; a bookmark between the
                    // two does, and the two are then written as bytes around it.
                    if (!markAtEnd && j < b && text[j - 1] == '\r' && text[j] == '\n')
                        ++j;
                    if (const void* cr = std::memchr(text.data() + i, '\r', j - i)) {
                        for (const char* p = static_cast<const char*>(cr); p + 1 < text.data() + j; ++p)
                            if (p[0] == '\r' && p[1] == '\n') {
                                j = std::uint32_t(p + 2 - text.data());
                                break;
                            }
                    }
                    w.Text(text.data() + i, j - i);
                    i = j;
                }
            }
            writeMarks(spanTo);
        }
        closeGroup();
        writeMarks(~std::uint64_t(0));
        out += "}";
        w.Flush();
    } catch (const std::bad_alloc&) {
        return ZuErrNoMemory;
    }
    return stream.Bad() ? (stream.Error() != ZuOk ? stream.Error() : ZuErrStream) : ZuOk;
}
