// Keys: virtual-key codes, the hot-key table and its bytes, and key
// dispatch through the table.

#include "support/TestRegistry.h"

#include "platform/codemax/CodeMax.h"
#include "platform/codemax/CodeMaxHotKeyTable.h"
#include "platform/codemax/CodeMaxKeys.h"
#include "platform/forms/Error.h"

#include <Qsci/qsciscintilla.h>

#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

using platform::CodeMax;
using platform::CodeMaxGlobals;
using platform::CodeMaxHotKey;
using platform::CodeMaxHotKeyTable;
namespace Cmd = platform::CodeMaxCmd;
namespace Keys = platform::CodeMaxKeys;

namespace {

constexpr int Shift = CodeMaxHotKey::Shift, Ctrl = CodeMaxHotKey::Ctrl, Alt = CodeMaxHotKey::Alt;

// Puts the built-in table back after each test.
struct TableGuard {
    ~TableGuard() { CodeMaxGlobals().ResetDefaultHotKeys(); }
};

class TestCodeMaxKeys : public QObject {
    Q_OBJECT
private slots:
    void virtualKeys_data()
    {
        QTest::addColumn<int>("qtKey");
        QTest::addColumn<bool>("keypad");
        QTest::addColumn<int>("vk");
        QTest::newRow("A") << int(Qt::Key_A) << false << 65;
        QTest::newRow("Z") << int(Qt::Key_Z) << false << 90;
        QTest::newRow("5") << int(Qt::Key_5) << false << 53;
        QTest::newRow("% is the 5 key") << int(Qt::Key_Percent) << false << 53;
        QTest::newRow("keypad 5") << int(Qt::Key_5) << true << 101;
        QTest::newRow("F1") << int(Qt::Key_F1) << false << 112;
        QTest::newRow("F12") << int(Qt::Key_F12) << false << 123;
        QTest::newRow("Backspace") << int(Qt::Key_Backspace) << false << 8;
        QTest::newRow("Return") << int(Qt::Key_Return) << false << 13;
        QTest::newRow("Enter") << int(Qt::Key_Enter) << false << 13;
        QTest::newRow("Ctrl") << int(Qt::Key_Control) << false << 17;
        QTest::newRow("Page Up") << int(Qt::Key_PageUp) << false << 33;
        QTest::newRow("Down") << int(Qt::Key_Down) << false << 40;
        QTest::newRow("Insert") << int(Qt::Key_Insert) << false << 45;
        QTest::newRow("Delete") << int(Qt::Key_Delete) << false << 46;
        QTest::newRow("minus") << int(Qt::Key_Minus) << false << 189;
        QTest::newRow("unknown") << int(Qt::Key_MediaPlay) << false << 0;
    }
    void virtualKeys()
    {
        QFETCH(int, qtKey);
        QFETCH(bool, keypad);
        QFETCH(int, vk);
        QCOMPARE(Keys::VirtualKey(qtKey, keypad), vk);
        if (vk && !keypad && qtKey != Qt::Key_Percent && qtKey != Qt::Key_Enter)
            QCOMPARE(Keys::QtKey(vk), qtKey);
        QCOMPARE(Keys::ShiftMask(Qt::ShiftModifier | Qt::AltModifier), 5);
        QCOMPARE(Keys::Modifiers(3), Qt::ShiftModifier | Qt::ControlModifier);
    }

    void tableKeepsOrderAndRoundTrips()
    {
        TableGuard guard;
        CodeMaxGlobals g;
        QCOMPARE(g.GetNumHotKeysForCmd(204), 1);  // Ctrl+F2 by default
        g.RegisterHotKey({Ctrl, 'A'}, 204);       // taken from Select All
        g.RegisterHotKey({Ctrl, 'Q'}, 204);
        QCOMPARE(g.GetNumHotKeysForCmd(204), 3);
        QCOMPARE(g.GetNumHotKeysForCmd(Cmd::SelectAll), 0);
        QCOMPARE(g.GetHotKeyForCmd(204, 1), (CodeMaxHotKey{Ctrl, 'A'}));
        QCOMPARE(g.GetHotKeyForCmd(204, 2).key1, QString("Q"));
        QVERIFY_THROWS_EXCEPTION(platform::Error, g.GetHotKeyForCmd(Cmd::SelectAll, 0));
        QVERIFY_THROWS_EXCEPTION(platform::Error, g.GetHotKeyForCmd(204, 3));
        QCOMPARE(g.GetNumHotKeysForCmd(224), 0);

        const QByteArray bytes = g.GetHotKeys();
        QVERIFY(bytes.startsWith("CMHK"));
        g.ResetDefaultHotKeys();
        QCOMPARE(g.GetNumHotKeysForCmd(204), 1);
        g.SetHotKeys(bytes);
        QCOMPARE(g.GetHotKeys(), bytes);
        QCOMPARE(g.GetHotKeyForCmd(204, 2), (CodeMaxHotKey{Ctrl, 'Q'}));

        g.UnregisterHotKey({Ctrl, 'A'});
        QCOMPARE(g.GetNumHotKeysForCmd(204), 2);
        QCOMPARE(g.GetHotKeys().size(), bytes.size() - 6);  // a shorter table, shorter bytes
    }

    void chordsAndBytes()
    {
        CodeMaxHotKeyTable table;
        table.Bind({Ctrl, 'K', Ctrl, 'C'}, 198);
        table.Bind({Ctrl | Shift | Alt, 'Z'}, 300);
        const CodeMaxHotKeyTable back = CodeMaxHotKeyTable::FromBytes(table.ToBytes());
        QVERIFY(back == table);
        QVERIFY(back.StartsChord(Ctrl, 'K'));
        QCOMPARE(back.CommandOf({Ctrl, 'K', Ctrl, 'C'}), 198);
        QCOMPARE(back.CommandOf({Ctrl, 'K'}), -1);
    }

    // Whatever the table accepts must read back from its bytes; a key that
    // could not is refused when it is registered and leaves the table as it was.
    void registeredKeysReadBack_data()
    {
        QTest::addColumn<int>("mods1");
        QTest::addColumn<int>("vk1");
        QTest::addColumn<int>("mods2");
        QTest::addColumn<int>("vk2");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("one stroke") << Ctrl << int('Q') << 0 << 0 << true;
        QTest::newRow("chord") << Ctrl << int('K') << Shift << int('C') << true;
        QTest::newRow("second modifiers, no second key") << Ctrl << int('K') << Shift << 0 << false;
        QTest::newRow("no first key") << Ctrl << 0 << 0 << 0 << false;
        QTest::newRow("modifiers beyond Alt") << 8 << int('A') << 0 << 0 << false;
    }
    void registeredKeysReadBack()
    {
        QFETCH(int, mods1);
        QFETCH(int, vk1);
        QFETCH(int, mods2);
        QFETCH(int, vk2);
        QFETCH(bool, accepted);
        TableGuard guard;
        CodeMaxGlobals g;
        const QByteArray before = g.GetHotKeys();
        const CodeMaxHotKey key(mods1, vk1, mods2, vk2);
        if (accepted) {
            g.RegisterHotKey(key, 204);
            QCOMPARE(g.FindHotKey(key), 204);
        } else {
            QVERIFY_THROWS_EXCEPTION(platform::Error, g.RegisterHotKey(key, 204));
            QCOMPARE(g.GetHotKeys(), before);
        }
        const QByteArray bytes = g.GetHotKeys();
        g.ResetDefaultHotKeys();
        g.SetHotKeys(bytes);
        QCOMPARE(g.GetHotKeys(), bytes);
    }

    void damagedHotKeyBytesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = CodeMaxHotKeyTable::Defaults().ToBytes();
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("garbage") << QByteArray("garbage");
        QTest::newRow("cut short") << good.left(good.size() - 1);
        QTest::newRow("one byte more") << good + 'x';
        QByteArray badVersion = good;
        badVersion[4] = 9;
        QTest::newRow("other version") << badVersion;
        QByteArray badMods = good;
        badMods[8] = char(0x40);
        QTest::newRow("modifiers out of range") << badMods;
        QByteArray noKey = good;
        noKey[9] = 0;
        QTest::newRow("no key") << noKey;
    }
    void damagedHotKeyBytesAreRefused()
    {
        QFETCH(QByteArray, bytes);
        TableGuard guard;
        CodeMaxGlobals g;
        g.RegisterHotKey({Ctrl, 'Q'}, 204);
        const QByteArray before = g.GetHotKeys();
        QVERIFY_THROWS_EXCEPTION(platform::Error, g.SetHotKeys(bytes));
        QCOMPARE(g.GetHotKeys(), before);  // the table is left as it was
    }

    void keysGoThroughTheTable()
    {
        TableGuard guard;
        CodeMax c;
        c.SetText("A\r\nB\r\nC");
        c.SetSel({1, 0, 1, 0}, false);
        QsciScintilla* pane = c.ActivePane();
        CodeMaxGlobals g;
        g.RegisterHotKey({Ctrl, 'L'}, Cmd::LineDelete);
        QTest::keyClick(pane, Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(c.Text(), QString("A\r\nC"));
        g.UnregisterHotKey({Ctrl, 'L'});
        QTest::keyClick(pane, Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(c.Text(), QString("A\r\nC"));  // unbound: nothing, not typed either

        g.RegisterHotKey({Ctrl, 'A'}, Cmd::DocumentEnd);
        c.SetSel({0, 0, 0, 0}, false);
        QTest::keyClick(pane, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(c.GetSel(false), (platform::CodeMaxRange{1, 1, 1, 1}));

        // The usual keys are in the built-in table.
        g.ResetDefaultHotKeys();
        QTest::keyClick(pane, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(pane, Qt::Key_Down);
        QTest::keyClick(pane, Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(c.SelText(), QString("C"));
        QTest::keyClick(pane, Qt::Key_Delete);
        QTest::keyClick(pane, Qt::Key_Backspace);
        QTest::keyClick(pane, Qt::Key_Return);
        QTest::keyClicks(pane, "N5");
        QCOMPARE(c.Text(), QString("A\r\nN5"));
        QTest::keyClick(pane, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(c.Text() != QString("A\r\nN5"));
    }

    // Typing undoes in the steps of the bare editing control: characters
    // typed one after another, line breaks among them, are one step; a caret
    // moved away, a deletion or a selection typed over starts a new one.
    void typingUndoesInTheStepsOfTheBareControl()
    {
        const QString start = QStringLiteral("G1\nX5");
        CodeMax c;
        c.SetText(start);
        c.SetSel({0, 2, 0, 2}, false);
        QsciScintilla bare;
        bare.setText(start);
        bare.SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
        bare.setCursorPosition(0, 2);
        const auto type = [](QWidget* pane) {
            QTest::keyClicks(pane, " (SE)");
            QTest::keyClick(pane, Qt::Key_Down);
            QTest::keyClicks(pane, "Y7");
            QTest::keyClick(pane, Qt::Key_Backspace);
            QTest::keyClick(pane, Qt::Key_Backspace);
            QTest::keyClicks(pane, "Y8");
            QTest::keyClick(pane, Qt::Key_Home, Qt::ShiftModifier);
            QTest::keyClicks(pane, "Z9");
            QTest::keyClick(pane, Qt::Key_Return);
            QTest::keyClicks(pane, "M5");
        };
        type(c.ActivePane());
        type(&bare);
        const auto lf = [](QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); };
        QCOMPARE(lf(c.Text()), QStringLiteral("G1 (SE)\nZ9\nM5"));
        QCOMPARE(bare.text(), lf(c.Text()));
        QStringList steps, bareSteps;
        while (bare.isUndoAvailable()) {
            QTest::keyClick(&bare, Qt::Key_Z, Qt::ControlModifier);
            bareSteps << bare.text();
            QTest::keyClick(c.ActivePane(), Qt::Key_Z, Qt::ControlModifier);
            steps << lf(c.Text());
        }
        QCOMPARE(steps, bareSteps);
        QCOMPARE(steps.first(), QStringLiteral("G1 (SE)\nZ"));
        QCOMPARE(steps.last(), start);
        QVERIFY(steps.size() <= 6);
        QTest::keyClick(c.ActivePane(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(lf(c.Text()), QStringLiteral("G1 (SE)\nX5"));
    }

    void chordDispatch()
    {
        TableGuard guard;
        CodeMax c;
        c.SetText("ABC");
        CodeMaxGlobals().RegisterHotKey({Ctrl, 'K', 0, 'E'}, Cmd::DocumentEnd);
        QTest::keyClick(c.ActivePane(), Qt::Key_K, Qt::ControlModifier);
        QTest::keyClick(c.ActivePane(), Qt::Key_E);
        QCOMPARE(c.GetSel(false), (platform::CodeMaxRange{0, 3, 0, 3}));
        QCOMPARE(c.Text(), QString("ABC"));  // the second stroke was not typed
    }

    void keyDownComesFirstAndCanStopTheKey()
    {
        CodeMax c;
        c.SetText("AB");
        QList<std::pair<int, int>> seen;
        bool stop = true;
        connect(&c, &CodeMax::KeyDown, [&](CodeMax* control, int key, int shift, bool& cancel) {
            QCOMPARE(control, &c);
            if (!Keys::IsModifierKey(key))  // Shift on its own comes too
                seen.append({key, shift});
            cancel = stop;
        });
        QTest::keyClick(c.ActivePane(), 'X', Qt::ShiftModifier);
        QTest::keyClick(c.ActivePane(), Qt::Key_Delete);
        QCOMPARE(c.Text(), QString("AB"));
        stop = false;
        QTest::keyClick(c.ActivePane(), Qt::Key_Insert);  // not bound: the programs switch modes
        QVERIFY(!c.OverwriteMode());
        QTest::keyClick(c.ActivePane(), 'X', Qt::ShiftModifier);
        QCOMPARE(c.Text(), QString("XAB"));
        QCOMPARE(seen, (QList<std::pair<int, int>>{{88, 1}, {46, 0}, {45, 0}, {88, 1}}));
    }

    void settingsRequestKey()
    {
        CodeMax c;
        int requests = 0;
        connect(&c, &CodeMax::SettingsRequest, [&](CodeMax*, bool& cancel) {
            ++requests;
            cancel = true;
        });
        QTest::keyClick(c.ActivePane(), Qt::Key_Return, Qt::AltModifier);
        QCOMPARE(requests, 1);
        QCOMPARE(c.Text(), QString());
    }

    // ExecuteCmd(195) deletes only a selection; the Delete key (and any key
    // bound to 195) also deletes the character after the caret.
    void deleteKeyAndDeleteCommand()
    {
        TableGuard guard;
        CodeMax c;
        c.SetText("ABCD");
        c.SetSel({0, 1, 0, 1}, false);
        QTest::keyClick(c.ActivePane(), Qt::Key_Delete);
        QCOMPARE(c.Text(), QString("ACD"));
        c.ExecuteCmd(Cmd::Delete);
        QCOMPARE(c.Text(), QString("ACD"));
        CodeMaxGlobals().RegisterHotKey({Ctrl, 'Q'}, Cmd::Delete);
        QTest::keyClick(c.ActivePane(), Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(c.Text(), QString("AD"));
        QCOMPARE(CodeMaxGlobals().FindHotKey({0, 46}), Cmd::Delete);  // the table still says Delete
    }

    // A dialog holding the control closes on Escape when the editor has
    // nothing to cancel; Return stays with the editor.
    void escapeGoesOnToTheDialogWhenNothingToCancel()
    {
        QDialog dialog;
        auto* layout = new QVBoxLayout(&dialog);
        auto* c = new CodeMax(&dialog);
        layout->addWidget(c);
        auto* ok = new QPushButton("OK", &dialog);
        ok->setDefault(true);
        layout->addWidget(ok);
        int accepted = 0, rejected = 0;
        connect(&dialog, &QDialog::accepted, [&] { ++accepted; });
        connect(&dialog, &QDialog::rejected, [&] { ++rejected; });
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QsciScintilla* pane = c->ActivePane();
        c->SetText("N10\r\nN20");
        c->SetSel({0, 0, 0, 2}, false);
        QTest::keyClick(pane, Qt::Key_Escape);  // empties the selection first
        QCOMPARE(rejected, 0);
        QVERIFY(c->SelText().isEmpty());
        QCOMPARE(c->GetSel(false), (platform::CodeMaxRange{0, 2, 0, 2}));
        QTest::keyClick(pane, Qt::Key_Return);
        QCOMPARE(accepted, 0);
        QCOMPARE(c->Text(), QString("N1\r\n0\r\nN20"));

        c->ExecuteCmd(Cmd::RecordMacro, 9);  // a recording takes the key
        QTest::keyClick(pane, Qt::Key_Escape);
        QCOMPARE(rejected, 0);
        c->ExecuteCmd(Cmd::RecordMacro);
        CodeMaxGlobals().SetMacro(9, {});

        QTest::keyClick(pane, Qt::Key_Escape);
        QCOMPARE(rejected, 1);
        QCOMPARE(accepted, 0);
    }

    void shortcutsOfTheWindowPassUnboundKeys()
    {
        CodeMax c;
        QKeyEvent bound(QEvent::ShortcutOverride, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(QCoreApplication::sendEvent(c.ActivePane(), &bound));
        QVERIFY(bound.isAccepted());
        QKeyEvent unbound(QEvent::ShortcutOverride, Qt::Key_S, Qt::ControlModifier);
        QCoreApplication::sendEvent(c.ActivePane(), &unbound);
        QVERIFY(!unbound.isAccepted());
    }
};

}  // namespace

REGISTER_TEST(TestCodeMaxKeys);
#include "tst_CodeMaxKeys.moc"
