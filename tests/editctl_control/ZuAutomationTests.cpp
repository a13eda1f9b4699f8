// The control's automation boundary reached by name: clamps, access errors,
// pane scope, text in and out, the refusals of huge values, and the events of
// keys and errors.

#include "ZuControlSupport.h"
#include "editctl/ZuMemberTable.h"
#include "platform/forms/ScriptedAnswers.h"
#include "support/TestRegistry.h"

#include <QImage>
#include <QMetaMethod>
#include <QPainter>
#include <QMetaProperty>
#include <QTest>

using namespace zutest;

class ZuAutomationTests : public QObject {
    Q_OBJECT

private slots:
    void settersClampAsTheContainerExpects_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("stored");
        QTest::newRow("SplitterPosition below -1") << "SplitterPosition" << QVariant(-5) << QVariant(-2);
        QTest::newRow("SplitterPosition -1 kept") << "SplitterPosition" << QVariant(-1) << QVariant(-1);
        QTest::newRow("WrapX below -1") << "WrapX" << QVariant(-5) << QVariant(-1);
        QTest::newRow("UndoLimit negative") << "UndoLimit" << QVariant(-3) << QVariant(0);
        QTest::newRow("ScrollBars above 4") << "ScrollBars" << QVariant(9) << QVariant(4);
        QTest::newRow("ScrollBars negative") << "ScrollBars" << QVariant(-1) << QVariant(0);
        QTest::newRow("TextType above 3") << "TextType" << QVariant(7) << QVariant(3);
        QTest::newRow("MousePointer 99") << "MousePointer" << QVariant(99) << QVariant(15);
        QTest::newRow("SplitterType above 2") << "SplitterType" << QVariant(5) << QVariant(2);
        QTest::newRow("SearchOrigin above 1") << "SearchOrigin" << QVariant(3) << QVariant(1);
        QTest::newRow("SearchTo negative") << "SearchTo" << QVariant(-1) << QVariant(0);
        QTest::newRow("SearchReplaceAction above 2") << "SearchReplaceAction" << QVariant(9) << QVariant(2);
        QTest::newRow("PaneIndex above 1") << "PaneIndex" << QVariant(7) << QVariant(1);
        QTest::newRow("PaneIndex below -2") << "paneindex" << QVariant(-9) << QVariant(-2);
        QTest::newRow("LeftMargin negative") << "LeftMargin" << QVariant(-4) << QVariant(0);
        QTest::newRow("SelColorType above 1") << "SelColorType" << QVariant(3) << QVariant(1);
        QTest::newRow("text as given") << "SearchTarget" << QVariant("G01") << QVariant("G01");
        QTest::newRow("colour as given") << "ForeColor" << QVariant(0x0000FFu) << QVariant(0x0000FFu);
    }
    void settersClampAsTheContainerExpects()
    {
        QFETCH(QString, name);
        QFETCH(QVariant, value);
        QFETCH(QVariant, stored);
        const auto control = NewControl();
        Let(control.get(), name, value);
        QCOMPARE(Get(control.get(), name).toString(), stored.toString());
    }

    void accessAndArgumentErrors_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("number");
        QTest::newRow("Count is read-only") << "Count" << true << 383;
        QTest::newRow("CountBytes is read-only") << "CountBytes" << true << 383;
        QTest::newRow("ExtentX is read-only") << "ExtentX" << true << 383;
        QTest::newRow("SearchResult is read-only") << "SearchResult" << true << 383;
        QTest::newRow("Action is write-only") << "Action" << false << 394;
        QTest::newRow("PaintDC is write-only") << "PaintDC" << false << 394;
        QTest::newRow("unknown member") << "NoSuchMember" << false << 438;
    }
    void accessAndArgumentErrors()
    {
        QFETCH(QString, name);
        QFETCH(bool, write);
        QFETCH(int, number);
        const auto control = NewControl();
        const Raised raised = RaisedBy([&] {
            if (write)
                Let(control.get(), name, 1);
            else
                Get(control.get(), name);
        });
        QCOMPARE(raised.number, number);
    }

    // A short argument beyond 16 bits overflows instead of wrapping round.
    void shortArgumentsOverflow()
    {
        const auto control = NewControl();
        QCOMPARE(RaisedBy([&] { Let(control.get(), "SplitterWidth", 70000); }).number, 6);
        QCOMPARE(Get(control.get(), "SplitterWidth").toInt(), 7);
    }

    void columnSelectionNeedsFixedPitchFonts()
    {
        const auto control = NewControl();
        Let(control.get(), "FontName", "DejaVu Sans");
        if (!control->Document().Fonts().IsProportional())
            QSKIP("this machine has no proportional font");
        const Raised raised = RaisedBy([&] { Let(control.get(), "SelDefaultType", 3); });
        QCOMPARE(raised.number, 1000);
        QCOMPARE(raised.text, QString::fromLatin1(AutomationError(ZuErrProportional).text.c_str()));
        QCOMPARE(Get(control.get(), "SelDefaultType").toInt(), 1);
    }

    void paneScopeChoosesThePanesWritten()
    {
        const auto control = NewControl();
        Let(control.get(), "SplitterType", 1);
        Let(control.get(), "LeftMargin", 5);
        QCOMPARE(control->View(0).LeftMargin(), 5);
        QCOMPARE(control->View(1).LeftMargin(), 5);
        Let(control.get(), "PaneIndex", -1);
        Let(control.get(), "PaneFocus", 1);
        Let(control.get(), "LeftMargin", 9);
        QCOMPARE(control->View(0).LeftMargin(), 5);
        QCOMPARE(control->View(1).LeftMargin(), 9);
        // Reading with -2 reads the focused pane.
        Let(control.get(), "PaneIndex", -2);
        QCOMPARE(Get(control.get(), "LeftMargin").toInt(), 9);
        Let(control.get(), "PaneIndex", 0);
        QCOMPARE(Get(control.get(), "LeftMargin").toInt(), 5);
        // At design time a setter writes both panes whatever the scope says.
        control->SetAmbientUserMode(false);
        Let(control.get(), "PaneIndex", 1);
        Let(control.get(), "LeftMargin", 2);
        QCOMPARE(control->View(0).LeftMargin(), 2);
        QCOMPARE(control->View(1).LeftMargin(), 2);
    }

    void textRoundTripsAndUndoesInOneStep()
    {
        const auto control = NewControl();
        Let(control.get(), "TextType", 1);
        Let(control.get(), "TextAll", "old");
        Let(control.get(), "TextAll", "l1\r\nl2");
        QCOMPARE(Get(control.get(), "TextAll").toString(), QStringLiteral("l1\r\nl2"));
        QCOMPARE(Get(control.get(), "Count").toInt(), 2);
        QCOMPARE(Get(control.get(), "CountBytes").toInt(), 6);
        Let(control.get(), "TextIndex", 2);
        QCOMPARE(Get(control.get(), "Text").toString(), QStringLiteral("l2"));
        Let(control.get(), "Action", 6);
        QCOMPARE(Get(control.get(), "TextAll").toString(), QStringLiteral("old"));
    }

    void textOfLineIndexAppendsMissingLines()
    {
        const auto control = NewControl();
        Let(control.get(), "TextType", 2);
        Let(control.get(), "TextAll", "a");
        Let(control.get(), "TextIndex", 3);
        Let(control.get(), "Text", "c");
        QCOMPARE(Get(control.get(), "TextAll").toString(), QStringLiteral("a\n\nc"));
        Let(control.get(), "TextIndex", 1);
        Let(control.get(), "Text", "A");
        QCOMPARE(Get(control.get(), "TextAll").toString(), QStringLiteral("A\n\nc"));
    }

    // With text type 0 a read is saved as a never-loaded document saves: as RTF,
    // the same as with type 3 (the same text, or the same refusal).
    void textTypeDetectReadsAsRtf()
    {
        const auto control = NewControl();
        Let(control.get(), "TextType", 1);
        Let(control.get(), "TextAll", "plain");
        auto read = [&](int type) {
            Let(control.get(), "TextType", type);
            QString text;
            const Raised raised = RaisedBy([&] { text = Get(control.get(), "TextAll").toString(); });
            return QStringList{QString::number(raised.number), raised.text, text};
        };
        const QStringList detect = read(0);
        QCOMPARE(detect, read(3));
        QVERIFY(detect[2].isEmpty() || detect[2].startsWith(QLatin1String("{\\rtf")));
        QCOMPARE(read(1)[2], QStringLiteral("plain"));
    }

    void hugeValuesAreRefusedAndTheOldOnesKept_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("code");
        QTest::newRow("BookmarkCount") << "BookmarkCount" << 65536 << int(ZuErrBadParameter);
        QTest::newRow("SelTabCount") << "SelTabCount" << 32768 << int(ZuErrBadParameter);
    }
    void hugeValuesAreRefusedAndTheOldOnesKept()
    {
        QFETCH(QString, name);
        QFETCH(int, value);
        QFETCH(int, code);
        const auto control = NewControl();
        const QVariant before = Get(control.get(), name);
        const Raised raised = RaisedBy([&] { Let(control.get(), name, value); });
        QCOMPARE(raised.number, 1000);
        QCOMPARE(raised.text, QString::fromLatin1(AutomationError(code).text.c_str()));
        QCOMPARE(Get(control.get(), name), before);
    }

    // A line index far past the end would append lines without end: refused, nothing changes.
    void textIndexFarPastTheEndIsRefused()
    {
        const auto control = NewControl();
        Let(control.get(), "TextType", 1);
        Let(control.get(), "TextAll", "one");
        Let(control.get(), "TextIndex", 1000002);
        const Raised raised = RaisedBy([&] { Let(control.get(), "Text", "x"); });
        QCOMPARE(raised.number, 1000);
        QCOMPARE(raised.text, QString::fromLatin1(AutomationError(ZuErrLineCount).text.c_str()));
        QCOMPARE(Get(control.get(), "TextAll").toString(), QStringLiteral("one"));
    }

    // Every member of the interface tables is reached by name with its access.
    void everyMemberIsReachableByName()
    {
        const auto control = NewControl();
        const QMetaObject* meta = control->metaObject();
        for (const ZuMember& m : ZuDispatchMembers()) {
            const QString name = QString::fromLatin1(m.name);
            if (m.kind == ZuMemberKind::Property) {
                const int index = meta->indexOfProperty(m.name);
                QVERIFY2(index >= 0, m.name);
                QVERIFY2(meta->property(index).isReadable() && meta->property(index).isWritable(), m.name);
            } else if (m.kind == ZuMemberKind::IndexedProperty) {
                QVERIFY2(meta->indexOfMethod(QByteArray(m.name) + "(int)") >= 0, m.name);
                QVERIFY2(platform::HasMember(control.get(), QStringLiteral("set") + name), m.name);
            } else {
                QVERIFY2(platform::HasMember(control.get(), name), m.name);
            }
        }
        for (const ZuMember& e : ZuEventMembers()) {
            bool found = false;
            for (int i = 0; i < meta->methodCount(); ++i)
                found = found || (meta->method(i).methodType() == QMetaMethod::Signal && meta->method(i).name() == e.name);
            QVERIFY2(found, e.name);
        }
    }

    // A FindWordBreak handler that sets NextX places the break; NextX 0 leaves the default rule.
    void findWordBreakHandlerPlacesTheBreak()
    {
        const auto control = NewControl();
        Let(control.get(), "TextType", 1);
        Let(control.get(), "TextAll", "G01 X10 Y20");
        Let(control.get(), "CaretX", 1);
        int asked = 0;
        connect(control.get(), &ZuEditor20::FindWordBreak, this,
                [&](int* x, int* y, int* nextX, int* nextY, short* pane) {
                    ++asked;
                    QCOMPARE(*y, 1);
                    QCOMPARE(*pane, short(0));
                    QCOMPARE(*nextY, 0);
                    if (*x == 1)
                        *nextX = 7;
                });
        control->setFocus();
        QTest::keyClick(control.get(), Qt::Key_Right, Qt::ControlModifier);
        QVERIFY(asked > 0);
        QCOMPARE(Get(control.get(), "CaretX").toInt(), 7);
        QTest::keyClick(control.get(), Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(Get(control.get(), "CaretX").toInt(), 9);
    }

    void stockEventsOfKeysAndMouse()
    {
        const auto control = NewControl();
        QStringList events;
        connect(control.get(), &ZuEditor20::KeyDown, this,
                [&](short* code, short shift) { events << QStringLiteral("KeyDown(%1,%2)").arg(*code).arg(shift); });
        connect(control.get(), &ZuEditor20::KeyUp, this,
                [&](short* code, short shift) { events << QStringLiteral("KeyUp(%1,%2)").arg(*code).arg(shift); });
        connect(control.get(), &ZuEditor20::MouseDown, this, [&](short button, short shift, int x, int y) {
            events << QStringLiteral("MouseDown(%1,%2,%3,%4)").arg(button).arg(shift).arg(x).arg(y);
        });
        connect(control.get(), &ZuEditor20::MouseUp, this,
                [&](short button, short, int, int) { events << QStringLiteral("MouseUp(%1)").arg(button); });
        connect(control.get(), &ZuEditor20::Click, this, [&] { events << QStringLiteral("Click"); });
        control->setFocus();
        QTest::keyClick(control.get(), Qt::Key_A, Qt::ShiftModifier);
        QWidget* pane = control->PaneWindow(0).viewport();
        const QPoint at(20, 10);
        QTest::mouseClick(pane, Qt::LeftButton, Qt::NoModifier, at);
        const QPoint inControl = pane->mapTo(control.get(), at);
        // The Shift key itself comes first and last.
        QCOMPARE(events, (QStringList{"KeyDown(16,1)", "KeyDown(65,1)", "KeyUp(65,1)", "KeyUp(16,0)",
                                      QStringLiteral("MouseDown(1,0,%1,%2)").arg(inControl.x()).arg(inControl.y()),
                                      "MouseUp(1)", "Click"}));
    }

    // Edits made while painting is off undo as one step.
    void editsWhileRedrawIsOffUndoAtOnce()
    {
        const auto control = NewControl();
        Let(control.get(), "TextType", 1);
        Let(control.get(), "TextAll", "start");
        Let(control.get(), "Redraw", false);
        QVERIFY(!Get(control.get(), "Redraw").toBool());
        Let(control.get(), "TextAll", "one");
        Let(control.get(), "TextIndex", 2);
        Let(control.get(), "Text", "two");
        Let(control.get(), "Redraw", true);
        QCOMPARE(Get(control.get(), "TextAll").toString(), QStringLiteral("one\r\ntwo"));
        Let(control.get(), "Action", 6);
        QCOMPARE(Get(control.get(), "TextAll").toString(), QStringLiteral("start"));
    }

    // Moving an end of a pane without a selection starts one of the default type at the caret.
    void selectionEndStartsASelection()
    {
        const auto control = NewControl();
        Let(control.get(), "TextType", 1);
        Let(control.get(), "TextAll", "G01 X10\r\nG00 Y5");
        Let(control.get(), "PaneIndex", 0);
        Let(control.get(), "CaretY", 1);
        Let(control.get(), "CaretX", 3);
        Let(control.get(), "SelDefaultType", 2);
        Let(control.get(), "SelEndY", 2);
        QCOMPARE(Get(control.get(), "SelMark").toInt(), 2);
        QCOMPARE(Get(control.get(), "SelStartY").toInt(), 1);
        QCOMPARE(Get(control.get(), "SelEndY").toInt(), 2);
        // A negative value does nothing.
        Let(control.get(), "SelEndY", -1);
        QCOMPARE(Get(control.get(), "SelEndY").toInt(), 2);
        Let(control.get(), "SelMark", 0);
        Let(control.get(), "SelDefaultType", 0);
        Let(control.get(), "SelStartX", 2);
        QCOMPARE(Get(control.get(), "SelMark").toInt(), 1);
        QCOMPARE(Get(control.get(), "SelStartX").toInt(), 2);
    }

    // A format set through the members undoes in one step when the pane records formats, and not otherwise.
    void characterFormatsUndo_data()
    {
        QTest::addColumn<bool>("recorded");
        QTest::newRow("recorded") << true;
        QTest::newRow("not recorded") << false;
    }
    void characterFormatsUndo()
    {
        QFETCH(bool, recorded);
        const auto control = NewControl();
        Let(control.get(), "TextType", 1);
        Let(control.get(), "TextAll", "G01 X10\r\nG00 Y5");
        Let(control.get(), "UndoCharFormattingEnabled", recorded);
        Let(control.get(), "UndoCaretEnabled", false);
        Let(control.get(), "CaretY", 1);
        Let(control.get(), "CaretX", 1);
        Let(control.get(), "SelEndX", 4);
        Let(control.get(), "CharacterBold", -1);
        Let(control.get(), "CharacterForeColor", 0x0000FFu);
        QCOMPARE(Get(control.get(), "CharacterBold").toInt(), -1);
        QCOMPARE(Get(control.get(), "CharacterForeColor").toUInt(), 0x0000FFu);
        Let(control.get(), "Action", 6);
        if (!recorded) {
            // The last step was the text itself.
            QCOMPARE(Get(control.get(), "TextAll").toString(), QString());
            return;
        }
        QVERIFY(Get(control.get(), "CharacterForeColor").toUInt() != 0x0000FFu);
        QCOMPARE(Get(control.get(), "CharacterBold").toInt(), -1);
        Let(control.get(), "Action", 6);
        QCOMPARE(Get(control.get(), "CharacterBold").toInt(), 0);
        QCOMPARE(Get(control.get(), "TextAll").toString(), QStringLiteral("G01 X10\r\nG00 Y5"));
    }

    // The coordinate methods: columns 1-based, the lines of FileToOffset and OffsetToFile 0-based.
    void coordinateMethods()
    {
        const auto control = NewControl();
        Let(control.get(), "TextType", 1);
        Let(control.get(), "TextAll", "G01 X1\r\nG00 Y2");
        auto call = [&](const char* name, const QVariantList& args) {
            return platform::CallByName(control.get(), QString::fromLatin1(name), platform::VbMethod, args);
        };
        QCOMPARE(call("FileToOffset", {0, 1, 1}).toInt(), 8);
        QCOMPARE(call("FileToOffset", {0, 3, 0}).toInt(), 2);
        QCOMPARE(call("OffsetToFile", {8, 0}).toList(), (QVariantList{1, 1}));
        QCOMPARE(call("OffsetToFile", {2, 0}).toList(), (QVariantList{3, 0}));
        // Unsplit, any pane argument means the first pane.
        QCOMPARE(call("OffsetToFile", {9, 7}).toList(), (QVariantList{2, 1}));
        QCOMPARE(call("ClientToPane", {10, 10}).toInt(), 0);
        Let(control.get(), "TopY", 1);
        QCOMPARE(call("ClientToFile", {0, 1, 1}).toList(), (QVariantList{1, 1}));
        Let(control.get(), "SplitterType", 1);
        Let(control.get(), "SplitterWidth", 8);
        Let(control.get(), "SplitterPosition", 100);
        QCOMPARE(call("ClientToPane", {104, 10}).toInt(), -1);
        QCOMPARE(call("ClientToPane", {150, 10}).toInt(), 1);
    }

    void paragraphEndOfALine()
    {
        const auto control = NewControl();
        Let(control.get(), "TextType", 1);
        Let(control.get(), "TextAll", "N10\r\nN20");
        Let(control.get(), "TextIndex", 1);
        QVERIFY(Get(control.get(), "IsEndOfParagraph").toBool());
        Let(control.get(), "IsEndOfParagraph", false);
        QCOMPARE(Get(control.get(), "TextAll").toString(), QStringLiteral("N10N20"));
        QCOMPARE(Get(control.get(), "Count").toInt(), 1);
        Let(control.get(), "Action", 6);
        QCOMPARE(Get(control.get(), "TextAll").toString(), QStringLiteral("N10\r\nN20"));
        Let(control.get(), "TextIndex", 2);
        QVERIFY(!Get(control.get(), "IsEndOfParagraph").toBool());
        Let(control.get(), "IsEndOfParagraph", true);
        QCOMPARE(Get(control.get(), "TextAll").toString(), QStringLiteral("N10\r\nN20\r\n"));
    }

    // PaintDC draws the first pane's visible text with the painter whose address it is given.
    void paintDcDrawsTheFirstPane()
    {
        const auto control = NewControl();
        Let(control.get(), "TextType", 1);
        Let(control.get(), "TextAll", "WWWWWWWW\r\nWWWWWWWW");
        Let(control.get(), "TopY", 1);
        QImage image(400, 300, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            Let(control.get(), "PaintDC", qulonglong(reinterpret_cast<quintptr>(&painter)));
        }
        bool inked = false;
        for (int y = 0; y < 20 && !inked; ++y)
            for (int x = 0; x < 60 && !inked; ++x)
                inked = image.pixelColor(x, y).lightness() < 128;
        QVERIFY(inked);
        QCOMPARE(RaisedBy([&] { Let(control.get(), "PaintDC", 0); }).number, 1000);
    }

    // LeftHi and RightHi: the selected part of line TextIndex, 65,501 past the end of a line selection.
    void selectedPartOfALine()
    {
        const auto control = NewControl();
        Let(control.get(), "TextType", 1);
        Let(control.get(), "TextAll", "G01 X10\r\nG00 Y5\r\nM30");
        Let(control.get(), "PaneIndex", 0);
        Let(control.get(), "CaretY", 1);
        Let(control.get(), "CaretX", 5);
        Let(control.get(), "SelEndY", 2);
        Let(control.get(), "SelEndX", 4);
        const QList<QList<int>> expected = {{1, 5, 65501}, {2, 1, 4}, {3, 0, 0}};
        for (const QList<int>& row : expected) {
            Let(control.get(), "TextIndex", row[0]);
            QCOMPARE(Get(control.get(), "LeftHi").toInt(), row[1]);
            QCOMPARE(Get(control.get(), "RightHi").toInt(), row[2]);
        }
        Let(control.get(), "TextIndex", 1);
        QCOMPARE(Get(control.get(), "SelText").toString(), QStringLiteral("X10"));
        QCOMPARE(Get(control.get(), "SelTextAll").toString(), QStringLiteral("X10\r\nG00"));
    }

    // A new document starts with an empty undo history.
    void replacingTheDocumentEmptiesUndo()
    {
        const auto control = NewControl();
        Let(control.get(), "TextType", 1);
        Let(control.get(), "TextAll", "one");
        QVERIFY(Get(control.get(), "CanUndo").toBool());
        Let(control.get(), "FileOpen", QString());
        QVERIFY(!Get(control.get(), "CanUndo").toBool());
        QVERIFY(!Get(control.get(), "IsDirty").toBool());
    }

    // A KeyPress answer outside a byte cancels the character; 0 cancels it too.
    void keyPressAnswersOutsideAByteCancel_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("typed");
        QTest::newRow("kept") << -1 << "a";
        QTest::newRow("changed") << int('b') << "b";
        QTest::newRow("cancelled") << 0 << "";
        QTest::newRow("above a byte") << 300 << "";
        QTest::newRow("negative") << -5 << "";
    }
    void keyPressAnswersOutsideAByteCancel()
    {
        QFETCH(int, answer);
        QFETCH(QString, typed);
        const auto control = NewControl();
        Let(control.get(), "TextType", 1);
        connect(control.get(), &ZuEditor20::KeyPress, this, [answer](short* key) {
            if (answer != -1)
                *key = short(answer);
        });
        control->setFocus();
        QTest::keyClick(control.get(), Qt::Key_A);
        QCOMPARE(Get(control.get(), "TextAll").toString(), typed);
    }

    // A failure of the input goes to the stock Error event; its message box
    // shows only when no handler cancels the display.
    void inputErrorsRaiseTheErrorEvent()
    {
        const auto control = NewControl();
        platform::ScriptedAnswers answers;
        int events = 0;
        bool cancel = false;
        connect(control.get(), &ZuEditor20::Error, this,
                [&](short number, QString* description, int, const QString&, const QString&, int, bool* cancelDisplay) {
                    ++events;
                    QCOMPARE(number, short(1000));
                    QVERIFY(!description->isEmpty());
                    *cancelDisplay = cancel;
                });
        control->error(ZuErrLineLength);
        QCOMPARE(events, 1);
        QCOMPARE(answers.msgBoxes().size(), 1);
        cancel = true;
        control->error(ZuErrLineLength);
        QCOMPARE(events, 2);
        QCOMPARE(answers.msgBoxes().size(), 1);
    }
};

REGISTER_TEST(ZuAutomationTests);
#include "ZuAutomationTests.moc"
