// clip_bench: loading and saving a clipboard history of 500 entries of 100 KB each, beside cat.
//
//   clip_bench [pairs]
//
// The load (clip_run load) runs beside "cat f > /dev/null", the save (clip_run save: the file
// loaded, then saved to a new file, atomically and synced) beside "cat f > g; sync". Every run
// is a whole process over the same file in the same folder; ours and cat's take turns, the order
// swapped every pair, so that a change of machine load falls on both. Figures: MB/s of the file
// (1 MB = 1,000,000 bytes) as median with the spread (min to max), and the median of the pairs'
// ratios ours / cat. Target: at least half of cat's throughput each way.

#include "clipext/ClipHistory.h"
#include "clipext/ClipHistoryFile.h"
#include "platform/files/AtomicWrite.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

constexpr int Entries = 500;
constexpr int EntryBytes = 100 * 1000;

// NC text of about EntryBytes, different for every entry, as the text block of a copy.
QByteArray Entry(int number)
{
    QByteArray text;
    text.reserve(EntryBytes + 64);
    text += "O" + QByteArray::number(1000 + number) + " (COPIED PROGRAM " + QByteArray::number(number) + ")\r\n";
    for (int n = 10; text.size() < EntryBytes - 40; n += 10)
        text += "N" + QByteArray::number(n) + " G01 X" + QByteArray::number((n * 7 + number) % 997 * 0.013, 'f', 3)
                + " Y" + QByteArray::number((n * 3) % 883 * 0.011, 'f', 3) + " F250\r\n";
    text.resize(EntryBytes - 1, ' ');
    return text.append('\0');
}

double Run(const std::vector<std::string>& command)
{
    std::vector<char*> argv;
    for (const std::string& word : command)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", argv[0]);
        std::exit(1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", argv[0]);
        std::exit(1);
    }
    return seconds;
}

struct Figures {
    double median = 0, low = 0, high = 0;
};

Figures Summary(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {median, values.front(), values.back()};
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int pairs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    const std::string runner = QDir(QCoreApplication::applicationDirPath()).filePath("clip_run").toStdString();

    QTemporaryDir folder(QDir::tempPath() + "/clip_bench-XXXXXX");
    const std::string file = folder.filePath("history.CCF").toStdString();
    const std::string ours = folder.filePath("ours.CCF").toStdString();
    const std::string theirs = folder.filePath("cat.CCF").toStdString();
    {
        clipext::ClipHistory history(clipext::ClipHistory::MaxSize);
        for (int i = 0; i < Entries; ++i)
            history.Capture({{clipext::CF_TEXT, Entry(i)}});
        QByteArray bytes(clipext::ClipFileHeader().data(), clipext::ClipFileMagicSize);
        bytes.reserve(qsizetype(Entries) * (EntryBytes + 1024));
        for (const int index : history.Rows())
            history.Entry(index).Serialise(bytes);
        if (!platform::WriteFileAtomically(QString::fromStdString(file), bytes)) {
            std::fprintf(stderr, "cannot write %s\n", file.c_str());
            return 1;
        }
    }
    const double megabytes = double(QFileInfo(QString::fromStdString(file)).size()) / 1e6;

    const std::vector<std::string> ourLoad{runner, "load", file};
    const std::vector<std::string> catLoad{"sh", "-c", "cat \"$0\" > /dev/null", file};
    const std::vector<std::string> ourSave{runner, "save", file, ours};
    const std::vector<std::string> catSave{"sh", "-c", "cat \"$0\" > \"$1\"; sync", file, theirs};
    Run(catLoad);  // the file into the page cache for both sides
    Run(ourLoad);

    std::vector<double> loadOurs, loadCat, loadRatio, saveOurs, saveCat, saveRatio;
    for (int pair = 0; pair < pairs; ++pair) {
        const bool oursFirst = pair % 2 == 0;
        double a = 0, b = 0;
        if (oursFirst) { a = Run(ourLoad); b = Run(catLoad); } else { b = Run(catLoad); a = Run(ourLoad); }
        loadOurs.push_back(megabytes / a);
        loadCat.push_back(megabytes / b);
        loadRatio.push_back(b / a);
        if (oursFirst) { a = Run(ourSave); b = Run(catSave); } else { b = Run(catSave); a = Run(ourSave); }
        saveOurs.push_back(megabytes / a);
        saveCat.push_back(megabytes / b);
        saveRatio.push_back(b / a);
    }
    if (QFileInfo(QString::fromStdString(ours)).size() != QFileInfo(QString::fromStdString(file)).size()) {
        std::fprintf(stderr, "the saved history differs in size from the loaded one\n");
        return 1;
    }

    std::printf("Clipboard history of %d entries of %d KB: %.1f MB; %d pairs, interleaved, whole processes.\n"
                "MB/s as median (min-max); x = median of the pairs' ratios ours / cat (target: at least 0.5).\n\n",
                Entries, EntryBytes / 1000, megabytes, pairs);
    const auto line = [](const char* what, const Figures& ours, const Figures& cat, const Figures& ratio,
                         const char* yardstick) {
        std::printf("  %-5s %6.0f (%.0f-%.0f)   %-22s %6.0f (%.0f-%.0f)   x %.2f\n", what, ours.median, ours.low,
                    ours.high, yardstick, cat.median, cat.low, cat.high, ratio.median);
    };
    line("load", Summary(loadOurs), Summary(loadCat), Summary(loadRatio), "cat f > /dev/null");
    line("save", Summary(saveOurs), Summary(saveCat), Summary(saveRatio), "cat f > g; sync");
    return 0;
}
