// Macros: recording typed text and commands into the slot the caller
// chose, playing them in any control, the slot bytes.

#include "support/TestRegistry.h"

#include "platform/codemax/CodeMax.h"
#include "platform/codemax/CodeMaxMacro.h"
#include "platform/forms/Error.h"

#include <Qsci/qsciscintilla.h>

#include <QTest>

using platform::CodeMax;
using platform::CodeMaxGlobals;
using platform::CodeMaxMacro;
namespace Cmd = platform::CodeMaxCmd;

namespace {

// Empties the ten slots after each test.
struct SlotGuard {
    ~SlotGuard()
    {
        for (int k = 0; k < CodeMaxGlobals::MacroSlots; ++k)
            CodeMaxGlobals().SetMacro(k, {});
    }
};

void pressRecordKey(CodeMax& c)
{
    QTest::keyClick(c.ActivePane(), Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
}

class TestCodeMaxMacros : public QObject {
    Q_OBJECT
private slots:
    void recordTypingAndCommandsThenPlayElsewhere()
    {
        SlotGuard guard;
        CodeMax recorder;
        recorder.SetText("N10 X1\r\nN20 X1");
        recorder.SetMacroRecordSlot(2);
        int recordingChanges = 0;
        connect(&recorder, &CodeMax::RecordingChange, [&](CodeMax*) { ++recordingChanges; });
        recorder.ExecuteCmd(Cmd::RecordMacro);
        QVERIFY(recorder.IsRecordingMacro());
        QsciScintilla* pane = recorder.ActivePane();
        QTest::keyClick(pane, Qt::Key_End);           // a key bound to a command
        QTest::keyClicks(pane, " G01");                 // typed text
        recorder.SetFindText("X1");
        recorder.ExecuteCmd(Cmd::FindNext);             // one of our own commands
        recorder.ExecuteCmd(Cmd::BookmarkToggle);
        pressRecordKey(recorder);                       // the record key ends it
        QVERIFY(!recorder.IsRecordingMacro());
        QCOMPARE(recordingChanges, 2);
        QCOMPARE(recorder.Text(), QString("N10 X1 G01\r\nN20 X1"));

        const QByteArray bytes = CodeMaxGlobals().GetMacro(2);
        const CodeMaxMacro macro = CodeMaxMacro::FromBytes(bytes);
        QCOMPARE(int(macro.Steps().size()), 4);
        QCOMPARE(macro.Steps()[1].text, QString(" G01"));
        QCOMPARE(macro.Steps()[2].command, Cmd::FindNext);

        CodeMax player;
        player.SetText("A X1\r\nB X1");
        player.SetFindText("X1");
        int changes = 0;
        connect(&player, &CodeMax::ContentChange, [&](CodeMax*) { ++changes; });
        player.ExecuteCmd(Cmd::PlayMacro1 + 2);
        QCOMPARE(player.Text(), QString("A X1 G01\r\nB X1"));
        QCOMPARE(player.GetSel(true), (platform::CodeMaxRange{1, 2, 1, 4}));  // found the next X1
        QCOMPARE(changes, 1);
        player.Undo();  // a played macro is one undo step
        QCOMPARE(player.Text(), QString("A X1\r\nB X1"));
    }

    void recordingNeedsASlot()
    {
        SlotGuard guard;
        CodeMax c;
        c.ExecuteCmd(Cmd::RecordMacro);  // nobody chose a slot
        QVERIFY(!c.IsRecordingMacro());
        c.ExecuteCmd(Cmd::RecordMacro, 7);  // the slot in the data
        QVERIFY(c.IsRecordingMacro());
        QTest::keyClicks(c.ActivePane(), "M30");
        c.ExecuteCmd(Cmd::RecordMacro);
        QVERIFY(!CodeMaxGlobals().GetMacro(7).isEmpty());
        QVERIFY(CodeMaxGlobals().GetMacro(0).isEmpty());
    }

    void emptySlotRaisesFailureOne()
    {
        SlotGuard guard;
        CodeMax c;
        c.SetText("KEEP");
        QList<std::pair<int, int>> failures;
        connect(&c, &CodeMax::CommandFailure, [&](CodeMax*, int command, int code) { failures.append({command, code}); });
        c.ExecuteCmd(Cmd::PlayMacro1 + 3);
        QCOMPARE(failures, (QList<std::pair<int, int>>{{Cmd::PlayMacro1 + 3, 1}}));
        QCOMPARE(c.Text(), QString("KEEP"));
    }

    void playingFromAHotKey()
    {
        SlotGuard guard;
        CodeMaxMacro macro;
        macro.AddText("G90");
        macro.AddCommand(Cmd::NewLine);
        CodeMaxGlobals g;
        g.SetMacro(0, macro.ToBytes());
        g.RegisterHotKey({platform::CodeMaxHotKey::Alt, 'M'}, Cmd::PlayMacro1);
        CodeMax c;
        QTest::keyClick(c.ActivePane(), Qt::Key_M, Qt::AltModifier);
        QTest::keyClick(c.ActivePane(), Qt::Key_M, Qt::AltModifier);
        QCOMPARE(c.Text(), QString("G90\r\nG90\r\n"));
        g.ResetDefaultHotKeys();
    }

    // The Delete key is recorded as the Delete key: played where nothing is
    // selected, it still deletes the next character.
    void deleteKeyPlaysBackAsTheDeleteKey()
    {
        SlotGuard guard;
        CodeMax c;
        c.SetText("ABC");
        c.SetSel({0, 1, 0, 1}, false);
        c.ExecuteCmd(Cmd::RecordMacro, 3);
        QTest::keyClick(c.ActivePane(), Qt::Key_Delete);
        c.ExecuteCmd(Cmd::RecordMacro);
        QCOMPARE(c.Text(), QString("AC"));
        c.SetText("XYZ");
        c.ExecuteCmd(Cmd::PlayMacro1 + 3);
        QCOMPARE(c.Text(), QString("YZ"));
    }

    void macroNeverPlaysAnother()
    {
        SlotGuard guard;
        // A crafted macro that plays its own slot: played once, no endless loop.
        CodeMaxMacro macro;
        macro.AddText("X");
        macro.AddCommand(Cmd::PlayMacro1);
        CodeMaxGlobals().SetMacro(0, macro.ToBytes());
        CodeMax c;
        c.ExecuteCmd(Cmd::PlayMacro1);
        QCOMPARE(c.Text(), QString("X"));
    }

    void playingWhileRecordingRecordsTheSteps()
    {
        SlotGuard guard;
        CodeMaxMacro inner;
        inner.AddText("AB");
        CodeMaxGlobals().SetMacro(1, inner.ToBytes());
        CodeMax c;
        c.ExecuteCmd(Cmd::RecordMacro, 1);  // records over the slot it plays
        c.ExecuteCmd(Cmd::PlayMacro1 + 1);
        c.ExecuteCmd(Cmd::PlayMacro1 + 1);
        c.ExecuteCmd(Cmd::RecordMacro);
        const CodeMaxMacro recorded = CodeMaxMacro::FromBytes(CodeMaxGlobals().GetMacro(1));
        QCOMPARE(int(recorded.Steps().size()), 1);
        QCOMPARE(recorded.Steps()[0].text, QString("ABAB"));
    }

    void macroBytes()
    {
        CodeMaxMacro macro;
        macro.AddText("N10 ");
        macro.AddText("\u00e9");  // joins the text before
        macro.AddCommand(Cmd::GotoLine, 41);
        macro.AddCommand(Cmd::FindNext);
        const QByteArray bytes = macro.ToBytes();
        QVERIFY(bytes.startsWith("CMMC"));
        const CodeMaxMacro back = CodeMaxMacro::FromBytes(bytes);
        QVERIFY(back == macro);
        QCOMPARE(back.Steps()[1].data, std::optional<long long>(41));
        QVERIFY(!back.Steps()[2].data);
        QVERIFY(CodeMaxMacro().ToBytes().isEmpty());
        QVERIFY(CodeMaxMacro::FromBytes({}).IsEmpty());
    }

    void damagedMacroBytesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        CodeMaxMacro macro;
        macro.AddText("G01");
        macro.AddCommand(Cmd::NewLine, 3);
        const QByteArray good = macro.ToBytes();
        QTest::newRow("garbage") << QByteArray("garbage bytes");
        QTest::newRow("cut short") << good.left(good.size() - 3);
        QTest::newRow("one byte more") << good + 'x';
        QByteArray badKind = good;
        badKind[12] = 9;
        QTest::newRow("unknown step") << badKind;
        QByteArray huge = good;
        huge[13] = char(0xFF);
        huge[14] = char(0xFF);
        huge[15] = char(0xFF);
        QTest::newRow("text longer than the bytes") << huge;
    }
    void damagedMacroBytesAreRefused()
    {
        QFETCH(QByteArray, bytes);
        SlotGuard guard;
        CodeMaxMacro keep;
        keep.AddText("KEEP");
        CodeMaxGlobals g;
        g.SetMacro(4, keep.ToBytes());
        QVERIFY_THROWS_EXCEPTION(platform::Error, g.SetMacro(4, bytes));
        QCOMPARE(g.GetMacro(4), keep.ToBytes());
    }

    void slotNumbers()
    {
        SlotGuard guard;
        CodeMaxGlobals g;
        QVERIFY_THROWS_EXCEPTION(platform::Error, g.SetMacro(10, {}));
        QVERIFY_THROWS_EXCEPTION(platform::Error, g.GetMacro(-1));
        g.SetMacro(9, {});  // empty bytes empty the slot
        QVERIFY(g.GetMacro(9).isEmpty());
    }

    void recordingEndsWithTheControl()
    {
        SlotGuard guard;
        {
            CodeMax c;
            c.ExecuteCmd(Cmd::RecordMacro, 5);
            QTest::keyClicks(c.ActivePane(), "T1");
        }
        const CodeMaxMacro kept = CodeMaxMacro::FromBytes(CodeMaxGlobals().GetMacro(5));
        QCOMPARE(kept.Steps().at(0).text, QString("T1"));
    }
};

}  // namespace

REGISTER_TEST(TestCodeMaxMacros);
#include "tst_CodeMaxMacros.moc"
