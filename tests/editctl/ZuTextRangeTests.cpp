// Positions and ranges: what each shape contains, and how positions and ranges
// follow insertions and removals made elsewhere.

#include "editctl/engine/ZuTextRange.h"
#include "support/TestRegistry.h"
#include "editctl/ZuTestSupport.h"

#include <QTest>


namespace {

ZuTextRange R(int type, std::uint32_t x1, std::uint32_t y1, std::uint32_t x2, std::uint32_t y2)
{
    ZuTextRange range;
    range.InitXY(x1, y1, x2, y2, std::uint8_t(type));
    return range;
}

ZuTextPosition P(std::uint32_t x, std::uint32_t y)
{
    return {x, y};
}

} // namespace


class ZuTextRangeTests : public QObject {
    Q_OBJECT
private slots:
    void positionAfterRemoval_data()
    {
        QTest::addColumn<ZuTextRange>("removed");
        QTest::addColumn<ZuTextPosition>("before");
        QTest::addColumn<ZuTextPosition>("after");
        const ZuTextRange lines = R(ZuRangeLine, 0, 3, 0, 5);
        QTest::newRow("line: below moves up") << lines << P(7, 9) << P(7, 6);
        QTest::newRow("line: inside goes to first") << lines << P(7, 4) << P(7, 3);
        QTest::newRow("line: above stays") << lines << P(7, 2) << P(7, 2);
        const ZuTextRange column = R(ZuRangeColumn, 3, 2, 7, 4);
        QTest::newRow("column: right of it moves left") << column << P(10, 3) << P(6, 3);
        QTest::newRow("column: inside goes to left edge") << column << P(5, 3) << P(3, 3);
        QTest::newRow("column: left of it stays") << column << P(2, 3) << P(2, 3);
        QTest::newRow("column: other line stays") << column << P(10, 5) << P(10, 5);
        const ZuTextRange stream = R(ZuRangeStream, 4, 2, 6, 5);
        QTest::newRow("stream: before stays") << stream << P(3, 2) << P(3, 2);
        QTest::newRow("stream: at start stays") << stream << P(4, 2) << P(4, 2);
        QTest::newRow("stream: inside goes to start") << stream << P(0, 4) << P(4, 2);
        QTest::newRow("stream: at end goes to start") << stream << P(6, 5) << P(4, 2);
        QTest::newRow("stream: rest of last line joins") << stream << P(9, 5) << P(7, 2);
        QTest::newRow("stream: later line moves up") << stream << P(9, 8) << P(9, 5);
        QTest::newRow("stream backwards is the same") << R(ZuRangeStream2, 6, 5, 4, 2) << P(9, 5) << P(7, 2);
        QTest::newRow("empty range moves nothing") << R(ZuRangeStream, 4, 2, 4, 2) << P(9, 2) << P(9, 2);
    }
    void positionAfterRemoval()
    {
        QFETCH(ZuTextRange, removed);
        QFETCH(ZuTextPosition, before);
        QTEST(ZuTextRange::AdjustedForRemoval(before, removed), "after");
    }

    void positionAfterInsertion_data()
    {
        QTest::addColumn<ZuTextRange>("inserted");
        QTest::addColumn<ZuTextPosition>("before");
        QTest::addColumn<ZuTextPosition>("after");
        const ZuTextRange stream = R(ZuRangeStream, 5, 2, 3, 3);
        QTest::newRow("stream: same line after it") << stream << P(8, 2) << P(6, 3);
        QTest::newRow("stream: later line") << stream << P(1, 7) << P(1, 8);
        QTest::newRow("stream: before it") << stream << P(4, 2) << P(4, 2);
        QTest::newRow("stream: at it") << stream << P(5, 2) << P(3, 3);
        QTest::newRow("stream: column held at line end")
            << R(ZuRangeStream, 0, 0, 65000, 0) << P(1000, 0) << P(ZuEndOfLine, 0);
        const ZuTextRange lines = R(ZuRangeLine, 0, 4, 0, 5);
        QTest::newRow("line: at first moves down") << lines << P(3, 4) << P(3, 6);
        QTest::newRow("line: above stays") << lines << P(3, 3) << P(3, 3);
        const ZuTextRange column = R(ZuRangeColumn, 2, 1, 6, 3);
        QTest::newRow("column: right of it") << column << P(2, 2) << P(6, 2);
        QTest::newRow("column: left of it") << column << P(1, 2) << P(1, 2);
        QTest::newRow("column: below it") << column << P(2, 4) << P(2, 4);
        QTest::newRow("column: held at line end") << column << P(65498, 2) << P(ZuEndOfLine, 2);
    }
    void positionAfterInsertion()
    {
        QFETCH(ZuTextRange, inserted);
        QFETCH(ZuTextPosition, before);
        QTEST(ZuTextRange::AdjustedForInsertion(before, inserted), "after");
    }

    void rangeAfterRemoval_data()
    {
        QTest::addColumn<ZuTextRange>("removed");
        QTest::addColumn<ZuTextRange>("before");
        QTest::addColumn<ZuTextRange>("after");
        QTest::newRow("stream containing it empties it")
            << R(ZuRangeStream, 0, 1, 0, 9) << R(ZuRangeStream, 2, 2, 4, 6) << R(ZuRangeNone, 2, 2, 4, 6);
        QTest::newRow("lines under a line selection")
            << R(ZuRangeLine, 0, 5, 0, 9) << R(ZuRangeLine, 0, 3, 0, 7) << R(ZuRangeLine, 0, 3, 0, 4);
        QTest::newRow("line selection backwards")
            << R(ZuRangeLine, 0, 5, 0, 9) << R(ZuRangeLine, 0, 7, 0, 3) << R(ZuRangeLine, 0, 4, 0, 3);
        QTest::newRow("lines below a line selection")
            << R(ZuRangeLine, 0, 8, 0, 9) << R(ZuRangeLine, 0, 3, 0, 7) << R(ZuRangeLine, 0, 3, 0, 7);
        // The stream's end lands where the removed text began, not past the next line.
        QTest::newRow("keepsStreamEndOutOfNextLine")
            << R(ZuRangeLine, 0, 5, 0, 9) << R(ZuRangeStream, 2, 2, 4, 6) << R(ZuRangeStream, 2, 2, 0, 5);
        QTest::newRow("stream after removed lines")
            << R(ZuRangeLine, 0, 1, 0, 2) << R(ZuRangeStream, 2, 4, 4, 6) << R(ZuRangeStream, 2, 2, 4, 4);
        QTest::newRow("column removal leaves a line range alone")
            << R(ZuRangeColumn, 1, 0, 3, 9) << R(ZuRangeLine, 0, 2, 0, 3) << R(ZuRangeLine, 0, 2, 0, 3);
        QTest::newRow("column removal leaves a taller column alone")
            << R(ZuRangeColumn, 1, 2, 3, 3) << R(ZuRangeColumn, 5, 1, 8, 4) << R(ZuRangeColumn, 5, 1, 8, 4);
        QTest::newRow("column removal moves a column inside its lines")
            << R(ZuRangeColumn, 1, 1, 3, 4) << R(ZuRangeColumn, 5, 2, 8, 3) << R(ZuRangeColumn, 3, 2, 6, 3);
        QTest::newRow("stream removal before a stream")
            << R(ZuRangeStream, 0, 0, 2, 1) << R(ZuRangeStream, 5, 1, 1, 3) << R(ZuRangeStream, 3, 0, 1, 2);
    }
    void rangeAfterRemoval()
    {
        QFETCH(ZuTextRange, removed);
        QFETCH(ZuTextRange, before);
        QFETCH(ZuTextRange, after);
        const ZuTextRange result = before.AdjustedForRemoval(removed);
        QCOMPARE(result.type, after.type);
        QCOMPARE(result.start, after.start);
        QCOMPARE(result.end, after.end);
    }

    void rangeAfterInsertion_data()
    {
        QTest::addColumn<ZuTextRange>("inserted");
        QTest::addColumn<ZuTextRange>("before");
        QTest::addColumn<ZuTextRange>("after");
        QTest::newRow("line range keeps whole lines")
            << R(ZuRangeStream, 0, 2, 4, 3) << R(ZuRangeLine, 7, 2, 3, 5) << R(ZuRangeLine, 4, 3, ZuEndOfLine, 6);
        QTest::newRow("column insertion leaves line range")
            << R(ZuRangeColumn, 0, 0, 4, 9) << R(ZuRangeLine, 7, 2, 3, 5) << R(ZuRangeLine, 7, 2, 3, 5);
        QTest::newRow("stream selection pushed along")
            << R(ZuRangeStream, 1, 1, 2, 1) << R(ZuRangeStream, 3, 1, 0, 2) << R(ZuRangeStream, 4, 1, 0, 2);
        QTest::newRow("line insertion above")
            << R(ZuRangeLine, 0, 0, 0, 1) << R(ZuRangeStream, 3, 1, 0, 2) << R(ZuRangeStream, 3, 3, 0, 4);
    }
    void rangeAfterInsertion()
    {
        QFETCH(ZuTextRange, inserted);
        QFETCH(ZuTextRange, before);
        QFETCH(ZuTextRange, after);
        const ZuTextRange result = before.AdjustedForInsertion(inserted);
        QCOMPARE(result.type, after.type);
        QCOMPARE(result.start, after.start);
        QCOMPARE(result.end, after.end);
    }

    void containsRange_data()
    {
        QTest::addColumn<ZuTextRange>("outer");
        QTest::addColumn<ZuTextRange>("inner");
        QTest::addColumn<bool>("contains");
        QTest::newRow("line in line") << R(ZuRangeLine, 0, 2, 0, 6) << R(ZuRangeLine, 0, 3, 0, 6) << true;
        QTest::newRow("line not in line") << R(ZuRangeLine, 0, 2, 0, 6) << R(ZuRangeLine, 0, 3, 0, 7) << false;
        QTest::newRow("column in column") << R(ZuRangeColumn, 2, 2, 9, 6) << R(ZuRangeColumn, 3, 3, 9, 6) << true;
        QTest::newRow("column wider") << R(ZuRangeColumn, 2, 2, 9, 6) << R(ZuRangeColumn, 1, 3, 5, 4) << false;
        QTest::newRow("narrow column, line") << R(ZuRangeColumn, 0, 2, 9, 6) << R(ZuRangeLine, 0, 3, 0, 4) << false;
        QTest::newRow("full column, line")
            << R(ZuRangeColumn, 0, 2, ZuEndOfLine, 6) << R(ZuRangeLine, 0, 3, 0, 4) << true;
        QTest::newRow("column, stream on one line")
            << R(ZuRangeColumn, 2, 2, 9, 6) << R(ZuRangeStream, 3, 4, 7, 4) << true;
        QTest::newRow("column, stream over lines")
            << R(ZuRangeColumn, 2, 2, 9, 6) << R(ZuRangeStream, 3, 4, 7, 5) << false;
        QTest::newRow("stream, line strictly inside")
            << R(ZuRangeStream, 5, 2, 1, 6) << R(ZuRangeLine, 0, 3, 0, 5) << true;
        QTest::newRow("stream, line on its first line")
            << R(ZuRangeStream, 5, 2, 1, 6) << R(ZuRangeLine, 0, 2, 0, 5) << false;
        QTest::newRow("stream, stream ending with it")
            << R(ZuRangeStream, 5, 2, 1, 6) << R(ZuRangeStream, 1, 6, 5, 2) << true;
        QTest::newRow("stream, stream past it")
            << R(ZuRangeStream, 5, 2, 1, 6) << R(ZuRangeStream, 5, 2, 2, 6) << false;
        QTest::newRow("empty contains nothing") << R(ZuRangeNone, 0, 0, 9, 9) << R(ZuRangeStream, 1, 1, 2, 2) << false;
    }
    void containsRange()
    {
        QFETCH(ZuTextRange, outer);
        QFETCH(ZuTextRange, inner);
        QTEST(outer.ContainsRange(inner), "contains");
    }

    void columnsPerLine()
    {
        const ZuTextRange stream = R(ZuRangeStream, 7, 4, 3, 2);
        QCOMPARE(stream.StartColumnOnLine(2), 3u);
        QCOMPARE(stream.EndColumnOnLine(2), ZuEndOfLine);
        QCOMPARE(stream.StartColumnOnLine(3), 0u);
        QCOMPARE(stream.EndColumnOnLine(4), 7u);
        QCOMPARE(stream.EndColumnOnLine(5), 0u);
        QVERIFY(stream.ContainsPosition(P(6, 4)));
        QVERIFY(!stream.ContainsPosition(P(7, 4)));
        QVERIFY(stream.Contains(P(3, 2)) && !stream.Contains(P(2, 2)));
        const ZuTextRange column = R(ZuRangeColumn, 6, 1, 2, 3);
        QCOMPARE(column.StartColumnOnLine(2), 2u);
        QCOMPARE(column.EndColumnOnLine(2), 6u);
        QVERIFY(column.Contains(P(5, 3)) && !column.Contains(P(6, 3)) && !column.Contains(P(5, 4)));
        const ZuTextRange line = R(ZuRangeLine, 4, 1, 4, 1);
        QVERIFY(line.IsEmpty()); // start equals end
        QVERIFY(R(ZuRangeLine, 0, 1, 0, 2) == R(ZuRangeLine, 9, 2, 3, 1));
        QVERIFY(!(R(ZuRangeStream, 0, 1, 0, 2) == R(ZuRangeStream, 0, 1, 1, 2)));
    }

    void moveTo()
    {
        ZuTextRange stream = R(ZuRangeStream, 8, 3, 5, 3);
        stream.MoveTo(P(1, 6));
        QCOMPARE(stream.First(), P(1, 6));
        QCOMPARE(stream.Last(), P(4, 6));
        ZuTextRange lines = R(ZuRangeStream, 5, 3, 2, 5);
        lines.MoveTo(P(1, 0));
        QCOMPARE(lines.start, P(1, 0));
        QCOMPARE(lines.end, P(2, 2));
        ZuTextRange column = R(ZuRangeColumn, 9, 2, 4, 4);
        column.MoveTo(P(1, 7));
        QCOMPARE(column.start, P(6, 7));
        QCOMPARE(column.end, P(1, 9));
    }
};

REGISTER_TEST(ZuTextRangeTests);
#include "ZuTextRangeTests.moc"
