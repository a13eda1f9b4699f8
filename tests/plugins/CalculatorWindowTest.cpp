// The three calculator windows, started as the host starts them and driven
// with keys and clicks.

#include "PluginFolder.h"

#include "platform/com/CallByName.h"
#include "platform/com/CreateObject.h"
#include "platform/com/Regsvr.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ScriptedAnswers.h"
#include "platform/forms/Screen.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <functional>
#include "support/TestRegistry.h"
#include "support/WindowFits.h"

using namespace platform;

namespace {

struct Calculator {
    QString progId;
    QString window;
    QString first;
    QString second;
    QString result;
};

Calculator CalculatorOf(const QString& progId)
{
    if (progId == u"Sfm.Main")
        return {progId, QStringLiteral("frmSfm"), QStringLiteral("txtDia"), QStringLiteral("txtRpm"), QStringLiteral("txtSfm")};
    if (progId == u"Tornel.Main")
        return {progId, QStringLiteral("frmRPM"), QStringLiteral("txtSFM"), QStringLiteral("txtDia2"), QStringLiteral("txtRPMResult")};
    return {progId, QStringLiteral("frmIPM"), QStringLiteral("txtIPR"), QStringLiteral("txtRPM2"), QStringLiteral("txtIPMResults")};
}

QLineEdit* Box(QDialog& window, const QString& name) { return window.findChild<QLineEdit*>(name); }
QPushButton* Button(QDialog& window, int index)
{
    return window.findChild<QPushButton*>(QStringLiteral("cmdBut%1").arg(index));
}

}  // namespace

class CalculatorWindowTest : public QObject {
    Q_OBJECT

    // Starts the plug-in; `drive` works its window, which is active and has
    // had its first activation. Returns what PluginStart returned.
    QString Start(const QString& progId, ScriptedAnswers& answers, const std::function<void(QDialog&)>& drive)
    {
        const std::unique_ptr<QObject> plugin = CreateObject(progId, m_folder->Plugins());
        answers.scriptModal([&](QDialog& window) {
            window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            drive(window);
        });
        return CallByName(plugin.get(), QStringLiteral("PluginStart"), VbMethod).toString();
    }

private slots:
    void initTestCase()
    {
        m_folder = std::make_unique<PluginFolder>();
        QVERIFY(m_folder->IsValid());
        for (const char* file : {"Sfm.so", "Tornel.so", "Avanco.so"})
            QCOMPARE(RegisterLibrary(m_folder->Library(QString::fromLatin1(file)), 30000).exitCode, RegsvrSuccess);
    }
    void cleanupTestCase() { m_folder.reset(); }

    void calculates_data()
    {
        QTest::addColumn<QString>("progId");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("firstShown");   // the first box once left
        QTest::addColumn<QString>("secondShown");
        QTest::addColumn<QString>("result");
        QTest::newRow("sfm 2 in at 1000 rpm") << "Sfm.Main" << "2" << "1000" << "2.00" << "1000" << "524";
        // The box shows the rounded value; the calculation uses what was typed.
        QTest::newRow("sfm 1/8 in at full precision") << "Sfm.Main" << "0.125" << "10000" << "0.13" << "10000" << "328";
        QTest::newRow("sfm 1.5 in shown with two decimals") << "Sfm.Main" << "1.5" << "1000" << "1.50" << "1000" << "393";
        QTest::newRow("sfm decimal comma") << "Sfm.Main" << "1,5" << "1000" << "1.50" << "1000" << "393";
        QTest::newRow("sfm decimal comma, three decimals") << "Sfm.Main" << "1,375" << "1000" << "1.38" << "1000" << "360";
        // In the whole-number boxes a comma before three digits groups thousands.
        QTest::newRow("sfm rpm 1,000 is a thousand") << "Sfm.Main" << "2" << "1,000" << "2.00" << "1,000" << "524";
        QTest::newRow("sfm rpm 1,000,000") << "Sfm.Main" << "0.001" << "1,000,000" << "0.00" << "1,000,000" << "262";
        QTest::newRow("sfm rpm 1,2 is a decimal") << "Sfm.Main" << "2" << "1,2" << "2.00" << "1,2" << "1";
        QTest::newRow("sfm rpm rounded half to even") << "Sfm.Main" << "10" << "2.5" << "10.00" << "2.5" << "5";
        QTest::newRow("rpm 300 sfm, 0.5 in") << "Tornel.Main" << "300" << "0.5" << "300" << "0.50" << "2292";
        QTest::newRow("rpm 75 sfm, 1 in") << "Tornel.Main" << "75" << "1" << "75" << "1.00" << "286";
        QTest::newRow("rpm 2,125 in") << "Tornel.Main" << "300" << "2,125" << "300" << "2.13" << "539";
        QTest::newRow("rpm 1,200 sfm, 0.5 in") << "Tornel.Main" << "1,200" << "0.5" << "1,200" << "0.50" << "9168";
        QTest::newRow("ipm 0.005 at 2292") << "Avanco.Main" << "0.005" << "2292" << "0.005" << "2292" << "11.46";
        QTest::newRow("ipm small feed kept") << "Avanco.Main" << "0,00025" << "1000" << "0.0003" << "1000" << "0.25";
        QTest::newRow("ipm feed shown to four places") << "Avanco.Main" << "0.12345" << "1000" << "0.1235" << "1000" << "123.45";
        QTest::newRow("ipm rpm 2,292") << "Avanco.Main" << "0.005" << "2,292" << "0.005" << "2,292" << "11.46";
    }
    void calculates()
    {
        QFETCH(QString, progId);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, firstShown);
        QFETCH(QString, secondShown);
        QFETCH(QString, result);
        const Calculator calc = CalculatorOf(progId);
        QGuiApplication::clipboard()->setText(QStringLiteral("old"));
        ScriptedAnswers answers;
        QStringList seen;
        bool centred = false;
        bool calculateEnabled = true;
        const QString started = Start(progId, answers, [&](QDialog& window) {
            QCOMPARE(window.objectName(), calc.window);
            const QPoint offset = window.frameGeometry().center() - AvailableScreenGeometry(&window).center();
            centred = offset.manhattanLength() <= 2;
            QTRY_COMPARE(QApplication::focusWidget(), Box(window, calc.first));
            QTest::keyClicks(Box(window, calc.first), first);
            QTest::keyClick(Box(window, calc.first), Qt::Key_Tab);
            QTest::keyClicks(Box(window, calc.second), second);
            QTest::mouseClick(Button(window, 2), Qt::LeftButton);
            seen << Box(window, calc.first)->text() << Box(window, calc.second)->text()
                 << Box(window, calc.result)->text();
            calculateEnabled = Button(window, 2)->isEnabled();
            QTest::mouseClick(Button(window, 0), Qt::LeftButton);
        });
        QCOMPARE(started, QStringLiteral("0"));
        QVERIFY(centred);
        QCOMPARE(seen, (QStringList{firstShown, secondShown, result}));
        QCOMPARE(QGuiApplication::clipboard()->text(), result);
        QVERIFY(!calculateEnabled);
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    // On a 1024 x 768 screen each window fits and shows its captions and
    // large values whole.
    void fitsTheScreenWithItsTextsWhole_data()
    {
        QTest::addColumn<QString>("progId");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("result");
        QTest::newRow("sfm") << "Sfm.Main" << "12.3456" << "1,234,567" << "3993265";
        QTest::newRow("rpm") << "Tornel.Main" << "1,234,567" << "0.0625" << "75456736";
        QTest::newRow("ipm") << "Avanco.Main" << "0.12345" << "1,234,567" << "152407.3";
    }
    void fitsTheScreenWithItsTextsWhole()
    {
        QFETCH(QString, progId);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, result);
        const Calculator calc = CalculatorOf(progId);
        ScriptedAnswers answers;
        QStringList problems;
        QString shown;
        Start(progId, answers, [&](QDialog& window) {
            QTest::keyClicks(Box(window, calc.first), first);
            QTest::keyClick(Box(window, calc.first), Qt::Key_Tab);
            QTest::keyClicks(Box(window, calc.second), second);
            QTest::mouseClick(Button(window, 2), Qt::LeftButton);
            shown = Box(window, calc.result)->text();
            QCOMPARE(window.screen()->availableGeometry().size(), QSize(1024, 768));
            problems = windowfits::Problems(window);
            windowfits::ScreenShot(window, calc.window);
            QTest::mouseClick(Button(window, 0), Qt::LeftButton);
        });
        QCOMPARE(shown, result);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    }

    void failedCalculationIsReported_data()
    {
        QTest::addColumn<QString>("progId");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("title");
        QTest::newRow("rpm zero diameter") << "Tornel.Main" << "300" << "0" << vbCritical << "RPM";
        QTest::newRow("sfm overflow") << "Sfm.Main" << "100000" << "100000" << vbCritical << "SFM";
        QTest::newRow("ipm overflow") << "Avanco.Main" << "1e300" << "1000000" << vbInformation << "IPM";
        QTest::newRow("sfm diameter with two separators") << "Sfm.Main" << "1,000.5" << "1000" << vbCritical << "SFM";
        QTest::newRow("rpm diameter with words") << "Tornel.Main" << "300" << "0.5in" << vbCritical << "RPM";
    }
    void failedCalculationIsReported()
    {
        QFETCH(QString, progId);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(int, icon);
        QFETCH(QString, title);
        const Calculator calc = CalculatorOf(progId);
        QGuiApplication::clipboard()->setText(QStringLiteral("old"));
        ScriptedAnswers answers;
        QString shownResult = QStringLiteral("unread");
        Start(progId, answers, [&](QDialog& window) {
            QTest::keyClicks(Box(window, calc.first), first);
            QTest::keyClick(Box(window, calc.first), Qt::Key_Tab);
            QTest::keyClicks(Box(window, calc.second), second);
            QTest::mouseClick(Button(window, 2), Qt::LeftButton);
            shownResult = Box(window, calc.result)->text();
        });
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, QStringLiteral("Error doing calculation."));
        QCOMPARE(answers.msgBoxes()[0].style & 0x70, icon);
        QCOMPARE(answers.msgBoxes()[0].title, title);
        QCOMPARE(shownResult, QString());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("old"));
    }

    // Enter moves on from box to box and never closes the window.
    void enterMovesTheFocus_data()
    {
        QTest::addColumn<QString>("progId");
        QTest::addColumn<bool>("secondEnterCalculates");
        QTest::newRow("sfm") << "Sfm.Main" << true;
        QTest::newRow("Tornel") << "Tornel.Main" << false;
        QTest::newRow("Avanco") << "Avanco.Main" << true;
    }
    void enterMovesTheFocus()
    {
        QFETCH(QString, progId);
        QFETCH(bool, secondEnterCalculates);
        const Calculator calc = CalculatorOf(progId);
        ScriptedAnswers answers;
        QString result;
        bool stayedOpen = false;
        Start(progId, answers, [&](QDialog& window) {
            QTRY_COMPARE(QApplication::focusWidget(), Box(window, calc.first));
            QTest::keyClicks(Box(window, calc.first), QStringLiteral("2"));
            QTest::keyClick(Box(window, calc.first), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), Box(window, calc.second));
            QTest::keyClicks(Box(window, calc.second), QStringLiteral("1000"));
            QTest::keyClick(Box(window, calc.second), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(),
                     secondEnterCalculates ? static_cast<QWidget*>(Button(window, 2)) : Box(window, calc.second));
            if (secondEnterCalculates) {
                QTest::keyClick(Button(window, 2), Qt::Key_Return);   // Enter on the focused button clicks it
                result = Box(window, calc.result)->text();
                QCOMPARE(QApplication::focusWidget(), Button(window, 0));
            }
            stayedOpen = window.isVisible();
        });
        QVERIFY(stayedOpen);
        if (secondEnterCalculates)
            QVERIFY(!result.isEmpty());
    }

    // After a result, "&Calculate" comes back only through the boxes that
    // bring it back: each calculator's second input, and sfm's result box
    // (which entering the first input clears).
    void calculateIsOfferedAgainAfterAChange_data()
    {
        QTest::addColumn<QString>("progId");
        QTest::addColumn<bool>("inFirst");     // the change is made in the first input, else the second
        QTest::addColumn<bool>("offered");
        QTest::newRow("sfm first input (clears the result)") << "Sfm.Main" << true << true;
        QTest::newRow("sfm second input") << "Sfm.Main" << false << true;
        QTest::newRow("Tornel first input") << "Tornel.Main" << true << false;
        QTest::newRow("Tornel second input") << "Tornel.Main" << false << true;
        QTest::newRow("Avanco first input") << "Avanco.Main" << true << false;
        QTest::newRow("Avanco second input") << "Avanco.Main" << false << true;
    }
    void calculateIsOfferedAgainAfterAChange()
    {
        QFETCH(QString, progId);
        QFETCH(bool, inFirst);
        QFETCH(bool, offered);
        const Calculator calc = CalculatorOf(progId);
        ScriptedAnswers answers;
        QStringList results;
        QList<bool> enabled;
        Start(calc.progId, answers, [&](QDialog& window) {
            QTest::keyClicks(Box(window, calc.first), QStringLiteral("2"));
            QTest::keyClick(Box(window, calc.first), Qt::Key_Tab);
            QTest::keyClicks(Box(window, calc.second), QStringLiteral("4"));
            QTest::mouseClick(Button(window, 2), Qt::LeftButton);
            results << Box(window, calc.result)->text();
            enabled << Button(window, 2)->isEnabled();
            QLineEdit* changed = Box(window, inFirst ? calc.first : calc.second);
            QTest::mouseClick(changed, Qt::LeftButton);
            QTest::keyClick(changed, Qt::Key_Home);
            QTest::keyClick(changed, Qt::Key_1);
            enabled << Button(window, 2)->isEnabled();
            QTest::mouseClick(Button(window, 2), Qt::LeftButton);
            results << Box(window, calc.result)->text();
        });
        QCOMPARE(enabled, (QList<bool>{false, offered}));
        QCOMPARE(results.size(), 2);
        QVERIFY(!results[0].isEmpty());
        // A click on the disabled button does nothing: the old result (or the
        // box cleared on entering the first input) stays.
        if (offered)
            QVERIFY(!results[1].isEmpty() && results[1] != results[0]);
        else
            QCOMPARE(results[1], inFirst ? QString() : results[0]);
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    // The rounded display is never read back: leaving the box again, or
    // calculating again, uses the value as typed.
    void roundedDisplayIsNotReadBack()
    {
        const Calculator calc = CalculatorOf(QStringLiteral("Sfm.Main"));
        ScriptedAnswers answers;
        QStringList seen;
        Start(calc.progId, answers, [&](QDialog& window) {
            QTest::keyClicks(Box(window, calc.first), QStringLiteral("0.125"));
            QTest::keyClick(Box(window, calc.first), Qt::Key_Tab);
            QTest::keyClicks(Box(window, calc.second), QStringLiteral("10000"));
            QTest::mouseClick(Button(window, 2), Qt::LeftButton);
            seen << Box(window, calc.first)->text() << Box(window, calc.result)->text();
            QTest::mouseClick(Box(window, calc.first), Qt::LeftButton);
            QTest::keyClick(Box(window, calc.first), Qt::Key_Tab);
            QTest::keyClicks(Box(window, calc.second), QStringLiteral("10000"));
            QTest::mouseClick(Button(window, 2), Qt::LeftButton);
            seen << Box(window, calc.first)->text() << Box(window, calc.result)->text();
        });
        QCOMPARE(seen, (QStringList{"0.13", "328", "0.13", "328"}));
    }

    void cancelClosesTheWindow()
    {
        ScriptedAnswers answers;
        bool open = true;
        const QString started = Start(QStringLiteral("Sfm.Main"), answers, [&](QDialog& window) {
            QTest::mouseClick(Button(window, 1), Qt::LeftButton);
            open = window.isVisible();
        });
        QVERIFY(!open);
        QCOMPARE(started, QStringLiteral("0"));
    }

private:
    std::unique_ptr<PluginFolder> m_folder;
};

REGISTER_TEST(CalculatorWindowTest);

#include "CalculatorWindowTest.moc"
