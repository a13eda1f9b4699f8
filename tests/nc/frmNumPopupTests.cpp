#include "nc/frmNumPopup.h"
#include "platform/forms/ScriptedAnswers.h"
#include "shell/MEditor.h"
#include "shell/MIni.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include "support/TestRegistry.h"

class TestNumPopup : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        Startnumber = 10;
        Increment = 10;
        DialogCancelled = false;
    }

    void showsStartAndIncrement()
    {
        Startnumber = 25;
        Increment = 5;
        frmNumPopup popup;
        QVERIFY(popup.windowTitle().isEmpty());
        QCOMPARE(popup.lblStart->text(), QStringLiteral("Enter Start Number:"));
        QCOMPARE(popup.lblIncrement->text(), QStringLiteral("Enter Increment Number:"));
        QCOMPARE(popup.txtStart->text(), QStringLiteral("25"));
        QCOMPARE(popup.txtIncrement->text(), QStringLiteral("5"));
        QCOMPARE(popup.cmdBut[0]->text(), QStringLiteral("OK"));
        QCOMPARE(popup.cmdBut[1]->text(), QStringLiteral("Cancel"));
    }

    void okTakesWholeNumbers_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("increment");
        QTest::addColumn<bool>("taken");
        QTest::newRow("plain") << "100" << "5" << true;
        QTest::newRow("blanks and sign") << " 20 " << "+2" << true;
        QTest::newRow("zero") << "0" << "-0" << true;
        QTest::newRow("negative start") << "-5" << "5" << false;
        QTest::newRow("negative increment") << "100" << "-10" << false;
        QTest::newRow("largest") << "2147483647" << "1" << true;
        QTest::newRow("empty start") << "" << "5" << false;
        QTest::newRow("decimal step") << "100" << "2.5" << false;
        QTest::newRow("letters") << "N100" << "5" << false;
        QTest::newRow("beyond 32 bits") << "2147483648" << "5" << false;
    }
    void okTakesWholeNumbers()
    {
        QFETCH(QString, start);
        QFETCH(QString, increment);
        QFETCH(bool, taken);
        DialogCancelled = true;  // left by another dialog: an OK is still an OK
        platform::ScriptedAnswers answers;
        frmNumPopup popup;
        popup.txtStart->setText(start);
        popup.txtIncrement->setText(increment);

        popup.cmdBut_Click(0);

        if (taken) {
            QCOMPARE(popup.result(), int(QDialog::Accepted));
            QCOMPARE(Startnumber, start.trimmed().toInt());
            QCOMPARE(Increment, increment.toInt());
            QVERIFY(!DialogCancelled);
            QCOMPARE(answers.msgBoxes().size(), 0);
        } else {
            // Refused with a message; the popup stays open and nothing is taken.
            QCOMPARE(answers.msgBoxes().size(), 1);
            QCOMPARE(answers.msgBoxes()[0].prompt, QStringLiteral("Please enter a whole number."));
            QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor Error"));
            QCOMPARE(popup.result(), int(QDialog::Rejected));
            QCOMPARE(Startnumber, 10);
            QCOMPARE(Increment, 10);
        }
    }

    void cancelAndCloseBoxReportCancel_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Cancel") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("close box") << 2;
    }
    void cancelAndCloseBoxReportCancel()
    {
        QFETCH(int, how);
        frmNumPopup popup;
        popup.txtStart->setText(QStringLiteral("99"));
        popup.show();
        if (how == 0)
            popup.cmdBut_Click(1);
        else if (how == 1)
            QTest::keyClick(&popup, Qt::Key_Escape);
        else
            popup.close();
        QVERIFY(DialogCancelled);
        QCOMPARE(Startnumber, 10);
        DialogCancelled = false;
    }
};

REGISTER_TEST(TestNumPopup);

#include "frmNumPopupTests.moc"
