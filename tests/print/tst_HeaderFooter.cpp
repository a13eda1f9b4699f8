// The header and footer bands as drawn: which texts, where, the gray band
// or the rule, and how long names are cut.

#include "print/HeaderFooter.h"
#include "print/PrintJob.h"
#include "print/PrinterTextMeasurer.h"
#include "print/SheetPainter.h"
#include "PrintTestSupport.h"
#include "RecordingDevice.h"
#include "support/TestRegistry.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace prentil;
using namespace printtest;

namespace {

// A band as a 6000-dot wide virtual page has it, for a file of three pages.
struct BandFixture {
    explicit BandFixture(const QString& name = QStringLiteral("a.nc"))
    {
        const QString folder = dir.filePath(QStringLiteral("programs"));
        QDir().mkpath(folder);
        path = folder + QLatin1Char('/') + name;
        WriteBytes(path, NumberedLines(40));  // 17 lines a page: 3 pages
        fonts = MakePrintFonts(PrintFont(), 133, 6000, &device);
        job = std::make_unique<PrintJob>(path);
        job->Paginate(ComputePageMetrics(FixedTextMeasurer(100, 60, 160), 6000, 1800, false, 0, 0), 4, WrapWords);
    }
    RecordingEngine& Draw(int options, int page, bool footer)
    {
        QPainter painter(&device);
        DrawBand(painter, *job, fonts, band, options, page, footer, QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
        return device.engine;
    }
    const RecordingEngine::Text* Find(const QString& start) const
    {
        for (const RecordingEngine::Text& text : device.engine.texts)
            if (text.text.startsWith(start))
                return &text;
        return nullptr;
    }
    double Width(const QFont& font, const QString& text) { return QFontMetricsF(font, &device).horizontalAdvance(text); }

    QTemporaryDir dir;
    QString path;
    RecordingDevice device;
    PrintFonts fonts;
    std::unique_ptr<PrintJob> job;
    QRect band{1000, 500, 6000, 400};
};

}  // namespace

class tst_HeaderFooter : public QObject {
    Q_OBJECT
private slots:
    void footerWithDatesAndPageText()
    {
        BandFixture f;
        QCOMPARE(f.job->PageCount(), 3);
        RecordingEngine& e = f.Draw(252, 2, true);
        QCOMPARE(e.fills.size(), 0);
        QCOMPARE(e.lines.size(), 1);
        QCOMPARE(e.lines[0].y1(), 500.0);  // the rule along the footer's top
        const auto* printed = f.Find("Printed:");
        const auto* modified = f.Find("Modified:");
        const auto* page = f.Find("Page 2 of 3");
        QVERIFY(printed && modified && page);
        QVERIFY(printed->text.contains(StampTime(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)))));
        const double middle = 1000 + 6000 / 2.0;
        QVERIFY(printed->at.x() < middle - f.Width(f.fonts.regular, printed->text) / 2);
        QVERIFY(modified->at.x() > 1000 + 6000 * 0.35);
        QVERIFY(page->at.x() > modified->at.x() + f.Width(f.fonts.regular, modified->text));
        // One row: all three on the same baseline.
        QCOMPARE(printed->at.y(), page->at.y());
    }

    void headerWithFolderAndNameOnGray()
    {
        BandFixture f;
        RecordingEngine& e = f.Draw(259, 1, false);
        QCOMPARE(e.fills.size(), 1);
        QCOMPARE(e.fills[0].rect, QRectF(f.band));
        QCOMPARE(e.fills[0].color, QColor(230, 230, 230));
        QVERIFY(e.lines.isEmpty());
        const auto* folder = f.Find(f.dir.path());
        const auto* name = f.Find("a.nc");
        QVERIFY(folder && name);
        QCOMPARE(folder->text, f.dir.filePath("programs") + "/");
        // The pair is centred: the folder ends where the name starts.
        QVERIFY(qAbs(folder->at.x() + f.Width(f.fonts.narrow, folder->text) - name->at.x()) < 3);
        const double left = folder->at.x() - 1000 - 60;
        const double right = 1000 + 6000 - 60 - (name->at.x() + f.Width(f.fonts.bold, "a.nc"));
        QVERIFY2(qAbs(left - right) < 4, qPrintable(QStringLiteral("%1 %2").arg(left).arg(right)));
    }

    void pageTextVariants_data()
    {
        QTest::addColumn<int>("options");
        QTest::addColumn<QString>("text");
        QTest::newRow("pages total alone") << 0x08 << "Page of 3";
        QTest::newRow("page number alone") << 0x04 << "Page 2";
        QTest::newRow("with the name") << (0x01 | 0x0C) << "Page 2 of 3";
    }
    void pageTextVariants()
    {
        QFETCH(int, options);
        QFETCH(QString, text);
        BandFixture f;
        f.Draw(options, 2, false);
        QVERIFY(f.Find(text) != nullptr);
        QCOMPARE(f.device.engine.lines.size(), 1);
        QCOMPARE(f.device.engine.lines[0].y1(), 900.0);  // the rule along the header's bottom
    }

    void longNamesAreCut()
    {
        BandFixture f(QString(300, QLatin1Char('n')) + QStringLiteral(".nc"));
        RecordingEngine& e = f.Draw(0x03, 1, false);
        QCOMPARE(e.texts.size(), 2);
        const RecordingEngine::Text& folder = e.texts[0];
        const RecordingEngine::Text& name = e.texts[1];
        QVERIFY2(name.text.endsWith(QChar(0x2026)), qPrintable(name.text));
        const double row = 6000 - 2 * 60;
        QVERIFY(f.Width(f.fonts.bold, name.text) <= row * 4 / 5 + 1);
        QVERIFY(folder.at.x() < name.at.x());
        QVERIFY(folder.text.contains(QStringLiteral("...")) || folder.text.startsWith(QChar(0x2026))
                || f.Width(f.fonts.narrow, folder.text) <= row / 5 + 1);
    }

    void pathEllipsisKeepsBothEnds()
    {
        RecordingDevice device;
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(100);
        const QFontMetrics metrics(font, &device);
        const QString path = QStringLiteral("/home/user/programs/mill/2024/march/");
        QCOMPARE(PathEllipsis(path, metrics, 100000), path);
        const QString cut = PathEllipsis(path, metrics, metrics.horizontalAdvance(path) * 2 / 3);
        QVERIFY2(cut.startsWith(QStringLiteral("/home/...")), qPrintable(cut));
        QVERIFY(cut.endsWith(QStringLiteral("march/")));
        QVERIFY(metrics.horizontalAdvance(cut) <= metrics.horizontalAdvance(path) * 2 / 3);
    }

    void noFieldsNoBand()
    {
        QCOMPARE(BandHeight(0x100, 50), 0);
        // Nothing of a band without fields reaches the page.
        BandFixture f;
        const PageMetrics m = ComputePageMetrics(FixedTextMeasurer(100, 60, 160), 6000, 1800, false, 0x100, 0x100);
        QCOMPARE(m.headerBand, 0);
        QCOMPARE(m.footerBand, 0);
    }
};

REGISTER_TEST(tst_HeaderFooter);
#include "tst_HeaderFooter.moc"
