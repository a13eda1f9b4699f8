// Plain text loading and saving.

#include "editctl/engine/ZuOemCodePage.h"
#include "editctl/engine/ZuTextDocument.h"
#include "editctl/engine/ZuTextDocumentSpans.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// A chunk holds a longest line with its CR LF.
constexpr std::size_t ChunkSize = 65502;
constexpr std::int64_t MaxLoadBytes = std::int64_t(1) << 31;

ZuErr StreamError(const ZuStream& stream)
{
    return stream.Error() != ZuOk ? stream.Error() : ZuErrStream;
}

// Writes plain bytes of the document, turning each CR LF into LF for Unix text
// and into the OEM code page when asked.
class PlainWriter {
public:
    PlainWriter(ZuOutStream& out, bool lf, bool convert) : out_(out), lf_(lf), convert_(convert) {}

    void Bytes(const char* p, std::size_t n)
    {
        if (!lf_) {
            Put(p, n);
            return;
        }
        // Pairs never straddle two calls: blocks end with CR LF, and a position
        // never falls between a CR and its LF.
        std::size_t from = 0;
        for (std::size_t i = 0; i + 1 < n; ++i) {
            if (p[i] == '\r' && p[i + 1] == '\n') {
                Put(p + from, i - from);
                from = i + 1; // the LF goes out with the next piece
                ++i;
            }
        }
        Put(p + from, n - from);
    }
    void LineEnd() { lf_ ? Put("\n", 1) : Put("\r\n", 2); }

private:
    void Put(const char* p, std::size_t n)
    {
        if (n == 0 || out_.Bad())
            return;
        if (!convert_) {
            out_.Write(p, n);
            return;
        }
        copy_.assign(p, p + n);
        ZuAnsiToOem(copy_.data(), n);
        out_.Write(copy_.data(), n);
    }

    ZuOutStream& out_;
    bool lf_;
    bool convert_;
    std::vector<char> copy_;
};

} // namespace

bool ZuTextDocument::LooksLikeRtf(ZuInStream& stream)
{
    const std::int64_t start = stream.Tell();
    char head[8] = {};
    const std::size_t got = ZuReadBlock(stream, head, sizeof head);
    stream.ClearEnd();
    stream.Seek(start);
    std::size_t at = 0;
    if (got >= 3 && std::memcmp(head, "\xEF\xBB\xBF", 3) == 0)
        at = 3;
    return got >= at + 5 && std::memcmp(head + at, "{\\rtf", 5) == 0;
}

ZuErr ZuTextDocument::Load(ZuInStream& stream, int& type, bool convert)
{
    if (type < ZuTextDetect || type > ZuTextRtf)
        return ZuErrBadParameter;
    if (stream.Bad())
        return StreamError(stream);
    const std::int64_t start = stream.Tell();
    if (type == ZuTextDetect || type == ZuTextRtf) {
        if (LooksLikeRtf(stream)) {
            Clear();
            const ZuErr error = LoadRtf(stream);
            if (error == ZuOk) {
                type = ZuTextRtf;
                return ZuOk;
            }
            if (type == ZuTextRtf)
                return error;
        } else if (type == ZuTextRtf) {
            return ZuErrRtf;
        }
        stream.ClearEnd();
        stream.Seek(start);
        if (stream.Bad())
            return StreamError(stream);
    }
    return LoadPlainText(stream, type, convert);
}

ZuErr ZuTextDocument::LoadPlainText(ZuInStream& stream, int& type, bool convert)
{
    Clear();
    const std::int64_t length = stream.Length();
    if (length < 0 || stream.Bad())
        return StreamError(stream);
    std::int64_t remaining = std::max<std::int64_t>(length - stream.Tell(), 0);
    if (remaining >= MaxLoadBytes)
        return ZuErrLineCount;
    int mode = -1;
    try {
        std::vector<char> buffer(std::size_t(std::min<std::int64_t>(remaining, ChunkSize)));
        while (remaining > 0) {
            const std::size_t n = std::size_t(std::min<std::int64_t>(remaining, ChunkSize));
            if (ZuReadBlock(stream, buffer.data(), n) != n)
                return StreamError(stream);
            remaining -= std::int64_t(n);
            if (convert)
                ZuOemToAnsi(buffer.data(), n);
            if (mode < 0)
                mode = type == ZuTextDos    ? ZuCrLfText
                       : type == ZuTextUnix ? ZuLfText
                                            : DetectLineEnds(buffer.data(), n);
            const bool last = remaining == 0;
            std::uint64_t taken = 0;
            if (const ZuErr error = AppendText(taken, buffer.data(), n, mode, last ? 0 : -1))
                return error;
            if (taken < n) {
                // An unfinished last line goes to the front of the next chunk.
                if (last || taken == 0)
                    return ZuErrLineLength; // no line end within a whole chunk
                const std::size_t back = n - std::size_t(taken);
                stream.ClearEnd();
                stream.Seek(-std::int64_t(back), 1);
                remaining += std::int64_t(back);
            }
            if (stream.Bad())
                return StreamError(stream);
        }
    } catch (const std::bad_alloc&) {
        return ZuErrNoMemory;
    }
    EnsureBlock();
    EnsureFinalLine();
    type = mode == ZuLfText ? ZuTextUnix : ZuTextDos;
    return ZuOk;
}

ZuErr ZuTextDocument::Save(int pane, const ZuTextRange& range, ZuOutStream& stream, int type, bool convert) const
{
    if (type == ZuTextDos || type == ZuTextUnix)
        return SavePlainText(pane, range, stream, type, convert);
    if (type == ZuTextDetect || type == ZuTextRtf)
        return SaveRtf(stream, pane, range);
    return ZuErrBadParameter;
}

ZuErr ZuTextDocument::SavePlainText(int pane, const ZuTextRange& range, ZuOutStream& stream, int type,
                                    bool convert) const
{
    if (range.type < ZuRangeStream || range.type > ZuRangeWhole || pane < 0 || pane > 1)
        return ZuErrBadParameter;
    if (blocks_.empty())
        return stream.Bad() ? StreamError(stream) : ZuOk;
    PlainWriter writer(stream, type == ZuTextUnix, convert);
    auto bytes = [&](std::uint64_t from, std::uint64_t to) {
        ForEachBlockSpan(from, to, [&](const ZuTextBlock& block, std::uint32_t a, std::uint32_t b) {
            writer.Bytes(block.text.data() + a, b - a);
        });
    };
    try {
        if (range.type == ZuRangeColumn) {
            const std::uint32_t low = std::max<std::uint32_t>(range.LowestLine(), 1);
            const std::uint32_t high = std::min(range.HighestLine(), lineCount_[pane]);
            for (std::uint32_t line = low; line <= high && !stream.Bad(); ++line) {
                bytes(PositionToOffset(pane, {range.SmallestX(), line}),
                      PositionToOffset(pane, {range.LargestX(), line}));
                if (line < high)
                    writer.LineEnd();
            }
        } else {
            const auto [from, to] = SpanOf(pane, range);
            bytes(from, to);
        }
    } catch (const std::bad_alloc&) {
        return ZuErrNoMemory;
    }
    return stream.Bad() ? StreamError(stream) : ZuOk;
}
