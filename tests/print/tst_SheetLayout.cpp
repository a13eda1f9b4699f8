// Margins, sheet assembly, page mapping, the command line and the file order.

#include "print/CTxtPrintDoc.h"
#include "print/FileOrder.h"
#include "print/PrintCommandLineInfo.h"
#include "print/PrintJob.h"
#include "print/SheetLayout.h"
#include "support/TestRegistry.h"

#include <QTest>
#include <algorithm>
#include <memory>

using namespace prentil;

namespace {

// Each slot as "file:page"; sheets separated by "|".
QString Describe(const std::vector<Sheet>& sheets)
{
    QStringList out;
    for (const Sheet& sheet : sheets) {
        QStringList placed;
        for (const Slot& slot : sheet.places)
            placed << QStringLiteral("%1:%2").arg(slot.file + 1).arg(slot.page);
        out << placed.join(QLatin1Char(' '));
    }
    return out.join(QStringLiteral(" | "));
}

SheetGrid Grid(int rows, int columns, int option)
{
    SheetGrid grid;
    grid.rows = rows;
    grid.columns = columns;
    grid.pageBreakOption = option;
    grid.pageWidth = 100;
    grid.pageHeight = 80;
    grid.margins.normal = {10, 20, 210, 180};
    grid.margins.swapped = {10, 5, 210, 165};
    return grid;
}

const CTxtPrintDoc& DefaultDoc()
{
    static const CTxtPrintDoc doc;
    return doc;
}

bool BothListed(const QString& a, const QString& b)
{
    return DefaultDoc().BothListed(a, b);
}

}  // namespace

class tst_SheetLayout : public QObject {
    Q_OBJECT
private slots:
    void marginPixels()
    {
        QCOMPARE(MarginPixels(20, 600), 472);
        QCOMPARE(MarginPixels(15, 1200), 708);
        QCOMPARE(MarginPixels(0, 600), 0);
        // A stored margin beyond any paper stays a number far outside it.
        QVERIFY(MarginPixels(1e15, 1200) > 1000000);
        QVERIFY(MarginPixels(-1e15, 1200) < -1000000);
        DeviceCaps caps{4800, 3300, 600, 600, 5000, 3500, 100, 100};
        const MarginSets sets = ComputeMargins(caps, 20, 15, 15, 15);
        QCOMPARE(sets.normal.left, 354 - 100);
        QCOMPARE(sets.normal.top, 472 - 100);
        QCOMPARE(sets.normal.right, 5000 - 100 - 354);
        QCOMPARE(sets.normal.bottom, 3500 - 100 - 354);
        QCOMPARE(sets.swapped.top, 354 - 100);
        QCOMPARE(sets.swapped.bottom, 3500 - 100 - 472);
        QVERIFY(!MarginsOutsidePrintable(sets, caps, true));
        const MarginSets tight = ComputeMargins(caps, 2, 15, 15, 15);
        QVERIFY(MarginsOutsidePrintable(tight, caps, false));
        // Paper printable to its bottom edge, a 2 mm bottom margin: only the
        // swapped set falls outside, and it counts when margins swap.
        const DeviceCaps open{4800, 3400, 600, 600, 5000, 3500, 100, 100};
        const MarginSets bottomTight = ComputeMargins(open, 20, 2, 15, 15);
        QVERIFY(!MarginsOutsidePrintable(bottomTight, open, false));
        QVERIFY(MarginsOutsidePrintable(bottomTight, open, true));
    }

    void assembleSheets_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QList<int>>("pages");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("sheets");
        const QStringList three{"f1.nc", "f2.nc", "f3.nc"};
        QTest::newRow("new sheet per file") << 0 << three << QList<int>{1, 2, 1} << 1 << "1:1 | 2:1 2:2 | 3:1";
        QTest::newRow("always share") << 2 << three << QList<int>{1, 2, 1} << 1 << "1:1 2:1 | 2:2 3:1";
        QTest::newRow("share by extension")
            << 1 << QStringList{"A.cnc", "A.nc", "B.nc"} << QList<int>{1, 1, 1} << 1 << "1:1 2:1 | 3:1";
        QTest::newRow("unlisted extension breaks")
            << 1 << QStringList{"A.cnc", "A.bak"} << QList<int>{1, 1} << 1 << "1:1 | 2:1";
        QTest::newRow("empty file still takes a sheet")
            << 0 << three << QList<int>{1, 0, 1} << 1 << "1:1 |  | 3:1";
        QTest::newRow("full sheet, next file starts anew")
            << 2 << three << QList<int>{2, 1, 3} << 1 << "1:1 1:2 | 2:1 3:1 | 3:2 3:3";
        QTest::newRow("two by two, down then across")
            << 0 << QStringList{"a.nc"} << QList<int>{5} << 2 << "1:1 1:2 1:3 1:4 | 1:5";
    }
    void assembleSheets()
    {
        QFETCH(int, option);
        QFETCH(QStringList, names);
        QFETCH(QList<int>, pages);
        QFETCH(int, rows);
        QFETCH(QString, sheets);
        std::vector<SheetFile> files;
        for (int i = 0; i < names.size(); ++i) {
            const PrintJob job(names[i]);
            files.push_back({pages[i], job.BaseName(), job.Extension()});
        }
        QCOMPARE(Describe(AssembleSheets(files, Grid(rows, 2, option), BothListed)), sheets);
    }

    void slotPositionsAndNeighbours()
    {
        SheetGrid grid = Grid(2, 2, 0);
        grid.swapMargins = true;
        const std::vector<Sheet> sheets = AssembleSheets({{6, "a", "nc"}}, grid, BothListed);
        QCOMPARE(sheets.size(), std::size_t(2));
        const std::vector<Slot>& s = sheets[0].places;
        QCOMPARE((QList<int>{s[0].x, s[0].y, s[1].x, s[1].y, s[2].x, s[2].y, s[3].x, s[3].y}),
                 (QList<int>{10, 20, 10, 100, 110, 20, 110, 100}));
        QCOMPARE((QList<bool>{s[0].leftNeighbour, s[1].leftNeighbour, s[2].leftNeighbour, s[3].leftNeighbour}),
                 (QList<bool>{false, false, true, true}));
        QCOMPARE((QList<bool>{s[0].topNeighbour, s[1].topNeighbour, s[2].topNeighbour, s[3].topNeighbour}),
                 (QList<bool>{false, true, false, true}));
        // The even sheet takes the swapped margins.
        QCOMPARE(sheets[1].places[0].y, 5);
    }

    void pageMapping_data()
    {
        QTest::addColumn<bool>("odd");
        QTest::addColumn<bool>("even");
        QTest::addColumn<bool>("reverse");
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("sheets");
        QTest::newRow("both") << true << true << false << 5 << QList<int>{1, 2, 3, 4, 5};
        QTest::newRow("both reversed") << true << true << true << 5 << QList<int>{5, 4, 3, 2, 1};
        QTest::newRow("odd only") << true << false << false << 3 << QList<int>{1, 3, 5};
        QTest::newRow("even only reversed") << false << true << true << 2 << QList<int>{4, 2};
        QTest::newRow("neither") << false << false << false << 0 << QList<int>{};
    }
    void pageMapping()
    {
        QFETCH(bool, odd);
        QFETCH(bool, even);
        QFETCH(bool, reverse);
        QFETCH(int, count);
        QFETCH(QList<int>, sheets);
        const int n = PrintedPageCount(5, odd, even);
        QCOMPARE(n, count);
        QList<int> shown;
        for (int a = 1; a <= n; ++a)
            shown << SheetForPage(a, n, odd, even, reverse);
        QCOMPARE(shown, sheets);
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("print");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("print two") << QStringList{"/p", "a.nc", "b.nc"} << true << QStringList{"a.nc", "b.nc"};
        QTest::newRow("capital P") << QStringList{"/P", "a.nc"} << true << QStringList{"a.nc"};
        QTest::newRow("dash print") << QStringList{"-print", "a.nc"} << true << QStringList{"a.nc"};
        QTest::newRow("PRINT is no switch") << QStringList{"/PRINT", "a.nc"} << false << QStringList{"a.nc"};
        QTest::newRow("unknown switch ignored") << QStringList{"/x", "a.nc", "-big"} << false << QStringList{"a.nc"};
        QTest::newRow("dde") << QStringList{"/dde"} << false << QStringList{};
        QTest::newRow("absolute path") << QStringList{"/p", "/home/u/a.nc", "/tmp/missing.nc"} << true
                                       << QStringList{"/home/u/a.nc", "/tmp/missing.nc"};
        QTest::newRow("switch-like name of a file") << QStringList{"-existing"} << false
                                                    << QStringList{"-existing"};
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, print);
        QFETCH(QStringList, files);
        const PrintCommandLineInfo info =
            ParsePrintCommandLine(arguments, [](const QString& path) { return path == QStringLiteral("-existing"); });
        QCOMPARE(info.printAndExit, print);
        QCOMPARE(info.files, files);
    }

    void fileOrder_data()
    {
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("listed extensions in list order")
            << QStringList{"A.nc", "A.cnc", "A.txt"} << QStringList{"A.cnc", "A.nc", "A.txt"};
        QTest::newRow("unlisted after listed, by name")
            << QStringList{"A.zzz", "A.nc", "A.bak", "A.cnc", "A.txt"}
            << QStringList{"A.cnc", "A.nc", "A.txt", "A.bak", "A.zzz"};
        QTest::newRow("base name first") << QStringList{"B.c", "A.zzz", "A.c"} << QStringList{"A.c", "A.zzz", "B.c"};
        QTest::newRow("same name twice, folders decide")
            << QStringList{"/y/A.nc", "/x/A.nc", "/y/A.nc"} << QStringList{"/x/A.nc", "/y/A.nc", "/y/A.nc"};
    }
    void fileOrder()
    {
        QFETCH(QStringList, paths);
        QFETCH(QStringList, sorted);
        std::vector<std::unique_ptr<PrintJob>> jobs;
        for (const QString& path : paths)
            jobs.push_back(std::make_unique<PrintJob>(path));
        QCollator collator;
        std::stable_sort(jobs.begin(), jobs.end(), [&](const auto& a, const auto& b) {
            return CompareFiles(*a, *b, DefaultDoc(), collator) < 0;
        });
        QStringList result;
        for (const auto& job : jobs)
            result << job->FullPath();
        QCOMPARE(result, sorted);
    }
};

REGISTER_TEST(tst_SheetLayout);
#include "tst_SheetLayout.moc"
