// Error codes as the container sees them: number and text.

#include "editctl/engine/ZuErrors.h"
#include "support/TestRegistry.h"

#include <QTest>
#include <cerrno>
#include <set>

class ZuErrorsTests : public QObject {
    Q_OBJECT
private slots:
    void automationError_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("line length") << 0x7004 << 1000 << "Maximum allowable line length exceeded.";
        QTest::newRow("rtf") << 0x700F << 1000 << "Could not parse RTF file.";
        QTest::newRow("bad parameter") << 0x7006 << 1000 << "Bad parameter value.";
        QTest::newRow("spelling kept") << 0x7005 << 1000 << "Enviroment variable not found.";
        QTest::newRow("unknown engine code") << 0x700B << 1000 << "Unknown error.";
        QTest::newRow("data damage") << 0x700A << 1000 << "Unrecoverable error - possible data damage.";
        QTest::newRow("out of memory") << 12 << 7 << "Not Enough Memory.";
        QTest::newRow("file not found") << ENOENT << 1000 << "No Files Found.";
        QTest::newRow("disk full is not 'no files'") << ENOSPC << 1000 << "Disk full.";
        QTest::newRow("code nobody knows") << 0x7FFF << 1000 << "Unknown Error.";
        QTest::newRow("success code") << 0 << 1000 << "Unknown Error.";
    }
    void automationError()
    {
        QFETCH(int, code);
        const ZuAutomationError error = AutomationError(code);
        QTEST(error.number, "number");
        QTEST(QString::fromStdString(error.text), "text");
    }

    void tablesCoverEveryEngineCodeOnce()
    {
        std::set<int> codes;
        for (const ZuErrorText& entry : ErrorTableOne())
            codes.insert(entry.code);
        QCOMPARE(codes.size(), std::size_t(17));
        QCOMPARE(*codes.begin(), 0x7000);
        QCOMPARE(*codes.rbegin(), 0x7010);
        // Table two starts with its fallback entry, then the seventeen codes with
        // consecutive automation codes.
        const auto two = ErrorTableTwo();
        QCOMPARE(two[0].automationCode, 0x800A03E8u);
        for (int i = 0; i < 17; ++i) {
            QCOMPARE(two[1 + i].code, 0x7000 + i);
            QCOMPARE(two[1 + i].automationCode, 0x800A03E9u + unsigned(i));
        }
        QCOMPARE(QString(UnknownErrorFormat).size(), 21);
    }
};

REGISTER_TEST(ZuErrorsTests);
#include "ZuErrorsTests.moc"
