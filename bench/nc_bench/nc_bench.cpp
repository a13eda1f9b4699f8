// Throughput of the NC text procedures on a generated program of 1,000,000 lines, each beside a
// sed or awk edit on the same file in the same run.
//
//   nc_bench [lines] [pairs]
//
// Both sides run the same way: as whole processes over the same file, output to /dev/null, our
// procedure through nc_run, the yardstick with LC_ALL=C. The runs are interleaved, ours and the
// yardstick in turn (the order swapped every pair), so that a change of machine load falls on
// both. Each yardstick is first checked to write the same bytes as our procedure. Figures: the
// median MB/s of input (1 MB = 1,000,000 bytes) in processor time with the spread (min to max) of
// the runs, and the median of the pairs' ratios, in processor time and in elapsed time.

#include "FrameBench.h"
#include "NcRunProcedures.h"
#include "nc/MControl.h"
#include "platform/files/AtomicWrite.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// A milling program: header, moves of three axes with feeds, tool changes, comments and the
// odd empty line, CR LF line ends. Every line is one Insert Spaces and the conversions accept.
std::string MakeProgram(long lines)
{
    std::string text;
    text.reserve(static_cast<std::size_t>(lines) * 36);
    text += "%\r\nO1000\r\n(GENERATED MILLING PROGRAM)\r\n";
    char line[128];
    for (long i = 3, n = 10; i < lines; ++i) {
        if (i % 50 == 0) {
            std::snprintf(line, sizeof line, "(ROUGH PASS %ld)\r\n", i / 50);
        } else if (i % 97 == 0) {
            std::snprintf(line, sizeof line, "\r\n");
        } else if (i % 500 == 0) {
            std::snprintf(line, sizeof line, "N%ld T%02ld M06 (TOOL %ld)\r\n", n, i / 500 % 20, i / 500 % 20);
            n += 10;
        } else {
            const double x = (i * 37 % 20000) / 100.0;
            const double y = (i * 53 % 15000) / 100.0 - 50;
            const double z = -(i % 7) * 0.25;
            std::snprintf(line, sizeof line, "N%ld G01 X%.3f Y%.3f Z%.2f F%d\r\n", n, x, y, z, 200 + int(i % 4) * 50);
            n += 10;
        }
        text += line;
    }
    return text;
}

// The environment of the yardsticks: ours plus LC_ALL=C.
std::vector<char*> CEnvironment()
{
    static std::string locale = "LC_ALL=C";
    std::vector<char*> env;
    for (char** e = environ; *e != nullptr; ++e)
        if (std::strncmp(*e, "LC_ALL=", 7) != 0)
            env.push_back(*e);
    env.push_back(locale.data());
    env.push_back(nullptr);
    return env;
}

struct Timing {
    double wall = -1;  // negative: the command could not run or failed
    double cpu = 0;    // user and system time of the process
};

double Seconds(const timeval& t)
{
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

// Runs the command as a whole process with its output in `output`.
Timing RunProcess(const std::vector<std::string>& command, const std::string& output)
{
    std::vector<char*> argv;
    for (const std::string& arg : command)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> env = CEnvironment();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return {};
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid)
        return {};
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    return Timing{took.count(), Seconds(usage.ru_utime) + Seconds(usage.ru_stime)};
}

bool SameFile(const fs::path& a, const fs::path& b)
{
    std::ifstream fa(a, std::ios::binary);
    std::ifstream fb(b, std::ios::binary);
    return std::equal(std::istreambuf_iterator<char>(fa), std::istreambuf_iterator<char>(),
                      std::istreambuf_iterator<char>(fb), std::istreambuf_iterator<char>());
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Figures {
    double median = 0, low = 0, high = 0;
};

Figures Throughput(const std::vector<double>& seconds, double megabytes)
{
    std::vector<double> rates;
    for (double s : seconds)
        rates.push_back(megabytes / s);
    return Figures{Median(rates), *std::min_element(rates.begin(), rates.end()),
                   *std::max_element(rates.begin(), rates.end())};
}

// The processor time of the procedure alone, on the text in memory.
double InMemorySeconds(const NcRunProcedure& procedure, std::string_view text)
{
    const auto now = [] {
        timespec t{};
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
    };
    std::string error;
    const double start = now();
    volatile std::size_t sink = procedure.run(text, error).size();
    (void)sink;
    return now() - start;
}

fs::path ProgramFolder()
{
    return fs::read_symlink("/proc/self/exe").parent_path();
}

// The bench's input files go through the suite's one file writer, like every file it writes.
void WriteBenchFile(const std::filesystem::path& path, std::string_view bytes)
{
    if (!platform::WriteFileAtomically(QString::fromStdString(path.string()),
                                       QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())))) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const long lines = argc > 1 ? std::atol(argv[1]) : 1000000;
    const int pairs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const std::string program = MakeProgram(lines);
    const double megabytes = static_cast<double>(program.size()) / 1e6;

    const fs::path folder = fs::temp_directory_path() / ("nc_bench_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path file = folder / "program.nc";
    WriteBenchFile(file, program);
    const std::string runner = (ProgramFolder() / "nc_run").string();

    std::printf("NC text procedures on a generated program of %ld lines, %.1f MB, CR LF line ends.\n", lines,
                megabytes);
    std::printf("Each side a whole process over the same file, output to /dev/null: ours through nc_run, the\n"
                "yardstick with LC_ALL=C. %d pairs, interleaved. Times are processor time (user + system) of the\n"
                "process, which other load on the machine hardly changes: MB/s of input as median (min-max); x =\n"
                "median of the pairs' ratios, \"x wall\" the same in elapsed time. \"in memory\": median MB/s of\n"
                "the procedure alone on the text in memory (its thread's processor time), timed between the pairs.\n"
                "Targets: at least 300 MB/s in memory and x at least 3.\n\n",
                pairs);
    std::printf("%-24s %-5s %-17s %-17s %6s %6s %9s %7s\n", "procedure", "tool", "ours MB/s", "tool MB/s", "x",
                "x wall", "in memory", "target");

    bool allMet = true;
    std::size_t count = 0;
    const NcRunProcedure* procedures = NcRunProcedures(count);
    for (std::size_t c = 0; c < count; ++c) {
        const NcRunProcedure& p = procedures[c];
        const fs::path script = folder / "script";
        WriteBenchFile(script, p.script);
        const std::vector<std::string> ours{runner, p.name, file.string()};
        std::vector<std::string> theirs{p.tool};
        if (std::strcmp(p.tool, "sed") == 0)
            theirs.push_back("-E");
        theirs.insert(theirs.end(), {"-f", script.string(), file.string()});

        // The check doubles as the warm-up of both.
        const fs::path ourOutput = folder / "ours.out";
        const fs::path theirOutput = folder / "theirs.out";
        if (RunProcess(ours, ourOutput.string()).wall < 0 || RunProcess(theirs, theirOutput.string()).wall < 0) {
            std::printf("%-24s could not run one side: MISSED\n", p.name);
            allMet = false;
            continue;
        }
        const bool same = SameFile(ourOutput, theirOutput);
        fs::remove(ourOutput);
        fs::remove(theirOutput);

        std::vector<double> ourSeconds, theirSeconds, ratios, wallRatios, memorySeconds;
        for (int i = 0; i < pairs; ++i) {
            memorySeconds.push_back(InMemorySeconds(p, program));
            Timing a, b;
            if (i % 2 == 0) {
                a = RunProcess(ours, "/dev/null");
                b = RunProcess(theirs, "/dev/null");
            } else {
                b = RunProcess(theirs, "/dev/null");
                a = RunProcess(ours, "/dev/null");
            }
            if (a.wall <= 0 || b.wall <= 0 || a.cpu <= 0 || b.cpu <= 0)
                continue;
            ourSeconds.push_back(a.cpu);
            theirSeconds.push_back(b.cpu);
            ratios.push_back(b.cpu / a.cpu);
            wallRatios.push_back(b.wall / a.wall);
        }
        if (ratios.empty()) {
            std::printf("%-24s failed while timed: MISSED\n", p.name);
            allMet = false;
            continue;
        }
        const Figures ourRate = Throughput(ourSeconds, megabytes);
        const Figures theirRate = Throughput(theirSeconds, megabytes);
        const double memoryRate = Throughput(memorySeconds, megabytes).median;
        const double ratio = Median(ratios);
        const bool met = memoryRate >= 300 && ratio >= 3 && (same || !p.sameOutput);
        allMet = allMet && met;
        char ourText[32], theirText[32];
        std::snprintf(ourText, sizeof ourText, "%.0f (%.0f-%.0f)", ourRate.median, ourRate.low, ourRate.high);
        std::snprintf(theirText, sizeof theirText, "%.0f (%.0f-%.0f)", theirRate.median, theirRate.low,
                      theirRate.high);
        const char* output = same ? "same output" : p.sameOutput ? "OUTPUT DIFFERS" : "comparable edit";
        std::printf("%-24s %-5s %-17s %-17s %6.1f %6.1f %9.0f %7s  %s\n", p.name, p.tool, ourText, theirText, ratio,
                    Median(wallRatios), memoryRate, met ? "met" : "MISSED", output);
        std::fflush(stdout);
    }

    // The commands as the user runs them: menu item, dialog, reading the text from the editing
    // control, the procedure, the one write-back.
    constexpr int MenuRuns = 3;
    const auto writeProgram = [&folder](const char* name, const std::string& text) {
        const fs::path path = folder / name;
        WriteBenchFile(path, text);
        return path.string();
    };
    BenchPrograms programs;
    programs.plain = file.string();
    programs.withG91 = writeProgram("program_g91.nc", "G91\r\n" + program);
    programs.marked = writeProgram("program_marked.nc",
                                   MarkLines(InsertBlockNumbers(program, NumberingSettings()).text, "/", "$"));
    programs.packed = writeProgram("program_packed.nc", RemoveSpaces(program, NumberingSettings()));
    const std::vector<MenuCommandTime> menu = MenuCommandTimes(programs, MenuRuns);
    fs::remove_all(folder);
    std::printf("\nEach command from its menu on a document window holding the program, dialog answered at once, "
                "write-back included\n(median and slowest of %d; target 2 s):\n",
                MenuRuns);
    if (menu.empty()) {
        std::printf("  the document window could not be made: MISSED\n");
        allMet = false;
    }
    for (const MenuCommandTime& command : menu) {
        const bool met = command.worked && command.slowest <= 2.0;
        allMet = allMet && met;
        std::printf("  %-30s %6.2f s %6.2f s  %s\n", command.item.c_str(), command.median, command.slowest,
                    !command.worked ? "did not do its work: MISSED" : met ? "met" : "MISSED");
    }
    std::printf("\n%s\n", allMet ? "Every target met." : "Some targets missed.");
    return 0;
}
