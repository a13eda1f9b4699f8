// ZUEDIT32's control on a large document, shown offscreen, beside a bare
// QsciScintilla with the same text, font and window size and no wrapping:
//   1. the first paint after the window is shown (milliseconds);
//   2. Ctrl+End and the paint that follows (milliseconds);
//   3. a typed character at the end of the text and its paint (milliseconds per key).
// The text is loaded into both before any clock starts.
//
//   QT_QPA_PLATFORM=offscreen zuedit_view_bench [megabytes] [rounds] [keys]
//
// Rounds interleave the two controls; each figure is the median of the rounds
// with the smallest and largest beside it (the machine may be shared).

#include "bench/BenchNcText.h"
#include "editctl/ZuEditor20.h"
#include "editctl/engine/ZuMemoryInStream.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Millis(Clock::time_point from)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

struct Figures {
    std::vector<double> firstPaint, toEnd, perKey;
};

void Print(const char* what, const std::vector<double>& values)
{
    std::vector<double> v = values;
    std::sort(v.begin(), v.end());
    std::printf("  %-28s median %9.2f ms   (min %9.2f, max %9.2f)\n", what, v[v.size() / 2], v.front(), v.back());
}

const QSize WindowSize(800, 600);

QFont BenchFont()
{
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(13);
    return font;
}

// Shows a widget and paints its text area once: the clock runs around this.
void ShowAndPaint(QWidget& widget, QWidget& viewport)
{
    widget.show();
    viewport.repaint();
    QCoreApplication::processEvents();
}

void RunOurs(const std::string& text, int keys, Figures& figures)
{
    ZuEditor20 editor;
    editor.setFont(BenchFont());
    editor.resize(WindowSize);
    auto document = std::make_unique<ZuTextDocument>(&editor.Metrics());
    ZuMemoryInStream stream(text.data(), text.size());
    int type = ZuTextDetect;
    if (document->LoadPlainText(stream, type, false) != ZuOk) {
        std::fprintf(stderr, "load failed\n");
        std::exit(1);
    }
    editor.AdoptDocument(std::move(document));
    QCoreApplication::processEvents();

    Clock::time_point t = Clock::now();
    ShowAndPaint(editor, *editor.PaneWindow(0).viewport());
    figures.firstPaint.push_back(Millis(t));
    editor.setFocus();

    t = Clock::now();
    QTest::keyClick(&editor, Qt::Key_End, Qt::ControlModifier);
    editor.PaneWindow(0).viewport()->repaint();
    figures.toEnd.push_back(Millis(t));

    t = Clock::now();
    for (int i = 0; i < keys; ++i) {
        QTest::keyClick(&editor, 'x');
        editor.PaneWindow(0).viewport()->repaint();
    }
    figures.perKey.push_back(Millis(t) / keys);
    if (editor.View(0).Caret().x == 0) {
        std::fprintf(stderr, "typing did not reach the text\n");
        std::exit(1);
    }
}

void RunBare(const QString& text, int keys, Figures& figures)
{
    QsciScintilla sci;
    sci.setFont(BenchFont());
    sci.setMarginWidth(0, 0);
    sci.setMarginWidth(1, 0);
    sci.setWrapMode(QsciScintilla::WrapNone);
    sci.resize(WindowSize);
    sci.setText(text);
    QCoreApplication::processEvents();

    Clock::time_point t = Clock::now();
    ShowAndPaint(sci, *sci.viewport());
    figures.firstPaint.push_back(Millis(t));
    sci.setFocus();

    t = Clock::now();
    QTest::keyClick(&sci, Qt::Key_End, Qt::ControlModifier);
    sci.viewport()->repaint();
    figures.toEnd.push_back(Millis(t));

    t = Clock::now();
    for (int i = 0; i < keys; ++i) {
        QTest::keyClick(&sci, 'x');
        sci.viewport()->repaint();
    }
    figures.perKey.push_back(Millis(t) / keys);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    const int keys = argc > 3 ? std::atoi(argv[3]) : 200;
    const std::string text = MakeNcText(megabytes * 1000000);
    const QString qtext = QString::fromLatin1(text.data(), qsizetype(text.size()));
    std::printf("%zu MB, %d rounds, %d keys, window %dx%d, DejaVu Sans Mono 13 px, no wrapping\n", megabytes, rounds,
                keys, WindowSize.width(), WindowSize.height());
    Figures ours, bare;
    for (int round = 0; round < rounds; ++round) {
        // Interleaved, and the order swapped every round.
        if (round % 2 == 0) {
            RunOurs(text, keys, ours);
            RunBare(qtext, keys, bare);
        } else {
            RunBare(qtext, keys, bare);
            RunOurs(text, keys, ours);
        }
    }
    std::printf("ZuEditor20:\n");
    Print("first paint", ours.firstPaint);
    Print("scroll to end and paint", ours.toEnd);
    Print("typed key at the end", ours.perKey);
    std::printf("QsciScintilla:\n");
    Print("first paint", bare.firstPaint);
    Print("scroll to end and paint", bare.toEnd);
    Print("typed key at the end", bare.perKey);
    return 0;
}
