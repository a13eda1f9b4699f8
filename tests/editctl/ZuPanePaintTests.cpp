// What a pane paints, checked in rendered images where it matters: the
// selection, colours, tabs with their alignments and leaders, and the caret.

#include "ZuTestSupport.h"
#include "ZuViewFixture.h"
#include "support/TestRegistry.h"

#include "editctl/engine/ZuLinePainter.h"

#include <QImage>

namespace {

QImage Render(ZuEditor20& editor, int pane = 0)
{
    return editor.PaneWindow(pane).viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int Width(ZuEditor20& editor)
{
    return editor.Fonts().DefaultFont().Width('a');
}

int Height(ZuEditor20& editor)
{
    const ZuFontMetrics& m = editor.Fonts().DefaultFont().Metrics();
    return m.ascent + m.descent;
}

// Pixels in a rectangle that are not the background colour.
int Ink(const QImage& image, const QRect& rect, QRgb background = qRgb(255, 255, 255))
{
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (image.pixel(x, y) != background)
                ++n;
    return n;
}

// Records what a line paints.
class RecordingPainter : public ZuLinePainter {
public:
    void FillRect(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::uint32_t) override {}
    void DrawText(std::int32_t x, std::int32_t, std::string_view bytes, const std::int32_t*, const ZuFontEntry&,
                  std::uint32_t) override
    {
        drawn += std::string(bytes);
        if (first < 0)
            first = x;
    }
    std::string drawn;
    int first = -1;
};

} // namespace

class ZuPanePaintTests : public QObject {
    Q_OBJECT
private slots:
    void selectionColours_data()
    {
        QTest::addColumn<int>("selColorType");
        QTest::addColumn<QRgb>("selectedBackground");
        QTest::newRow("inverted") << 0 << qRgb(0, 0, 0);
        QTest::newRow("specific") << 1 << qRgb(0, 255, 0);
    }
    void selectionColours()
    {
        QFETCH(int, selColorType);
        QFETCH(QRgb, selectedBackground);
        auto editor = ZuShownEditor("ab    cd\r\nnext");
        QVERIFY(editor);
        if (selColorType == 1) {
            editor->SelColorType = 1;
            editor->Document().SetPaneColor(0, 2, 0x00FF00); // back: green
            editor->Document().SetPaneColor(0, 3, 0x0000FF); // fore: red
        }
        ZuTypeKeys(*editor, "Right Right S-Right S-Right S-Right S-Right S-Right");
        const QImage image = Render(*editor);
        const int w = Width(*editor);
        const int h = Height(*editor);
        // The selected blanks show the selection's background over their whole cell.
        const QRect selectedBlanks(2 * w, 0, 4 * w, h);
        QCOMPARE(Ink(image, selectedBlanks, selectedBackground), 0);
        // The selected letter is drawn in the selection's colours: both appear in its cell.
        const QRect letter(6 * w, 0, w, h);
        QVERIFY(Ink(image, letter, selectedBackground) > 0);
        QVERIFY(Ink(image, letter, selectedBackground) < w * h);
        // The letters before stay in the normal colours, on white.
        QVERIFY(Ink(image, QRect(0, 0, 2 * w, h)) > 0);
        QCOMPARE(image.pixel(0, h - 1), qRgb(255, 255, 255));
        // The next line is not selected: white beyond its text.
        QCOMPARE(Ink(image, QRect(5 * w, h, 4 * w, h)), 0);
    }

    void runColours()
    {
        auto editor = ZuShownEditor("plain RED blue\r\nx");
        QVERIFY(editor);
        const ZuTextRange red(ZuPos(6, 1), ZuPos(9, 1), ZuRangeStream); // the document counts lines from 1
        QCOMPARE(editor->Document().ApplyColor(ZuColorTextFore, 0, red, 0x0000FF), ZuOk);
        const ZuTextRange back(ZuPos(10, 1), ZuPos(14, 1), ZuRangeStream);
        QCOMPARE(editor->Document().ApplyColor(ZuColorTextBack, 0, back, 0xFF0000), ZuOk);
        const QImage image = Render(*editor);
        const int w = Width(*editor);
        const int h = Height(*editor);
        auto reddish = [&](const QRect& r) {
            int n = 0;
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    if (c.red() > 150 && c.green() < 100 && c.blue() < 100)
                        ++n;
                }
            return n;
        };
        QVERIFY(reddish(QRect(6 * w, 0, 3 * w, h)) > 0);
        QCOMPARE(reddish(QRect(0, 0, 5 * w, h)), 0);
        // The back colour fills the run's cells, corners included.
        QCOMPARE(image.pixel(10 * w, 0), qRgb(0, 0, 255));
        QCOMPARE(image.pixel(14 * w - 1, h - 1), qRgb(0, 0, 255));
        QCOMPARE(image.pixel(10 * w - 1, 0), qRgb(255, 255, 255));
    }

    void tabsAndLeaders_data()
    {
        QTest::addColumn<int>("stop");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<int>("leader");
        QTest::addColumn<int>("textStart"); // in character widths before the stop; -1: right after the TAB
        QTest::newRow("left") << 100 << 0 << 0 << 0;
        QTest::newRow("right") << 100 << 2 << 0 << 3;
        QTest::newRow("centre") << 100 << 1 << 0 << 0; // checked below: centred on the stop
        QTest::newRow("right, dot leader") << 100 << 2 << 1 << 3;
        QTest::newRow("left, equals leader") << 100 << 0 << 5 << 0;
        QTest::newRow("text wider than the gap") << 10 << 2 << 1 << -1;
    }
    void tabsAndLeaders()
    {
        QFETCH(int, stop);
        QFETCH(int, alignment);
        QFETCH(int, leader);
        QFETCH(int, textStart);
        auto editor = ZuShownEditor("\tabc\r\n\tabc");
        QVERIFY(editor);
        ZuPaneView& view = editor->View(0);
        // The first paragraph gets a stop of its own, through the view's tab commands.
        QCOMPARE(view.SetSelTabPosition(0, stop), ZuOk);
        QCOMPARE(view.SetSelTabAlignment(0, std::uint32_t(alignment)), ZuOk);
        QCOMPARE(view.SetSelTabLeader(0, std::uint32_t(leader)), ZuOk);
        const int w = Width(*editor);
        const int h = Height(*editor);
        std::uint32_t k = 0;
        const ZuTextBlock& block = editor->Document().Block(editor->Document().FindBlock(0, 1).block);
        std::vector<std::int32_t> xs;
        block.MeasureLine(0, k, xs);
        const int expected = textStart < 0 ? 0 : alignment == 1 ? stop - 3 * w / 2 : stop - textStart * w;
        QCOMPARE(xs[1], expected);
        QCOMPARE(xs[4], xs[1] + 3 * w);

        editor->PaneWindow(0).HideCaret();
        const QImage image = Render(*editor);
        // Nothing is drawn right of the text on the first line.
        QCOMPARE(Ink(image, QRect(xs[4] + 1, 0, 40, h)), 0);
        QVERIFY(Ink(image, QRect(xs[1], 0, 3 * w, h)) > 0);
        // The gap holds the leader, or nothing.
        if (xs[1] >= w) {
            const int dots = Ink(image, QRect(0, 0, xs[1] - 1, h));
            if (leader != 0)
                QVERIFY(dots > 0);
            else
                QCOMPARE(dots, 0);
        }
        // The second paragraph keeps the default stops.
        block.MeasureLine(0, 1, xs);
        QCOMPARE(xs[1], editor->Document().DefaultTabSet().DefaultWidth(editor->Document().AverageCharWidth()));
        // Undo takes the stop back.
        while (editor->UndoManager().CanUndo() != 0)
            QCOMPARE(editor->UndoManager().Undo(), ZuOk);
        QVERIFY(&editor->Document().ParagraphTabSet(0) == &editor->Document().DefaultTabSet());
    }

    void leadersAreClippedToTheVisibleSpan()
    {
        // A stop far to the right: only the leader characters that can be seen are drawn.
        ZuFixedMetrics metrics(8);
        ZuTextDocument document(&metrics);
        document.EnsureBlock();
        QCOMPARE(document.InsertText(0, ZuPos(0, 1), "\tx"), ZuOk);
        auto tabs = std::make_unique<ZuTabSet>();
        tabs->InsertStop(30000);
        tabs->SetLeader(1, 0, ZuTabsByIndex);
        QCOMPARE(document.SetParagraphTabSet(0, std::move(tabs)), ZuOk);
        const ZuTextBlock& block = document.Block(0);
        std::vector<std::int32_t> xs;
        block.MeasureLine(0, 0, xs);
        QCOMPARE(xs[1], 30000);
        RecordingPainter painter;
        ZuPaintState state;
        state.painter = &painter;
        state.clipLeft = 0;
        state.clipRight = 400;
        block.PaintLine(state, 0, 0, 0, 2, xs);
        QCOMPARE(painter.drawn, std::string(400 / 8 + 1, '.'));
        // Scrolled to the middle of the gap: the dots there, starting on the grid of the TAB's x.
        RecordingPainter middle;
        state.painter = &middle;
        state.x = -20004;
        block.PaintLine(state, 0, 0, 0, 2, xs);
        QCOMPARE(middle.first, -20004 + 2500 * 8);
        QCOMPARE(int(middle.drawn.size()), 400 / 8 + 1);
    }

    void caretByPixel()
    {
        auto editor = ZuShownEditor("hello world\r\nsecond");
        QVERIFY(editor);
        ZuPaneView& view = editor->View(0);
        ZuPaneWindow& pane = editor->PaneWindow(0);
        pane.ShowCaret();
        const int w = Width(*editor);
        const int h = Height(*editor);
        struct Case {
            QString keys;
            int left, top;
            QPoint at;
        };
        for (const Case& c : {Case{"Right Right Right", 0, 0, {3 * w, 0}}, Case{"Down End", 0, 0, {6 * w, h}},
                              Case{"C-Home Right", 10, 5, {10 + w, 5}}}) {
            view.SetMargins(c.left, c.top, 0, 0);
            ZuTypeKeys(*editor, c.keys);
            QCOMPARE(pane.CaretRect(), QRect(c.at, QSize(2, h)));
            const QImage image = Render(*editor);
            QCOMPARE(Ink(image, QRect(c.at, QSize(2, h)), qRgb(0, 0, 0)), 0);
        }
        // Text under a top margin starts below it.
        view.SetMargins(0, 20, 0, 0);
        const QImage image = Render(*editor);
        QCOMPARE(Ink(image, QRect(0, 0, 10 * w, 20)), 0);
        QVERIFY(Ink(image, QRect(0, 20, 10 * w, h)) > 0);
    }

    // A caret set narrower than two pixels would vanish against the text.
    void caretIsNeverNarrowerThanTwoPixels_data()
    {
        QTest::addColumn<int>("setting");
        QTest::addColumn<int>("drawn");
        QTest::newRow("default") << -1 << 2;
        QTest::newRow("0") << 0 << 2;
        QTest::newRow("1") << 1 << 2;
        QTest::newRow("5") << 5 << 5;
    }
    void caretIsNeverNarrowerThanTwoPixels()
    {
        QFETCH(int, setting);
        QFETCH(int, drawn);
        auto editor = ZuShownEditor("");
        QVERIFY(editor);
        editor->View(0).SetCaretWidth(setting);
        editor->View(0).UpdateCaret();
        editor->PaneWindow(0).ShowCaret();
        const int h = Height(*editor);
        const QImage image = Render(*editor);
        QCOMPARE(Ink(image, QRect(0, 0, drawn, h), qRgb(0, 0, 0)), 0);
        QCOMPARE(Ink(image, QRect(drawn, 0, 1, h)), 0);
    }

    // The default font's glyphs advance by a fraction of a pixel more or less than
    // the whole-pixel widths the caret, the selection and clicks are measured
    // with; far along a line the glyphs must still sit in their measured cells.
    void glyphsStayInTheirMeasuredCells_data()
    {
        QTest::addColumn<int>("column");
        QTest::newRow("near the start") << 3;
        QTest::newRow("far along the line") << 90;
    }
    void glyphsStayInTheirMeasuredCells()
    {
        QFETCH(int, column);
        const std::string text = std::string(std::size_t(column), ' ') + "#";
        auto editor = ZuShownEditor(text, {1000, 60});
        QVERIFY(editor);
        ZuPaneView& view = editor->View(0);
        const int left = view.PointOf(ZuPos(std::uint32_t(column), 0)).x();
        const int right = view.PointOf(ZuPos(std::uint32_t(column + 1), 0)).x();
        editor->PaneWindow(0).HideCaret();
        const QImage image = Render(*editor);
        const int h = Height(*editor);
        QVERIFY(Ink(image, QRect(left, 0, right - left, h)) > 0);
        // Nothing of it outside the cell, but for a pixel of anti-aliasing.
        QCOMPARE(Ink(image, QRect(0, 0, left - 1, h)), 0);
        QCOMPARE(Ink(image, QRect(right + 1, 0, image.width() - right - 1, h)), 0);
    }

    void secondPaneDrawsNothingUnsplit()
    {
        auto editor = ZuShownEditor("text in both panes");
        QVERIFY(editor);
        editor->SetSplitterType(1);
        QVERIFY(Ink(Render(*editor, 1), editor->PaneWindow(1).viewport()->rect()) > 0);
        editor->SetSplitterType(0);
        QVERIFY(!editor->PaneWindow(1).isVisible());
    }
};

REGISTER_TEST(ZuPanePaintTests);
#include "ZuPanePaintTests.moc"
