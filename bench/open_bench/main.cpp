// open_bench: how the CodeMax adapter copes with large NC programs, beside a
// bare QsciScintilla doing the same work.
//
// For generated programs of 10^4, 10^5 and 10^6 lines it prints the time to
// open the file, to colour the whole text and to replace the whole text with
// one edit, for the adapter and for a bare QsciScintilla, and their ratio
// (target: at most 1.5). Then, for the 10^6-line program: the resident memory
// that opening adds over an empty control (target: at most 3 times the file
// size), the time to go to the end of the text and show it, and the time per
// key of ten keys typed there (target: under 16 ms), while the program is
// still being coloured in idle time and once it is.
//
// Usage: open_bench [--lines N]   (runs headless with QT_QPA_PLATFORM=offscreen)

#include "BareNcLexer.h"

#include "document/NcLanguage.h"
#include "platform/codemax/CodeMax.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <unistd.h>

using platform::CodeMax;
using Sci = QsciScintillaBase;

namespace {

double msSince(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

double timed(const std::function<void()>& work)
{
    QElapsedTimer t;
    t.start();
    work();
    return msSince(t);
}

long residentKb()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

// An NC program like those of the machine shop: blocks with addresses,
// now and then a comment or an M code. Written a block at a time.
qint64 writeProgram(const QString& path, int lines)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QByteArray block;
    for (int i = 0; i < lines; ++i) {
        block.clear();
        if (i % 50 == 0)
            block = "N" + QByteArray::number(i * 10) + " (CONTOUR PASS " + QByteArray::number(i / 50) + ")\r\n";
        else if (i % 97 == 0)
            block = "N" + QByteArray::number(i * 10) + " M08 S1200 M03\r\n";
        else
            block = "N" + QByteArray::number(i * 10) + " G01 X" + QByteArray::number((i % 9973) * 0.013, 'f', 3)
                + " Y-" + QByteArray::number((i % 7919) * 0.007, 'f', 3) + " F200\r\n";
        f.write(block);
    }
    return f.size();
}

// The whole text renumbered by 5 instead of 10: every line changes.
QString renumbered(const QString& text)
{
    QString out;
    out.reserve(text.size());
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        const qsizetype space = line.indexOf(' ');
        if (line.startsWith('N') && space > 0)
            out += QLatin1Char('N') + QString::number(i * 5) + line.mid(space);
        else
            out += line;
        if (i + 1 < lines.size())
            out += QStringLiteral("\r\n");
    }
    return out;
}

struct Row {
    int lines = 0;
    double openA = 0, openB = 0, styleA = 0, styleB = 0, replaceA = 0, replaceB = 0;
};

// One round: the adapter and the bare control each open, colour and replace.
Row measureOnce(const QString& path, int lines, const QString& newText, bool bareFirst)
{
    Row row;
    row.lines = lines;
    const auto adapterRun = [&] {
        CodeMax adapter;
        RegisterNcLanguage(adapter);
        adapter.SetLanguage(QStringLiteral("CNC"));
        row.openA = timed([&] { adapter.OpenFile(path); });
        row.styleA = timed([&] { adapter.Colourise(); });
        const platform::CodeMaxRange all{0, 0, adapter.LineCount() - 1, 1 << 30};
        row.replaceA = timed([&] { adapter.ReplaceText(newText, all); });
        if (adapter.LineCount() != lines + 1)
            qFatal("adapter: wrong line count %d", adapter.LineCount());
    };
    const auto bareRun = [&] {
        QsciScintilla bare;
        bare.setLexer(new BareNcLexer(&bare));
        row.openB = timed([&] {
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly))
                qFatal("cannot read %s", qPrintable(path));
            const QByteArray bytes = f.readAll();
            bare.SendScintilla(Sci::SCI_SETTEXT, 0UL, bytes.constData());
            bare.SendScintilla(Sci::SCI_EMPTYUNDOBUFFER);
        });
        row.styleB = timed([&] { bare.SendScintilla(Sci::SCI_COLOURISE, 0UL, -1L); });
        row.replaceB = timed([&] {
            const QByteArray bytes = newText.toUtf8();
            bare.SendScintilla(Sci::SCI_BEGINUNDOACTION);
            bare.SendScintilla(Sci::SCI_SETTARGETRANGE, 0UL, bare.SendScintilla(Sci::SCI_GETLENGTH));
            bare.SendScintilla(Sci::SCI_REPLACETARGET, static_cast<uintptr_t>(bytes.size()), bytes.constData());
            bare.SendScintilla(Sci::SCI_ENDUNDOACTION);
        });
    };
    if (bareFirst) {
        bareRun();
        malloc_trim(0);
        adapterRun();
    } else {
        adapterRun();
        malloc_trim(0);
        bareRun();
    }
    malloc_trim(0);
    return row;
}

// The best of several rounds (more for small programs, whose times are
// short), taken in turns, so that neither side gains from memory the other
// just freed.
Row measure(const QString& path, int lines)
{
    QString newText;
    {
        CodeMax reader;
        reader.OpenFile(path);
        newText = renumbered(reader.Text());
    }
    Row best;
    const int rounds = lines <= 10000 ? 15 : lines <= 100000 ? 7 : 3;
    for (int round = 0; round < rounds; ++round) {
        const Row r = measureOnce(path, lines, newText, round % 2 == 0);
        if (round == 0) {
            best = r;
            continue;
        }
        best.openA = std::min(best.openA, r.openA);
        best.openB = std::min(best.openB, r.openB);
        best.styleA = std::min(best.styleA, r.styleA);
        best.styleB = std::min(best.styleB, r.styleB);
        best.replaceA = std::min(best.replaceA, r.replaceA);
        best.replaceB = std::min(best.replaceB, r.replaceB);
    }
    return best;
}

void pump()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// Ten keys typed at the end of the text, each handled, shown on screen and
// followed by one pass of the event loop before the next.
double typeAtEnd(QsciScintilla& pane, bool viaAdapter, CodeMax* control)
{
    const auto toEnd = [&] {
        if (viaAdapter)
            control->ExecuteCmd(platform::CodeMaxCmd::DocumentEnd);
        else
            pane.SendScintilla(Sci::SCI_DOCUMENTEND);
        pane.viewport()->repaint();
        pump();
    };
    toEnd();
    double total = 0;
    const bool verbose = qEnvironmentVariableIsSet("OPEN_BENCH_VERBOSE");
    for (int i = 0; i < 10; ++i) {
        QElapsedTimer t;
        t.start();
        const QString ch(QChar('0' + i));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + i, Qt::NoModifier, ch);
        QCoreApplication::sendEvent(&pane, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_0 + i, Qt::NoModifier, ch);
        QCoreApplication::sendEvent(&pane, &release);
        const double handled = msSince(t);
        pane.viewport()->repaint();
        const double painted = msSince(t);
        QCoreApplication::processEvents();  // what the key itself queued
        const double all = msSince(t);
        if (verbose)
            std::printf("  key %d: handled %.2f, shown %.2f, events %.2f ms\n", i, handled, painted - handled,
                        all - painted);
        total += all;
    }
    return total / 10;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Large blocks always come fresh from the system, so that neither side
    // gains from memory the other just freed (glibc would otherwise keep
    // freed blocks for the next one).
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    QApplication app(argc, argv);
    int largest = 1000000;
    for (int i = 1; i + 1 < argc; ++i)
        if (QByteArray(argv[i]) == "--lines")
            largest = QByteArray(argv[i + 1]).toInt();

    QTemporaryDir dir;
    QList<int> sizes;
    for (int n = 10000; n <= largest; n *= 10)
        sizes.append(n);
    if (sizes.isEmpty() || sizes.last() != largest)
        sizes.append(largest);
    QMap<int, QString> paths;
    QMap<int, qint64> fileSizes;
    for (int n : sizes) {
        paths[n] = dir.filePath(QStringLiteral("prog%1.nc").arg(n));
        fileSizes[n] = writeProgram(paths[n], n);
    }

    // Memory first, in a fresh process: what opening the largest program adds.
    const QString big = paths[largest];
    long addedKb = 0, styledKb = 0;
    double gotoEnd = 0, perKey = 0, perKeyColoured = 0, colouredAfter = 0, barePerKey = 0;
    {
        CodeMax control;
        RegisterNcLanguage(control);
        control.SetLanguage(QStringLiteral("CNC"));
        control.resize(900, 700);
        control.show();
        pump();
        malloc_trim(0);
        const long before = residentKb();
        QElapsedTimer sinceOpen;
        sinceOpen.start();
        control.OpenFile(big);
        pump();
        addedKb = residentKb() - before;

        gotoEnd = timed([&] {
            control.ExecuteCmd(platform::CodeMaxCmd::DocumentEnd);
            control.ActivePane()->viewport()->repaint();
            pump();
        });
        control.SetFocus();
        // While the program is still being coloured in idle time...
        perKey = typeAtEnd(*control.ActivePane(), true, &control);
        // ... and once it is coloured.
        QsciScintilla* pane = control.ActivePane();
        while (pane->SendScintilla(Sci::SCI_GETENDSTYLED) < pane->SendScintilla(Sci::SCI_GETLENGTH))
            QCoreApplication::processEvents();
        colouredAfter = msSince(sinceOpen);
        perKeyColoured = typeAtEnd(*pane, true, &control);
        styledKb = residentKb() - before;
        if (!control.GetLine(control.LineCount() - 1).endsWith(QStringLiteral("01234567890123456789")))
            qFatal("typing at the end went wrong: %s", qPrintable(control.GetLine(control.LineCount() - 1)));
    }
    malloc_trim(0);
    {
        QsciScintilla bare;
        bare.setLexer(new BareNcLexer(&bare));
        bare.resize(900, 700);
        bare.show();
        QFile f(big);
        if (!f.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(big));
        bare.SendScintilla(Sci::SCI_SETTEXT, 0UL, f.readAll().constData());
        pump();
        barePerKey = typeAtEnd(bare, false, nullptr);
    }
    malloc_trim(0);

    std::printf("open_bench: CodeMax adapter beside a bare QsciScintilla (times in ms)\n\n");
    std::printf("%9s %9s | %8s %8s %5s | %8s %8s %5s | %8s %8s %5s\n", "lines", "file MB", "open", "bare",
                "ratio", "colour", "bare", "ratio", "replace", "bare", "ratio");
    for (int n : sizes) {
        const Row r = measure(paths[n], n);
        std::printf("%9d %9.1f | %8.1f %8.1f %5.2f | %8.1f %8.1f %5.2f | %8.1f %8.1f %5.2f\n", n,
                    double(fileSizes[n]) / 1e6, r.openA, r.openB, r.openA / r.openB, r.styleA, r.styleB,
                    r.styleA / r.styleB, r.replaceA, r.replaceB, r.replaceA / r.replaceB);
        std::fflush(stdout);
    }
    const double fileMb = double(fileSizes[largest]) / (1024.0 * 1024.0);
    std::printf("\n%d lines, %.1f MiB file:\n", largest, fileMb);
    std::printf("  resident memory added by opening: %.1f MiB = %.2f x the file (target <= 3)\n",
                double(addedKb) / 1024.0, double(addedKb) / 1024.0 / fileMb);
    std::printf("  ... after colouring and typing:  %.1f MiB = %.2f x the file\n", double(styledKb) / 1024.0,
                double(styledKb) / 1024.0 / fileMb);
    std::printf("  go to the end and show it:       %.1f ms\n", gotoEnd);
    std::printf("  typing at the end, per key:      %.2f ms while colouring in idle time, %.2f ms after "
                "(target < 16)\n",
                perKey, perKeyColoured);
    std::printf("  the same in a bare QsciScintilla: %.2f ms\n", barePerKey);
    std::printf("  whole program coloured in idle time %.0f ms after opening\n", colouredAfter);
    return 0;
}
