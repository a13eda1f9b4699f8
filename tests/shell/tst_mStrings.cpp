#include "support/TestRegistry.h"
#include "shell/mStrings.h"

#include <QTest>

class TestStrings : public QObject {
    Q_OBJECT
private slots:
    void replaceString_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("expected");
        QTest::newRow("bars to NUL") << "a|b|" << "|" << QString(QChar(0)) << 0
                                     << QStringLiteral("a%1b%1").arg(QChar(0));
        QTest::newRow("ignoring case") << "AbAB" << "ab" << "x" << 1 << "xx";
        QTest::newRow("exact case") << "AbAB" << "ab" << "x" << 0 << "AbAB";
        QTest::newRow("replacement holds find") << "aa" << "a" << "aa" << 0 << "aaaa";
        QTest::newRow("not found") << "abc" << "z" << "y" << 0 << "abc";
        QTest::newRow("empty find changes nothing") << "abc" << "" << "y" << 0 << "abc";
    }
    void replaceString()
    {
        QFETCH(QString, text);
        QFETCH(QString, find);
        QFETCH(QString, replacement);
        QFETCH(int, mode);
        QFETCH(QString, expected);
        QCOMPARE(ReplaceString(text, find, replacement, mode), expected);
    }

    void inStrLast_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("find");
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("expected");
        // An occurrence at the limit (with -1: the last character) does not count.
        QTest::newRow("trailing backslash") << "C:\\NC\\" << "\\" << -1 << 3;
        QTest::newRow("backslash before name") << "C:\\NC\\A" << "\\" << -1 << 6;
        QTest::newRow("none") << "abc" << "z" << -1 << 0;
        QTest::newRow("limit cuts") << "a.b.c.d" << "." << 4 << 2;
    }
    void inStrLast()
    {
        QFETCH(QString, text);
        QFETCH(QString, find);
        QFETCH(int, limit);
        QFETCH(int, expected);
        QCOMPARE(InStrLast(text, find, limit), expected);
    }

    void splitToArray_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("delimiter");
        QTest::addColumn<QStringList>("expected");
        const QString nul(QChar(0));
        QTest::newRow("multi-selection") << QStringLiteral("C:\\NC%1A.NC%1B.NC").arg(nul) << nul
                                         << QStringList{"C:\\NC", "A.NC", "B.NC"};
        QTest::newRow("empty item") << "a,,b" << "," << QStringList{"a", "", "b"};
        QTest::newRow("two") << "a,b" << "," << QStringList{"a", "b"};
        QTest::newRow("one") << "x" << "," << QStringList{"x"};
        QTest::newRow("trailing delimiter") << "a," << "," << QStringList{"a"};
        QTest::newRow("empty text") << "" << "," << QStringList{};
        QTest::newRow("empty delimiter") << "abc" << "" << QStringList{"abc"};
    }
    void splitToArray()
    {
        QFETCH(QString, text);
        QFETCH(QString, delimiter);
        QFETCH(QStringList, expected);
        QCOMPARE(SplitToArray(text, delimiter), expected);
    }

    void splitToArrayHasNoItemLimit()
    {
        QStringList items;
        for (int i = 0; i < 250; ++i)
            items.append(QString::number(i));
        QCOMPARE(SplitToArray(items.join(QLatin1Char(';')), QStringLiteral(";")), items);
    }

    void removeAllOf()
    {
        QCOMPARE(RemoveAllOf(QStringLiteral("1,234,5"), QStringLiteral(",")), QStringLiteral("12345"));
        QCOMPARE(RemoveAllOf(QStringLiteral("abc"), QStringLiteral(",")), QStringLiteral("abc"));
    }
};

REGISTER_TEST(TestStrings);
#include "tst_mStrings.moc"
