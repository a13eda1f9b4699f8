// The progress bar painter rendered into images: block and gap columns,
// the bar's extent and rounding, the two caption colours, borders, tiling,
// and when it repaints.

#include "support/TestRegistry.h"

#include "shell/cProgressBar.h"
#include "shell/pcMemDC.h"

#include <QPainter>
#include <QSignalSpy>
#include <QStyle>
#include <QWidget>
#include <QTest>
#include <limits>

namespace {

constexpr quint32 White = 0xFFFFFF;
constexpr quint32 Red = 0x0000FF;     // red in the low byte
constexpr quint32 Blue = 0xFF0000;
constexpr quint32 Yellow = 0x00FFFF;

QImage Render(cProgressBar& bar, int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::green);
    QPainter painter(&image);
    bar.DrawToDC(nullptr, painter, 0, 0, width, height);
    return image;
}

// One letter per column of row y: R red, W white, other colours '.'.
QString Columns(const QImage& image, int y, int from, int to)
{
    QString text;
    for (int x = from; x < to; ++x) {
        const QColor c = image.pixelColor(x, y);
        text += c == QColor(255, 0, 0) ? u'R' : c == QColor(255, 255, 255) ? u'W' : u'.';
    }
    return text;
}

// A plain bar without border: white back, red bar.
void Plain(cProgressBar& bar)
{
    bar.BorderStyle(0);
    bar.BackColor(White);
    bar.BarColor(Red);
}

}  // namespace

class TestcProgressBar : public QObject {
    Q_OBJECT

private slots:
    void defaults()
    {
        cProgressBar bar;
        QCOMPARE(bar.Tag(), QString());
        QVERIFY(!bar.Segments());
        QVERIFY(!bar.XpStyle());
        QCOMPARE(bar.TextAlignX(), 1);
        QCOMPARE(bar.TextAlignY(), 1);
        QVERIFY(!bar.ShowText());
        QCOMPARE(bar.Min(), 0);
        QCOMPARE(bar.Max(), 100);
        QCOMPARE(bar.Value(), 0);
        QCOMPARE(bar.BorderStyle(), 1);
        QCOMPARE(bar.Appearance(), 1);
        QVERIFY(bar.DrawObject() == nullptr);
        QCOMPARE(bar.BackColor(), 0xFFFFFFFFu);
        QCOMPARE(bar.ForeColor(), 0u);
        QCOMPARE(bar.BarColor(), 0xFFFFFFFFu);
        QCOMPARE(bar.BarForeColor(), 0xFFFFFFu);
        QCOMPARE(bar.Font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(bar.Font().pointSize(), 8);
        QCOMPARE(bar.BarPictureMode(), 1);
        QCOMPARE(bar.BackPictureMode(), 1);
        QCOMPARE(bar.Percent(), 0.0);
    }

    void segmentsAreBlocksOfEightWithGapsOfTwo()
    {
        cProgressBar bar;
        Plain(bar);
        bar.Segments(true);
        bar.Value(55);
        const QImage image = Render(bar, 100, 20);
        const QString blocks = QStringLiteral("RRRRRRRRWW").repeated(5) + QString(50, u'W');
        QCOMPARE(Columns(image, 10, 0, 100), blocks);
        QCOMPARE(Columns(image, 0, 0, 100), blocks);
        QCOMPARE(Columns(image, 19, 0, 100), blocks);

        // With a thin sunken border the same blocks sit one pixel in.
        bar.BorderStyle(1);
        const QImage framed = Render(bar, 102, 22);
        QCOMPARE(Columns(framed, 11, 1, 101), blocks);
        QVERIFY(framed.pixelColor(0, 11) != QColor(255, 0, 0));
    }

    void barExtentAndRounding_data()
    {
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("length");
        QTest::addColumn<double>("percent");
        QTest::newRow("quarter of 10: 2.5 rounds to 2") << 0 << 100 << 25 << 2 << 25.0;
        QTest::newRow("0.35 of 10: 3.5 rounds to 4") << 0 << 100 << 35 << 4 << 35.0;
        QTest::newRow("below Min: empty") << 0 << 100 << -5 << 0 << 0.0;
        QTest::newRow("above Max: full") << 0 << 100 << 150 << 10 << 100.0;
        QTest::newRow("Max equal to Min: empty, no error") << 7 << 7 << 7 << 0 << 0.0;
        QTest::newRow("range wider than 32 bits") << std::numeric_limits<int>::min()
                                                  << std::numeric_limits<int>::max() << 0 << 5 << 50.0;
    }
    void barExtentAndRounding()
    {
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, value);
        QFETCH(int, length);
        QFETCH(double, percent);
        cProgressBar bar;
        Plain(bar);
        bar.Min(minimum);
        bar.Max(maximum);
        bar.Value(value);
        QVERIFY(qAbs(bar.Percent() - percent) < 1e-6);
        const QImage image = Render(bar, 10, 4);
        QCOMPARE(Columns(image, 2, 0, 10), QString(length, u'R') + QString(10 - length, u'W'));
    }

    void squareOrTallAreaFillsFromTheBottom()
    {
        cProgressBar bar;
        Plain(bar);
        bar.Value(40);
        const QImage image = Render(bar, 30, 30);
        // 30 x 0.6 = 18: rows 0 to 17 empty, 18 to 29 the bar.
        QCOMPARE(image.pixelColor(15, 17), QColor(255, 255, 255));
        QCOMPARE(image.pixelColor(15, 18), QColor(255, 0, 0));
        QCOMPARE(image.pixelColor(15, 29), QColor(255, 0, 0));
    }

    void captionChangesColourUnderTheBar()
    {
        cProgressBar bar;
        Plain(bar);
        bar.Font(QFont(QStringLiteral("DejaVu Sans"), 14, QFont::Black));
        bar.ForeColor(Blue);
        bar.BarForeColor(Yellow);
        bar.Text(QStringLiteral("MMMMMMMM"));
        bar.ShowText(true);
        bar.Value(50);
        const QImage image = Render(bar, 200, 30);
        int yellowLeft = 0, blueLeft = 0, yellowRight = 0, blueRight = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 200; ++x) {
                const QColor c = image.pixelColor(x, y);
                const bool yellow = c.red() > 128 && c.green() > 128 && c.blue() < 100;
                const bool blue = c.blue() > 128 && c.red() < 100 && c.green() < 100;
                (x < 100 ? yellowLeft : yellowRight) += yellow;
                (x < 100 ? blueLeft : blueRight) += blue;
            }
        QVERIFY(yellowLeft > 20);
        QCOMPARE(blueLeft, 0);
        QVERIFY(blueRight > 20);
        QCOMPARE(yellowRight, 0);
    }

    void flatBorderIsABlackOutline()
    {
        cProgressBar bar;
        bar.BackColor(White);
        bar.BarColor(Red);
        bar.Appearance(0);
        bar.Value(100);
        const QImage image = Render(bar, 40, 10);
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::black));
        QCOMPARE(image.pixelColor(39, 9), QColor(Qt::black));
        QCOMPARE(image.pixelColor(20, 0), QColor(Qt::black));
        QCOMPARE(image.pixelColor(1, 1), QColor(255, 0, 0));
        QCOMPARE(image.pixelColor(38, 8), QColor(255, 0, 0));
    }

    void picturesTileOverTheArea()
    {
        QImage source(3, 2, QImage::Format_ARGB32);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                source.setPixelColor(x, y, QColor(40 * x, 100 * y, 7));
        QImage target(7, 5, QImage::Format_ARGB32);
        target.fill(Qt::black);
        {
            QPainter painter(&target);
            cProgressBar::TileBitmap(painter, 0, 0, 7, 5, source, 3, 2, 1, 1);
        }
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                QCOMPARE(target.pixelColor(x, y), source.pixelColor((x + 1) % 3, (y + 1) % 2));

        // As the bar's picture it shows only under the bar.
        cProgressBar bar;
        Plain(bar);
        bar.BarPicture(source);
        bar.Value(50);
        const QImage image = Render(bar, 20, 4);
        QCOMPARE(image.pixelColor(4, 1), source.pixelColor(1, 1));
        QCOMPARE(image.pixelColor(14, 1), QColor(255, 255, 255));
    }

    void styledBarEndsOnAWholeChunk()
    {
        QWidget source;
        const int chunk = source.style()->pixelMetric(QStyle::PM_ProgressBarChunkWidth, nullptr, &source);
        if (chunk <= 0)
            QSKIP("the style has no chunk size: the bar is painted plain");
        cProgressBar bar;
        bar.XpStyle(true);
        bar.Value(55);
        QImage image(102, 22, QImage::Format_ARGB32);
        image.fill(Qt::green);
        {
            QPainter painter(&image);
            bar.DrawToDC(&source, painter, 0, 0, 102, 22);
        }
        // Inside a one-pixel frame: 55 of 100 pixels, cut to whole chunks.
        const int end = 1 + 55 - 55 % chunk;
        QVERIFY(image.pixelColor(end - 2, 11) != image.pixelColor(90, 11));
        QCOMPARE(image.pixelColor(end + 1, 11), image.pixelColor(90, 11));
        QVERIFY(image.pixelColor(50, 11) != QColor(Qt::green));  // all of it painted
    }

    void repaintsOnEverySetterButTag()
    {
        QWidget window;
        window.resize(120, 16);
        cProgressBar bar;
        QSignalSpy painted(&bar, &cProgressBar::Painted);
        bar.Value(30);  // no DrawObject: nothing to paint on
        bar.Draw();
        QCOMPARE(painted.size(), 0);
        bar.DrawObject(&window);
        QCOMPARE(painted.size(), 1);
        bar.Tag(QStringLiteral("job"));
        QCOMPARE(painted.size(), 1);
        bar.Value(60);
        QCOMPARE(painted.size(), 2);
        bar.BarColor(Red);
        bar.BorderStyle(0);
        bar.BackColor(White);
        QCOMPARE(painted.size(), 5);
        // The window shows what was painted.
        const QImage shown = window.grab().toImage();
        QCOMPARE(shown.pixelColor(10, 8), QColor(255, 0, 0));
        QCOMPARE(shown.pixelColor(100, 8), QColor(255, 255, 255));
    }

    void surfaceGrowsOnlyWhenAsked()
    {
        pcMemDC surface;
        QVERIFY(surface.hDC(0, 10) == nullptr);
        QVERIFY(surface.hDC(100, 50) != nullptr);
        QCOMPARE(QSize(surface.Width(), surface.Height()), QSize(100, 50));
        surface.hDC(80, 40);  // smaller: kept
        QCOMPARE(QSize(surface.Width(), surface.Height()), QSize(100, 50));
        surface.hDC(200, 20);  // wider: made anew at exactly that size
        QCOMPARE(QSize(surface.Width(), surface.Height()), QSize(200, 20));
        QImage picture(5, 3, QImage::Format_ARGB32);
        picture.fill(Qt::red);
        pcMemDC copy;
        copy.CreateFromPicture(picture);
        QCOMPARE(QSize(copy.Width(), copy.Height()), QSize(5, 3));
        QCOMPARE(copy.Surface().pixelColor(4, 2), QColor(Qt::red));
    }
};

REGISTER_TEST(TestcProgressBar);
#include "tst_cProgressBar.moc"
