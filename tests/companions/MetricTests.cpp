// The metric conversions with worked numbers, the conversion window as
// the user works it, and the document window's command that opens it.

#include "CompanionFolder.h"
#include "document/DocumentFixture.h"
#include "document/DocumentTestHelpers.h"

#include "companions/krometric/MetricConversion.h"
#include "companions/krometric/clsMetric.h"
#include "companions/krometric/frmMetricConversion.h"
#include "platform/com/CallByName.h"
#include "platform/com/CreateObject.h"
#include "platform/com/Regsvr.h"
#include "platform/forms/ScriptedAnswers.h"
#include "support/TestRegistry.h"
#include "support/WindowFits.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace platform;

namespace {

frmMetricConversion* MetricWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<frmMetricConversion*>(widget); window != nullptr && window->isVisible())
            return window;
    return nullptr;
}

}  // namespace

class MetricTests : public QObject {
    Q_OBJECT
private slots:
    void conversions_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("answer");
        QTest::newRow("feet to meters") << 0 << "10" << "3.048";
        QTest::newRow("meters to feet") << 1 << "1" << "3.28084";
        QTest::newRow("inches to cm exactly") << 2 << "1" << "2.54";
        QTest::newRow("cm to inches exactly") << 3 << "2.54" << "1.";
        QTest::newRow("cubic cm to cubic in") << 4 << "16.387064" << "1.";
        QTest::newRow("cubic in to cubic cm") << 5 << "2" << "32.774128";
        QTest::newRow("square feet to square meters") << 6 << "10" << ".92903";
        QTest::newRow("square meters to square feet") << 7 << "1" << "10.76391";
        QTest::newRow("kg to lb") << 8 << "1" << "2.204623";
        QTest::newRow("lb to kg") << 9 << "1" << ".453592";
        // Millimetres and inches are not rounded to whole numbers first.
        QTest::newRow("mm to inches") << 10 << "25.4" << "1.";
        QTest::newRow("mm to inches, a half") << 10 << "12.5" << ".492126";
        QTest::newRow("inches to mm, a half") << 11 << "0.5" << "12.7";
        QTest::newRow("decimal comma") << 11 << "0,5" << "12.7";
        QTest::newRow("blanks around") << 11 << " 2 " << "50.8";
        QTest::newRow("negative") << 2 << "-0.5" << "-1.27";
        QTest::newRow("zero") << 0 << "0" << "0.";
        QTest::newRow("below the sixth decimal") << 10 << "0.00001" << "0.";
        QTest::newRow("leading point") << 11 << ".1" << "2.54";
        QTest::newRow("exponent") << 0 << "1e5" << "30480.";
        QTest::newRow("exponent with sign and decimal comma") << 11 << "2,5E-1" << "6.35";
        QTest::newRow("exponent without digits") << 0 << "1e" << "Error";
        QTest::newRow("exponent past the doubles") << 0 << "1e400" << "Error";
        QTest::newRow("letters") << 10 << "abc" << "Error";
        QTest::newRow("two numbers") << 0 << "1 2" << "Error";
        QTest::newRow("two points") << 0 << "1.2.3" << "Error";
        QTest::newRow("number then text") << 11 << "12mm" << "Error";
        QTest::newRow("too large") << 5 << QString(400, u'9') << "Error";
    }
    void conversions()
    {
        QFETCH(int, code);
        QFETCH(QString, input);
        QFETCH(QString, answer);
        ScriptedAnswers answers;
        frmMetricConversion window;
        window.show();
        window.List1->setCurrentRow(code);
        window.txtInput->setText(input);
        QTest::mouseClick(window.btnCalc, Qt::LeftButton);
        QCOMPARE(window.txtAnswer->text(), answer);
        // Only a number can be copied into a program.
        QCOMPARE(window.btnCopy->isEnabled(), answer != u"Error");
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    // On a 1024 x 768 screen the window fits and shows every formula whole,
    // the longest ("Cubic Centimeters to Cubic Inches") included.
    void fitsTheScreenWithItsTextsWhole()
    {
        frmMetricConversion shown;
        frmMetricConversion* window = &shown;
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QCOMPARE(window->screen()->availableGeometry().size(), QSize(1024, 768));
        QCOMPARE(window->List1->count(), metric::ConversionCount);
        window->txtInput->setText(QStringLiteral("16.387064"));
        window->List1->setCurrentRow(4);
        window->btnCalc->click();
        QCOMPARE(window->txtAnswer->text(), QStringLiteral("1."));
        windowfits::ScreenShot(*window, QStringLiteral("metric"));
        const QStringList problems = windowfits::Problems(*window);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    }

    void otherCodesGiveZero()
    {
        frmMetricConversion window;
        QCOMPARE(window.sdMetricConvert(QStringLiteral("5"), 12), QVariant(0));
        QCOMPARE(window.sdMetricConvert(QStringLiteral("5"), -1), QVariant(0));
        QCOMPARE(metric::ConversionNames().size(), metric::ConversionCount);
    }

    void missingInputOrFormula_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("nothing typed") << "   " << 2 << "Nothing Entered To Calculate.";
        QTest::newRow("no formula") << "5" << -1 << "No Conversion Formula Selected.";
    }
    void missingInputOrFormula()
    {
        QFETCH(QString, input);
        QFETCH(int, code);
        QFETCH(QString, message);
        ScriptedAnswers answers;
        frmMetricConversion window;
        window.show();
        window.List1->setCurrentRow(code);
        window.txtInput->setText(input);
        QTest::mouseClick(window.btnCalc, Qt::LeftButton);
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, message);
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Conversion Error"));
        QCOMPARE(answers.msgBoxes()[0].style, vbInformation);
        QCOMPARE(window.txtAnswer->text(), QString());
        // The choice made stays after the message.
        QCOMPARE(window.List1->currentRow(), code);
    }

    void copyPutsTheAnswerOnTheClipboard()
    {
        frmMetricConversion window;
        window.show();
        QVERIFY(!window.btnCopy->isEnabled());
        window.List1->setCurrentRow(11);
        window.txtInput->setText(QStringLiteral("2"));
        QTest::mouseClick(window.btnCalc, Qt::LeftButton);
        QVERIFY(window.btnCopy->isEnabled());
        QTest::mouseClick(window.btnCopy, Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("50.8"));
        QVERIFY(!window.btnCopy->isEnabled());
        // Another formula greys Copy too.
        QTest::mouseClick(window.btnCalc, Qt::LeftButton);
        QVERIFY(window.btnCopy->isEnabled());
        window.List1->setCurrentRow(3);
        QVERIFY(!window.btnCopy->isEnabled());
    }

    // Enter presses the focused button: Calculate, Copy and Exit alike.
    void enterPressesTheFocusedButton()
    {
        auto* window = new frmMetricConversion;
        QPointer<frmMetricConversion> alive(window);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window));
        window->List1->setCurrentRow(11);
        window->txtInput->setText(QStringLiteral("3"));
        const auto enterOn = [](QWidget* button) {
            button->setFocus();
            QCOMPARE(QApplication::focusWidget(), button);
            QTest::keyClick(button, Qt::Key_Return);
        };
        enterOn(window->btnCalc);
        QCOMPARE(window->txtAnswer->text(), QStringLiteral("76.2"));
        QGuiApplication::clipboard()->clear();
        enterOn(window->btnCopy);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("76.2"));
        enterOn(window->btnExit);
        QTRY_VERIFY(alive.isNull());
    }

    void createdByClassIdAndOneWindow()
    {
        CompanionFolder folder;
        QVERIFY(folder.IsValid());
        QCOMPARE(RegisterLibrary(folder.Path(QStringLiteral("KroMetric.so")), 30000).exitCode, RegsvrSuccess);

        QWidget editor;
        auto* field = new QLineEdit(&editor);
        editor.show();
        editor.activateWindow();
        field->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&editor));

        for (const QString& id : {QStringLiteral("{e8214ff1-7ea0-4568-9e86-ae28fbffe6ec}"),
                                  QStringLiteral("KroMetric.clsMetric")}) {
            const std::unique_ptr<QObject> metric = CreateObject(id);
            CallByName(metric.get(), QStringLiteral("ShowMetric"), VbMethod);
        }
        QPointer<frmMetricConversion> window = MetricWindow();
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("Metric / Imperial Conversion"));
        int windows = 0;
        for (QWidget* widget : QApplication::topLevelWidgets())
            windows += qobject_cast<frmMetricConversion*>(widget) != nullptr && widget->isVisible() ? 1 : 0;
        QCOMPARE(windows, 1);
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::mouseClick(window->btnExit, Qt::LeftButton);
        QTRY_VERIFY(window.isNull());
        QTRY_COMPARE(QApplication::focusWidget(), field);
    }

    // The document window's item registers the library beside the program on
    // first use; without the library the command says nothing and does nothing.
    void documentWindowOpensIt_data()
    {
        QTest::addColumn<bool>("library");
        QTest::newRow("library beside the program") << true;
        QTest::newRow("library missing") << false;
    }

    void documentWindowOpensIt()
    {
        QFETCH(bool, library);
        DocumentFixture fixture;
        CompanionFolder folder(library, fixture.Folder());
        QVERIFY(folder.IsValid());
        // The main window goes before the folder takes its registry away.
        struct CloseMain {
            DocumentFixture& fixture;
            ~CloseMain() { fixture.main.reset(); }
        } closeMain{fixture};
        fixture.main->show();
        QVERIFY(QTest::qWaitForWindowActive(fixture.main.get()));
        frmNotePad* window = document_test::OpenFile(fixture, QStringLiteral("part.nc"), "G00 X1\r\nM30\r\n");
        QVERIFY(window != nullptr);
        window->Text1()->SetFocus();
        const std::string text = window->Text1()->DocumentBytes();

        ScriptedAnswers answers;
        window->mnuMetric->trigger();
        QVERIFY(answers.msgBoxes().isEmpty());
        QPointer<frmMetricConversion> metric = MetricWindow();
        QCOMPARE(!metric.isNull(), library);
        if (metric) {
            QCOMPARE(metric->windowTitle(), QStringLiteral("Metric / Imperial Conversion"));
            QVERIFY(QTest::qWaitForWindowActive(metric));
            QTest::mouseClick(metric->btnExit, Qt::LeftButton);
            QTRY_VERIFY(metric.isNull());
        }
        QCOMPARE(window->Text1()->DocumentBytes(), text);
        QTRY_VERIFY(document_test::SaveShortcutReachesTheText(*window));
    }
};

REGISTER_TEST(MetricTests);
#include "MetricTests.moc"
