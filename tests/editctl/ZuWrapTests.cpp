// Soft wrapping of a pane at a pixel width (every byte 7 px wide), re-wrapping
// after edits, and restoring recorded line lengths.

#include "editctl/engine/ZuTextDocument.h"
#include "support/TestRegistry.h"
#include "editctl/ZuTestSupport.h"

#include <QTest>

namespace {

constexpr std::int32_t W = 7; // pixels per byte

struct Doc {
    explicit Doc(const std::string& text, std::uint32_t blockSize = 16) : doc(&metrics, blockSize)
    {
        std::uint64_t taken = 0;
        doc.AppendText(taken, text.data(), text.size(), ZuCrLfText, 0);
        doc.EnsureBlock();
        doc.EnsureFinalLine();
    }
    ZuWrapRequest Wrap(std::int32_t chars, bool words, int pane = 1)
    {
        ZuWrapRequest request;
        request.firstLine = 1;
        request.lastLine = doc.LineCount(pane);
        request.width = chars * W;
        request.wholeWords = words;
        doc.WrapLines(request, pane);
        return request;
    }
    std::vector<std::string> Lines(int pane = 1) const
    {
        std::vector<std::string> lines;
        for (std::uint32_t i = 1; i <= doc.LineCount(pane); ++i)
            lines.push_back(doc.LineText(pane, i));
        return lines;
    }
    ZuFixedMetrics metrics{W};
    ZuTextDocument doc;
};

using Strings = std::vector<std::string>;

} // namespace

class ZuWrapTests : public QObject {
    Q_OBJECT
private slots:
    void wrapsAtTheWidthAndUnwraps()
    {
        // Built in two steps: GCC 12 at -O3 warns falsely on string(n, c) + "...".
        std::string program(300, 'n');
        program += "\r\nnext";
        Doc d(program, 16);
        const std::string text = d.doc.Text();
        const ZuWrapRequest request = d.Wrap(100, false);
        QCOMPARE(d.doc.LineCount(1), 4u);
        QCOMPARE(d.doc.LineLength(1, 1), 100u);
        QCOMPARE(d.doc.LineLength(1, 3), 100u);
        QCOMPARE(request.firstChanged, 2u);
        QCOMPARE(request.linesChanged, 2u);
        QCOMPARE(d.doc.LineCount(0), 2u); // the other pane keeps its lines
        QCOMPARE(d.doc.Text(), text);     // soft breaks never reach the bytes
        ZuWrapRequest unwrap;
        unwrap.lastLine = d.doc.LineCount(1);
        QCOMPARE(d.doc.UnwrapLines(unwrap, 1), ZuOk);
        QCOMPARE(d.doc.LineCount(1), 2u);
        QCOMPARE(unwrap.linesChanged, 2u);
        QCOMPARE(QString::fromStdString(d.doc.CheckStructure()), QString());
    }

    void countsAcrossBlocks()
    {
        Doc d("bb\r\naaaaaaaaaa\r\ncc\r\ndddddddddd", 4); // a block for each paragraph
        QCOMPARE(d.doc.BlockCount(), 4u);
        const ZuWrapRequest request = d.Wrap(5, false);
        QCOMPARE(d.Lines(), (Strings{"bb", "aaaaa", "aaaaa", "cc", "ddddd", "ddddd"}));
        QCOMPARE(request.firstChanged, 3u);
        QCOMPARE(request.linesChanged, 2u);
        QCOMPARE(request.lastReached, 6u);
        QCOMPARE(d.doc.PositionToOffset(1, {2, 6}), 27u);
        QCOMPARE(d.doc.OffsetToPosition(1, 23), (ZuTextPosition{3, 5}));
    }

    void wholeWords_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("chars");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("break at the last word that starts before the width")
            << QByteArray("aaa bbb ccc") << 9 << QStringList{"aaa bbb ", "ccc"};
        QTest::newRow("a word longer than the width") << QByteArray(30, 'w') << 10
                                                      << QStringList{QString(10, 'w'), QString(10, 'w'), QString(10, 'w')};
        QTest::newRow("fits exactly") << QByteArray("aaa bbb") << 7 << QStringList{"aaa bbb"};
        QTest::newRow("blank runs stay on the line") << QByteArray("ab    cd") << 5
                                                     << QStringList{"ab   ", " cd"};
        QTest::newRow("width 0: one byte a line") << QByteArray("abc") << 0 << QStringList{"a", "b", "c"};
        QTest::newRow("one byte is never broken") << QByteArray("x\r\nyz") << 0 << QStringList{"x", "y", "z"};
    }
    void wholeWords()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, chars);
        QFETCH(QStringList, lines);
        Doc d(text.toStdString(), 8);
        d.Wrap(chars, true);
        QStringList got;
        for (const std::string& line : d.Lines())
            got << QString::fromStdString(line);
        QCOMPARE(got, lines);
    }

    void tabsAndFontsCountInTheWidth()
    {
        Doc d("a\tbcdefgh", 16);
        d.doc.DefaultTabSet().SetDefaultWidth(5 * W);
        d.Wrap(8, false); // "a" + tab to 5 chars, then "bcd" fits
        QCOMPARE(d.Lines(), (Strings{"a\tbcd", "efgh"}));
        Doc b("abcdefghij", 16);
        b.metrics.widthOfBold = 2 * W;
        b.doc.ApplyCharFormat(ZuAttrBold, 0, ZuTextRange({0, 1}, {4, 1}, ZuRangeStream), ZuAttributeValue::Number(1));
        b.Wrap(10, false); // four wide bytes count eight
        QCOMPARE(b.Lines(), (Strings{"abcdef", "ghij"}));
    }

    void wrappingTwiceChangesNothing()
    {
        Doc d("the quick brown fox jumps over the lazy dog\r\nand again the quick brown fox", 16);
        d.Wrap(12, true);
        const Strings first = d.Lines();
        const ZuWrapRequest again = d.Wrap(12, true);
        QCOMPARE(again.linesChanged, 0u);
        QCOMPARE(again.firstChanged, 0u);
        QCOMPARE(d.Lines(), first);
        // A wider width re-joins and breaks again; a word that starts right at the
        // width goes to the next line.
        d.Wrap(20, true);
        QCOMPARE(d.Lines(), (Strings{"the quick brown ", "fox jumps over the ", "lazy dog", "and again the ",
                                     "quick brown fox"}));
    }

    void rewrapAfterEdits()
    {
        const std::string text = "one two three four five six seven\r\neight nine ten eleven twelve";
        Doc d(text, 16);
        d.Wrap(10, true);
        QCOMPARE(d.doc.InsertText(1, {4, 2}, "INSERTED "), ZuOk); // inside a soft line of paragraph one
        QCOMPARE(d.doc.RemoveCharAt(1, 0, 6), ZuOk);
        QCOMPARE(QString::fromStdString(d.doc.CheckStructure()), QString());
        d.Wrap(10, true);
        // The same as wrapping the edited text from scratch.
        Doc fresh(d.doc.Text(), 16);
        fresh.Wrap(10, true);
        QCOMPARE(d.Lines(), fresh.Lines());
        QVERIFY(d.doc.LineCount(1) > d.doc.LineCount(0));
    }

    void insertionAtASoftLineStartKeepsTheBreak()
    {
        Doc d("abcdefgh\r\nxy", 4);
        QCOMPARE(d.doc.RestoreLineLengths(1, 1, {4}), ZuOk); // "abcd" / "efgh"
        QCOMPARE(d.doc.InsertText(1, {0, 2}, "12"), ZuOk);
        QCOMPARE(d.Lines(), (Strings{"abcd", "12efgh", "xy"}));
        QCOMPARE(d.doc.ParagraphEndLine(1, 1), 2u);
        QCOMPARE(d.doc.InsertText(1, {2, 2}, "\r\n"), ZuOk); // a line end inside the soft line
        QCOMPARE(d.Lines(), (Strings{"abcd", "12", "efgh", "xy"}));
        QCOMPARE(d.doc.LineCount(0), 3u);
        QCOMPARE(QString::fromStdString(d.doc.CheckStructure()), QString());
    }

    void partialRangeAndStopLine()
    {
        Doc d("aaaa aaaa aaaa\r\nbbbb bbbb bbbb\r\ncccc cccc cccc", 16);
        ZuWrapRequest request;
        request.firstLine = 2;
        request.lastLine = 2;
        request.width = 5 * W;
        request.wholeWords = true;
        d.doc.WrapLines(request, 1);
        QCOMPARE(d.Lines(), (Strings{"aaaa aaaa aaaa", "bbbb ", "bbbb ", "bbbb", "cccc cccc cccc"}));
        QCOMPARE(request.firstChanged, 3u);
        // Past the stop line an unchanged paragraph ends the pass.
        request.firstLine = 1;
        request.lastLine = d.doc.LineCount(1);
        request.stopLine = 1;
        request.width = 14 * W;
        d.doc.WrapLines(request, 1);
        QCOMPARE(request.linesChanged, 0u);
        QCOMPARE(request.lastReached, 1u);
    }

    void restoreLineLengths()
    {
        Doc d("abcdefghij\r\nxyz", 16);
        // "abc" / "defg" / "hij" and the next paragraph.
        QCOMPARE(d.doc.RestoreLineLengths(1, 1, {3, 4, 5, 3}), ZuOk);
        QCOMPARE(d.Lines(), (Strings{"abc", "defg", "hij", "xyz"}));
        QCOMPARE(d.doc.RestoreLineLengths(1, 2, {9}), ZuOk); // the rest of the paragraph in one
        QCOMPARE(d.Lines(), (Strings{"abc", "defghij", "xyz"}));
        QCOMPARE(QString::fromStdString(d.doc.CheckStructure()), QString());
    }

    void staleLineLengthsAreRefused_data()
    {
        QTest::addColumn<QList<int>>("lengths");
        QTest::newRow("runs over a paragraph end") << QList<int>{14};
        QTest::newRow("ends between CR and LF") << QList<int>{11};
        QTest::newRow("ends on the CR") << QList<int>{10};
        QTest::newRow("past the text") << QList<int>{12, 99};
        QTest::newRow("empty line") << QList<int>{0};
    }
    void staleLineLengthsAreRefused()
    {
        QFETCH(QList<int>, lengths);
        Doc d("abcdefghij\r\nxyz", 16);
        d.Wrap(4, false);
        const Strings before = d.Lines();
        std::vector<std::uint32_t> recorded;
        for (int n : lengths)
            recorded.push_back(std::uint32_t(n));
        QCOMPARE(d.doc.RestoreLineLengths(1, 1, recorded), ZuErrDataDamage);
        QCOMPARE(d.Lines(), before);
    }
};

REGISTER_TEST(ZuWrapTests);
#include "ZuWrapTests.moc"
