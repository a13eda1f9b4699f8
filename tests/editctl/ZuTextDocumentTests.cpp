// The document over tiny blocks: look-ups, edits across block borders, fragments,
// column blocks, formats, bookmarks, tab sets and word breaks.

#include "editctl/engine/ZuTextDocument.h"
#include "support/TestRegistry.h"
#include "editctl/ZuTestSupport.h"

#include <QTest>


namespace {

// A document of the given text in blocks of `blockSize` bytes.
struct Doc {
    explicit Doc(const std::string& text, std::uint32_t blockSize = 8) : doc(&metrics, blockSize)
    {
        std::uint64_t taken = 0;
        doc.AppendText(taken, text.data(), text.size(), ZuCrLfText, 0);
        doc.EnsureBlock();
        doc.EnsureFinalLine();
    }
    ZuFixedMetrics metrics{7};
    ZuTextDocument doc;
};

ZuTextRange Stream(std::uint32_t x1, std::uint32_t y1, std::uint32_t x2, std::uint32_t y2)
{
    return ZuTextRange({x1, y1}, {x2, y2}, ZuRangeStream);
}

const std::string Ten = "line one\r\nline two\r\nthree\r\nfour\r\nfive is longer\r\nsix\r\nseven\r\neight\r\nnine\r\nten";

} // namespace


class ZuTextDocumentTests : public QObject {
    Q_OBJECT
private slots:
    void loadsIntoManyBlocks()
    {
        Doc d(Ten, 8);
        QCOMPARE(d.doc.Text(), Ten);
        QCOMPARE(d.doc.LineCount(0), 10u);
        QVERIFY(d.doc.BlockCount() >= 9);
        QCOMPARE(QString::fromStdString(d.doc.CheckStructure()), QString());
        QCOMPARE(d.doc.LineText(0, 5), std::string("five is longer"));
        // Ends with a line break: an empty last line follows.
        Doc e("a\r\nb\r\n", 4);
        QCOMPARE(e.doc.LineCount(0), 3u);
        QCOMPARE(e.doc.LineText(0, 3), std::string());
        QCOMPARE(ZuTextDocument::DetectLineEnds("a\nb\r\n", 5), int(ZuCrLfText));
        QCOMPARE(ZuTextDocument::DetectLineEnds("a\nb\rc", 5), int(ZuLfText));
        QCOMPARE(ZuTextDocument::DetectLineEnds("\nb", 2), int(ZuLfText));
        ZuTextDocument empty;
        QCOMPARE(empty.LineCount(0), 0u);
        empty.EnsureBlock();
        QCOMPARE(empty.LineCount(0), 1u);
        QCOMPARE(empty.PositionToOffset(0, {5, 3}), 0u);
    }

    void positionsAndOffsets_data()
    {
        QTest::addColumn<ZuTextPosition>("position");
        QTest::addColumn<int>("offset");
        QTest::addColumn<ZuTextPosition>("back");
        QTest::newRow("start") << ZuTextPosition{0, 1} << 0 << ZuTextPosition{0, 1};
        QTest::newRow("line 0 is line 1") << ZuTextPosition{2, 0} << 2 << ZuTextPosition{2, 1};
        QTest::newRow("in line five") << ZuTextPosition{5, 5} << 38 << ZuTextPosition{5, 5};
        QTest::newRow("past the line end") << ZuTextPosition{99, 3} << 25 << ZuTextPosition{5, 3};
        QTest::newRow("end of line") << ZuTextPosition{ZuEndOfLine, 9} << 72 << ZuTextPosition{4, 9};
        QTest::newRow("last line") << ZuTextPosition{3, 10} << 77 << ZuTextPosition{3, 10};
        QTest::newRow("past the last line") << ZuTextPosition{0, 11} << 77 << ZuTextPosition{3, 10};
    }
    void positionsAndOffsets()
    {
        QFETCH(ZuTextPosition, position);
        QFETCH(int, offset);
        Doc d(Ten, 8);
        QCOMPARE(int(d.doc.PositionToOffset(0, position)), offset);
        QTEST(d.doc.OffsetToPosition(0, std::uint64_t(offset)), "back");
    }

    void removeLineRangeAtTheEnd()
    {
        Doc d("a\r\nb\r\nc", 4);
        QCOMPARE(d.doc.RemoveRange(nullptr, 0, ZuTextRange({0, 2}, {0, 3}, ZuRangeLine)), ZuOk);
        QCOMPARE(d.doc.Text(), std::string("a"));
        QCOMPARE(d.doc.LineCount(0), 1u);
        Doc e("a\r\nb\r\nc", 4);
        QCOMPARE(e.doc.RemoveRange(nullptr, 0, ZuTextRange({0, 1}, {0, 2}, ZuRangeLine)), ZuOk);
        QCOMPARE(e.doc.Text(), std::string("c"));
        Doc f("a\r\nb\r\nc", 4);
        QCOMPARE(f.doc.RemoveRange(nullptr, 0, ZuTextRange({0, 1}, {0, 3}, ZuRangeLine)), ZuOk);
        QCOMPARE(f.doc.Text(), std::string());
        QCOMPARE(f.doc.LineCount(0), 1u);
        QCOMPARE(QString::fromStdString(f.doc.CheckStructure()), QString());
    }

    void cutAcrossBlocksAndPasteBack()
    {
        Doc d(Ten, 8);
        d.doc.ApplyColor(7, 0, Stream(2, 2, 3, 6), 0x00FF00);
        const std::string before = d.doc.Text();
        const std::size_t blocks = d.doc.BlockCount();
        ZuTextDocument fragment(&d.metrics, 8);
        QCOMPARE(d.doc.RemoveRange(&fragment, 0, Stream(4, 2, 2, 7)), ZuOk);
        QCOMPARE(fragment.Text(), std::string(" two\r\nthree\r\nfour\r\nfive is longer\r\nsix\r\nse"));
        QCOMPARE(d.doc.LineText(0, 2), std::string("lineven"));
        QVERIFY(d.doc.BlockCount() < blocks);
        QCOMPARE(QString::fromStdString(d.doc.CheckStructure()), QString());
        QCOMPARE(fragment.QueryColor(7, 0, Stream(0, 1, 3, 5)), 0x00FF00u);
        QCOMPARE(fragment.QueryColor(7, 0, Stream(0, 6, 2, 6)), 0x000000u);
        QCOMPARE(d.doc.InsertFragment(0, Stream(4, 2, 4, 2), fragment), ZuOk);
        QCOMPARE(d.doc.Text(), before);
        QCOMPARE(fragment.ByteCount(), 0u);
        QCOMPARE(d.doc.QueryColor(7, 0, Stream(2, 2, 8, 2)), 0x00FF00u);
        QCOMPARE(d.doc.QueryColor(7, 0, Stream(0, 2, 2, 2)), 0x000000u);
        QCOMPARE(d.doc.QueryColor(7, 0, Stream(0, 2, 4, 2)), ZuNoColor);
        QCOMPARE(d.doc.QueryColor(7, 0, Stream(3, 6, 2, 8)), 0x000000u);
        QCOMPARE(QString::fromStdString(d.doc.CheckStructure()), QString());
    }

    void fragmentRefusals()
    {
        Doc d("abc");
        QCOMPARE(d.doc.InsertFragment(0, Stream(0, 1, 0, 1), d.doc), ZuErrBadParameter);
        ZuTextDocument fragment;
        QCOMPARE(d.doc.InsertFragment(0, ZuTextRange({0, 1}, {0, 1}, ZuRangeNone), fragment), ZuErrBadParameter);
        QCOMPARE(d.doc.RemoveRange(nullptr, 0, ZuTextRange({0, 1}, {1, 1}, 7)), ZuErrBadParameter);
        QCOMPARE(d.doc.InsertFragment(0, Stream(1, 1, 1, 1), fragment), ZuOk); // empty: nothing
        QCOMPARE(d.doc.Text(), std::string("abc"));
    }

    void columnBlocks()
    {
        Doc d("abcd\r\n01234567890123456789\r\nxy", 8);
        ZuTextDocument fragment(&d.metrics, 8);
        std::uint64_t taken = 0;
        fragment.AppendText(taken, "PQR\r\nST", 7, ZuCrLfText, 0);
        QCOMPARE(d.doc.InsertFragment(0, ZuTextRange({10, 1}, {13, 2}, ZuRangeColumn), fragment), ZuOk);
        QCOMPARE(d.doc.LineText(0, 1), std::string("abcd      PQR"));
        QCOMPARE(d.doc.LineText(0, 2), std::string("0123456789ST 0123456789"));
        QCOMPARE(QString::fromStdString(d.doc.CheckStructure()), QString());

        // Column removal hands the pieces over, one line each.
        ZuTextDocument cut(&d.metrics, 8);
        QCOMPARE(d.doc.RemoveRange(&cut, 0, ZuTextRange({10, 1}, {13, 2}, ZuRangeColumn)), ZuOk);
        QCOMPARE(cut.Text(), std::string("PQR\r\nST \r\n"));
        QCOMPARE(cut.LineCount(0), 2u);
        QCOMPARE(QString::fromStdString(cut.CheckStructure(false)), QString());
        QCOMPARE(d.doc.LineText(0, 1), std::string("abcd      "));
        QCOMPARE(d.doc.LineText(0, 2), std::string("01234567890123456789"));

        // Below the last line new lines are made.
        Doc e("ab", 8);
        ZuTextDocument three(&e.metrics, 8);
        three.AppendText(taken, "1\r\n2\r\n3", 7, ZuCrLfText, 0);
        QCOMPARE(e.doc.InsertFragment(0, ZuTextRange({1, 1}, {2, 3}, ZuRangeColumn), three), ZuOk);
        QCOMPARE(e.doc.Text(), std::string("a1b\r\n 2\r\n 3"));
    }

    void failedColumnInsertChangesNothing()
    {
        const std::string longLine(ZuMaxLineLength - 1, 'x');
        Doc d("short\r\n" + longLine + "\r\nend", 64);
        const std::string before = d.doc.Text();
        ZuTextDocument fragment(&d.metrics, 64);
        std::uint64_t taken = 0;
        fragment.AppendText(taken, "AB\r\nCD", 6, ZuCrLfText, 0);
        QCOMPARE(d.doc.InsertFragment(0, ZuTextRange({2, 1}, {4, 2}, ZuRangeColumn), fragment), ZuErrLineLength);
        QVERIFY(d.doc.Text() == before);
        QCOMPARE(QString::fromStdString(d.doc.CheckStructure()), QString());
    }

    void lineLengthLimitHoldsForEveryEdit()
    {
        const std::string half(40000, 'h');
        Doc d(half + "\r\n" + half, 64);
        const std::string before = d.doc.Text();
        QCOMPARE(d.doc.RemoveCharAt(0, 40000, 1), ZuErrLineLength); // Delete at the line end
        QCOMPARE(d.doc.SetParagraphEnd(0, 1, false), ZuErrLineLength);
        QCOMPARE(d.doc.RemoveRange(nullptr, 0, Stream(39999, 1, 0, 2)), ZuErrLineLength);
        QCOMPARE(d.doc.InsertText(0, {5, 2}, std::string(30000, 'y')), ZuErrLineLength);
        QVERIFY(d.doc.Text() == before);
        QCOMPARE(d.doc.LineCount(0), 2u);
        // Splitting a long line stays possible.
        QCOMPARE(d.doc.InsertText(0, {20000, 1}, "\r\n"), ZuOk);
        QCOMPARE(d.doc.LineCount(0), 3u);
    }

    void removeCharAt()
    {
        Doc d("ab\r\ncd", 4);
        QCOMPARE(d.doc.RemoveCharAt(0, 2, 1), ZuOk); // joins the lines
        QCOMPARE(d.doc.Text(), std::string("abcd"));
        QCOMPARE(d.doc.RemoveCharAt(0, 4, 1), ZuOk); // end of the last line: nothing
        QCOMPARE(d.doc.RemoveCharAt(0, 0, 5), ZuOk); // past the last line: nothing
        QCOMPARE(d.doc.RemoveCharAt(0, 1, 1), ZuOk);
        QCOMPARE(d.doc.Text(), std::string("acd"));
        Doc e("a\rb\nc", 4); // the CR and LF meet and become a line end
        QCOMPARE(e.doc.RemoveCharAt(0, 2, 1), ZuOk);
        QCOMPARE(e.doc.LineCount(0), 2u);
        QCOMPARE(e.doc.LineText(0, 2), std::string("c"));
    }

    void paragraphEnds()
    {
        Doc d("abcd\r\nef", 4);
        QCOMPARE(d.doc.SetParagraphEnd(0, 1, false), ZuOk);
        QCOMPARE(d.doc.Text(), std::string("abcdef"));
        QCOMPARE(d.doc.BlockCount(), 1u); // one paragraph, one block
        QCOMPARE(d.doc.SetParagraphEnd(0, 1, true), ZuOk);
        QCOMPARE(d.doc.Text(), std::string("abcdef\r\n"));
        QCOMPARE(d.doc.LineCount(0), 2u);
        QCOMPARE(d.doc.SetParagraphEnd(0, 9, true), ZuErrBadParameter);
    }

    void formatsAcrossBlocks()
    {
        Doc d(Ten, 8);
        const ZuTextRange lines({0, 2}, {0, 6}, ZuRangeLine);
        QCOMPARE(d.doc.ApplyCharFormat(ZuAttrBold, 0, lines, ZuAttributeValue::Number(1)), ZuOk);
        QCOMPARE(d.doc.QueryCharFormat(ZuAttrBold, 0, lines).number, -1.0);
        QCOMPARE(d.doc.QueryCharFormat(ZuAttrBold, 0, Stream(0, 1, 3, 2)).number, 1.0); // mixed
        QCOMPARE(d.doc.QueryCharFormat(ZuAttrBold, 0, Stream(0, 1, 3, 1)).number, 0.0);
        QCOMPARE(d.doc.QueryCharFormat(ZuAttrBold, 0, Stream(2, 3, 2, 3)).number, -1.0); // at a position
        QCOMPARE(d.doc.ApplyCharFormat(ZuAttrSize, 0, Stream(0, 3, 2, 3), ZuAttributeValue::Number(20)), ZuOk);
        QVERIFY(d.doc.QueryCharFormat(ZuAttrSize, 0, lines).isNull);
        QCOMPARE(d.doc.QueryCharFormat(ZuAttrFaceName, 0, lines).text, std::string("Fixed"));
        QCOMPARE(d.doc.Fonts().Count(), 3u);
        // The format travels with the text into new lines typed inside it.
        QCOMPARE(d.doc.InsertText(0, {2, 4}, "NEW"), ZuOk);
        QCOMPARE(d.doc.QueryCharFormat(ZuAttrBold, 0, Stream(2, 4, 5, 4)).number, -1.0);
        QCOMPARE(d.doc.ApplyCharFormat(ZuAttrBold, 0, ZuTextRange({0, 1}, {1, 1}, 0), ZuAttributeValue::Number(1)),
                 ZuErrBadParameter);
        QCOMPARE(QString::fromStdString(d.doc.CheckStructure()), QString());
    }

    void fontTablesAndMeasures()
    {
        Doc d("abc\r\ndefgh\r\nij", 4);
        d.doc.ApplyCharFormat(ZuAttrItalic, 0, Stream(1, 2, 3, 2), ZuAttributeValue::Number(1));
        QCOMPARE(d.doc.WidestLine(0, 1, 3), 5 * 7);
        QCOMPARE(d.doc.WidestLine(0, 3, 9), 2 * 7);
        // A table in another order: the runs follow their fonts.
        auto other = std::make_unique<ZuFontTable>(&d.metrics);
        ZuFontEntry bold(&d.metrics);
        bold.SetAttribute(ZuAttrBold, ZuAttributeValue::Number(1));
        std::uint32_t index = 0;
        other->FindOrAdd(bold, index);
        QCOMPARE(d.doc.RemapFonts(*other), ZuErrBadParameter); // lacks the italic font
        other->FindOrAdd(d.doc.Fonts().At(1), index);
        QCOMPARE(index, 2u);
        QCOMPARE(d.doc.RemapFonts(*other), ZuOk);
        const std::unique_ptr<ZuFontTable> old = d.doc.ReplaceFontTable(std::move(other));
        QVERIFY(old);
        QCOMPARE(d.doc.QueryCharFormat(ZuAttrItalic, 0, Stream(1, 2, 3, 2)).number, -1.0);
        QCOMPARE(d.doc.QueryCharFormat(ZuAttrItalic, 0, Stream(0, 2, 1, 2)).number, 0.0);
        QVERIFY(!d.doc.ReplaceFontTable(std::make_unique<ZuFontTable>(&d.metrics))); // too small
        QCOMPARE(d.doc.ParagraphEndLine(0, 2), 2u);
    }

    void paneColors()
    {
        ZuTextDocument doc;
        QCOMPARE(doc.PaneColor(1, ZuColorTextBack), 0xFFFFFFu);
        QCOMPARE(doc.PaneColor(0, 5), 0x0000FFu);
        QCOMPARE(doc.SetPaneColor(1, ZuColorTextFore, 0x123456), 0x000000u);
        doc.EnsureBlock();
        QCOMPARE(doc.QueryColor(7, 1, Stream(0, 1, 0, 1)), 0x123456u);
        QCOMPARE(doc.QueryColor(7, 0, Stream(0, 1, 0, 1)), 0x000000u);
    }

    void bookmarksFollowTheText()
    {
        Doc d(Ten, 8);
        d.doc.SetBookmarkCount(3);
        d.doc.SetBookmarkOffset(0, 22);                  // in "three"
        d.doc.SetBookmarkOffset(1, 40);                  // in line five
        d.doc.SetBookmarkOffset(2, 2);                   // before the edits
        d.doc.SetBookmarkName(1, "five");
        QCOMPARE(d.doc.RemoveRange(nullptr, 0, ZuTextRange({0, 3}, {0, 4}, ZuRangeLine)), ZuOk);
        QCOMPARE(d.doc.BookmarkOffset(0), -1);
        QCOMPARE(d.doc.BookmarkOffset(1), 40 - 13);
        QCOMPARE(d.doc.BookmarkPosition(1), (ZuTextPosition{7, 3}));
        QCOMPARE(*d.doc.BookmarkName(1), std::string("five"));
        QCOMPARE(d.doc.InsertText(0, {0, 1}, "+\r\n"), ZuOk);
        QCOMPARE(d.doc.BookmarkOffset(2), 5);
        QCOMPARE(d.doc.BookmarkPosition(2), (ZuTextPosition{2, 2}));
        QCOMPARE(d.doc.BookmarkOffset(9), d.doc.BookmarkOffset(2)); // clamped to the last
        d.doc.SetBookmarkCount(0);
        QCOMPARE(d.doc.BookmarkOffset(0), 0);
        QVERIFY(d.doc.BookmarkName(0) == nullptr);
        d.doc.SetBookmarkName(0, "nothing"); // nothing to name
    }

    void paragraphTabSets()
    {
        Doc d("a\tb\r\nc\td\r\ne\tf", 4);
        d.doc.DefaultTabSet().SetDefaultWidth(28);
        auto tabs = std::make_unique<ZuTabSet>();
        tabs->InsertStop(50);
        QCOMPARE(d.doc.SetParagraphTabSet(5, std::move(tabs)), ZuOk);
        QCOMPARE(d.doc.ParagraphTabSet(6).StopPosition(0, ZuTabsSorted, 7), 50);
        QCOMPARE(d.doc.ParagraphTabSet(0).Count(), 0);
        QCOMPARE(d.doc.XOfColumn(0, 1, 2), 28);
        QCOMPARE(d.doc.XOfColumn(0, 2, 2), 50);
        QCOMPARE(d.doc.XOfColumn(0, 2, 3), 57);
        QCOMPARE(d.doc.XOfColumn(0, 3, 9), 35);
        QCOMPARE(d.doc.ParagraphTabSet(6).DefaultWidth(7), 28); // from the document's set
        QCOMPARE(d.doc.NextTabX(0, {1, 2}), 50);
        QCOMPARE(d.doc.NextTabX(0, {3, 2}), 84);
        QCOMPARE(d.doc.PreviousTabX(0, {3, 2}), 56); // the first default stop after the set one
    }

    void nextWordBreak_data()
    {
        QTest::addColumn<ZuTextPosition>("from");
        QTest::addColumn<ZuTextPosition>("to");
        QTest::newRow("to the next word") << ZuTextPosition{1, 1} << ZuTextPosition{4, 1};
        QTest::newRow("last word: next paragraph") << ZuTextPosition{9, 1} << ZuTextPosition{0, 2};
        QTest::newRow("next paragraph starts blank") << ZuTextPosition{1, 2} << ZuTextPosition{2, 3};
        QTest::newRow("empty paragraph is a stop") << ZuTextPosition{5, 3} << ZuTextPosition{0, 4};
        QTest::newRow("end of the document") << ZuTextPosition{1, 5} << ZuTextPosition{3, 5};
        QTest::newRow("past the last line") << ZuTextPosition{0, 9} << ZuTextPosition{3, 5};
    }
    void nextWordBreak()
    {
        QFETCH(ZuTextPosition, from);
        Doc d("abc def gh\r\nxy\r\n  zz q\r\n\r\nend", 8);
        QTEST(d.doc.NextWordBreak(0, from.y, from.x), "to");
    }

    void previousWordBreak_data()
    {
        QTest::addColumn<ZuTextPosition>("from");
        QTest::addColumn<ZuTextPosition>("to");
        QTest::newRow("start of the word") << ZuTextPosition{6, 1} << ZuTextPosition{4, 1};
        QTest::newRow("word before") << ZuTextPosition{4, 1} << ZuTextPosition{0, 1};
        QTest::newRow("across the line end") << ZuTextPosition{0, 2} << ZuTextPosition{8, 1};
        QTest::newRow("blank start of paragraph") << ZuTextPosition{2, 3} << ZuTextPosition{0, 2};
        QTest::newRow("nothing before") << ZuTextPosition{0, 1} << ZuTextPosition{0, 0};
    }
    void previousWordBreak()
    {
        QFETCH(ZuTextPosition, from);
        Doc d("abc def gh\r\nxy\r\n  zz q\r\n\r\nend", 8);
        QTEST(d.doc.PreviousWordBreak(0, from.y, from.x), "to");
        // The same answers through a callback that gives the default rule's breaks.
        d.doc.SetWordBreakCallback([](int, ZuTextPosition, ZuTextPosition&) { return false; });
        QTEST(d.doc.PreviousWordBreak(0, from.y, from.x), "to");
    }

    void wordBreakCallbackIsChecked()
    {
        Doc d("abc def gh", 8);
        int calls = 0;
        ZuTextPosition answer{0, 1};
        d.doc.SetWordBreakCallback([&](int, ZuTextPosition, ZuTextPosition& result) {
            ++calls;
            result = answer;
            return true;
        });
        QCOMPARE(d.doc.NextWordBreak(0, 1, 2), (ZuTextPosition{4, 1})); // does not move forward
        answer = {2, 7};
        QCOMPARE(d.doc.NextWordBreak(0, 1, 2), (ZuTextPosition{4, 1})); // outside the document
        answer = {99, 1};
        QCOMPARE(d.doc.NextWordBreak(0, 1, 2), (ZuTextPosition{4, 1}));
        answer = {6, 1};
        QCOMPARE(d.doc.NextWordBreak(0, 1, 2), (ZuTextPosition{6, 1})); // taken
        QCOMPARE(calls, 4);
        // A callback that never moves cannot hang the backward search.
        answer = {0, 1};
        QCOMPARE(d.doc.PreviousWordBreak(0, 1, 9), (ZuTextPosition{8, 1}));
    }
};

REGISTER_TEST(ZuTextDocumentTests);
#include "ZuTextDocumentTests.moc"
