// The control's state at its boundary: the change events of an operation, in
// their order and once per operation, and saving and loading its properties.

#include "ZuControlSupport.h"
#include "editctl/ZuPropertyInfo.h"
#include "platform/forms/PropertyBag.h"
#include "support/TestRegistry.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QScrollBar>
#include <QPalette>
#include <QTemporaryDir>
#include <QTest>

using namespace zutest;

namespace {

// Records the change events of a control as "Name(old values, pane)".
class EventLog : public QObject {
public:
    explicit EventLog(ZuEditor20* control)
    {
        connect(control, &ZuEditor20::PaneFocusChange, this,
                [this](short* old) { lines << QStringLiteral("PaneFocusChange(%1)").arg(*old); });
        connect(control, &ZuEditor20::CountChange, this,
                [this](int* old, short* pane) { lines << QStringLiteral("CountChange(%1,%2)").arg(*old).arg(*pane); });
        connect(control, &ZuEditor20::TopYChange, this,
                [this](int* old, short* pane) { lines << QStringLiteral("TopYChange(%1,%2)").arg(*old).arg(*pane); });
        connect(control, &ZuEditor20::LeftXChange, this,
                [this](int* old, short* pane) { lines << QStringLiteral("LeftXChange(%1,%2)").arg(*old).arg(*pane); });
        connect(control, &ZuEditor20::ExtentXChange, this, [this](int* old, short* pane) {
            lines << QStringLiteral("ExtentXChange(%1,%2)").arg(*old).arg(*pane);
        });
        connect(control, &ZuEditor20::SelChange, this,
                [this](int* sx, int* sy, int* ex, int* ey, short* mark, short* pane) {
                    lines << QStringLiteral("SelChange(%1,%2,%3,%4,%5,%6)")
                                 .arg(*sx).arg(*sy).arg(*ex).arg(*ey).arg(*mark).arg(*pane);
                });
        connect(control, &ZuEditor20::CaretChange, this, [this](int* x, int* y, short* pane) {
            lines << QStringLiteral("CaretChange(%1,%2,%3)").arg(*x).arg(*y).arg(*pane);
        });
        connect(control, &ZuEditor20::Change, this, [this] { lines << QStringLiteral("Change"); });
    }
    QStringList lines;
};

}  // namespace

class ZuStateTests : public QObject {
    Q_OBJECT

private slots:
    void focusAndDirtyChangesFireOncePerOperation()
    {
        const auto control = NewControl();
        Let(control.get(), "SplitterType", 1);
        EventLog log(control.get());
        Let(control.get(), "PaneFocus", 1);
        QCOMPARE(log.lines, QStringList{"PaneFocusChange(0)"});
        log.lines.clear();
        Let(control.get(), "IsDirty", true);
        Let(control.get(), "IsDirty", true);
        Let(control.get(), "IsDirty", false);
        QCOMPARE(log.lines, (QStringList{"Change", "Change"}));
    }

    // A selection started by SelMark reports the old (empty) selection with mark 0.
    void selectionChangeCarriesTheOldSelection()
    {
        const auto control = NewControl();
        EventLog log(control.get());
        Let(control.get(), "SelMark", 1);
        // PaneIndex -2 writes both panes, first then second.
        QCOMPARE(log.lines, (QStringList{"SelChange(0,0,0,0,0,0)", "SelChange(0,0,0,0,0,1)"}));
        log.lines.clear();
        Let(control.get(), "SelMark", 1);
        QVERIFY(log.lines.isEmpty());
    }

    // What a handler changes is fired after the round that called it, never lost.
    void changesMadeByAHandlerFireAfterIt()
    {
        const auto control = NewControl();
        Let(control.get(), "SplitterType", 1);
        EventLog log(control.get());
        bool once = true;
        connect(control.get(), &ZuEditor20::PaneFocusChange, this, [&](short*) {
            if (once) {
                once = false;
                Let(control.get(), "IsDirty", true);
                log.lines << QStringLiteral("handler done");
            }
        });
        Let(control.get(), "PaneFocus", 1);
        QCOMPARE(log.lines, (QStringList{"PaneFocusChange(0)", "handler done", "Change"}));
    }

    // A setter that scrolls fires TopYChange before CaretChange, with the old values.
    void caretSetterThatScrollsFiresInOrder()
    {
        const auto control = NewControl();
        Let(control.get(), "TextType", 1);
        QString text;
        for (int i = 1; i <= 600; ++i)
            text += QStringLiteral("N%1\r\n").arg(i);
        Let(control.get(), "TextAll", text);
        Let(control.get(), "CaretY", 1);
        EventLog log(control.get());
        Let(control.get(), "CaretY", 500);
        // The extents may grow as lines are measured; the rest is exactly this.
        log.lines.removeIf([](const QString& line) { return line.startsWith(QLatin1String("ExtentXChange")); });
        QCOMPARE(log.lines, (QStringList{"TopYChange(1,0)", "CaretChange(1,1,0)", "TopYChange(1,1)",
                                         "CaretChange(1,1,1)"}));
    }

    // Keys fire no change events; a later write compares against its own start only.
    void keysFireNoChangeEvents()
    {
        const auto control = NewControl();
        Let(control.get(), "TextType", 1);
        EventLog log(control.get());
        control->setFocus();
        QTest::keyClicks(control.get(), "abc");
        QTest::keyClick(control.get(), Qt::Key_Left);
        QVERIFY(log.lines.isEmpty());
        QCOMPARE(Get(control.get(), "TextAll").toString(), QStringLiteral("abc"));
        QVERIFY(Get(control.get(), "IsDirty").toBool());
        Let(control.get(), "SearchTarget", "abc");
        QVERIFY(log.lines.isEmpty());
        Let(control.get(), "CaretX", 1);
        // The second pane, not typed in, had its caret at the start already.
        QCOMPARE(log.lines, QStringList{"CaretChange(3,1,0)"});
    }

    // A scroll by the bar and a resize are operations of their own: their changes are fired.
    void scrollBarAndResizeFireChanges()
    {
        const auto control = NewControl();
        Let(control.get(), "TextType", 1);
        QString text;
        for (int i = 1; i <= 200; ++i)
            text += QStringLiteral("N%1\r\n").arg(i);
        Let(control.get(), "TextAll", text);
        Let(control.get(), "TopY", 1);
        EventLog log(control.get());
        control->PaneWindow(0).verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(log.lines, QStringList{"TopYChange(1,0)"});
        QCOMPARE(Get(control.get(), "TopY").toInt(), 2);
    }

    // A failing write still fires what changed before it failed and marks the control modified.
    void failingWriteStillReportsItsChanges()
    {
        const auto control = NewControl();
        control->ClearControlModified();
        const Raised raised = RaisedBy([&] { Let(control.get(), "FileOpen", QStringLiteral("/nonexistent/file.txt")); });
        QCOMPARE(raised.number, 1000);
        QVERIFY(control->ControlModified());
    }

    void propertiesSurviveSaveAndLoad()
    {
        const auto control = NewControl();
        const QList<QPair<const char*, QVariant>> values = {
            {"UndoCharFormattingEnabled", false}, {"UndoCaretEnabled", false}, {"SplitterPosition", 40},
            {"SplitterWidth", 5}, {"SplitterEnabled", false}, {"SplitterForeColor", 0x123456u},
            {"SplitterBackColor", 0x654321u}, {"InsertMode", false}, {"ReadOnly", true}, {"TopMargin", 1},
            {"BottomMargin", 2}, {"LeftMargin", 3}, {"RightMargin", 4}, {"SelForeColor", 0x0000FFu},
            {"SelBackColor", 0x00FF00u}, {"SelDragDropEnable", false}, {"TabDefaultWidth", 30}, {"WrapX", 200},
            {"WrapWholeWords", false}, {"WrapAutomatically", true}, {"CaretWidth", 3}, {"CaretHeight", 9},
            {"UndoLimit", 17}, {"SearchTarget", QStringLiteral("G01 X")}, {"SearchReplacement", QStringLiteral("G00")},
            {"SearchCaseSensitive", true}, {"SearchWholeWordsOnly", true}, {"FileConvertOemAnsi", true},
            {"SelColorType", 1}, {"FileSaveAppend", true}, {"ForeColor", 0x112233u}, {"BackColor", 0x332211u},
            {"TextType", 2}, {"SplitterType", 2}, {"SearchTo", 0}, {"SearchOrigin", 1}, {"SelDefaultType", 2},
            {"ScrollBars", 1}, {"MousePointer", 3}, {"SearchReplaceAction", 2}, {"Appearance", 0},
            {"BorderStyle", 0}, {"FontBold", true}, {"PaneIndex", 1},
        };
        for (const auto& [name, value] : values)
            Let(control.get(), QString::fromLatin1(name), value);
        const QVariantList bag = control->SavePropertyBag();
        QStringList names;
        for (qsizetype i = 0; i < bag.size(); i += 2)
            names << bag[i].toString();
        QVERIFY(names.contains(QStringLiteral("SearchRelaceAction")));
        for (const char* absent : {"SearchReplaceAction", "SearchResult", "Action", "FontName", "FontSize"})
            QVERIFY2(!names.contains(QString::fromLatin1(absent)), absent);

        const auto copy = NewControl();
        copy->LoadPropertyBag(bag);
        for (const auto& [name, value] : values)
            QVERIFY2(Get(copy.get(), QString::fromLatin1(name)).toString() == value.toString(), name);
    }

    // A form holds one value per property: loading gives it to both panes, whatever
    // pane the saved PaneIndex or the loading control's own PaneIndex points at.
    void loadedPaneSettingsReachBothPanes()
    {
        const auto control = NewControl();
        Let(control.get(), "SplitterType", 1);
        Let(control.get(), "LeftMargin", 5);   // a row exchanged before PaneIndex
        Let(control.get(), "BackColor", 0xFFu); // and one after it
        Let(control.get(), "PaneIndex", 1);
        const QVariantList bag = control->SavePropertyBag();

        const auto copy = NewControl();
        Let(copy.get(), "PaneIndex", 0);
        copy->LoadPropertyBag(bag);
        QCOMPARE(Get(copy.get(), "PaneIndex").toInt(), 1);
        for (const int pane : {0, 1}) {
            Let(copy.get(), "PaneIndex", pane);
            QCOMPARE(Get(copy.get(), "LeftMargin").toInt(), 5);
            QCOMPARE(Get(copy.get(), "BackColor").toUInt(), 0xFFu);
        }
    }

    // A saved form whose control remembered a save path never writes that file
    // on load; the file to open is read with the settings saved after it.
    void loadingNeverWritesAndOpensTheFileLast()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("out.txt"));
        const QString in = dir.filePath(QStringLiteral("in.txt"));
        QFile file(in);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\x84\n2");
        file.close();
        platform::PropertyBag bag;
        bag.WriteProperty(QStringLiteral("FileSave"), out);
        bag.WriteProperty(QStringLiteral("FileOpen"), in);
        bag.WriteProperty(QStringLiteral("FileConvertOemAnsi"), true);
        bag.WriteProperty(QStringLiteral("TextType"), 2);
        const auto control = NewControl();
        control->LoadProperties(bag);
        QVERIFY(!QFile::exists(out));
        QCOMPARE(Get(control.get(), "FileSave").toString(), out);
        QCOMPARE(Get(control.get(), "FileOpen").toString(), in);
        QCOMPARE(Get(control.get(), "TextType").toInt(), 2);
        // OEM 0x84 is a-umlaut; the LF file was read as Unix text.
        QCOMPARE(Get(control.get(), "TextAll").toString(), QStringLiteral("\u00e4\n2"));
        QCOMPARE(Get(control.get(), "IsDirty").toBool(), false);
    }

    // The file is opened last, yet the selection type saved with it is not lost to it.
    void selectionTypeSurvivesTheFileOpenedWithTheForm()
    {
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in.txt"));
        QFile file(in);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("G01 X1\r\nM30\r\n");
        file.close();
        const auto control = NewControl();
        Let(control.get(), "FileOpen", in);
        Let(control.get(), "SelMark", 2);
        const QVariantList bag = control->SavePropertyBag();
        const auto copy = NewControl();
        copy->LoadPropertyBag(bag);
        QCOMPARE(Get(copy.get(), "FileOpen").toString(), in);
        QCOMPARE(Get(copy.get(), "SelMark").toInt(), 2);
    }

    void loadingAMissingFileLeavesAnEmptyDocumentQuietly()
    {
        platform::PropertyBag bag;
        bag.WriteProperty(QStringLiteral("FileOpen"), QStringLiteral("/nonexistent/missing.txt"));
        const auto control = NewControl();
        // Not even the text shown before the form was loaded stays.
        Let(control.get(), "Text", QStringLiteral("before the form"));
        control->LoadProperties(bag);
        QCOMPARE(Get(control.get(), "CountBytes").toInt(), 0);
        QCOMPARE(Get(control.get(), "CanUndo").toBool(), false);
    }

    // The bar between split panes: flat in the splitter's colours, or raised on the button face.
    void splitterBarIsDrawnAsAppearanceSays()
    {
        const auto control = NewControl();
        Let(control.get(), "SplitterType", 1);
        Let(control.get(), "SplitterWidth", 9);
        Let(control.get(), "SplitterPosition", 100);
        Let(control.get(), "Appearance", 0);
        Let(control.get(), "SplitterBackColor", 0x0000FFu);  // red, as 0x00BBGGRR
        Let(control.get(), "SplitterForeColor", 0xFF0000u);  // blue
        QImage image = control->grab().toImage();
        QCOMPARE(image.pixelColor(104, 150), QColor(Qt::red));
        QCOMPARE(image.pixelColor(100, 150), QColor(Qt::blue));
        QCOMPARE(image.pixelColor(108, 150), QColor(Qt::blue));
        Let(control.get(), "Appearance", 1);
        image = control->grab().toImage();
        QCOMPARE(image.pixelColor(104, 150), QGuiApplication::palette().color(QPalette::Button));
    }

    void displayStringsStandForTheirPositions()
    {
        QCOMPARE(ZuDisplayString(QStringLiteral("ScrollBars"), 4), QStringLiteral("4 - Auto"));
        QCOMPARE(ZuDisplayStrings(QStringLiteral("MousePointer")).size(), 17);
        QCOMPARE(ZuDisplayStrings(QStringLiteral("MousePointer")).last(), QStringLiteral("99 - Custom"));
        QCOMPARE(ZuPersistName(QStringLiteral("SearchReplaceAction")), QStringLiteral("SearchRelaceAction"));
        int exchanged = 0;
        for (const ZuPropertyInfo& row : ZuPropertyTable())
            exchanged += row.persist && QLatin1String(row.name) == QLatin1String("SelColorType") ? 1 : 0;
        QCOMPARE(exchanged, 2);
        QCOMPARE(ZuEditor20::PropertyPageProgIds().first(), QStringLiteral("ZUEDIT2.ZuEdit2PropPage.1"));
        QCOMPARE(ZuEditor20::PropertyPageProgIds().size(), 7);
    }
};

REGISTER_TEST(ZuStateTests);
#include "ZuStateTests.moc"
