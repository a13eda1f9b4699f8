// Recording macros in "Macro Assignments" and binding their keys.

#include "MacroFixture.h"

#include "customise/HotKeyBox.h"
#include "customise/MacroFiles.h"
#include "customise/frmMacro.h"
#include "customise/frmMacroDesc.h"
#include "platform/codemax/CodeMax.h"
#include "platform/codemax/CodeMaxMacro.h"
#include "platform/forms/ScriptedAnswers.h"
#include "shell/MEditor.h"
#include "shell/MIni.h"

#include <QLabel>
#include <QLineEdit>
#include <Qsci/qsciscintilla.h>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include "support/DesktopFont.h"
#include "support/TestRegistry.h"
#include "shell/FileTestHelpers.h"

namespace {

// Answers the description dialog through its own box and OK button.
platform::ScriptedAnswers::ModalScript Describe(const QString& text)
{
    return [text](QDialog& dialog) {
        auto& description = dynamic_cast<frmMacroDesc&>(dialog);
        QVERIFY(!description.cmdMacro[0]->isEnabled());
        description.txtMacroDesc->setText(text);
        QTest::mouseClick(description.cmdMacro[0], Qt::LeftButton);
    };
}

}  // namespace

class TestFrmMacro : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<MacroFixture> macros_;

    QString File(const QString& name) const { return macros_->File(name); }

    // Records typed text and a command in the dialog's pane, ended with the
    // record key as a user ends it.
    static void RecordInPane(frmMacro& dialog, const QString& typed)
    {
        QVERIFY(dialog.RecordEdit->IsRecordingMacro());
        QVERIFY(!dialog.cmdRecord[0]->isEnabled());
        QVERIFY(!dialog.cmdRecord[2]->isEnabled());
        QWidget* pane = dialog.RecordEdit->ActivePane();
        QTest::keyClicks(pane, typed);
        QTest::keyClick(pane, Qt::Key_Home);
        QTest::keyClick(pane, Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(!dialog.RecordEdit->IsRecordingMacro());
        QVERIFY(dialog.cmdRecord[1]->isEnabled());
        QVERIFY(dialog.cmdRecord[2]->isEnabled());
    }

private slots:
    void init()
    {
        macros_ = std::make_unique<MacroFixture>();
        QVERIFY(macros_->IsValid());
        CreateDefaultIni();
    }
    void cleanup() { macros_.reset(); }

    // Record, describe, type, end, Apply: the macro, its description and
    // the count are stored; a key bound to it plays it in another control.
    void recordApplyAndPlay()
    {
        platform::ScriptedAnswers answers;
        frmMacro dialog;
        dialog.show();
        QCOMPARE(dialog.lstMacros->item(0)->text(), QStringLiteral("Macro 1  not assigned"));
        answers.scriptModal(Describe(QStringLiteral("  Drill cycle ")));
        QTest::mouseClick(dialog.cmdRecord[0], Qt::LeftButton);
        RecordInPane(dialog, QStringLiteral("G81"));
        QTest::mouseClick(dialog.cmdRecord[1], Qt::LeftButton);

        QCOMPARE(Macronumber, 1);
        QCOMPARE(MacroDescriptions[0], QStringLiteral("Drill cycle"));
        QCOMPARE(dialog.lstMacros->item(0)->text(), QStringLiteral("Drill cycle"));
        QVERIFY(dialog.cmdRecord[0]->isEnabled());
        QVERIFY(!dialog.cmdRecord[1]->isEnabled());
        const QByteArray macro = platform::CodeMaxGlobals().GetMacro(0);
        QVERIFY(!platform::CodeMaxMacro::FromBytes(macro).IsEmpty());
        QCOMPARE(FileBytes(MacroFile(0)), macro);
        QVERIFY(!QFile::exists(MacroFile(1)));  // the next slot holds nothing
        QVERIFY(QString::fromLatin1(FileBytes(MacroIniFile)).contains(QStringLiteral("Macronumber=1\r\n")));
        QVERIFY(QString::fromLatin1(FileBytes(MacroIniFile)).contains(QStringLiteral("Macro1=Drill cycle\r\n")));

        // A slot without a key: "<None>", Assign off until a key is typed.
        dialog.lstMacros->setCurrentRow(0);
        QCOMPARE(dialog.lstKeys->item(0)->text(), QStringLiteral("<None>"));
        QVERIFY(!dialog.cmdAssign[0]->isEnabled());
        QTest::keyClick(dialog.txtNewHotKey, Qt::Key_F6, Qt::ShiftModifier | Qt::ControlModifier);
        QVERIFY(dialog.cmdAssign[0]->isEnabled());
        QTest::mouseClick(dialog.cmdAssign[0], Qt::LeftButton);
        platform::CodeMaxGlobals globals;
        QCOMPARE(globals.FindHotKey(platform::CodeMaxHotKey(3, 117)), 214);
        QCOMPARE(FileBytes(HotKeysFile()), globals.GetHotKeys());
        QCOMPARE(dialog.lstKeys->item(0)->text(), QStringLiteral("Ctrl + Shift + F6"));
        QCOMPARE(dialog.RecordEdit->Text(), QStringLiteral("G81"));  // the preview
        // Apply after only a key: still no file for the empty next slot.
        QVERIFY(dialog.cmdRecord[1]->isEnabled());
        QTest::mouseClick(dialog.cmdRecord[1], Qt::LeftButton);
        QCOMPARE(Macronumber, 1);
        QCOMPARE(FileBytes(MacroFile(0)), macro);
        QVERIFY(!QFile::exists(MacroFile(1)));

        platform::CodeMax other;
        other.SetText(QStringLiteral("X1."));
        other.ExecuteCmd(214);
        QCOMPARE(other.Text(), QStringLiteral("G81X1."));
        other.ExecuteCmd(platform::CodeMaxCmd::Undo);
        QCOMPARE(other.Text(), QStringLiteral("X1."));

        // Remove unbinds every key of the macro.
        emit dialog.lstKeys->itemClicked(dialog.lstKeys->item(0));
        QTest::mouseClick(dialog.cmdAssign[1], Qt::LeftButton);
        QCOMPARE(globals.GetNumHotKeysForCmd(214), 0);
        QCOMPARE(dialog.lstKeys->item(0)->text(), QStringLiteral("<None>"));
        QCOMPARE(FileBytes(HotKeysFile()), globals.GetHotKeys());
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    // A slot marked free by a removal takes the next recording; the count
    // does not grow for it.
    void freedSlotIsReused()
    {
        Macronumber = 3;
        MacroDescriptions = {QStringLiteral("a"), FreeMacroMark(1), QStringLiteral("c")};
        QCOMPARE(frmMacro::SlotForRecording(), 1);
        MacroDescriptions[1] = QStringLiteral("Macro for drilling");  // a user's own words
        QCOMPARE(frmMacro::SlotForRecording(), 3);
        MacroDescriptions[1] = FreeMacroMark(1);

        platform::ScriptedAnswers answers;
        frmMacro dialog;
        answers.scriptModal(Describe(QStringLiteral("Tap")));
        QTest::mouseClick(dialog.cmdRecord[0], Qt::LeftButton);
        RecordInPane(dialog, QStringLiteral("G84"));
        QTest::mouseClick(dialog.cmdRecord[1], Qt::LeftButton);
        QCOMPARE(Macronumber, 3);
        QCOMPARE(MacroDescriptions[1], QStringLiteral("Tap"));
        QVERIFY(!platform::CodeMaxMacro::FromBytes(platform::CodeMaxGlobals().GetMacro(1)).IsEmpty());
        QCOMPARE(platform::CodeMaxGlobals().GetMacro(0), QByteArray());
    }

    // Cancelling the description records nothing and leaves the dialog idle.
    void cancelledDescription()
    {
        platform::ScriptedAnswers answers;
        frmMacro dialog;
        answers.scriptModal([](QDialog& d) {
            QTest::mouseClick(dynamic_cast<frmMacroDesc&>(d).cmdMacro[1], Qt::LeftButton);
        });
        QTest::mouseClick(dialog.cmdRecord[0], Qt::LeftButton);
        QVERIFY(!dialog.RecordEdit->IsRecordingMacro());
        QVERIFY(dialog.cmdRecord[0]->isEnabled());
        QVERIFY(dialog.cmdRecord[2]->isEnabled());
        QVERIFY(!DialogCancelled);
        QCOMPARE(Macronumber, 0);
    }

    // A recording started and ended with the keyboard: while it runs the
    // dialog names the key that ends it, and that key ends it.
    void recordingEndsWithItsKey()
    {
        platform::ScriptedAnswers answers;
        frmMacro dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QVERIFY(!dialog.lblRecordEnd->isVisible());
        answers.scriptModal(Describe(QStringLiteral("Coolant")));
        QTest::mouseClick(dialog.cmdRecord[0], Qt::LeftButton);
        QVERIFY(dialog.RecordEdit->IsRecordingMacro());
        QVERIFY(dialog.lblRecordEnd->isVisible());
        QCOMPARE(dialog.lblRecordEnd->text(), QStringLiteral("Recording: press Ctrl + Shift + R in the pane to end it."));
        QWidget* pane = QApplication::focusWidget();
        QVERIFY(dialog.RecordEdit->isAncestorOf(pane));
        QTest::keyClicks(pane, QStringLiteral("M08"));
        QTest::keyClick(pane, Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(!dialog.RecordEdit->IsRecordingMacro());
        QVERIFY(!dialog.lblRecordEnd->isVisible());
        QVERIFY(dialog.cmdRecord[1]->isEnabled());
        QVERIFY(dialog.cmdRecord[2]->isEnabled());
        QCOMPARE(dialog.RecordEdit->Text(), QStringLiteral("M08"));
        QTest::mouseClick(dialog.cmdRecord[1], Qt::LeftButton);
        QCOMPARE(MacroDescriptions[0], QStringLiteral("Coolant"));

        // Its key cannot be given to a macro here either.
        dialog.lstMacros->setCurrentRow(2);
        QTest::keyClick(dialog.txtNewHotKey, Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(dialog.cmdAssign[0]->isEnabled());
        QTest::mouseClick(dialog.cmdAssign[0], Qt::LeftButton);
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt,
                 QStringLiteral("Ctrl + Shift + R ends a macro recording and cannot be given to another command.\n\n"
                                "Choose another key."));
        platform::CodeMaxGlobals globals;
        QCOMPARE(globals.FindHotKey(platform::CodeMaxHotKey(3, 'R')), 213);
        QCOMPARE(globals.GetNumHotKeysForCmd(216), 0);
        QCOMPARE(dialog.lstKeys->item(0)->text(), QStringLiteral("<None>"));
        QCOMPARE(dialog.txtNewHotKey->text(), QString());
        QCOMPARE(QApplication::focusWidget(), dialog.txtNewHotKey);

        // A key table that has lost the key (from a file) starts no recording.
        globals.RegisterHotKey(platform::CodeMaxHotKey(3, 'R'), 216);
        QTest::mouseClick(dialog.cmdRecord[0], Qt::LeftButton);
        QCOMPARE(answers.modals().size(), 1);
        QCOMPARE(answers.msgBoxes().size(), 2);
        QCOMPARE(answers.msgBoxes()[1].prompt,
                 QStringLiteral("No key is left to end a macro recording, so none can be started.\n\n"
                                "Reset in Macros > Keyboard Assignments gives the record key back."));
        QVERIFY(!dialog.RecordEdit->IsRecordingMacro());
        QVERIFY(dialog.cmdRecord[2]->isEnabled());
    }

    // The description box: Enter moves to OK, Enter on OK takes the text;
    // Enter on a focused Cancel cancels.
    void descriptionByKeyboard()
    {
        frmMacroDesc description;
        description.show();
        QVERIFY(QTest::qWaitForWindowActive(&description));
        description.txtMacroDesc->setFocus();
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Peck drill"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(description.isVisible());
        QCOMPARE(QApplication::focusWidget(), description.cmdMacro[0]);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!description.isVisible());
        QCOMPARE(description.result(), int(QDialog::Accepted));
        QCOMPARE(description.Description(), QStringLiteral("Peck drill"));

        frmMacroDesc cancelled;
        cancelled.show();
        QVERIFY(QTest::qWaitForWindowActive(&cancelled));
        cancelled.cmdMacro[1]->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!cancelled.isVisible());
        QCOMPARE(cancelled.result(), int(QDialog::Rejected));
    }

    // Enter presses the button that has the focus: Record, Assign, Apply,
    // Close; Enter in a list presses nothing.
    void enterPressesTheFocusedButton()
    {
        platform::ScriptedAnswers answers;
        frmMacro dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        const auto enter = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); };
        dialog.lstMacros->setFocus();
        dialog.lstMacros->setCurrentRow(0);
        enter();
        QVERIFY(dialog.isVisible());
        QCOMPARE(answers.modals().size(), 0);

        dialog.cmdRecord[0]->setFocus();
        answers.scriptModal([](QDialog& d) {
            auto& description = dynamic_cast<frmMacroDesc&>(d);
            // Typed into the description window's own focus.
            description.txtMacroDesc->setFocus();
            QTest::keyClicks(description.focusWidget(), QStringLiteral("Rapid"));
            QTest::keyClick(description.focusWidget(), Qt::Key_Return);
            QCOMPARE(description.focusWidget(), description.cmdMacro[0]);
            QTest::keyClick(description.focusWidget(), Qt::Key_Return);
        });
        enter();
        QCOMPARE(answers.modals().size(), 1);
        QVERIFY(dialog.RecordEdit->IsRecordingMacro());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("G0"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(!dialog.RecordEdit->IsRecordingMacro());

        dialog.cmdRecord[1]->setFocus();
        enter();
        QCOMPARE(MacroDescriptions[0], QStringLiteral("Rapid"));
        QCOMPARE(Macronumber, 1);

        dialog.lstMacros->setCurrentRow(0);
        dialog.txtNewHotKey->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_G, Qt::ControlModifier | Qt::AltModifier);
        dialog.cmdAssign[0]->setFocus();
        enter();
        QCOMPARE(platform::CodeMaxGlobals().FindHotKey(platform::CodeMaxHotKey(6, 'G')), 214);

        dialog.cmdRecord[2]->setFocus();
        enter();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    // Without a mouse: from Record round to the macro list, a macro chosen,
    // the key typed in the box, Tab to Assign and Space, Tab to Close and Enter.
    void keyboardAloneAssignsAndCloses()
    {
        platform::ScriptedAnswers answers;
        frmMacro dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(QApplication::focusWidget(), dialog.cmdRecord[0]);
        QVERIFY(TabTo(dialog.lstMacros));
        QTest::keyClick(dialog.lstMacros, Qt::Key_Home);
        QCOMPARE(dialog.lstMacros->currentRow(), 0);
        QVERIFY(TabTo(dialog.txtNewHotKey));
        QTest::keyClick(dialog.txtNewHotKey, Qt::Key_G, Qt::ControlModifier | Qt::AltModifier);
        QVERIFY(TabTo(dialog.cmdAssign[0]));
        QTest::keyClick(dialog.cmdAssign[0], Qt::Key_Space);
        QCOMPARE(platform::CodeMaxGlobals().FindHotKey(platform::CodeMaxHotKey(6, 'G')), 214);
        QCOMPARE(dialog.lstKeys->item(0)->text(), QStringLiteral("Ctrl + Alt + G"));
        QVERIFY(TabTo(dialog.cmdRecord[2]));
        QTest::keyClick(dialog.cmdRecord[2], Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    // Esc does what Close does: nothing while a recording runs (Close is off
    // then); once it has ended, it closes. In the capture box it is a key.
    void escapeWaitsForTheRecordingToEnd()
    {
        platform::ScriptedAnswers answers;
        frmMacro dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        answers.scriptModal(Describe(QStringLiteral("Spindle")));
        QTest::mouseClick(dialog.cmdRecord[0], Qt::LeftButton);
        QVERIFY(dialog.RecordEdit->IsRecordingMacro());
        dialog.lstMacros->setFocus();
        QTest::keyClick(dialog.lstMacros, Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.RecordEdit->IsRecordingMacro());

        QWidget* pane = dialog.RecordEdit->ActivePane();
        pane->setFocus();
        QTest::keyClick(pane, Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(!dialog.RecordEdit->IsRecordingMacro());
        dialog.txtNewHotKey->setFocus();
        QTest::keyClick(dialog.txtNewHotKey, Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.txtNewHotKey->text(), QString());  // captured, with no name to show
        dialog.lstMacros->setFocus();
        QTest::keyClick(dialog.lstMacros, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    // Ten macros and none freed: Record says so and opens nothing.
    void allTenSlotsInUse()
    {
        Macronumber = 10;
        for (int k = 0; k < MaxMacros; ++k)
            MacroDescriptions[static_cast<size_t>(k)] = QStringLiteral("m%1").arg(k);
        platform::ScriptedAnswers answers;
        frmMacro dialog;
        QTest::mouseClick(dialog.cmdRecord[0], Qt::LeftButton);
        QCOMPARE(answers.modals().size(), 0);
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt,
                 QStringLiteral("All ten macro slots are in use. Remove a macro before recording a new one."));
        QVERIFY(!dialog.RecordEdit->IsRecordingMacro());
    }
};

REGISTER_TEST(TestFrmMacro);

#include "tst_frmMacro.moc"
