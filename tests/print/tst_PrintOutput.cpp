// What Prentil prints, read back from PDF files: page size and count, the
// text and its place on the sheet, headers and footers, n-up sheets, and
// the settings that are refused before anything prints.

#include "PrintFixture.h"
#include "print/PrintStrings.h"
#include "platform/forms/ScriptedAnswers.h"
#include "support/TestRegistry.h"

#include <QTest>

using namespace prentil;
using namespace printtest;

class tst_PrintOutput : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (!HavePoppler())
            QSKIP("poppler-utils (pdftotext, pdfinfo) are not installed");
    }

    void oneFileOnALandscapeSheet()
    {
        AppFixture f;
        const QString a = f.File("a.nc", Program());
        f.Start({a});
        platform::ScriptedAnswers answers;
        QCOMPARE(f.PrintToPdf(), 1);
        QCOMPARE(answers.msgBoxes().size(), 0);
        QCOMPARE(PdfPages(f.Pdf()), 1);
        QVERIFY(RunTool("pdfinfo", {f.Pdf()}).contains(QRegularExpression("Page size:\\s+(841.89|842) x 595")));
        const QString text = PdfText(f.Pdf());
        QVERIFY2(text.contains(f.dir.path() + "/a.nc"), qPrintable(text));
        const qsizetype first = text.indexOf("O1000 (TEST)");
        const qsizetype second = text.indexOf("N10 G00 X1.0 Y2.0");
        const qsizetype third = text.indexOf("M30");
        QVERIFY(first >= 0 && first < second && second < third);
        for (const char* field : {"Printed:", "Modified:", "Page 1 of 1"})
            QVERIFY2(text.contains(field), field);
        // Two columns: one file of one page stays in the left half.
        for (const PdfWord& word : PdfWords(f.Pdf()))
            QVERIFY2(word.xMax < 421, qPrintable(word.text));
    }

    void pageBreakOptions_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<int>("pages");
        QTest::newRow("new sheet per file") << 0 << 2;
        QTest::newRow("share when only extensions differ") << 1 << 1;
        QTest::newRow("always share") << 2 << 1;
    }
    void pageBreakOptions()
    {
        QFETCH(int, option);
        QFETCH(int, pages);
        AppFixture f;
        f.Start({f.File("a.nc", Program()), f.File("a.cnc", Program())});
        f.Doc().SetPageBreakOption(option);
        platform::ScriptedAnswers answers;
        f.PrintToPdf();
        QCOMPARE(PdfPages(f.Pdf()), pages);
        // The listed order puts a.cnc first; its header is on the first page.
        const QString first = PdfText(f.Pdf(), 1);
        QVERIFY(first.contains("a.cnc"));
        QCOMPARE(first.contains("/a.nc"), pages == 1);
        QCOMPARE(PdfText(f.Pdf()).count("Page 1 of 1"), 2);
    }

    // Four virtual pages to a sheet: a file's pages go down the first
    // column, then down the second.
    void twoByTwoSheetsFillDownThenAcross()
    {
        AppFixture f;
        const QString path = f.File("long.nc", NumberedLines(400, "N"));
        f.Start({path});
        f.Doc().SetRows(2);
        f.Doc().SetColumns(2);
        f.Doc().SetOrientation(0);
        platform::ScriptedAnswers answers;
        f.PrintToPdf();
        const QList<PdfWord> words = PdfWords(f.Pdf());
        // The smallest line number in each quarter of sheet 1.
        int least[2][2] = {{1 << 30, 1 << 30}, {1 << 30, 1 << 30}};
        static const QRegularExpression number("^N(\\d+)$");
        for (const PdfWord& word : words) {
            const QRegularExpressionMatch m = number.match(word.text);
            if (word.page != 1 || !m.hasMatch())
                continue;
            const int column = word.xMin < 595.28 / 2 ? 0 : 1;
            const int row = word.yMin < 841.89 / 2 ? 0 : 1;
            least[column][row] = std::min(least[column][row], m.captured(1).toInt());
        }
        QCOMPARE(least[0][0], 1);
        const int perPage = least[0][1] - 1;
        QVERIFY(perPage > 5);
        QCOMPARE(least[1][0], 2 * perPage + 1);
        QCOMPARE(least[1][1], 3 * perPage + 1);
        const int expectedSheets = (400 + 4 * perPage - 1) / (4 * perPage);
        QCOMPARE(PdfPages(f.Pdf()), expectedSheets);
    }

    void reverseEvenPagesOnly()
    {
        AppFixture f;
        f.Start({f.File("a.nc", "A\n"), f.File("b.txt", "B\n"), f.File("c.c", "C\n"), f.File("d.nc", "D\n")});
        f.Doc().SetPageBreakOption(0);
        f.Doc().SetPrintOddPages(0);
        f.Doc().SetReverseOrder(1);
        platform::ScriptedAnswers answers;
        f.PrintToPdf();
        QCOMPARE(PdfPages(f.Pdf()), 2);
        QVERIFY(PdfText(f.Pdf(), 1).contains("d.nc"));
        QVERIFY(PdfText(f.Pdf(), 2).contains("b.txt"));
    }

    void headerAndFooterFields()
    {
        AppFixture f;
        f.Start({f.File("a.nc", Program())});
        f.Doc().SetHeaderOptions(0x01 | 0x08 | 0x100);
        f.Doc().SetFooterOptions(0);
        platform::ScriptedAnswers answers;
        f.PrintToPdf();
        const QString text = PdfText(f.Pdf());
        QVERIFY(text.contains("a.nc"));
        QVERIFY(!text.contains(f.dir.path()));
        QVERIFY2(text.contains("Page of 1"), qPrintable(text));
        QVERIFY(!text.contains("Printed:"));
    }

    void settingsRefusedBeforePrinting_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("odd");
        QTest::addColumn<int>("even");
        QTest::addColumn<QString>("message");
        QTest::newRow("no rows") << 0 << 1 << 1 << IDS_INVALID_ROWS_COLUMNS;
        QTest::newRow("no line fits") << 60 << 1 << 1 << IDS_PAGE_TOO_SMALL;
        QTest::newRow("neither odd nor even") << 1 << 0 << 0 << IDS_NO_PAGES_CHOSEN;
    }
    void settingsRefusedBeforePrinting()
    {
        QFETCH(int, rows);
        QFETCH(int, odd);
        QFETCH(int, even);
        QFETCH(QString, message);
        AppFixture f;
        f.Start({f.File("a.nc", Program())});
        f.Doc().SetRows(rows);
        f.Doc().SetPrintOddPages(odd);
        f.Doc().SetPrintEvenPages(even);
        f.Doc().SetViewWarnings(0);
        platform::ScriptedAnswers answers;
        QCOMPARE(f.PrintToPdf(), -1);
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, message);
        QVERIFY(!QFile::exists(f.Pdf()));
    }

    void marginWarningAsksBeforePrinting()
    {
        AppFixture f;
        f.Start({f.File("a.nc", Program())});
        // A PDF page is printable to its edges: a negative margin is outside.
        f.Doc().SetLeftMargin(-5);
        {
            platform::ScriptedAnswers answers;
            answers.answerMsgBox(platform::vbNo);
            QCOMPARE(f.PrintToPdf(), -1);
            QCOMPARE(answers.msgBoxes().size(), 1);
            QCOMPARE(answers.msgBoxes()[0].title, IDS_WARNING);
            QVERIFY(!QFile::exists(f.Pdf()));
        }
        f.Doc().SetViewWarnings(0);
        platform::ScriptedAnswers silent;
        QCOMPARE(f.PrintToPdf(), 1);
        QCOMPARE(silent.msgBoxes().size(), 0);
    }

    void unopenableFileIsReportedAndSkipped()
    {
        AppFixture f;
        f.Start({f.File("a.nc", Program()), f.dir.filePath("gone.nc")});
        platform::ScriptedAnswers answers;
        QCOMPARE(f.PrintToPdf(), 1);
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, "Cannot open file " + f.dir.filePath("gone.nc"));
        QCOMPARE(PdfPages(f.Pdf()), 1);
    }

    void unwritableOutputIsReported()
    {
        AppFixture f;
        f.Start({f.File("a.nc", Program())});
        platform::ScriptedAnswers answers;
        qputenv(PrintToPdfVariable, f.dir.filePath("no/such/folder/out.pdf").toLocal8Bit());
        QCOMPARE(f.Frame()->OnFilePrintDirect(), -1);
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, IDS_PRINT_FAILED);
    }

    void wrappedLinesCarryArrowsAndAllText()
    {
        AppFixture f;
        QByteArray words;
        for (int i = 0; i < 120; ++i)
            words += "W" + QByteArray::number(i) + ' ';
        f.Start({f.File("w.nc", words + "\nEND\n")});
        platform::ScriptedAnswers answers;
        f.PrintToPdf();
        const QString text = PdfText(f.Pdf());
        // Word wrap keeps each word whole and loses none.
        static const QRegularExpression word("\\bW(\\d+)\\b");
        QSet<int> seen;
        for (auto it = word.globalMatch(text); it.hasNext();)
            seen.insert(it.next().captured(1).toInt());
        QCOMPARE(seen.size(), 120);
        QVERIFY(text.contains("END"));
    }
};

REGISTER_TEST(tst_PrintOutput);
#include "tst_PrintOutput.moc"
