// Key capture and listing texts, and the key assignment dialog.

#include "HostFixture.h"

#include "customise/HotKeyBox.h"
#include "customise/HotKeyText.h"
#include "customise/MacroFiles.h"
#include "customise/frmKeys.h"
#include "customise/frmMacro.h"
#include "platform/codemax/CodeMaxGlobals.h"
#include "platform/codemax/CodeMaxHotKeyTable.h"
#include "platform/forms/ScriptedAnswers.h"

#include <QLabel>
#include <QListWidget>
#include <QTextLayout>
#include <QPushButton>
#include <QTest>
#include "support/DesktopFont.h"
#include "support/TestRegistry.h"
#include "shell/FileTestHelpers.h"

namespace {

QStringList Lines(const QListWidget& list)
{
    QStringList lines;
    for (int i = 0; i < list.count(); ++i)
        lines.append(list.item(i)->text());
    return lines;
}

// A key dialog shown with a command (or macro) chosen, its capture box
// focused and holding Ctrl+Q.
std::unique_ptr<QDialog> ShowKeyDialogWithCapture(const QString& which)
{
    std::unique_ptr<QDialog> dialog;
    if (which == u"keys") {
        auto keys = std::make_unique<frmKeys>();
        keys->lstKeys->setCurrentRow(47);
        dialog = std::move(keys);
    } else {
        auto macro = std::make_unique<frmMacro>();
        macro->lstMacros->setCurrentRow(0);
        dialog = std::move(macro);
    }
    dialog->show();
    if (!QTest::qWaitForWindowActive(dialog.get()))
        return nullptr;
    auto* box = dialog->findChild<HotKeyBox*>();
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Q, Qt::ControlModifier);
    return dialog;
}


}  // namespace

class TestFrmKeys : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<ProgramFixture> program_;

private slots:
    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
        QVERIFY(program_->IsValid());
        platform::CodeMaxGlobals().ResetDefaultHotKeys();
    }
    void cleanup()
    {
        platform::CodeMaxGlobals().ResetDefaultHotKeys();
        program_.reset();
    }

    void capture_data()
    {
        QTest::addColumn<int>("vk");
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::newRow("Ctrl+A") << 65 << 2 << 2 << "Ctrl + A";
        QTest::newRow("Shift+Ctrl+F5") << 116 << 3 << 3 << "Shift + Ctrl + F5";
        QTest::newRow("Shift+Ctrl+Alt+F5: Alt left out") << 116 << 7 << 3 << "Shift + Ctrl + F5";
        QTest::newRow("Shift+Ctrl+Alt+K") << 75 << 7 << 7 << "Shift + Ctrl + Alt + K";
        QTest::newRow("Shift+Alt+B") << 66 << 5 << 5 << "Shift + Alt + B";
        QTest::newRow("F1") << 112 << 0 << 0 << "F1";
        QTest::newRow("Home") << 36 << 0 << 0 << "Home";
        QTest::newRow("Return") << 13 << 4 << 4 << "Alt + Return";
        QTest::newRow("Ctrl+Delete: no name") << 46 << 2 << 2 << "Ctrl + ";
        QTest::newRow("Ctrl alone") << 17 << 2 << 2 << "Ctrl + ";
    }
    void capture()
    {
        QFETCH(int, vk);
        QFETCH(int, mask);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        const auto key = CaptureKey(vk, mask);
        QVERIFY(key);
        QCOMPARE(key->modifiers, modifiers);
        QCOMPARE(key->vk, vk);
        QCOMPARE(key->text, text);
        QCOMPARE(key->Assignable(), vk != 17);
    }

    void uncapturable_data()
    {
        QTest::addColumn<int>("vk");
        QTest::newRow("digit 5") << 53;
        QTest::newRow("keypad 1") << 97;
        QTest::newRow("F13") << 124;
        QTest::newRow("comma") << 188;
    }
    void uncapturable()
    {
        QFETCH(int, vk);
        QVERIFY(!CaptureKey(vk, 2));
    }

    void listing_data()
    {
        QTest::addColumn<int>("mods1");
        QTest::addColumn<int>("vk");
        QTest::addColumn<int>("mods2");
        QTest::addColumn<QString>("text");
        QTest::newRow("Ctrl before Shift") << 3 << 116 << 0 << "Ctrl + Shift + F5";
        QTest::newRow("Alt before Shift") << 5 << 65 << 0 << "Alt + Shift + A";
        QTest::newRow("Enter Key") << 0 << 13 << 0 << "Enter Key";
        QTest::newRow("F1 has no name") << 0 << 112 << 0 << "";
        QTest::newRow("second modifiers") << 2 << 65 << 1 << "Ctrl + AShift";
        QTest::newRow("all three") << 7 << 75 << 0 << "Shift + Ctrl + Alt + K";
    }
    void listing()
    {
        QFETCH(int, mods1);
        QFETCH(int, vk);
        QFETCH(int, mods2);
        QFETCH(QString, text);
        QCOMPARE(HotKeyListingText(platform::CodeMaxHotKey(mods1, vk, mods2, mods2 ? 'B' : 0)), text);
    }

    // The box captures what is typed into it; a key it cannot take leaves
    // the capture and its text as they were.
    void captureBox()
    {
        HotKeyBox box;
        QTest::keyClick(&box, Qt::Key_A);
        QTest::keyClick(&box, Qt::Key_B);
        QCOMPARE(box.text(), QStringLiteral("B"));
        QTest::keyClick(&box, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(box.text(), QStringLiteral("Ctrl + Q"));
        QTest::keyClick(&box, Qt::Key_5);
        QCOMPARE(box.text(), QStringLiteral("Ctrl + Q"));
        QCOMPARE(box.Captured()->HotKey(), platform::CodeMaxHotKey(2, 'Q'));
        // Ctrl is a key too: shown while it is pressed, but never bindable.
        QTest::keyClick(&box, Qt::Key_5, Qt::ControlModifier);
        QCOMPARE(box.text(), QStringLiteral("Ctrl + "));
        QVERIFY(!box.Captured()->Assignable());
    }

    // Assign binds the captured key to the selected command and writes the
    // table; reselecting lists it; Remove drops every key of the command.
    void assignAndRemove()
    {
        platform::ScriptedAnswers answers;
        frmKeys dialog;
        QCOMPARE(dialog.lstKeys->count(), frmKeys::CommandCount);
        QCOMPARE(frmKeys::CommandId(13), 184);
        QTest::keyClick(dialog.Text3, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!dialog.cmdAssign[0]->isEnabled());  // no command chosen yet

        dialog.lstKeys->setCurrentRow(47);
        QCOMPARE(dialog.txtDescription->text(), QStringLiteral("Selects the entire document"));
        QVERIFY(dialog.cmdAssign[0]->isEnabled());
        const QStringList before = Lines(*dialog.lstKeyAssignment);
        QTest::mouseClick(dialog.cmdAssign[0], Qt::LeftButton);
        QVERIFY(!dialog.cmdAssign[0]->isEnabled());
        platform::CodeMaxGlobals globals;
        QCOMPARE(globals.FindHotKey(platform::CodeMaxHotKey(2, 'Q')), 137);
        QCOMPARE(Lines(*dialog.lstKeyAssignment), before + QStringList{"Ctrl + Q"});
        QCOMPARE(FileBytes(HotKeysFile()), globals.GetHotKeys());

        dialog.lstKeys->setCurrentRow(0);
        dialog.lstKeys->setCurrentRow(47);
        QCOMPARE(Lines(*dialog.lstKeyAssignment).first(), QStringLiteral("Ctrl + Q"));

        // A bare modifier shows but cannot be bound.
        QTest::keyClick(dialog.Text3, Qt::Key_Control);
        QCOMPARE(dialog.Text3->text(), QStringLiteral("Ctrl + "));
        QVERIFY(!dialog.cmdAssign[0]->isEnabled());

        QVERIFY(globals.GetNumHotKeysForCmd(137) >= 2);
        dialog.lstKeyAssignment->setCurrentRow(0);
        emit dialog.lstKeyAssignment->itemClicked(dialog.lstKeyAssignment->item(0));
        QVERIFY(dialog.cmdAssign[1]->isEnabled());
        QTest::mouseClick(dialog.cmdAssign[1], Qt::LeftButton);
        QCOMPARE(dialog.lstKeyAssignment->count(), 0);
        QCOMPARE(globals.GetNumHotKeysForCmd(137), 0);
        QCOMPARE(FileBytes(HotKeysFile()), globals.GetHotKeys());
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    // The key that ends a recording cannot be given to a macro or another
    // command: Assign says so, binds nothing and writes nothing; the capture
    // box is emptied and has the focus for another key.
    void recordKeyIsNotGivenAway()
    {
        platform::ScriptedAnswers answers;
        frmKeys dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.lstKeys->setCurrentRow(39);  // "Macro 3"
        QCOMPARE(dialog.lstKeys->currentItem()->text(), QStringLiteral("Macro 3"));
        dialog.Text3->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(dialog.Text3->text(), QStringLiteral("Shift + Ctrl + R"));
        QVERIFY(dialog.cmdAssign[0]->isEnabled());
        QTest::mouseClick(dialog.cmdAssign[0], Qt::LeftButton);

        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt,
                 QStringLiteral("Ctrl + Shift + R ends a macro recording and cannot be given to another command.\n\n"
                                "Choose another key."));
        QCOMPARE(answers.msgBoxes()[0].style, platform::vbExclamation);
        platform::CodeMaxGlobals globals;
        QCOMPARE(globals.FindHotKey(platform::CodeMaxHotKey(3, 'R')), 213);
        QCOMPARE(globals.GetNumHotKeysForCmd(216), 0);
        QCOMPARE(dialog.lstKeyAssignment->count(), 0);
        QVERIFY(!QFile::exists(HotKeysFile()));
        QVERIFY(!dialog.cmdAssign[0]->isEnabled());
        QCOMPARE(dialog.Text3->text(), QString());
        QCOMPARE(QApplication::focusWidget(), dialog.Text3);

        // Any other key is bound as before.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::mouseClick(dialog.cmdAssign[0], Qt::LeftButton);
        QCOMPARE(globals.FindHotKey(platform::CodeMaxHotKey(3, 'M')), 216);
        QCOMPARE(answers.msgBoxes().size(), 1);
    }

    // Enter presses the focused button: Assign and Remove act and the dialog
    // stays open; Close closes it.
    void enterPressesTheFocusedButton()
    {
        platform::ScriptedAnswers answers;
        frmKeys dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        const auto enter = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); };
        dialog.lstKeys->setCurrentRow(47);
        dialog.Text3->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier);
        dialog.cmdAssign[0]->setFocus();
        enter();
        QVERIFY(dialog.isVisible());
        platform::CodeMaxGlobals globals;
        QCOMPARE(globals.FindHotKey(platform::CodeMaxHotKey(2, 'Q')), 137);

        dialog.lstKeyAssignment->setCurrentRow(0);
        emit dialog.lstKeyAssignment->itemClicked(dialog.lstKeyAssignment->item(0));
        QCOMPARE(QApplication::focusWidget(), dialog.cmdAssign[1]);
        enter();
        QVERIFY(dialog.isVisible());
        QCOMPARE(globals.GetNumHotKeysForCmd(137), 0);

        answers.answerMsgBox(platform::vbNo);
        dialog.cmdAssign[2]->setFocus();
        enter();
        QCOMPARE(answers.msgBoxes().size(), 1);
        QVERIFY(dialog.isVisible());

        dialog.cmdButton->setFocus();
        enter();
        QVERIFY(!dialog.isVisible());
    }

    // In the capture box Tab and Shift+Tab move on as from any text box, the
    // capture kept; with Ctrl they are keys to capture as every other key is,
    // Esc included.
    void captureBoxLeavesTabToTheDialog_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("focusAfter");  // empty: the box keeps the focus
        QTest::addColumn<QString>("text");        // the box's text after the key
        const int none = Qt::NoModifier, shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
        for (const QString& which : {QStringLiteral("keys"), QStringLiteral("macro")}) {
            const QString next = which == u"keys" ? QStringLiteral("lstKeyAssignment") : QStringLiteral("cmdAssign0");
            const auto row = [&which](const char* name) -> QTestData& {
                return QTest::newRow(qPrintable(which + QStringLiteral(": ") + QLatin1String(name)));
            };
            row("Tab") << which << int(Qt::Key_Tab) << none << next << "Ctrl + Q";
            row("Shift+Tab") << which << int(Qt::Key_Backtab) << shift << "lstKeys" << "Ctrl + Q";
            row("Esc") << which << int(Qt::Key_Escape) << none << "" << "";  // captured, with no name to show
            row("Ctrl+Tab") << which << int(Qt::Key_Tab) << ctrl << "" << "Ctrl + ";
            row("Shift+Ctrl+Tab") << which << int(Qt::Key_Backtab) << (shift | ctrl) << "" << "Shift + Ctrl + ";
            row("Shift+Esc") << which << int(Qt::Key_Escape) << shift << "" << "Shift + ";
            row("Return") << which << int(Qt::Key_Return) << none << "" << "Return";
        }
    }
    void captureBoxLeavesTabToTheDialog()
    {
        QFETCH(QString, dialog);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, focusAfter);
        QFETCH(QString, text);
        platform::ScriptedAnswers answers;
        const std::unique_ptr<QDialog> shown = ShowKeyDialogWithCapture(dialog);
        QVERIFY(shown);
        auto* box = shown->findChild<HotKeyBox*>();
        auto* assign = shown->findChild<QPushButton*>(QStringLiteral("cmdAssign0"));
        QCOMPARE(box->text(), QStringLiteral("Ctrl + Q"));
        QVERIFY(assign->isEnabled());

        QTest::keyClick(box, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(box->text(), text);
        QVERIFY(shown->isVisible());
        if (focusAfter.isEmpty()) {
            QCOMPARE(QApplication::focusWidget(), box);
        } else {
            QVERIFY(QApplication::focusWidget());
            QCOMPARE(QApplication::focusWidget()->objectName(), focusAfter);
            // The capture that was there is still the one Assign binds.
            QCOMPARE(box->Captured()->HotKey(), platform::CodeMaxHotKey(2, 'Q'));
            QVERIFY(assign->isEnabled());
        }
    }

    // Without a mouse: choose a command, Tab to the box, type the key, Tab to
    // Assign and press it with Space; back through the box with Shift+Tab,
    // which leaves Assign off; Tab to Close and press it with Enter.
    void keyboardAloneAssignsAndCloses()
    {
        platform::ScriptedAnswers answers;
        frmKeys dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QVERIFY(TabTo(dialog.lstKeys));
        QTest::keyClick(dialog.lstKeys, Qt::Key_End);
        QCOMPARE(dialog.lstKeys->currentRow(), frmKeys::CommandCount - 1);  // "Select Line"
        QVERIFY(TabTo(dialog.Text3));
        QTest::keyClick(dialog.Text3, Qt::Key_J, Qt::ControlModifier | Qt::AltModifier);
        QVERIFY(TabTo(dialog.cmdAssign[0]));
        QTest::keyClick(dialog.cmdAssign[0], Qt::Key_Space);
        platform::CodeMaxGlobals globals;
        QCOMPARE(globals.FindHotKey(platform::CodeMaxHotKey(6, 'J')), 136);
        QCOMPARE(Lines(*dialog.lstKeyAssignment).last(), QStringLiteral("Ctrl + Alt + J"));
        QVERIFY(!dialog.cmdAssign[0]->isEnabled());
        QVERIFY(TabTo(dialog.Text3, true));
        QVERIFY(TabTo(dialog.lstKeys, true));
        QCOMPARE(dialog.Text3->text(), QStringLiteral("Ctrl + Alt + J"));
        QVERIFY(!dialog.cmdAssign[0]->isEnabled());
        QVERIFY(TabTo(dialog.cmdButton));
        QTest::keyClick(dialog.cmdButton, Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    // Every command's description is shown whole, from its start: the ink in
    // the box begins at its left edge, its first line is the text's first
    // line, and every further line the text needs is drawn inside the box.
    void descriptionShownWhole()
    {
        frmKeys dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* box = dialog.findChild<QWidget*>(QStringLiteral("txtDescription"));
        QVERIFY(box);
        for (int row = 0; row < frmKeys::CommandCount; ++row) {
            dialog.lstKeys->setCurrentRow(row);
            const QString text = box->property("text").toString();
            QVERIFY(!text.isEmpty());
            const QRect contents = box->contentsRect();
            const QImage image = box->grab().toImage();
            QRect ink;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (qGray(image.pixel(x, y)) < 128)
                        ink |= QRect(x, y, 1, 1);
            QVERIFY2(!ink.isEmpty(), qPrintable(text));

            // How the text wraps at the box's width.
            QTextLayout layout(text, box->font());
            QTextOption option;
            option.setWrapMode(QTextOption::WordWrap);
            layout.setTextOption(option);
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
                line.setLineWidth(contents.width());
            layout.endLayout();
            const QFontMetrics metrics(box->font());
            const int lines = layout.lineCount();
            const int firstLineWidth = qRound(layout.lineAt(0).naturalTextWidth());

            QVERIFY2(ink.left() - contents.left() <= 3, qPrintable(text));
            int firstLineRight = ink.left();
            for (int y = ink.top(); y < ink.top() + metrics.ascent(); ++y)
                for (int x = ink.left(); x < image.width(); ++x)
                    if (qGray(image.pixel(x, y)) < 128)
                        firstLineRight = std::max(firstLineRight, x);
            QVERIFY2(std::abs(firstLineRight + 1 - ink.left() - firstLineWidth) <= 6, qPrintable(text));
            QVERIFY2(ink.height() > (lines - 1) * metrics.lineSpacing(), qPrintable(text));
            QVERIFY2(contents.contains(ink), qPrintable(text));
        }
    }

    // Reset asks, then stores the default table and lists it.
    void reset()
    {
        platform::CodeMaxGlobals globals;
        globals.RegisterHotKey(platform::CodeMaxHotKey(2, 'Q'), 137);
        platform::ScriptedAnswers answers;
        frmKeys dialog;
        dialog.lstKeys->setCurrentRow(47);
        QVERIFY(Lines(*dialog.lstKeyAssignment).contains(QStringLiteral("Ctrl + Q")));

        answers.answerMsgBox(platform::vbNo);
        QTest::mouseClick(dialog.cmdAssign[2], Qt::LeftButton);
        QCOMPARE(globals.FindHotKey(platform::CodeMaxHotKey(2, 'Q')), 137);
        QVERIFY(!QFile::exists(HotKeysFile()));

        answers.answerMsgBox(platform::vbYes);
        QTest::mouseClick(dialog.cmdAssign[2], Qt::LeftButton);
        QCOMPARE(answers.msgBoxes().last().prompt, QStringLiteral("Reset every key assignment to its default?"));
        QCOMPARE(globals.GetHotKeys(), platform::CodeMaxHotKeyTable::Defaults().ToBytes());
        QCOMPARE(FileBytes(HotKeysFile()), globals.GetHotKeys());
        QVERIFY(!Lines(*dialog.lstKeyAssignment).contains(QStringLiteral("Ctrl + Q")));
    }
};

REGISTER_TEST(TestFrmKeys);

#include "tst_frmKeys.moc"
