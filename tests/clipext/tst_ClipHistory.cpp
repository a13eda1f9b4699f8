// The history ring and its entries, without a window.

#include "clipext/ClipHistory.h"
#include "clipext/ClipText.h"

#include "support/TestRegistry.h"

#include <QTest>

using namespace clipext;

namespace {

ClipBlock Text(const QByteArray& text)
{
    return {CF_TEXT, text + '\0'};
}

// The titles of the rows, top down, joined by "|"; fails the test when the
// orders are not a permutation of 1..N with the used entries lowest.
QString Rows(ClipHistory& history)
{
    const int n = history.NumberOfLines();
    std::vector<bool> seen(static_cast<size_t>(n) + 1, false);
    int used = 0;
    for (int i = 0; i < n; ++i) {
        const int order = history.Entry(i).Order();
        if (order < 1 || order > n || seen[static_cast<size_t>(order)])
            return QStringLiteral("bad orders");
        seen[static_cast<size_t>(order)] = true;
        used += history.Entry(i).Used() ? 1 : 0;
    }
    for (int i = 0; i < n; ++i)
        if (history.Entry(i).Used() != (history.Entry(i).Order() <= used))
            return QStringLiteral("unused entry above a used one");
    QStringList titles;
    for (const int index : history.Rows())
        titles.append(history.Entry(index).RenderString());
    return titles.join(u'|');
}

// Runs operations written as words: "+x" captures text x, "-r" deletes row
// r, "^r" / "vr" move row r up / down, "c" clears, "r=T" renames row r to
// T, "#n" resizes the ring to n.
void Run(ClipHistory& history, const QString& operations)
{
    for (const QString& op : operations.split(u' ', Qt::SkipEmptyParts)) {
        const QString arg = op.mid(1);
        switch (op[0].unicode()) {
        case '+': history.Capture({Text(arg.toUtf8())}); break;
        case '-': history.Delete(arg.toInt()); break;
        case '^': history.MoveUp(arg.toInt()); break;
        case 'v': history.MoveDown(arg.toInt()); break;
        case 'c': history.Clear(); break;
        case '#': history.NumberOfLines(arg.toInt()); break;
        case 'r': {
            const QStringList parts = arg.split(u'=');
            history.Rename(parts[0].toInt(), parts.value(1));
            break;
        }
        default: QFAIL(qPrintable(QStringLiteral("unknown operation ") + op));
        }
    }
}

}  // namespace

class TestClipHistory : public QObject {
    Q_OBJECT
private slots:
    void operations_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("operations");
        QTest::addColumn<QString>("rows");
        QTest::newRow("newest first") << 3 << "+a +b" << "b|a";
        QTest::newRow("oldest goes when full") << 3 << "+a +b +c +d" << "d|c|b";
        QTest::newRow("ring of one") << 1 << "+a +b" << "b";
        QTest::newRow("delete middle") << 3 << "+a +b +c +d -1" << "d|b";
        QTest::newRow("capture after delete") << 3 << "+a +b +c +d -1 +e" << "e|d|b";
        QTest::newRow("delete last row of a full ring") << 3 << "+a +b +c -2 +d" << "d|c|b";
        QTest::newRow("delete past the rows") << 3 << "+a -1 -5 --1" << "a";
        QTest::newRow("move up") << 3 << "+a +b +c ^2" << "c|a|b";
        QTest::newRow("move up on top row") << 3 << "+a +b ^0" << "b|a";
        QTest::newRow("move down") << 3 << "+a +b +c v0" << "b|c|a";
        QTest::newRow("move down on last row") << 3 << "+a +b v1" << "b|a";
        QTest::newRow("move down onto an unused slot") << 4 << "+a +b v1" << "b|a";
        QTest::newRow("clear") << 3 << "+a +b c" << "";
        QTest::newRow("clear then capture") << 3 << "+a +b c +x" << "x";
        QTest::newRow("rename") << 3 << "+a +b r1=first" << "b|first";
        QTest::newRow("rename to nothing") << 3 << "+a r0=" << "a";
        QTest::newRow("rename without a row") << 3 << "+a r3=x" << "a";
        QTest::newRow("shrink keeps the newest") << 5 << "+a +b +c +d #2" << "d|c";
        QTest::newRow("shrink, then the ring goes on") << 5 << "+a +b +c +d #2 +e" << "e|d";
        QTest::newRow("shrink after moves") << 4 << "+a +b +c +d v0 #2 +e" << "e|c";
        QTest::newRow("grow") << 2 << "+a +b #4 +c +d" << "d|c|b|a";
    }
    void operations()
    {
        QFETCH(int, size);
        QFETCH(QString, operations);
        QFETCH(QString, rows);
        ClipHistory history(size);
        Run(history, operations);
        QCOMPARE(Rows(history), rows);
    }

    void captureOfNothingStoredKeepsTheRing()
    {
        ClipHistory history(2);
        Run(history, QStringLiteral("+a +b"));
        QCOMPARE(history.Capture({}), -1);
        QCOMPARE(history.Capture({{CF_TEXT, QByteArray()}, {RtfFormat, QByteArray()}}), -1);
        QCOMPARE(Rows(history), QStringLiteral("b|a"));
    }

    void reusedSlotStartsEmpty()
    {
        ClipHistory history(1);
        const int first = history.Capture({Text("old"), {RtfFormat, "{\\rtf1 old}"}});
        history.Entry(first).RenderString(QStringLiteral("named"));
        const int second = history.Capture({Text("new")});
        QCOMPARE(second, first);
        QCOMPARE(history.Entry(second).FormatCount(), 1);
        QCOMPARE(history.Entry(second).RenderString(), QStringLiteral("new"));
    }

    void ringSize_data()
    {
        QTest::addColumn<bool>("keyExists");
        QTest::addColumn<qint64>("stored");  // -1: no value
        QTest::addColumn<int>("size");
        QTest::newRow("no key") << false << qint64(40) << 15;
        QTest::newRow("no value") << true << qint64(-1) << 10;
        QTest::newRow("zero") << true << qint64(0) << 10;
        QTest::newRow("negative") << true << qint64(-7) << 10;
        QTest::newRow("one") << true << qint64(1) << 1;
        QTest::newRow("stored") << true << qint64(33) << 33;
        QTest::newRow("too many") << true << qint64(600) << 512;
    }
    void ringSize()
    {
        QFETCH(bool, keyExists);
        QFETCH(qint64, stored);
        QFETCH(int, size);
        const std::optional<qint64> value = stored == -1 ? std::nullopt : std::optional<qint64>(stored);
        QCOMPARE(ClipHistory::RingSize(keyExists, value), size);
    }

    void titles_data()
    {
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<QString>("title");
        QTest::newRow("first line") << QByteArray("A\r\nB") << "A";
        QTest::newRow("only breaks and tabs") << QByteArray("\r\n\t\r\n") << "...";
        QTest::newRow("leading blank lines") << QByteArray("\r\n  G01 X1\r\nG02") << "  G01 X1";
        QTest::newRow("long line") << QByteArray(600, 'x') << QString(512, u'x');
        QTest::newRow("cut at NUL") << QByteArray("ab\0cd", 5) << "ab";
        QTest::newRow("UTF-8") << QByteArray("\xc3\x98" "10 Bohrung") << QString::fromUtf8("\xc3\x98" "10 Bohrung");
        QTest::newRow("Windows-1252") << QByteArray("\xd8" "10 \x80") << QString::fromUtf8("\xc3\x98" "10 \xe2\x82\xac");
    }
    void titles()
    {
        QFETCH(QByteArray, block);
        QFETCH(QString, title);
        cClipboardCache entry;
        entry.CacheItem(block, CF_TEXT);
        QCOMPARE(entry.RenderString(), title);
    }

    void titleOfOtherFormats()
    {
        cClipboardCache entry;
        QCOMPARE(entry.RenderString(), QString());
        entry.CacheItem("{\\rtf1 x}", RtfFormat);
        QCOMPARE(entry.RenderString(), QStringLiteral("Clipboard Data"));

        cClipboardCache unicode;
        unicode.CacheItem(QByteArray("G\0" "0\0" "1\0\0\0", 8), CF_UNICODETEXT);
        QCOMPARE(unicode.RenderString(), QStringLiteral("G01"));
    }

    void cacheItemReplacesInPlace()
    {
        cClipboardCache entry;
        entry.CacheItem("a", CF_TEXT);
        entry.CacheItem("{r}", RtfFormat);
        entry.CacheItem("b", CF_TEXT);
        entry.CacheItem(QByteArray(), HtmlFormat);
        QCOMPARE(entry.FormatCount(), 2);
        QCOMPARE(entry.FormatAt(1), CF_TEXT);
        QCOMPARE(entry.BlockAt(1), QByteArray("b"));
        QCOMPARE(entry.IndexOfFormat({CF_TEXT, RtfFormat}), 2);
        QCOMPARE(entry.IndexOfFormat({HtmlFormat}), 0);
    }

    void fileNames_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("name");
        QTest::newRow("punctuation") << "O1000 (PART: A.1)" << "O1000 (PART A1)";
        QTest::newRow("all removed") << "$.,\"'?&:!=" << "Clipboard Data";
        QTest::newRow("folders") << "../../etc/passwd" << "etcpasswd";
        QTest::newRow("backslashes") << "C:\\NC\\part" << "CNCpart";
        QTest::newRow("control characters") << QString::fromUtf8("a\tb\x7f" "c") << "abc";
    }
    void fileNames()
    {
        QFETCH(QString, title);
        QFETCH(QString, name);
        cClipboardCache entry;
        entry.CacheItem("x", CF_TEXT);
        entry.RenderString(title);
        QCOMPARE(entry.Filename(), name);
    }

    void renameCapsTheTitle()
    {
        ClipHistory history(2);
        Run(history, QStringLiteral("+a"));
        QVERIFY(history.Rename(0, QString(2000, u'T')));
        QCOMPARE(history.Entry(history.EntryAtRow(0)).RenderString().size(), MaxTitleLength);
    }
};

REGISTER_TEST(TestClipHistory);

#include "tst_ClipHistory.moc"
