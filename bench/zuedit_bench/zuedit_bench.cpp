// ZUEDIT32's text engine on a large document in memory:
//   1. appends 100 MB of 40-byte CR LF lines (MB/s; 1 MB = 1,000,000 bytes);
//   2. inserts and removes one byte at 10,000 random places (microseconds each), beside a
//      std::string doing 200 of the same edits (its figure extrapolated to 10,000);
//   3. wraps the second pane of the whole text at a new width at word breaks (seconds);
//   4. loads the text from a file and saves it again as plain text, the save including the
//      sync to disk (MB/s), beside `cat` of the same file to /dev/null;
//   5. undoes the replacement of the whole text by another of the same size (seconds);
//   6. reads and writes 10 MB of RTF with a font or colour change every ten words and 5 % of the
//      text bytes escaped (MB/s of RTF);
//   7. searches the wrapped pane for a word that is not there, forward and backward, without
//      regard to case (seconds), beside std::string::find over the same bytes.
//
//   zuedit_bench [megabytes] [runs]
//
// Every figure is the median of the runs, with the lowest and highest beside it; the machine may be
// shared, so the runs interleave the measurements.

#include "bench/BenchNcText.h"
#include "editctl/ZuTextFile.h"
#include "editctl/engine/ZuGlobalOutStream.h"
#include "editctl/engine/ZuInsertionUndoAction.h"
#include "editctl/engine/ZuMemoryInStream.h"
#include "editctl/engine/ZuRemovalUndoAction.h"
#include "editctl/engine/ZuSearch.h"
#include "editctl/engine/ZuTextDocument.h"
#include "editctl/engine/ZuUndoManager.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from)
{
    return std::chrono::duration<double>(Clock::now() - from).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// "median (lowest-highest)".
std::string Spread(const std::vector<double>& values, const char* format)
{
    char m[32], lo[32], hi[32], all[128];
    std::snprintf(m, sizeof m, format, Median(values));
    std::snprintf(lo, sizeof lo, format, *std::min_element(values.begin(), values.end()));
    std::snprintf(hi, sizeof hi, format, *std::max_element(values.begin(), values.end()));
    std::snprintf(all, sizeof all, "%s (%s-%s)", m, lo, hi);
    return all;
}

// About `bytes` of RTF: paragraphs of 100 five-letter words, every ten words a group
// changing the font or the colour, and 5 % of the text bytes written escaped.
std::string MakeRtf(std::size_t bytes)
{
    std::string rtf = "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0 Fixed;}{\\f1\\froman Times;}{\\f2 Arial;}}\r\n"
                      "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n\\pard\\plain ";
    rtf.reserve(bytes + 1024);
    std::mt19937 random(5);
    static const char* Groups[] = {"{\\f1 ", "{\\cf1 ", "{\\f2\\b ", "{\\cf2\\i "};
    static const char* Escapes[] = {"\\'e9", "\\{", "\\}", "\\\\", "\\'fc", "\\tab "};
    bool open = false;
    for (long word = 0; rtf.size() < bytes; ++word) {
        if (word % 10 == 0) {
            if (open)
                rtf += "}";
            open = word % 20 == 0;
            if (word % 100 == 0 && word > 0)
                rtf += "\\par\r\n";
            if (open)
                rtf += Groups[(word / 20) % 4];
        }
        for (int i = 0; i < 5; ++i) {
            // Six bytes of text a word: one in twenty escaped.
            if (random() % 20 == 0)
                rtf += Escapes[random() % 6];
            else
                rtf.push_back(char('a' + random() % 26));
        }
        rtf.push_back(' ');
    }
    return rtf + (open ? "}}" : "}");
}

// NC-like lines of exactly 40 bytes with CR LF: words to break at.
std::string MakeText(std::size_t bytes)
{
    std::string text = MakeNcText(bytes);
    text.resize(bytes - bytes % 40);
    return text;
}

struct Figures {
    double appendMBs = 0;
    double insertUs = 0;
    double removeUs = 0;
    double stringInsertUs = 0;
    double stringRemoveUs = 0;
    double wrapSeconds = 0;
    std::uint32_t wrappedLines = 0;
    double loadMBs = 0;
    double saveMBs = 0;
    double catMBs = 0;
    double undoSeconds = 0;
    double rtfReadMBs = 0;
    double rtfWriteMBs = 0;
    double searchForward = 0;
    double searchBackward = 0;
    double stringFind = 0;
};

void Fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::exit(1);
}

// 4 and 5.
void RunFiles(const std::string& text, Figures& f)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("text.nc");
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), qint64(text.size())) != qint64(text.size()))
            Fail("cannot write the test file");
    }
    ZuFixedMetrics metrics(7);
    ZuTextDocument doc(&metrics);
    int type = 0;
    auto start = Clock::now();
    if (!ZuLoadFile(path, doc, type, false).Ok())
        Fail("load failed");
    f.loadMBs = double(text.size()) / 1e6 / Seconds(start);
    const QString copy = dir.filePath("copy.nc");
    start = Clock::now();
    if (!ZuSaveFile(copy, doc, 0, ZuTextRange({0, 0}, {0, 0}, ZuRangeWhole), type, false, false).Ok())
        Fail("save failed");
    f.saveMBs = double(text.size()) / 1e6 / Seconds(start);
    if (QFile(copy).size() != qint64(text.size()))
        Fail("the saved file differs");
    start = Clock::now();
    const std::string cat = "cat '" + QFile::encodeName(path).toStdString() + "' > /dev/null";
    if (std::system(cat.c_str()) != 0)
        Fail("cat failed");
    f.catMBs = double(text.size()) / 1e6 / Seconds(start);

    ZuUndoManager undo;
    ZuErr error = ZuOk;
    std::string other = text;
    std::replace(other.begin(), other.end(), 'G', 'H');
    undo.Nest(true);
    undo.AddAction(ZuRemovalUndoAction::Remove(doc, 0, 0, doc.ByteCount(), error));
    undo.AddAction(ZuInsertionUndoAction::Insert(doc, 0, 0, other, error));
    undo.Nest(false);
    if (error != ZuOk)
        Fail("replacement failed");
    start = Clock::now();
    if (undo.Undo() != ZuOk)
        Fail("undo failed");
    f.undoSeconds = Seconds(start);
    if (doc.ByteCount() != text.size())
        Fail("undo did not restore the text");
}

// 6.
void RunRtf(const std::string& rtf, Figures& f)
{
    ZuFixedMetrics metrics(7);
    ZuTextDocument doc(&metrics);
    ZuMemoryInStream in(rtf.data(), rtf.size());
    auto start = Clock::now();
    if (doc.LoadRtf(in) != ZuOk)
        Fail("RTF reading failed");
    f.rtfReadMBs = double(rtf.size()) / 1e6 / Seconds(start);
    ZuGlobalOutStream out;
    start = Clock::now();
    if (doc.SaveRtf(out, 0, ZuTextRange({0, 0}, {0, 0}, ZuRangeWhole)) != ZuOk)
        Fail("RTF writing failed");
    f.rtfWriteMBs = double(out.Data().size()) / 1e6 / Seconds(start);
    if (out.Data().size() < rtf.size() / 2)
        Fail("the RTF written is too short");
}

Figures RunOnce(const std::string& text, const std::string& rtf, unsigned seed)
{
    Figures f;
    ZuFixedMetrics metrics(7);
    ZuTextDocument doc(&metrics);

    // 1. Loading in chunks of 1 MB, as a file would be read.
    auto start = Clock::now();
    const std::size_t chunk = 1 << 20;
    std::string carry;
    for (std::size_t at = 0; at < text.size(); at += chunk) {
        std::uint64_t taken = 0;
        const std::size_t n = std::min(chunk, text.size() - at);
        carry.append(text, at, n);
        const bool last = at + n >= text.size();
        if (doc.AppendText(taken, carry.data(), carry.size(), ZuCrLfText, last ? 0 : -1) != ZuOk) {
            std::fprintf(stderr, "append failed\n");
            std::exit(1);
        }
        carry.erase(0, taken);
    }
    doc.EnsureFinalLine();
    f.appendMBs = double(text.size()) / 1e6 / Seconds(start);

    // 2. One byte in and out at random places.
    std::mt19937_64 random(seed);
    const int edits = 10000;
    std::vector<ZuTextPosition> places;
    for (int i = 0; i < edits; ++i) {
        const std::uint32_t line = std::uint32_t(random() % doc.LineCount(0)) + 1;
        places.push_back({std::uint32_t(random() % 38), line});
    }
    start = Clock::now();
    for (const ZuTextPosition& p : places)
        doc.InsertText(0, p, "x");
    f.insertUs = Seconds(start) * 1e6 / edits;
    start = Clock::now();
    for (auto it = places.rbegin(); it != places.rend(); ++it)
        doc.RemoveCharAt(0, it->x, it->y);
    f.removeUs = Seconds(start) * 1e6 / edits;
    if (doc.Text() != text) {
        std::fprintf(stderr, "edits did not restore the text\n");
        std::exit(1);
    }

    std::string plain = text;
    const int stringEdits = 200;
    std::vector<std::size_t> offsets;
    for (int i = 0; i < stringEdits; ++i)
        offsets.push_back(std::size_t(random() % plain.size()));
    start = Clock::now();
    for (std::size_t o : offsets)
        plain.insert(o, 1, 'x');
    f.stringInsertUs = Seconds(start) * 1e6 / stringEdits;
    start = Clock::now();
    for (auto it = offsets.rbegin(); it != offsets.rend(); ++it)
        plain.erase(*it, 1);
    f.stringRemoveUs = Seconds(start) * 1e6 / stringEdits;

    // 3. The whole text of pane 1 at a new width, at word breaks.
    ZuWrapRequest request;
    request.firstLine = 1;
    request.lastLine = doc.LineCount(1);
    request.width = 7 * 17;
    request.wholeWords = true;
    start = Clock::now();
    doc.WrapLines(request, 1);
    f.wrapSeconds = Seconds(start);
    f.wrappedLines = doc.LineCount(1);

    // 7. A word that is not there, through the wrapped pane, without regard to case.
    ZuSearch search;
    const std::string missing = "G02 Q";
    start = Clock::now();
    if (search.Find(doc, 1, missing, 0, true) != -1)
        Fail("search found what is not there");
    f.searchForward = Seconds(start);
    start = Clock::now();
    if (search.Find(doc, 1, missing, doc.ByteCount(), false) != -1)
        Fail("search found what is not there");
    f.searchBackward = Seconds(start);
    start = Clock::now();
    if (text.find(missing) != std::string::npos)
        Fail("find found what is not there");
    f.stringFind = Seconds(start);
    RunFiles(text, f);
    RunRtf(rtf, f);
    return f;
}

} // namespace

int main(int argc, char* argv[])
{
    const std::size_t megabytes = argc > 1 ? std::size_t(std::atol(argv[1])) : 100;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    const std::string text = MakeText(megabytes * 1000000);
    const std::string rtf = MakeRtf(10000000);
    std::printf("ZUEDIT32 engine, %zu MB of 40-byte CR LF lines (%zu lines), median of %d runs\n", megabytes,
                text.size() / 40, runs);
    std::vector<double> append, insert, remove, sInsert, sRemove, wrap, load, save, cat, undo, rtfRead, rtfWrite;
    std::vector<double> searchForward, searchBackward, stringFind;
    std::uint32_t wrapped = 0;
    for (int run = 0; run < runs; ++run) {
        const Figures f = RunOnce(text, rtf, unsigned(run + 1));
        append.push_back(f.appendMBs);
        insert.push_back(f.insertUs);
        remove.push_back(f.removeUs);
        sInsert.push_back(f.stringInsertUs);
        sRemove.push_back(f.stringRemoveUs);
        wrap.push_back(f.wrapSeconds);
        wrapped = f.wrappedLines;
        load.push_back(f.loadMBs);
        save.push_back(f.saveMBs);
        cat.push_back(f.catMBs);
        undo.push_back(f.undoSeconds);
        rtfRead.push_back(f.rtfReadMBs);
        rtfWrite.push_back(f.rtfWriteMBs);
        searchForward.push_back(f.searchForward);
        searchBackward.push_back(f.searchBackward);
        stringFind.push_back(f.stringFind);
    }
    std::printf("  append:                 %8.0f MB/s      (target at least 200)\n", Median(append));
    std::printf("  insert one byte:        %8.1f us each   (std::string: %.1f us, 10,000 edits %.2f s)\n",
                Median(insert), Median(sInsert), Median(sInsert) * 10000 / 1e6);
    std::printf("  remove one byte:        %8.1f us each   (std::string: %.1f us, 10,000 edits %.2f s)\n",
                Median(remove), Median(sRemove), Median(sRemove) * 10000 / 1e6);
    std::printf("  re-wrap at word breaks: %8.2f s          (%u display lines; target within 2 s)\n", Median(wrap),
                wrapped);
    std::printf("  load a plain file:      %s MB/s (target at least 200; cat: %s MB/s)\n", Spread(load, "%.0f").c_str(),
                Spread(cat, "%.0f").c_str());
    std::printf("  save it, with sync:     %s MB/s (target at least 150)\n", Spread(save, "%.0f").c_str());
    std::printf("  undo a replacement:     %s s (target within 1 s)\n", Spread(undo, "%.2f").c_str());
    std::printf("  read 10 MB of RTF:      %s MB/s (target at least 50)\n", Spread(rtfRead, "%.0f").c_str());
    std::printf("  write it again:         %s MB/s (target at least 50)\n", Spread(rtfWrite, "%.0f").c_str());
    std::printf("  search, no match:       forward %s s, backward %s s (std::string::find: %s s)\n",
                Spread(searchForward, "%.2f").c_str(), Spread(searchBackward, "%.2f").c_str(),
                Spread(stringFind, "%.3f").c_str());
    return 0;
}
