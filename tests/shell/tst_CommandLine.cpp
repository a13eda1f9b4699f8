#include "support/TestRegistry.h"
#include "shell/CommandLine.h"

#include "platform/forms/ScriptedAnswers.h"

#include <QTest>

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void splitCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("quoted path") << "/f \"C:\\my dir\\a.nc\" /g 20" << " "
                                     << QStringList{"/f", "C:\\my dir\\a.nc", "/g", "20"};
        QTest::newRow("quotes inside an item") << "ab\"c d\"e" << " " << QStringList{"abc de"};
        QTest::newRow("runs of blanks") << "  a   b " << " " << QStringList{"a", "b"};
        QTest::newRow("unclosed quote") << "\"open end" << " " << QStringList{"open end"};
        QTest::newRow("empty quotes") << "\"\"" << " " << QStringList{};
        QTest::newRow("empty quotes after switch") << "/g \"\"" << " " << QStringList{"/g"};
        QTest::newRow("long separator never matches") << "x y" << "ab" << QStringList{"x y"};
        QTest::newRow("other separator") << "a,b,,c" << "," << QStringList{"a", "b", "c"};
        QTest::newRow("blanks only") << "   " << " " << QStringList{};
    }
    void splitCommands()
    {
        QFETCH(QString, command);
        QFETCH(QString, separator);
        QFETCH(QStringList, items);
        QCOMPARE(CommandLine::SplitCommands(command, separator), items);
    }

    void accessors()
    {
        CommandLine line;
        line.CommandString(QStringLiteral("/f a.nc /g 100 /n"));
        QCOMPARE(line.ParameterCount(), 5);
        QCOMPARE(line.GetParameterValue(QStringLiteral("/f")), QStringLiteral("a.nc"));
        QCOMPARE(line.GetParameterValue(QStringLiteral("/g")), QStringLiteral("100"));
        QCOMPARE(line.GetParameterValue(QStringLiteral("/n")), QString());     // the last item
        QCOMPARE(line.GetParameterValue(QStringLiteral("/x")), QString());     // missing
        QCOMPARE(line.GetItemByIndex(1), QStringLiteral("/f"));
        QCOMPARE(line.GetItemByIndex(5), QStringLiteral("/n"));
        QCOMPARE(line.GetItemByIndex(0), QString());
        QCOMPARE(line.GetItemByIndex(6), QString());
        QVERIFY(line.HasParameter(QStringLiteral("/n")));
        QVERIFY(!line.HasParameter(QStringLiteral("/N")));   // switches are case-sensitive
        QCOMPARE(CommandLine::DefaultSeparator(), QStringLiteral(" "));

        line.CommandSeparator(QStringLiteral("/"));
        QCOMPARE(line.Items(), (QStringList{"f a.nc ", "g 100 ", "n"}));
    }

    void startsWithTheProgramsCommandLine()
    {
        SetCommand({QStringLiteral("/f"), QStringLiteral("/tmp/my part.nc"), QStringLiteral("/g"),
                    QString()});
        CommandLine line;
        QCOMPARE(line.CommandString(), QStringLiteral("/f \"/tmp/my part.nc\" /g \"\""));
        // A path with blanks stays one item; an empty argument gives none.
        QCOMPARE(line.Items(), (QStringList{"/f", "/tmp/my part.nc", "/g"}));
        QCOMPARE(line.GetParameterValue(QStringLiteral("/g")), QString());
        SetCommand({});
    }

    // What the command line leaves out or holds beside its switches is named, never dropped without a word.
    void mistakesAreNamed_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("named");  // a telling part of each message, in order
        const QString noFile = QStringLiteral("/f without a file name");
        QTest::newRow("/f alone") << "/f" << QStringList{noFile};
        QTest::newRow("/f last") << "/g 5 /n /f" << QStringList{noFile};
        QTest::newRow("/f with empty quotes") << "/f \"\"" << QStringList{noFile};
        QTest::newRow("/f last beside another item") << "extra /f" << QStringList{"\"extra\"", noFile};
        QTest::newRow("/f with a file") << "/f a.nc /g 5" << QStringList{};
        QTest::newRow("/f as the file's name") << "/f /f" << QStringList{};
        QTest::newRow("/F is no switch") << "/F" << QStringList{"\"/F\""};
        // A line number is asked for where the switch is applied, on the opened file.
        QTest::newRow("/g last") << "/f a.nc /g" << QStringList{};
    }
    void mistakesAreNamed()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, named);
        platform::ScriptedAnswers answers;
        ShowItemsNotSwitches(CommandLine::SplitCommands(command, CommandLine::DefaultSeparator()));
        QCOMPARE(answers.msgBoxes().size(), named.size());
        for (qsizetype i = 0; i < named.size(); ++i) {
            const auto& box = answers.msgBoxes()[i];
            QVERIFY2(box.prompt.contains(named[i]), qPrintable(box.prompt));
            QCOMPARE(box.style, platform::vbExclamation);
            QCOMPARE(box.title, QStringLiteral("Talvex Editor"));
        }
    }

    void helpTextIsExact()
    {
        const QByteArray expected =
            "             Valid command line switches\r\n"
            "\r\n"
            "All command line switches must be separated by a space\r\n"
            "\r\n"
            "/?  - Displays this help file\r\n"
            "/f  - Loads a file (enclosed by a quotation) into the Editor\r\n"
            "       Example /f \"Testfile.cnc\"\r\n"
            "\r\n"
            "/g  - Go to a specified line\r\n"
            "       Example /g 100\r\n"
            "\r\n"
            "/n  - Will number the file after the file has been loaded into the Editor\r\n"
            "\r\n"
            "/rs - Will remove spaces after the file has been loaded into the Editor\r\n"
            "\r\n";
        QCOMPARE(CommandLineHelpText().toLatin1(), expected);

        platform::ScriptedAnswers answers;
        ShowCommandLineHelp();
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, CommandLineHelpText());
        QCOMPARE(answers.msgBoxes()[0].style, platform::vbInformation);
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor"));
    }
};

REGISTER_TEST(TestCommandLine);
#include "tst_CommandLine.moc"
