// Reading lines, splitting them into rows and paginating files into
// virtual pages on a measurer with fixed widths.

#include "print/CTxtPrintDoc.h"
#include "print/HeaderFooter.h"
#include "print/LineReader.h"
#include "print/LineSplitter.h"
#include "print/PrintJob.h"
#include "PrintTestSupport.h"
#include "support/TestRegistry.h"

#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

using namespace prentil;

namespace {

// The rows of line, fed to the splitter in pieces of pieceSize characters
// (0: the whole line at once).
QStringList Rows(const QString& line, int n, int t, int wrap, QList<bool>* continued = nullptr, int pieceSize = 0)
{
    LineSplitter splitter(n, t, wrap);
    QStringList rows;
    const LineSplitter::Sink collect = [&](const LineSplitter::Row& row) {
        rows << row.text.toString();
        if (continued != nullptr)
            continued->append(row.continued);
        return true;
    };
    splitter.BeginLine(0);
    const qsizetype step = pieceSize > 0 ? pieceSize : std::max<qsizetype>(1, line.size());
    for (qsizetype at = 0; at < line.size() && !splitter.Dropping(); at += step) {
        TextPiece piece;
        piece.text = QStringView(line).mid(at, step);
        piece.offset = at;
        splitter.Feed(piece, collect);
    }
    splitter.EndLine(collect);
    return rows;
}

// The lines of a file, each put together from the pieces it was read in.
QStringList ReadAll(const QString& path, qsizetype pieceSize = LineReader::PieceSize, qsizetype* largest = nullptr)
{
    LineReader reader;
    QStringList lines;
    if (!reader.Open(path))
        return {QStringLiteral("<cannot open>")};
    TextPiece piece;
    while (reader.NextPiece(&piece, pieceSize)) {
        if (piece.lineStart)
            lines << QString();
        else if (lines.isEmpty())
            return {QStringLiteral("<piece without a line>")};
        lines.last() += piece.text;
        if (largest != nullptr)
            *largest = std::max(*largest, piece.text.size());
    }
    return lines;
}

// size bytes of NC words on one line, with tabs and, when withUtf8, the
// two-byte "Ø" in UTF-8.
QByteArray LongLine(qsizetype size, bool withUtf8)
{
    const QByteArray words = withUtf8 ? QByteArray("N10 G01 X12.345\tY-6.789 \xc3\x98" "10 F200 ")
                                      : QByteArray("N10 G01 X12.345\tY-6.789 F200 D8 ");
    QByteArray line;
    while (line.size() < size)
        line += words;
    return line;
}

// L = 10, C = 5, h = 12.
const FixedTextMeasurer Measurer(10, 5, 12);

}  // namespace

class tst_Pagination : public QObject {
    Q_OBJECT
private slots:
    void splitLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("wrap");
        QTest::addColumn<QStringList>("rows");
        const QString x25(25, QLatin1Char('x'));
        const QString x10(10, QLatin1Char('x'));
        QTest::newRow("empty line") << "" << WrapWords << QStringList{""};
        QTest::newRow("tab at start") << "\tA" << WrapTruncate << QStringList{"    A"};
        QTest::newRow("tab to next stop") << "ab\tc" << WrapCharacters << QStringList{"ab  c"};
        QTest::newRow("truncate") << x25 << WrapTruncate << QStringList{x10};
        QTest::newRow("wrap characters") << x25 << WrapCharacters << QStringList{x10, x10, "xxxxx"};
        QTest::newRow("wrap words") << "aaa bbb ccc ddd" << WrapWords << QStringList{"aaa bbb ", "ccc ddd"};
        QTest::newRow("space last in row") << "aaaaaaaaa bbb" << WrapWords << QStringList{"aaaaaaaaa ", "bbb"};
        QTest::newRow("word wrap without space")
            << x25 << WrapWords << QStringList{x10, x10, "xxxxx"};
        QTest::newRow("exactly full") << x10 << WrapCharacters << QStringList{x10};
        QTest::newRow("full row followed by a space")
            << "0123456789 ab" << WrapWords << QStringList{"0123456789", " ab"};
        QTest::newRow("tab fills row, word wrap cuts as characters")
            << "abcdefghi\tzz" << WrapWords << QStringList{"abcdefghi ", "  zz"};
        QTest::newRow("tab across row end")
            << "abcdefghi\tz" << WrapCharacters << QStringList{"abcdefghi ", "  z"};
        QTest::newRow("tab across row end truncated") << "abcdefghi\tz" << WrapTruncate
                                                      << QStringList{"abcdefghi "};
    }
    void splitLines()
    {
        QFETCH(QString, line);
        QFETCH(int, wrap);
        QFETCH(QStringList, rows);
        // However the line comes in pieces, the rows are the same.
        for (int pieceSize : {0, 1, 3}) {
            QList<bool> continued;
            QCOMPARE(Rows(line, 10, 4, wrap, &continued, pieceSize), rows);
            QCOMPARE(continued.size(), rows.size());
            for (int i = 0; i < continued.size(); ++i)
                QCOMPARE(continued[i], i + 1 < continued.size());
        }
    }

    void longLinesAndLimits()
    {
        const QString line(200, QLatin1Char('a'));
        QCOMPARE(Rows(line, 80, 8, WrapWords).size(), 3);
        QCOMPARE(Rows(line, 80, 8, WrapTruncate).size(), 1);
        // No row is longer than 999 characters, whatever the width.
        const QStringList rows = Rows(QString(2500, QLatin1Char('b')), 5000, 8, WrapCharacters);
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0].size(), MaxRowLength);
        // Spacing 0 and width 0 are taken as 8 and 1 rather than dividing by zero.
        QCOMPARE(Rows("a\tb", 10, 0, WrapWords), QStringList{"a       b"});
        QCOMPARE(Rows("abc", 0, 4, WrapCharacters), (QStringList{"a", "b", "c"}));
    }

    void readLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("LF") << QByteArray("a\nb\n") << QStringList{"a", "b"};
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("lone CR") << QByteArray("a\rb") << QStringList{"a", "b"};
        QTest::newRow("blank lines") << QByteArray("\n\r\n\r") << QStringList{"", "", ""};
        QTest::newRow("no last line end") << QByteArray("a\nb") << QStringList{"a", "b"};
        QTest::newRow("trailing Ctrl+Z") << QByteArray("a\r\n\x1a") << QStringList{"a"};
        QTest::newRow("Ctrl+Z inside stays") << QByteArray("a\x1a" "b\n") << QStringList{"a\x1a" "b"};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        QTest::newRow("UTF-8") << QByteArray("\xc3\xa9t\xc3\xa9\n") << QStringList{QString::fromUtf8("été")};
        QTest::newRow("Windows-1252") << QByteArray("\xe9t\xe9 \x80\n")
                                      << QStringList{QString::fromUtf8("été €")};
        const QByteArray longLine(200000, 'z');
        QTest::newRow("line longer than a block") << longLine + "\r\nq" << QStringList{QString(longLine), "q"};
        QByteArray crAtBlock(64 * 1024 - 1, 'y');
        QTest::newRow("CR LF across blocks") << crAtBlock + "\r\nq" << QStringList{QString(crAtBlock), "q"};
        QTest::newRow("byte order mark starts a line")
            << QByteArray("\xef\xbb\xbf" "a\xef\xbb\xbf" "b\n") << QStringList{QString::fromUtf8("a\ufeffb")};
        QTest::newRow("four-byte character") << QByteArray("x\xf0\x9f\x98\x80y") << QStringList{QString::fromUtf8("x😀y")};
        QTest::newRow("broken UTF-8 reads as Windows-1252")
            << QByteArray("\xc3\xa9\xc3") << QStringList{QString::fromUtf8("Ã©Ã")};
        // A line longer than the buffer is judged as a whole: UTF-8 all
        // through, or Windows-1252 from its start when a byte near its end
        // is not UTF-8.
        const QByteArray utf8Line = LongLine(300000, true);
        QTest::newRow("long UTF-8 line") << utf8Line + "\nq" << QStringList{QString::fromUtf8(utf8Line), "q"};
        QTest::newRow("long line, not UTF-8 at its end")
            << utf8Line + "\xb0\r\nq"
            << QStringList{QString::fromLatin1(utf8Line).replace(QChar(0x98), QChar(0x2DC)) + QChar(0xB0), "q"};
    }
    void readLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QTemporaryDir dir;
        const QString path = dir.filePath("f.nc");
        QVERIFY(printtest::WriteBytes(path, bytes));
        // Pieces of any size put together give the same lines.
        for (qsizetype pieceSize : {LineReader::PieceSize, qsizetype(7), qsizetype(1)})
            QCOMPARE(ReadAll(path, pieceSize), lines);
    }

    // A line of megabytes without a line end comes in pieces no larger
    // than the reader's piece size, so reading it holds no more than that.
    void longLinesComeInBoundedPieces()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("long.nc");
        const QByteArray line = LongLine(3000000, true);
        QVERIFY(printtest::WriteBytes(path, line));
        qsizetype largest = 0;
        const QStringList lines = ReadAll(path, LineReader::PieceSize, &largest);
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines[0], QString::fromUtf8(line));
        QVERIFY(largest > 0);
        QVERIFY(largest <= LineReader::PieceSize + 1);
    }

    void nameParts()
    {
        PrintJob job("/home/u/progs/A.part.nc");
        QCOMPARE(job.FileName(), QStringLiteral("A.part.nc"));
        QCOMPARE(job.BaseName(), QStringLiteral("A.part"));
        QCOMPARE(job.Extension(), QStringLiteral("nc"));
        QCOMPARE(job.Folder(), QStringLiteral("/home/u/progs"));
        PrintJob bare("README");
        QCOMPARE(bare.BaseName(), QStringLiteral("README"));
        QCOMPARE(bare.Extension(), QString());
        QCOMPARE(bare.Folder(), QStringLiteral("README"));
    }

    void pageMetrics()
    {
        // Page 200 x 150, arrow on: I = 10, text width 180, 36 characters;
        // header and footer one row each: bands 18; lines (150-10-36-10)/10.
        const PageMetrics m = ComputePageMetrics(Measurer, 200, 150, true, 0x01, 0x04);
        QCOMPARE(m.charWidth, 5);
        QCOMPARE(m.indent, 10);
        QCOMPARE(m.charsPerLine, 36);
        QCOMPARE(m.headerBand, 18);
        QCOMPARE(m.footerBand, 18);
        QCOMPARE(m.linesPerPage, 9);
        const PageMetrics bare = ComputePageMetrics(Measurer, 200, 150, false, 0x100, 0);
        QCOMPARE(bare.indent, 5);
        QCOMPARE(bare.charsPerLine, 38);
        QCOMPARE(bare.linesPerPage, 14);
        QVERIFY(!ComputePageMetrics(Measurer, 200, 15, false, 0, 0).Fits());
        QVERIFY(!ComputePageMetrics(Measurer, 8, 150, false, 0, 0).Fits());
    }

    void paginate_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("wrap");
        QTest::addColumn<int>("pages");
        // 14 lines per page, 38 characters per line (see pageMetrics).
        QTest::newRow("empty file, no page") << QByteArray() << WrapWords << 0;
        QTest::newRow("one line") << QByteArray("O1000\n") << WrapWords << 1;
        QTest::newRow("exactly two pages") << printtest::NumberedLines(28) << WrapWords << 2;
        QTest::newRow("one row over") << printtest::NumberedLines(29) << WrapWords << 3;
        QTest::newRow("wrapped rows count") << QByteArray(14 * 38 + 1, 'w') + '\n' << WrapCharacters << 2;
        QTest::newRow("truncated rows do not") << QByteArray(14 * 38 + 1, 'w') + '\n' << WrapTruncate << 1;
    }
    void paginate()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, wrap);
        QFETCH(int, pages);
        QTemporaryDir dir;
        const QString path = dir.filePath("p.nc");
        QVERIFY(printtest::WriteBytes(path, text));
        PrintJob job(path);
        QVERIFY(job.Paginate(ComputePageMetrics(Measurer, 200, 150, false, 0, 0), 4, wrap));
        QCOMPARE(job.PageCount(), pages);
        QVERIFY(!job.ForEachRow(pages + 1, [](const PrintJob::PageRow&) {}));
    }

    // Every row of the file comes out exactly once, in order, across all
    // pages: also when pages start inside a line, inside a tab's spaces, or
    // inside a line of UTF-8 or of Windows-1252 that is longer than a piece.
    void pagesHoldEveryRowOnce_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("wrap");
        QByteArray mixed;
        for (int i = 0; i < 60; ++i)
            mixed += QByteArray(i % 7 == 0 ? 90 : 5, char('a' + i % 26)) + "\r\n";
        QByteArray tabs;
        for (int i = 0; i < 300; ++i)
            tabs += QByteArray(i % 11, 'x') + "\t\t\t\t\t\t\t\t\t\tz\t";
        const QByteArray utf8 = LongLine(200000, true);
        QByteArray cp1252 = LongLine(200000, false);
        cp1252.replace("D8", "\xd8" "8");
        for (int wrap : {WrapTruncate, WrapCharacters, WrapWords}) {
            const QByteArray name = QByteArray::number(wrap);
            QTest::newRow("short and wrapped lines " + name) << mixed << wrap;
            QTest::newRow("tabs across rows " + name) << tabs + "\nend\n" << wrap;
            QTest::newRow("long UTF-8 line " + name) << "O1\n" + utf8 + "\nM30\n" << wrap;
            QTest::newRow("long Windows-1252 line " + name) << cp1252 + "\r\nM30" << wrap;
        }
    }
    void pagesHoldEveryRowOnce()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, wrap);
        QTemporaryDir dir;
        const QString path = dir.filePath("mix.nc");
        QVERIFY(printtest::WriteBytes(path, text));
        PrintJob job(path);
        // 38 characters a row with tab stops every 12 (a tab can fill more
        // than one row), 9 rows a page.
        const PageMetrics metrics = ComputePageMetrics(Measurer, 200, 150, true, 0x01, 0);
        QVERIFY(job.Paginate(metrics, 50, wrap));
        QStringList printed;
        QList<bool> firsts;
        for (int p = 1; p <= job.PageCount(); ++p) {
            int onPage = 0;
            QVERIFY(job.ForEachRow(p, [&](const PrintJob::PageRow& row) {
                printed << row.text.toString();
                firsts << row.firstOfLine;
                ++onPage;
            }));
            QVERIFY(onPage <= metrics.linesPerPage);
            QVERIFY(p == job.PageCount() || onPage == metrics.linesPerPage);
        }
        QStringList expected;
        QList<bool> expectedFirsts;
        for (const QString& line : ReadAll(path)) {
            const QStringList rows = Rows(line, metrics.charsPerLine, 50, wrap);
            for (int r = 0; r < rows.size(); ++r) {
                expected << rows[r];
                expectedFirsts << (r == 0);
            }
        }
        QCOMPARE(printed.size(), expected.size());
        QCOMPARE(printed, expected);
        QCOMPARE(firsts, expectedFirsts);
        for (const QString& row : printed)
            QVERIFY(!row.contains(QLatin1Char('\r')));
    }

    // The pages of a long line each know where their first row starts, so
    // a page is drawn from there and not from the start of the line.
    void pagesOfALongLineStartInsideIt()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("long.nc");
        QVERIFY(printtest::WriteBytes(path, "O1\n" + LongLine(1000000, true)));
        PrintJob job(path);
        const PageMetrics metrics = ComputePageMetrics(Measurer, 200, 150, false, 0, 0);
        QVERIFY(job.Paginate(metrics, 4, WrapWords));
        QVERIFY(job.PageCount() > 1000);
        // At most a page of two-byte characters lies between two page starts.
        const qint64 mostPerPage = 2LL * metrics.linesPerPage * metrics.charsPerLine;
        const auto& pages = job.Pages();
        for (std::size_t k = 1; k < pages.size(); ++k) {
            QVERIFY(pages[k].firstRow > 0);
            QVERIFY(pages[k].offset > pages[k - 1].offset);
            QVERIFY(pages[k].offset - pages[k - 1].offset <= mostPerPage);
        }
        QStringList last;
        QVERIFY(job.ForEachRow(job.PageCount(), [&](const PrintJob::PageRow& row) { last << row.text.toString(); }));
        const QStringList rows = Rows(QString::fromUtf8(LongLine(1000000, true)), metrics.charsPerLine, 4, WrapWords);
        QCOMPARE(last, rows.mid(rows.size() - last.size()));
    }

    void unreadableFileFails()
    {
        PrintJob job("/nonexistent/x.nc");
        QVERIFY(!job.Paginate(ComputePageMetrics(Measurer, 200, 150, false, 0, 0), 4, WrapWords));
        QVERIFY(!job.Paginated());
    }

    void bandsAndPageTexts()
    {
        QCOMPARE(BandHeight(0x100, 12), 0);
        QCOMPARE(BandHeight(259, 12), 18);
        QCOMPARE(BandHeight(252, 12), 18);
        QCOMPARE(BandHeight(0x01 | 0x10, 12), 30);
        QCOMPARE(BandHeight(0x04, 13), 19);
        QCOMPARE(PageText(0x0C, 2, 3), QStringLiteral("Page 2 of 3"));
        QCOMPARE(PageText(0x08, 2, 3), QStringLiteral("Page of 3"));
        QCOMPARE(PageText(0x04, 2, 3), QStringLiteral("Page 2"));
        QCOMPARE(PageText(0x01, 2, 3), QString());
    }

    void stampsUseOneLocaleTimeFormat()
    {
        const QDateTime when(QDate(2024, 3, 5), QTime(14, 7, 9));
        const QString us = StampText("Printed:", 0x40, 0x80, 0xC0, when, QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY2(us.endsWith("2:07:09 PM"), qPrintable(us));
        QCOMPARE(us.count("PM"), 1);
        const QString de = StampText("Modified:", 0x10, 0x20, 0x30, when, QLocale(QLocale::German, QLocale::Germany));
        QVERIFY2(de.endsWith("14:07:09"), qPrintable(de));
        QVERIFY(de.startsWith("Modified: "));
        QCOMPARE(StampText("Printed:", 0x40, 0x80, 0x30, when), QString());
    }
};

REGISTER_TEST(tst_Pagination);
#include "tst_Pagination.moc"
