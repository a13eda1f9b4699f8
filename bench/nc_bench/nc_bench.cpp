// Throughput of the NC text procedures on a generated program of 1,000,000 lines, each beside
// sed doing a comparable edit on the same file in the same run.
//
//   nc_bench [lines]
//
// Figures are the best of several runs: MB/s of input (1 MB = 1,000,000 bytes). sed runs with
// LC_ALL=C and writes to /dev/null.

#include "FrameBench.h"
#include "nc/MControl.h"
#include "nc/RenumberText.h"
#include "nc/ReplaceAll.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>

namespace {

constexpr int OurRuns = 5;
constexpr int SedRuns = 3;

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

// A procedure that stopped at an error would time nothing worth printing.
std::size_t Checked(const NcResult& result)
{
    if (!result.ok()) {
        std::fprintf(stderr, "nc_bench: the generated program gave an error at line %lld\n",
                     static_cast<long long>(result.error->line));
        std::exit(1);
    }
    return result.text.size();
}

double Seconds(const std::function<std::size_t()>& run, int runs)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        volatile std::size_t sink = run();
        (void)sink;
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (took.count() < best)
            best = took.count();
    }
    return best;
}

double SedSeconds(const std::string& script, const std::string& file)
{
    const std::string command = "LC_ALL=C sed -E '" + script + "' '" + file + "' > /dev/null";
    return Seconds([&] { return static_cast<std::size_t>(std::system(command.c_str())); }, SedRuns);
}

}  // namespace

int main(int argc, char** argv)
{
    const long lines = argc > 1 ? std::atol(argv[1]) : 1000000;
    const std::string program = MakeProgram(lines);
    const double megabytes = static_cast<double>(program.size()) / 1e6;

    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("nc_bench_" + std::to_string(::getpid()) + ".nc");
    std::ofstream(file, std::ios::binary).write(program.data(), static_cast<std::streamsize>(program.size()));
    const bool haveSed = std::system("sed --version > /dev/null 2>&1") == 0;

    const NumberingSettings settings;
    struct Case {
        const char* name;
        std::function<std::size_t()> run;
        const char* sed;
    };
    const Case cases[] = {
        {"InsertBlockNumbers", [&] { return Checked(InsertBlockNumbers(program, settings)); },
         "s/N[0-9]+ ?//;s/^[^%(O]/N0000&/"},
        {"RemoveBlockNumbers", [&] { return RemoveBlockNumbers(program).size(); }, "s/^N[0-9]+ ?//"},
        {"NumberHighLightText", [&] { return Checked(NumberHighLightText(program, settings)); },
         "s/^N?[0-9]+ ?/N0000/"},
        {"RemoveBlankLines", [&] { return RemoveBlankLines(program).size(); }, "/^\\r?$/d"},
        {"RemoveSpaces", [&] { return RemoveSpaces(program, settings).size(); }, "s/ //g"},
        {"InsertSpaces", [&] { return Checked(InsertSpaces(program, settings)); },
         "s/ //g;s/([A-Za-z/][-+,.0-9]*)/\\1 /g"},
        {"ConvertAxes incremental",
         [&] { return Checked(ConvertAxes(program, settings, AxisConversion::ToIncremental)); },
         "s/([XYZ])([-+.0-9]+)/\\1\\2.0000/g"},
        {"ConvertAxes absolute",
         [&] { return Checked(ConvertAxes(program, settings, AxisConversion::ToAbsolute)); },
         "s/([XYZ])([-+.0-9]+)/\\1\\2.0000/g"},
        {"RemoveLeadingZeros", [&] { return RemoveLeadingZeros(program).size(); }, "s/N00/N/g;s/N0/N/g"},
        {"ReplaceAll G01 -> G1", [&] { return ReplaceAll(program, "G01", "G1").size(); }, "s/G01/G1/g"},
    };

    std::printf("NC text procedures on a generated program of %ld lines, %.1f MB, CR LF line ends.\n", lines,
                megabytes);
    std::printf("Best of %d runs in memory; sed (LC_ALL=C, GNU sed -E, output to /dev/null) best of %d runs on the "
                "same file.\n",
                OurRuns, SedRuns);
    std::printf("Targets: at least 300 MB/s and at least 3 times sed.\n\n");
    std::printf("%-24s %8s %9s %9s %8s %7s  %s\n", "procedure", "out MB", "MB/s", "sed MB/s", "x sed", "target",
                "sed script");
    bool allMet = true;
    for (const Case& c : cases) {
        const double outMegabytes = static_cast<double>(c.run()) / 1e6;
        const double ours = megabytes / Seconds(c.run, OurRuns);
        if (!haveSed) {
            std::printf("%-24s %8.1f %9.0f %9s %8s %7s  %s\n", c.name, outMegabytes, ours, "-", "-",
                        ours >= 300 ? "-" : "MISSED", "(sed not found)");
            continue;
        }
        const double sed = megabytes / SedSeconds(c.sed, file.string());
        const bool met = ours >= 300 && ours >= 3 * sed;
        allMet = allMet && met;
        std::printf("%-24s %8.1f %9.0f %9.0f %8.1f %7s  '%s'\n", c.name, outMegabytes, ours, sed, ours / sed,
                    met ? "met" : "MISSED", c.sed);
    }

    // The command as the user runs it: entry point, reading the text from the editing control,
    // the procedure, the one write-back, the "Working..." window.
    constexpr int FrameRuns = 3;
    const double menu = InsertBlockNumbersFromMenuSeconds(file.string(), FrameRuns);
    std::filesystem::remove(file);
    std::printf("\nInsert Block Numbers from the menu on a document window holding the program, write-back "
                "included (best of %d):\n",
                FrameRuns);
    if (menu < 0) {
        std::printf("  the command did not number the program: MISSED\n");
        allMet = false;
    } else {
        const bool met = menu <= 2.0;
        allMet = allMet && met;
        std::printf("  %.2f s for %ld lines (target 2 s: %s)\n", menu, lines, met ? "met" : "MISSED");
    }
    std::printf("\n%s\n", allMet ? "Every target met." : "Some targets missed.");
    return 0;
}
