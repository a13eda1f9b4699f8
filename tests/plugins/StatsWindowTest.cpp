// The statistics window, started as the host starts it, reading the program
// from a stand-in host object.

#include "PluginFolder.h"

#include "platform/com/CallByName.h"
#include "platform/com/ComErrors.h"
#include "platform/com/CreateObject.h"
#include "platform/com/Regsvr.h"
#include "platform/forms/ScriptedAnswers.h"
#include "platform/forms/Screen.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include "support/TestRegistry.h"
#include "support/WindowFits.h"

using namespace platform;

// The members of the host object that the statistics plug-in calls.
class FakeHost : public QObject {
    Q_OBJECT

public:
    QString text;
    bool noDocument = false;
    int calls = 0;

    Q_INVOKABLE QString TextAll()
    {
        ++calls;
        if (noDocument)
            RaiseComError(ErrObjectNotSet);
        return text;
    }
};

class StatsWindowTest : public QObject {
    Q_OBJECT

    struct Shown {
        QStringList boxes;   // X min, X max, Y min, Y max, Z min, Z max, length, width, height
        bool centred = false;
        QString caption;
        QStringList fitProblems;  // what does not fit the screen or its box
    };

    // Starts the plug-in and reads its window once the values are in.
    Shown Start(QObject* host, ScriptedAnswers& answers, QString* result = nullptr, const QString& shotName = {})
    {
        Shown shown;
        const std::unique_ptr<QObject> plugin = CreateObject(QStringLiteral("Stats.Main"), m_folder->Plugins());
        if (host)
            CallByName(plugin.get(), QStringLiteral("HostAppObject"), VbSet, {ObjectValue(host)});
        answers.scriptModal([&](QDialog& window) {
            QTRY_VERIFY(!window.findChild<QLabel*>(QStringLiteral("lblCalc"))->isVisible());
            for (const char* name : {"txt0", "txt1", "txt2", "txt3", "txt4", "txt5", "txtLX", "txtWY", "txtHZ"})
                shown.boxes << window.findChild<QLineEdit*>(QString::fromLatin1(name))->text();
            const QPoint offset = window.frameGeometry().center() - AvailableScreenGeometry(&window).center();
            shown.centred = offset.manhattanLength() <= 2;
            shown.caption = window.windowTitle();
            shown.fitProblems = windowfits::Problems(window);
            if (!shotName.isEmpty())
                windowfits::ScreenShot(window, shotName);
            QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        });
        const QString started = CallByName(plugin.get(), QStringLiteral("PluginStart"), VbMethod).toString();
        if (result)
            *result = started;
        return shown;
    }

private slots:
    void initTestCase()
    {
        m_folder = std::make_unique<PluginFolder>();
        QVERIFY(m_folder->IsValid());
        QCOMPARE(RegisterLibrary(m_folder->Library(QStringLiteral("STATS.so")), 30000).exitCode, RegsvrSuccess);
    }
    void cleanupTestCase() { m_folder.reset(); }

    void showsExtentsOfTheProgram_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("mixed signs, comments ignored")
            << "%\nO1000 (PART MAX Z-AXIS)\nN10 G00 X-5.5 Y1 Z5.\nN20 G01 X12.25 Z-1 F100 (X-100)\nN30 Y3\nM30 X\n"
            << QStringList{"-5.500", "12.250", "1.000", "3.000", "-1.000", "5.000", "17.750", "2.000", "6.000"};
        QTest::newRow("only negative coordinates")
            << "G0 X-10 Y-20 Z-5\nG1 X-50 Y-2 Z-1\n"
            << QStringList{"-50.000", "-10.000", "-20.000", "-2.000", "-5.000", "-1.000", "40.000", "18.000", "4.000"};
        QTest::newRow("no Z words")
            << "G0 X1 Y2\n"
            << QStringList{"1.000", "1.000", "2.000", "2.000", "", "", "0.000", "0.000", ""};
        // A tie in the fourth decimal rounds away from zero as the digits
        // read, though 1.0005 is stored a hair below.
        QTest::newRow("ties round as the digits read")
            << "G0 X0 Z0\nG1 X1.0005 Z-0.1235\n"
            << QStringList{"0.000", "1.001", "", "", "-0.124", "0.000", "1.001", "", "0.124"};
    }
    void showsExtentsOfTheProgram()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, boxes);
        FakeHost host;
        host.text = program;
        ScriptedAnswers answers;
        QString result;
        const Shown shown = Start(&host, answers, &result);
        QCOMPARE(shown.boxes, boxes);
        QCOMPARE(shown.caption, QStringLiteral("Program Statistics"));
        QVERIFY(shown.centred);
        QCOMPARE(result, QStringLiteral("0"));
        QCOMPARE(host.calls, 1);
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    // On a 1024 x 768 screen the window fits and shows large values whole.
    void fitsTheScreenWithItsTextsWhole()
    {
        FakeHost host;
        host.text = QStringLiteral("G0 X-12345.6789 Y-9876.5432 Z-5432.1\nG1 X23456.789 Y8765.4321 Z1234.5\n");
        ScriptedAnswers answers;
        const Shown shown = Start(&host, answers, nullptr, QStringLiteral("stats"));
        QCOMPARE(shown.boxes.value(6), QStringLiteral("35802.468"));
        QVERIFY2(shown.fitProblems.isEmpty(), qPrintable(shown.fitProblems.join(u'\n')));
        QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry().size(), QSize(1024, 768));
    }

    // With no document (the host's call fails) or no host object at all, the
    // window says why and shows no values.
    void withoutDocumentShowsNoValues()
    {
        FakeHost host;
        host.noDocument = true;
        for (QObject* given : {static_cast<QObject*>(&host), static_cast<QObject*>(nullptr)}) {
            ScriptedAnswers answers;
            const Shown shown = Start(given, answers);
            QCOMPARE(shown.boxes, QStringList(9, QString()));
            QVERIFY(answers.msgBoxes().isEmpty());
        }
    }

private:
    std::unique_ptr<PluginFolder> m_folder;
};

REGISTER_TEST(StatsWindowTest);

#include "StatsWindowTest.moc"
