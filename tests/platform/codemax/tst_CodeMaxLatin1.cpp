// A document kept in Latin-1: what the user puts in must fit it unchanged,
// or be refused with a word; it is never stored as "?".

#include "support/TestRegistry.h"

#include "platform/codemax/CodeMax.h"
#include "platform/codemax/CodeMaxGlobals.h"
#include "platform/codemax/CodeMaxMacro.h"
#include "platform/forms/ScriptedAnswers.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using platform::CodeMax;
using platform::CodeMaxRange;
namespace Cmd = platform::CodeMaxCmd;

namespace {

const QString euro = QStringLiteral("\u20ac");
const QString smile = QStringLiteral("\U0001F600");
constexpr int macroSlot = 7;

// How the text reaches the document.
enum class Way { Typed, PasteMethod, PasteCommand, Dropped, Macro, ReplaceAll };

void put(CodeMax& c, Way way, const QString& text)
{
    switch (way) {
    case Way::Typed: {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
        QApplication::sendEvent(c.ActivePane(), &press);
        break;
    }
    case Way::PasteMethod:
        QGuiApplication::clipboard()->setText(text);
        c.Paste();
        break;
    case Way::PasteCommand:
        QGuiApplication::clipboard()->setText(text);
        c.ExecuteCmd(Cmd::Paste);
        break;
    case Way::Dropped: {
        QMimeData data;
        data.setText(text);
        QWidget* viewport = c.ActivePane()->viewport();
        const QPointF at(2, 2);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &drop);
        break;
    }
    case Way::Macro: {
        platform::CodeMaxMacro macro;
        macro.AddText(QStringLiteral("N"));
        macro.AddCommand(Cmd::DocumentEnd);
        macro.AddText(text);
        platform::CodeMaxGlobals().SetMacro(macroSlot, macro.ToBytes());
        c.ExecuteCmd(Cmd::PlayMacro1 + macroSlot);
        break;
    }
    case Way::ReplaceAll:
        c.SetFindText(QStringLiteral("X"));
        c.SetReplText(text);
        c.ExecuteCmd(Cmd::ReplaceAll);
        break;
    }
}

}  // namespace

Q_DECLARE_METATYPE(Way)

class TestCodeMaxLatin1 : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    // A shown control holding a Latin-1 file ("X1 °" and "(é)"), focused,
    // with the caret at the start.
    void openLatin1(CodeMax& c)
    {
        const QString file = dir.filePath(QStringLiteral("latin1.nc"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("X1 \xb0\r\n(\xe9)");
        f.close();
        c.OpenFile(file);
        QVERIFY(!c.IsUtf8());
        c.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c));
        c.activateWindow();
        c.SetFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(c.ActivePane()));
    }

private slots:
    void characterOutsideLatin1IsRefused_data()
    {
        QTest::addColumn<Way>("way");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("named");   // how the message names the first character refused
        QTest::newRow("typed euro") << Way::Typed << euro << "\"" + euro + "\" (U+20AC)";
        QTest::newRow("typed emoji") << Way::Typed << smile << "\"" + smile + "\" (U+1F600)";
        QTest::newRow("pasted, method") << Way::PasteMethod << "G01 X5" + euro << "(U+20AC)";
        QTest::newRow("pasted, command") << Way::PasteCommand << QStringLiteral("\u00b0\u2126") << "(U+2126)";
        QTest::newRow("dropped") << Way::Dropped << "T1" + smile << "(U+1F600)";
        QTest::newRow("played from a macro") << Way::Macro << "M30" + euro << "(U+20AC)";
        QTest::newRow("replacement text") << Way::ReplaceAll << QStringLiteral("\u0394") << "(U+0394)";
    }
    void characterOutsideLatin1IsRefused()
    {
        QFETCH(Way, way);
        QFETCH(QString, text);
        QFETCH(QString, named);
        CodeMax c;
        openLatin1(c);
        const QString before = c.Text();
        QSignalSpy changes(&c, &CodeMax::ContentChange);
        platform::ScriptedAnswers answers;
        put(c, way, text);
        QCOMPARE(c.Text(), before);
        QVERIFY(!c.Modified());
        QCOMPARE(changes.count(), 0);
        QVERIFY(!c.CanUndo());
        QCOMPARE(answers.msgBoxes().size(), 1);
        QVERIFY2(answers.msgBoxes()[0].prompt.contains(named), qPrintable(answers.msgBoxes()[0].prompt));
        QVERIFY(answers.msgBoxes()[0].prompt.contains(QStringLiteral("Latin-1")));
        QCOMPARE(answers.msgBoxes()[0].style & 0x70, platform::vbExclamation);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(c.ActivePane()));
    }

    // What Latin-1 has goes in as it always did, by every way, unasked.
    void latin1CharactersGoIn_data()
    {
        QTest::addColumn<Way>("way");
        QTest::newRow("typed") << Way::Typed;
        QTest::newRow("pasted, method") << Way::PasteMethod;
        QTest::newRow("pasted, command") << Way::PasteCommand;
        QTest::newRow("dropped") << Way::Dropped;
        QTest::newRow("played from a macro") << Way::Macro;
        QTest::newRow("replacement text") << Way::ReplaceAll;
    }
    void latin1CharactersGoIn()
    {
        QFETCH(Way, way);
        CodeMax c;
        openLatin1(c);
        const QString before = c.Text();
        platform::ScriptedAnswers answers;
        put(c, way, QStringLiteral("\u00e9\u00b0"));
        QCOMPARE(answers.msgBoxes().size(), 0);
        QVERIFY2(c.Text() != before && c.Text().contains(QStringLiteral("\u00e9\u00b0")), qPrintable(c.Text()));
        QVERIFY(!c.Text().contains(u'?'));
    }

    // A UTF-8 document takes any character.
    void utf8DocumentTakesEverything()
    {
        CodeMax c;
        c.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c));
        QVERIFY(c.IsUtf8());
        platform::ScriptedAnswers answers;
        put(c, Way::Typed, smile);
        put(c, Way::PasteMethod, euro);
        QCOMPARE(c.Text(), smile + euro);
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    // The document cannot hold the character, so a search for it finds
    // nothing (rather than a "?" that happens to stand in the text).
    void findTextOutsideLatin1FindsNothing()
    {
        CodeMax c;
        openLatin1(c);
        c.SetText(QStringLiteral("A?B\r\n?"));
        c.SetSel({0, 0, 0, 0}, false);
        QSignalSpy failures(&c, &CodeMax::CommandFailure);
        c.SetFindText(euro);
        c.ExecuteCmd(Cmd::FindNext);
        QCOMPARE(c.GetSel(false), (CodeMaxRange{0, 0, 0, 0}));
        c.ExecuteCmd(Cmd::FindMarkAll);
        QCOMPARE(failures.count(), 2);
        QCOMPARE(failures[0][2].toInt(), 4);
        QCOMPARE(failures[1][2].toInt(), 4);
    }
};

REGISTER_TEST(TestCodeMaxLatin1);

#include "tst_CodeMaxLatin1.moc"
