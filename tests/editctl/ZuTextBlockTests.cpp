// One text block: cutting bytes into lines, the line limit, edits that make or
// break line ends, joining and splitting, and runs of formats and colours.

#include "editctl/engine/ZuTextBlock.h"
#include "support/TestRegistry.h"

#include <QTest>

namespace {

std::vector<std::string> Lines(const ZuTextBlock& block, int pane = 0)
{
    std::vector<std::string> lines;
    for (std::uint32_t i = 0; i < block.LineCount(pane); ++i)
        lines.emplace_back(block.LineText(pane, i), block.LineLength(pane, i));
    return lines;
}

ZuTextBlock Filled(const std::string& bytes, int lfMode = ZuCrLfText)
{
    ZuTextBlock block;
    std::uint32_t taken = 0;
    block.InsertText(taken, bytes.data(), std::uint32_t(bytes.size()), lfMode, 0, 0xFFFFFFFFu);
    return block;
}

using Strings = std::vector<std::string>;

} // namespace

class ZuTextBlockTests : public QObject {
    Q_OBJECT
private slots:
    void cutIntoLines()
    {
        const ZuTextBlock crlf = Filled("ab\rcd\r\nef");
        QCOMPARE(Lines(crlf), (Strings{"ab\rcd", "ef"}));
        QVERIFY(crlf.EndsParagraph(0, 0) && !crlf.EndsParagraph(0, 1));
        QCOMPARE(Lines(crlf, 1), Lines(crlf, 0));

        const ZuTextBlock lf = Filled("ab\ncd\n", ZuLfText);
        QCOMPARE(lf.text, std::string("ab\r\ncd\r\n"));
        QCOMPARE(Lines(lf), (Strings{"ab", "cd"}));
        QCOMPARE(lf.LineStart(0, 1), 4u);

        // An open last line goes on with the next insertion.
        ZuTextBlock open = Filled("ab");
        std::uint32_t taken = 0;
        QCOMPARE(open.InsertText(taken, "cd\r\nef", 6, ZuCrLfText, 0, 4096), ZuOk);
        QCOMPARE(Lines(open), (Strings{"abcd", "ef"}));

        // Tail mode -1 leaves the unterminated tail to the caller.
        ZuTextBlock block;
        QCOMPARE(block.InsertText(taken, "ab\r\ncd", 6, ZuCrLfText, -1, 4096), ZuOk);
        QCOMPARE(taken, 4u);
        QCOMPARE(block.text, std::string("ab\r\n"));
    }

    void fillsToTheLimit()
    {
        std::string bytes;
        for (int i = 0; i < 60; ++i)
            bytes += std::string(98, char('a' + i % 26)) + "\r\n";
        ZuTextBlock block;
        std::uint32_t taken = 0;
        QCOMPARE(block.InsertText(taken, bytes.data(), std::uint32_t(bytes.size()), ZuCrLfText, 0, 4096), ZuOk);
        QCOMPARE(taken, 4000u);
        QCOMPARE(block.LineCount(0), 40u);
        // A block without lines takes its first line whatever its size.
        ZuTextBlock big;
        const std::string line(5000, 'x');
        QCOMPARE(big.InsertText(taken, line.data(), 5000, ZuCrLfText, 0, 4096), ZuOk);
        QCOMPARE(taken, 5000u);
    }

    void refusesOverlongLines()
    {
        const std::string longest(ZuMaxLineLength, 'x');
        ZuTextBlock block;
        std::uint32_t taken = 0;
        QCOMPARE(block.InsertText(taken, longest.data(), ZuMaxLineLength, ZuCrLfText, 0, 0xFFFFFFFFu), ZuOk);
        const ZuTextBlock before = block;
        QCOMPARE(block.InsertText(taken, "y", 1, ZuCrLfText, 0, 0xFFFFFFFFu), ZuErrLineLength);
        QCOMPARE(taken, 0u);
        QCOMPARE(block.text, before.text);
        const std::string tooLong = longest + "x\r\n";
        ZuTextBlock other;
        QCOMPARE(other.InsertText(taken, tooLong.data(), std::uint32_t(tooLong.size()), ZuCrLfText, 0, 0xFFFFFFFFu),
                 ZuErrLineLength);
        QCOMPARE(other.Length(), 0u);
    }

    void joinOfTwoLongLinesIsRefused()
    {
        const std::string half(40000, 'x');
        ZuTextBlock block = Filled(half + "\r\n" + half);
        const std::string before = block.text;
        QCOMPARE(block.SetParagraphEnd(0, 0, false), ZuErrLineLength);
        QCOMPARE(block.text, before);
        QCOMPARE(block.LineCount(0), 2u);
        QCOMPARE(block.InsertBytes(5, std::string(30000, 'y')), ZuErrLineLength);
        QCOMPARE(block.text, before);
    }

    void editsKeepLinesOnTheLineEnds_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QByteArray>("insert");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("removal brings CR and LF together") << QByteArray("a\rX\nb") << 2 << 3 << QByteArray()
                                                           << QStringList{"a", "b"};
        QTest::newRow("CR typed before an LF") << QByteArray("a\nb") << 1 << 1 << QByteArray("\r")
                                               << QStringList{"a", "b"};
        QTest::newRow("LF typed after a CR") << QByteArray("a\rb") << 2 << 2 << QByteArray("\n")
                                             << QStringList{"a", "b"};
        QTest::newRow("removing the CR joins") << QByteArray("ab\r\ncd") << 2 << 3 << QByteArray()
                                               << QStringList{"ab\ncd"};
        QTest::newRow("removing the LF joins") << QByteArray("ab\r\ncd") << 3 << 4 << QByteArray()
                                               << QStringList{"ab\rcd"};
        QTest::newRow("line ends inserted") << QByteArray("abcd") << 2 << 2 << QByteArray("\r\nx\r\n")
                                            << QStringList{"ab", "x", "cd"};
        QTest::newRow("paragraph removed") << QByteArray("ab\r\ncd\r\nef") << 4 << 8 << QByteArray()
                                           << QStringList{"ab", "ef"};
    }
    void editsKeepLinesOnTheLineEnds()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QByteArray, insert);
        QFETCH(QStringList, lines);
        ZuTextBlock block = Filled(text.toStdString());
        ZuTextBlock insertion;
        insertion.text = insert.toStdString();
        QCOMPARE(block.Replace(std::uint32_t(from), std::uint32_t(to), &insertion), ZuOk);
        QStringList got;
        for (const std::string& line : Lines(block))
            got << QString::fromLatin1(line.data(), qsizetype(line.size()));
        QCOMPARE(got, lines);
        QCOMPARE(Lines(block, 1), Lines(block, 0));
    }

    void softLinesSurviveEditsInsideTheirParagraph()
    {
        ZuTextBlock block = Filled("abcdefgh\r\nxy");
        block.lines[1].insert(block.lines[1].begin() + 1, ZuLineEntry{4, {0, 0}, 0}); // "abcd" / "efgh"
        QCOMPARE(block.InsertBytes(6, "ZZ"), ZuOk);
        QCOMPARE(Lines(block, 1), (Strings{"abcd", "efZZgh", "xy"}));
        QCOMPARE(block.RemoveRange(3, 5), ZuOk); // takes the soft line's start with it
        QCOMPARE(Lines(block, 1), (Strings{"abcfZZgh", "xy"}));
        QCOMPARE(Lines(block, 0), (Strings{"abcfZZgh", "xy"}));
    }

    void joinAndPieces()
    {
        ZuTextBlock first = Filled("ab\r\ncd");
        first.colors.runs = {{0, 1, ZuNoColor}, {4, 2, ZuNoColor}};
        ZuTextBlock second = Filled("ef\r\ngh");
        second.colors.runs = {{0, 3, ZuNoColor}};
        QCOMPARE(first.Join(second), ZuOk);
        QCOMPARE(Lines(first), (Strings{"ab", "cdef", "gh"})); // the open line goes on
        QCOMPARE(first.colors.Count(), 3u);
        QCOMPARE(first.colors.runs[2].start, 6u);
        QCOMPARE(first.colors.runs[2].fore, 3u);

        const ZuTextBlock piece = first.CopyOut(3, 9);
        QCOMPARE(piece.text, std::string("\ncdef\r"));
        QCOMPARE(piece.colors.runs[0].fore, 1u);
        QCOMPARE(piece.colors.runs[1].start, 1u);
        ZuTextBlock moved = first;
        const ZuTextBlock out = moved.MoveOut(0, 4);
        QCOMPARE(out.text, std::string("ab\r\n"));
        QCOMPARE(moved.text, std::string("cdef\r\ngh"));
        QCOMPARE(moved.colors.runs[0].fore, 2u);
    }

    void splitPoints()
    {
        std::string text;
        for (int i = 0; i < 100; ++i)
            text += std::string(98, 'p') + "\r\n";
        const ZuTextBlock block = Filled(text);
        const std::vector<std::uint32_t> cuts = block.SplitPoints(4096);
        QVERIFY(!cuts.empty());
        std::uint32_t from = 0;
        for (std::size_t k = 0; k <= cuts.size(); ++k) {
            const std::uint32_t to = k < cuts.size() ? cuts[k] : block.Length();
            QVERIFY(to > from);
            QVERIFY(to - from <= 4196);
            QVERIFY(block.text[to - 2] == '\r' && block.text[to - 1] == '\n');
            from = to;
        }
        QVERIFY(Filled(std::string(10000, 'x')).SplitPoints(4096).empty()); // one paragraph stays whole
        // The excess itself when it falls on a line end.
        const ZuTextBlock exact = Filled(std::string(8, 'a') + "\r\n" + std::string(4094, 'b') + "\r\n");
        QCOMPARE(exact.SplitPoint(4096), 10u);
    }

    void findRun()
    {
        ZuRunTable<ZuFontRun> table;
        table.runs = {{0, 1}, {5, 2}, {5, 3}, {9, 4}};
        QCOMPARE(table.FindRun(0), 0u);
        QCOMPARE(table.FindRun(4), 0u);
        QCOMPARE(table.FindRun(5), 2u);
        QCOMPARE(table.FindRun(5, true), 1u);
        QCOMPARE(table.FindRun(7), 2u);
        QCOMPARE(table.FindRun(100), 3u);
    }

    void charFormatRuns()
    {
        ZuFixedMetrics metrics(7);
        ZuFontTable fonts(&metrics);
        ZuTextBlock block = Filled("0123456789");
        const ZuTextRange all({0, 0}, {10, 0}, ZuRangeStream);
        QCOMPARE(block.ApplyCharFormat(fonts, ZuAttrBold, 0, all, ZuAttributeValue::Number(1)), ZuOk);
        QCOMPARE(block.fonts.Count(), 1u);
        QCOMPARE(block.ApplyCharFormat(fonts, ZuAttrItalic, 0, ZuTextRange({3, 0}, {6, 0}, ZuRangeStream),
                                       ZuAttributeValue::Number(1)),
                 ZuOk);
        QCOMPARE(block.fonts.Count(), 3u);
        const ZuFontEntry& middle = fonts.At(block.fonts.runs[1].font);
        QVERIFY(middle.Font().italic && middle.Font().weight == 700);
        QVERIFY(!fonts.At(block.fonts.runs[2].font).Font().italic);
        QCOMPARE(block.fonts.runs[2].font, block.fonts.runs[0].font);
        bool mixed = false;
        block.QueryCharFormat(fonts, ZuAttrItalic, 0, all, mixed);
        QVERIFY(mixed);
        const ZuAttributeValue bold = block.QueryCharFormat(fonts, ZuAttrBold, 0, all, mixed);
        QVERIFY(!mixed);
        QCOMPARE(bold.number, -1.0);
        // A font that cannot be made leaves the runs as they were.
        const auto before = block.fonts.runs;
        QCOMPARE(block.ApplyCharFormat(fonts, ZuAttrFaceName, 0, all, ZuAttributeValue::Text("Missing")),
                 ZuErrNoMemory);
        QCOMPARE(block.fonts.Count(), std::uint32_t(before.size()));
        QCOMPARE(block.ApplyCharFormat(fonts, ZuAttrBold, 0, ZuTextRange({0, 0}, {1, 0}, ZuRangeNone),
                                       ZuAttributeValue::Number(1)),
                 ZuErrBadParameter);
    }

    void colorRuns()
    {
        ZuTextBlock block = Filled("redblueplain");
        const ZuTextRange red({0, 0}, {3, 0}, ZuRangeStream);
        const ZuTextRange blue({3, 0}, {7, 0}, ZuRangeStream);
        const ZuTextRange both({0, 0}, {7, 0}, ZuRangeStream);
        QCOMPARE(block.QueryColor(7, 0, both, 0x111111), 0x111111u); // no runs: the pane's colour
        block.ApplyColor(7, 0, red, 0x0000FF);
        block.ApplyColor(7, 0, blue, 0xFF0000);
        QCOMPARE(block.QueryColor(7, 0, red, 0), 0x0000FFu);
        QCOMPARE(block.QueryColor(7, 0, both, 0), ZuNoColor);
        // Text without a colour of its own compares as the pane's colour, not as "mixed".
        const ZuTextRange plain({7, 0}, {12, 0}, ZuRangeStream);
        QCOMPARE(block.QueryColor(7, 0, plain, 0x222222), 0x222222u);
        block.ApplyColor(7, 0, red, 0x222222);
        QCOMPARE(block.QueryColor(7, 0, ZuTextRange({0, 0}, {3, 0}, ZuRangeStream), 0x222222), 0x222222u);
        QCOMPARE(block.QueryColor(6, 0, both, 0x333333), 0x333333u);
        block.ApplyColor(7, 0, blue, ZuNoColor);
        QCOMPARE(block.QueryColor(7, 0, ZuTextRange({0, 0}, {12, 0}, ZuRangeStream), 0x222222), 0x222222u);
    }
};

REGISTER_TEST(ZuTextBlockTests);
#include "ZuTextBlockTests.moc"
