
#include "customise/MacroFiles.h"
#include "platform/forms/ScriptedAnswers.h"
#include "shell/MEditor.h"
#include "shell/MIni.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include "support/TestRegistry.h"

class TestMacroFiles : public QObject {
    Q_OBJECT
private:
    QTemporaryDir folder_;

    void WriteMacroIni(const QByteArray& bytes)
    {
        MacroIniFile = QDir(folder_.path()).filePath(QStringLiteral("Macro.ini"));
        QFile file(MacroIniFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private slots:
    void init()
    {
        Macronumber = 0;
        MacroDescriptions = {};
    }

    void loadMacroList_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("descriptions");
        QTest::newRow("two of three") << QByteArray("[Macros]\r\nMacronumber=2\r\nMacro1=Drill\r\nMacro2=Tap\r\n"
                                                    "Macro3=Bore\r\n")
                                      << 2 << QStringList{"Drill", "Tap"};
        QTest::newRow("none") << QByteArray("[Macros]\r\nMacronumber=0\r\nMacro1=Drill\r\n") << 0 << QStringList{};
        QTest::newRow("default file") << QByteArray("[Macros]\r\nMacronumber=1\r\nMacro1= \r\nMacro2= \r\n") << 1
                                      << QStringList{""};
        QTest::newRow("negative") << QByteArray("[macros]\r\nmacronumber=-1\r\n") << 0 << QStringList{};
    }
    void loadMacroList()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, count);
        QFETCH(QStringList, descriptions);
        WriteMacroIni(file);
        platform::ScriptedAnswers answers;
        LoadMacroList();
        QCOMPARE(answers.msgBoxes().size(), 0);
        QCOMPARE(Macronumber, count);
        for (int k = 0; k < MaxMacros; ++k)
            QCOMPARE(MacroDescriptions[static_cast<size_t>(k)], descriptions.value(k));
    }

    void keepsAtMostTenMacros()
    {
        QByteArray file = "[Macros]\r\nMacronumber=12\r\n";
        for (int k = 1; k <= 12; ++k)
            file += "Macro" + QByteArray::number(k) + "=m" + QByteArray::number(k) + "\r\n";
        WriteMacroIni(file);
        LoadMacroList();
        QCOMPARE(Macronumber, 10);
        QCOMPARE(MacroDescriptions[9], QStringLiteral("m10"));
    }

    void badCountIsReportedAndChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("missing") << QByteArray("[Macros]\r\nMacro1=Drill\r\n");
        QTest::newRow("not a number") << QByteArray("[Macros]\r\nMacronumber=abc\r\nMacro1=Drill\r\n");
    }
    void badCountIsReportedAndChangesNothing()
    {
        QFETCH(QByteArray, file);
        WriteMacroIni(file);
        Macronumber = 1;
        MacroDescriptions[0] = QStringLiteral("Before");
        platform::ScriptedAnswers answers;
        LoadMacroList();
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor Program Error."));
        QCOMPARE(Macronumber, 1);
        QCOMPARE(MacroDescriptions[0], QStringLiteral("Before"));
    }
};

REGISTER_TEST(TestMacroFiles);

#include "tst_MacroFiles.moc"
