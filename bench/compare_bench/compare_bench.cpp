// compare_bench: Brevlin's compare on two NC programs of 1,000,000 lines each
// (1 % of the lines changed, spread over the file).
//
// In each round, in turn: the compare procedure on the two files' bytes
// (reading them included), `cmp` and GNU `diff` on the same pair as whole
// processes, the compare in a shown Brevlin window with the files already
// loaded (marks and message included), loading both files into Brevlin's
// panes, and the editor opening both files (its control with the NC
// language). Rounds are interleaved so that load on the machine hits every
// contender alike; it prints the median and the spread (least and most).
// Targets: the procedure at most as slow as diff; the compare in the window
// within 2 s; loading at most 1.5 times the editor's opening.
//
// Usage: compare_bench [--lines N] [--rounds R]  (headless: QT_QPA_PLATFORM=offscreen)

#include "compare/LineCompare.h"
#include "compare/frmCompare.h"
#include "document/NcLanguage.h"
#include "platform/codemax/CodeMax.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ShowModal.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

double Timed(const std::function<void()>& work)
{
    QElapsedTimer t;
    t.start();
    work();
    return double(t.nsecsElapsed()) / 1e6;
}

std::string ReadAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    std::string bytes(std::size_t(f.size()), '\0');
    if (f.read(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
        qFatal("short read of %s", qPrintable(path));
    return bytes;
}

// The program, and the same with every hundredth line changed (a value one
// digit longer), so the changes are spread over the whole file.
void WritePrograms(const QString& one, const QString& two, int lines)
{
    QFile a(one), b(two);
    if (!a.open(QIODevice::WriteOnly) || !b.open(QIODevice::WriteOnly))
        qFatal("cannot write the programs");
    QByteArray block;
    for (int i = 0; i < lines; ++i) {
        block = "N" + QByteArray::number(i * 10) + " G01 X" + QByteArray::number((i % 9973) * 0.013, 'f', 3)
                + " Y-" + QByteArray::number((i % 7919) * 0.007, 'f', 3) + " F200";
        a.write(block + "\r\n");
        b.write(i % 100 == 37 ? block + "0\r\n" : block + "\r\n");
    }
}

double RunProcess(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    return Timed([&] {
        process.start(program, arguments);
        if (!process.waitForFinished(-1))
            qFatal("%s did not run", qPrintable(program));
    });
}

struct Figures {
    std::vector<double> ms;
    void add(double v) { ms.push_back(v); }
    double median() const
    {
        std::vector<double> s = ms;
        std::sort(s.begin(), s.end());
        return s.size() % 2 ? s[s.size() / 2] : (s[s.size() / 2 - 1] + s[s.size() / 2]) / 2;
    }
    double least() const { return *std::min_element(ms.begin(), ms.end()); }
    double most() const { return *std::max_element(ms.begin(), ms.end()); }
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    int lines = 1000000, rounds = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string(argv[i]) == "--lines")
            lines = std::atoi(argv[i + 1]);
        else if (std::string(argv[i]) == "--rounds")
            rounds = std::atoi(argv[i + 1]);
    }
    QTemporaryDir dir;
    const QString one = dir.filePath(QStringLiteral("ONE.NC")), two = dir.filePath(QStringLiteral("TWO.NC"));
    WritePrograms(one, two, lines);
    const QString cmp = QStandardPaths::findExecutable(QStringLiteral("cmp"));
    const QString diff = QStandardPaths::findExecutable(QStringLiteral("diff"));
    std::printf("compare_bench: %d lines per file, %lld bytes, %d rounds\n", lines,
                (long long)QFile(one).size(), rounds);

    // Every message box is answered at once (the compare's result).
    platform::SetMsgBoxHandler([](const QString&, int, const QString&) { return platform::vbOK; });

    frmCompare window;
    window.show();
    std::map<std::string, Figures> figures;
    std::size_t differing = 0;
    for (int round = 0; round < rounds; ++round) {
        figures["procedure (read + compare)"].add(Timed([&] {
            const std::string a = ReadAll(one), b = ReadAll(two);
            differing = compare::DifferingLines(a, b).size();
        }));
        if (!cmp.isEmpty())
            figures["cmp"].add(RunProcess(cmp, {one, two}));
        if (!diff.isEmpty())
            figures["GNU diff"].add(RunProcess(diff, {one, two}));
        figures["editor opens both"].add(Timed([&] {
            platform::CodeMax a, b;
            for (platform::CodeMax* control : {&a, &b}) {
                RegisterNcLanguage(*control);
                control->SetLanguage(QStringLiteral("CNC"));
            }
            a.OpenFile(one);
            b.OpenFile(two);
        }));
        // Through the Open command, its two file dialogs answered at once.
        QStringList chosen{one, two};
        platform::SetModalHandler([&](QDialog& dialog) {
            auto& files = dynamic_cast<QFileDialog&>(dialog);
            files.setDirectory(dir.path());
            files.selectFile(QFileInfo(chosen.takeFirst()).fileName());
            dialog.done(QDialog::Accepted);
            return int(QDialog::Accepted);
        });
        figures["Brevlin loads both"].add(Timed([&] { window.TBCompare_ButtonClick(QStringLiteral("Open")); }));
        platform::SetModalHandler(nullptr);
        figures["compare in the window"].add(Timed([&] {
            window.TBCompare_ButtonClick(QStringLiteral("Compare"));
        }));
    }
    std::printf("differing lines: %zu\n", differing);
    std::printf("%-28s %10s %10s %10s\n", "", "median ms", "least", "most");
    for (const auto& [name, f] : figures)
        std::printf("%-28s %10.1f %10.1f %10.1f\n", name.c_str(), f.median(), f.least(), f.most());
    const double procedure = figures["procedure (read + compare)"].median();
    if (!diff.isEmpty())
        std::printf("procedure / diff: %.2f (target at most 1)\n", procedure / figures["GNU diff"].median());
    std::printf("compare in the window: %.0f ms (target at most 2000)\n", figures["compare in the window"].median());
    std::printf("Brevlin loads / editor opens: %.2f (target at most 1.5)\n",
                figures["Brevlin loads both"].median() / figures["editor opens both"].median());
    return 0;
}
