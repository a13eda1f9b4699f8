#include "document/frmNotePad.h"
#include "nc/FrameFixture.h"
#include "nc/NcCommandFrame.h"
#include "platform/forms/ScriptedAnswers.h"
#include "shell/CommandLine.h"
#include "shell/basFileDialogs.h"

#include <QTest>

#include <climits>
#include "support/TestRegistry.h"

namespace {

const QByteArray SwitchProgram = "%\r\nG00  X0\r\nG01 X1 Y1\r\nG01 X2\r\nM30\r\n";
const QString Numbered = QStringLiteral("%\r\nN010G00  X0\r\nN020G01 X1 Y1\r\nN030G01 X2\r\nN040M30\r\n");
const QString Packed = QStringLiteral("%\r\nG00X0\r\nG01X1Y1\r\nG01X2\r\nM30\r\n");

int UndoSteps(platform::CodeMax& text)
{
    int steps = 0;
    for (; text.CanUndo() && steps < 10; ++steps)
        text.Undo();
    return steps;
}

}  // namespace

// "/g", "/n" and "/rs" on the document that "/f" opened.
class TestCommandLineSwitches : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallNcCommandHooks(); }
    void cleanup()
    {
        QVERIFY(!BulkEditRunning);
        QVERIFY(!DialogCancelled);
        QVERIFY(!platform::IsWaitCursor());
        QVERIFY(frmMsg::Loaded() == nullptr);
        CommandLineText.clear();
    }

    void switchesRunInOrder_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("caretLine");
        QTest::addColumn<int>("edits");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("ran");  // the whole-text switches, in the order they ran
        QTest::newRow("go to") << "/f p.nc /g 3" << QString(SwitchProgram) << 2 << 0 << QStringList() << QStringList();
        QTest::newRow("go to a line past the end") << "/f p.nc /g 99" << QString(SwitchProgram) << 5 << 0 << QStringList()
                                             << QStringList();
        QTest::newRow("number") << "/f p.nc /n" << Numbered << 0 << 1 << QStringList() << QStringList{"/n"};
        QTest::newRow("go to, then number") << "/f p.nc /g 3 /n" << Numbered << 0 << 1 << QStringList()
                                             << QStringList{"/n"};
        // The second numbering finds nothing to change: no second edit.
        QTest::newRow("number twice") << "/f p.nc /n /n" << Numbered << 0 << 1 << QStringList()
                                      << QStringList{"/n", "/n"};
        QTest::newRow("remove spaces") << "/f p.nc /rs" << Packed << 0 << 1 << QStringList() << QStringList{"/rs"};
        QTest::newRow("switches are case-sensitive") << "/f p.nc /N /RS /G 2" << QString(SwitchProgram) << 0 << 0
                                                      << QStringList() << QStringList();
        QTest::newRow("go to without a line")
            << "/f p.nc /rs /g" << Packed << 0 << 1
            << QStringList{"You did not enter a line number to go to from the command line.", CommandLineHelpText()}
            << QStringList{"/rs"};
    }
    void switchesRunInOrder()
    {
        QFETCH(QString, command);
        QFETCH(QString, expected);
        QFETCH(int, caretLine);
        QFETCH(int, edits);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, ran);
        FrameFixture fixture([] { return std::make_unique<frmNotePad>(); });
        frmNotePad& window = static_cast<frmNotePad&>(fixture.Open(SwitchProgram));
        platform::CodeMax& text = *window.Text1();
        NumPopup = 1;  // the switches never ask
        LineHighlightOn = true;
        CommandLineText = command;
        platform::ScriptedAnswers answers;
        QStringList switches;
        NumberBlocksSwitchHook = [&switches] {
            switches.append(QStringLiteral("/n"));
            NumberBlocksForCommandLine();
        };
        RemoveSpacesSwitchHook = [&switches] {
            switches.append(QStringLiteral("/rs"));
            RemoveSpacesForCommandLine();
        };

        ProcessCommandLineSwitches();

        InstallNcCommandHooks();
        QCOMPARE(switches, ran);
        QCOMPARE(text.Text(), expected);
        QCOMPARE(text.GetSel(false), (platform::CodeMaxRange{caretLine, 0, caretLine, 0}));
        if (command.contains(QLatin1String("/g ")) && edits == 0)
            QCOMPARE(text.HighlightedLine(), caretLine);
        QStringList shown;
        for (const auto& box : answers.msgBoxes())
            shown.append(box.prompt);
        QCOMPARE(shown, messages);
        QCOMPARE(answers.modals().size(), 0);
        // The switches mark the text changed; the window's change handling marks the slot.
        QCOMPARE(TextChanged, edits > 0);
        QCOMPARE(FrameFixture::Modified(window), edits > 0);
        QCOMPARE(UndoSteps(text), edits);
        LineHighlightOn = false;
    }

    // The first failure is reported and ends the processing; nothing is left half done.
    void failedSwitchStopsTheRest()
    {
        FrameFixture fixture([] { return std::make_unique<frmNotePad>(); });
        DocumentForm& window = fixture.Open(SwitchProgram);
        Startnumber = INT_MIN;
        Increment = -1;
        CommandLineText = QStringLiteral("/f p.nc /n /rs");
        platform::ScriptedAnswers answers;

        ProcessCommandLineSwitches();

        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, QStringLiteral("Error while processing command line."));
        QCOMPARE(answers.msgBoxes()[0].style, platform::vbCritical);
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor"));
        QCOMPARE(window.Text1()->Text(), QString(SwitchProgram));
        QVERIFY(!window.Text1()->CanUndo());
    }

    // The program's start: "/f" opens the file, then its switches apply to it.
    void startUpAppliesSwitchesAfterOpen()
    {
        QTemporaryDir files;
        const QString path = files.filePath(QStringLiteral("my part.nc"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(SwitchProgram);
        file.close();
        FrameFixture fixture([] { return std::make_unique<frmNotePad>(); });
        fixture.Main().MDIForm_Initialize();
        SetCommand({QStringLiteral("/f"), path, QStringLiteral("/g"), QStringLiteral("4"), QStringLiteral("/rs"),
                    QStringLiteral("/n")});
        platform::ScriptedAnswers answers;

        QVERIFY(fixture.Main().MDIForm_Load());
        SetCommand({});

        DocumentForm* window = ActiveDocumentForm();
        QVERIFY(window != nullptr);
        QCOMPARE(window->FilePath, QFileInfo(path).absoluteFilePath());
        QCOMPARE(window->Text1()->Text(),
                 QStringLiteral("%\r\nN010G00X0\r\nN020G01X1Y1\r\nN030G01X2\r\nN040M30\r\n"));
        QCOMPARE(window->Text1()->GetSel(false), (platform::CodeMaxRange{0, 0, 0, 0}));
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    void startUpSkipsSwitchesWhenOpenFails()
    {
        FrameFixture fixture([] { return std::make_unique<frmNotePad>(); });
        fixture.Main().MDIForm_Initialize();
        SetCommand({QStringLiteral("/f"), QStringLiteral("/nonexistent/part.nc"), QStringLiteral("/n")});
        platform::ScriptedAnswers answers;

        QVERIFY(fixture.Main().MDIForm_Load());
        SetCommand({});

        QVERIFY(ActiveDocumentForm() == nullptr);
        // Only the open's own report.
        QCOMPARE(answers.msgBoxes().size(), 1);
        QVERIFY(answers.msgBoxes()[0].prompt != QStringLiteral("Error while processing command line."));
    }
};

REGISTER_TEST(TestCommandLineSwitches);

#include "CommandLineSwitchTests.moc"
