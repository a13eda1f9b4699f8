// The main window's toolbars with real document windows: each button runs
// its menu item's command on the active document (not on another one) and
// leaves the keyboard in it; the document buttons follow the open documents;
// a cancelled dialog does not swallow the next command; the NC buttons go
// through the same command frame as the menus; with no document open the
// buttons do nothing; items without a command are shown disabled.

#include "DocumentFixture.h"
#include "DocumentTestHelpers.h"

#include "platform/forms/ActionsWithoutCommand.h"
#include "shell/MEditCommands.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <functional>

using document_test::StartedPrograms;
using platform::CodeMax;

namespace {

const QByteArray ToolbarProgram("G0X1Y2\r\nG1X3Y4F100\r\nM30\r\n");
using document_test::SaveQuestion;

QStringList DocumentKeys(int toolbar)
{
    switch (toolbar) {
    case 1:
        return {"Save", "Save All", "Insert", "Cut", "Copy", "Paste", "Print", "Undo", "Redo", "Find",
                "Find Next", "Find Prev", "Replace", "Block Number", "Goto Line", "Insert Spaces",
                "Remove Spaces", "Close", "Close All"};
    case 3:
        return {"Color", "Margin Line Numbers", "Toggle Bookmarks", "Next Bookmark", "Previous Bookmark",
                "Clear Bookmarks", "Top of File", "Bottom of File", "Macro Text Window", "Clipboard Extender"};
    default:
        return {"Split Window Horizontal", "Split Window Vertical", "Clear Window Splits"};
    }
}

QToolBar* Toolbar(MDIMain& main, int number)
{
    return number == 1 ? main.cToolbar1 : number == 3 ? main.cToolbar3 : main.cToolbar4;
}

// The keys of a toolbar's buttons that are enabled (or disabled).
QStringList Keys(const QToolBar& toolbar, bool enabled)
{
    QStringList keys;
    for (const QAction* action : toolbar.actions())
        if (!action->isSeparator() && action->isEnabled() == enabled)
            keys.append(action->data().toString());
    return keys;
}

// Clicks the button of key as the user does: on its tool button.
void Click(MDIMain& main, int toolbar, const QString& key)
{
    QAction* action = main.ToolbarButton(*Toolbar(main, toolbar), key);
    QVERIFY2(action != nullptr, qPrintable(key));
    auto* button = qobject_cast<QToolButton*>(Toolbar(main, toolbar)->widgetForAction(action));
    QVERIFY2(button != nullptr, qPrintable(key));
    if (button->isVisible())
        QTest::mouseClick(button, Qt::LeftButton);
    else
        button->click();  // in the toolbar's overflow: the same button
}

// Opens a file of the fixture's folder through the Open button, as the user does.
frmNotePad* OpenByButton(DocumentFixture& fixture, platform::ScriptedAnswers& answers, const QString& name,
                         const QByteArray& bytes)
{
    if (!WriteFileBytes(fixture.Path(name), bytes))
        return nullptr;
    answers.scriptModal(ChooseFiles(fixture.Folder(), {name}));
    Click(*fixture.main, 1, QStringLiteral("Open"));
    frmNotePad* window = fixture.Active();
    return window != nullptr && window->FilePath == fixture.Path(name) ? window : nullptr;
}

bool KeyboardIn(frmNotePad& window)
{
    const QWidget* focus = QApplication::focusWidget();
    return focus != nullptr && window.Text1()->isAncestorOf(focus);
}

int CaretLine(const CodeMax& text)
{
    return text.GetSel(false).endLine;
}

// Two documents of the same program; the second is the active one.
struct Scene {
    DocumentFixture fixture;
    platform::ScriptedAnswers answers;
    frmNotePad* other = nullptr;
    frmNotePad* active = nullptr;

    Scene()
    {
        fixture.main->show();
        (void)QTest::qWaitForWindowActive(fixture.main.get());
        other = OpenByButton(fixture, answers, QStringLiteral("other.nc"), ToolbarProgram);
        active = OpenByButton(fixture, answers, QStringLiteral("active.nc"), ToolbarProgram);
        if (active != nullptr)
            active->Text1()->SetFocus();
    }
    CodeMax& Text() const { return *active->Text1(); }
    QByteArray OnDisk(const QString& name) const { return FileBytes(fixture.Path(name)); }
    void Click(int toolbar, const QString& key) { ::Click(*fixture.main, toolbar, key); }
};

// One button: what is set up before its click and what its command did.
struct ButtonCase {
    int toolbar;
    const char* key;
    std::function<void(Scene&)> prepare;
    std::function<void(Scene&)> check;
    bool keyboardStays = true;  // false: the command shows a window of its own
    bool touchesOthers = false;
};

const std::vector<ButtonCase>& ButtonCases()
{
    static const std::vector<ButtonCase> cases = {
        {1, "Save", [](Scene& s) { s.Text().AddText(QStringLiteral("(A)")); },
         [](Scene& s) {
             QVERIFY(s.OnDisk(QStringLiteral("active.nc")).startsWith("(A)"));
             QVERIFY(!s.Text().Modified());
         }},
        {1, "Save All",
         [](Scene& s) {
             s.Text().AddText(QStringLiteral("(A)"));
             s.other->Text1()->AddText(QStringLiteral("(O)"));
         },
         [](Scene& s) {
             QVERIFY(s.OnDisk(QStringLiteral("active.nc")).startsWith("(A)"));
             QVERIFY(s.OnDisk(QStringLiteral("other.nc")).startsWith("(O)"));
         },
         true, true},
        {1, "Insert",
         [](Scene& s) {
             QVERIFY(WriteFileBytes(s.fixture.Path(QStringLiteral("piece.nc")), "(PIECE)\r\n"));
             s.answers.scriptModal(ChooseFiles(s.fixture.Folder(), {QStringLiteral("piece.nc")}));
         },
         [](Scene& s) { QVERIFY(s.Text().Text().startsWith(QStringLiteral("(PIECE)\r\nG0X1Y2"))); }},
        {1, "Cut", [](Scene& s) { s.Text().SetSel({0, 0, 0, 2}, true); },
         [](Scene& s) {
             QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("G0"));
             QVERIFY(s.Text().Text().startsWith(QStringLiteral("X1Y2")));
         }},
        {1, "Copy", [](Scene& s) { s.Text().SetSel({1, 0, 1, 2}, true); },
         [](Scene& s) {
             QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("G1"));
             QCOMPARE(s.Text().Text().toLatin1(), ToolbarProgram);
         }},
        {1, "Paste",
         [](Scene& s) {
             QApplication::clipboard()->setText(QStringLiteral("(P)"));
             s.Text().SetSel({0, 0, 0, 0}, true);
         },
         [](Scene& s) { QVERIFY(s.Text().Text().startsWith(QStringLiteral("(P)G0"))); }},
        {1, "Print", nullptr,
         [](Scene& s) {
             QVERIFY(!s.answers.modals().isEmpty());
             QCOMPARE(s.answers.modals().last().className, QStringLiteral("frmPrint"));
         }},
        {1, "Undo", [](Scene& s) { s.Text().AddText(QStringLiteral("(U)")); },
         [](Scene& s) { QCOMPARE(s.Text().Text().toLatin1(), ToolbarProgram); }},
        {1, "Redo",
         [](Scene& s) {
             s.Text().AddText(QStringLiteral("(R)"));
             s.Text().Undo();
         },
         [](Scene& s) { QVERIFY(s.Text().Text().startsWith(QStringLiteral("(R)"))); }},
        {1, "Find", nullptr,
         [](Scene& s) {
             QVERIFY(!s.answers.modals().isEmpty());
             QCOMPARE(s.answers.modals().last().windowTitle, QStringLiteral("Find"));
         }},
        {1, "Find Next",
         [](Scene& s) {
             s.Text().SetFindText(QStringLiteral("X3"));
             s.Text().SetSel({0, 0, 0, 0}, true);
         },
         [](Scene& s) { QCOMPARE(s.Text().SelText(), QStringLiteral("X3")); }},
        {1, "Find Prev",
         [](Scene& s) {
             s.Text().SetFindText(QStringLiteral("X1"));
             s.Text().SetSel({2, 0, 2, 0}, true);
         },
         [](Scene& s) {
             QCOMPARE(s.Text().SelText(), QStringLiteral("X1"));
             QCOMPARE(CaretLine(s.Text()), 0);
         }},
        {1, "Replace", nullptr,
         [](Scene& s) {
             QVERIFY(!s.answers.modals().isEmpty());
             QCOMPARE(s.answers.modals().last().windowTitle, QStringLiteral("Find and Replace"));
         }},
        {1, "Block Number", nullptr,
         [](Scene& s) { QVERIFY(s.Text().Text().startsWith(QStringLiteral("N"))); }},
        {1, "Goto Line", [](Scene& s) { s.answers.answerInputBox(QStringLiteral("3")); },
         [](Scene& s) { QCOMPARE(CaretLine(s.Text()), 2); }},
        {1, "Insert Spaces", nullptr,
         [](Scene& s) { QVERIFY(s.Text().Text().startsWith(QStringLiteral("G0 X1 Y2"))); }},
        {1, "Remove Spaces", [](Scene& s) { s.Text().SetText(QStringLiteral("G0 X1 Y2\r\nM30\r\n")); },
         [](Scene& s) { QVERIFY(s.Text().Text().startsWith(QStringLiteral("G0X1Y2\r\n"))); }},
        {1, "Close", nullptr,
         [](Scene& s) {
             QCOMPARE(OpenDocumentCount(), 1);
             QCOMPARE(s.fixture.Active(), s.other);
         }},
        {1, "Close All", nullptr,
         [](Scene&) {
             QCOMPARE(OpenDocumentCount(), 0);
             QVERIFY(!AnyDocumentsOpen());
         },
         true, true},

        {3, "Color", [](Scene& s) { s.Text().SetColorSyntax(false); },
         [](Scene& s) {
             QVERIFY(s.Text().ColorSyntax());
             QCOMPARE(s.Text().GetColor(6), 255);
             QCOMPARE(s.Text().GetColor(4), 16711935);
             s.Click(3, QStringLiteral("Color"));
             QVERIFY(!s.Text().ColorSyntax());
             QCOMPARE(s.Text().GetColor(6), 255);
             QCOMPARE(s.Text().GetColor(4), 0);
         }},
        {3, "Margin Line Numbers", [](Scene& s) { s.Text().SetLineNumbering(false); },
         [](Scene& s) { QVERIFY(s.Text().LineNumbering()); }},
        {3, "Toggle Bookmarks", [](Scene& s) { s.Text().SetDisplayLeftMargin(false); },
         [](Scene& s) { QVERIFY(s.Text().DisplayLeftMargin()); }},
        {3, "Next Bookmark",
         [](Scene& s) {
             s.Text().SetBookmark(2, true);
             s.Text().SetSel({0, 0, 0, 0}, true);
         },
         [](Scene& s) { QCOMPARE(CaretLine(s.Text()), 2); }},
        {3, "Previous Bookmark",
         [](Scene& s) {
             s.Text().SetBookmark(0, true);
             s.Text().SetSel({2, 0, 2, 0}, true);
         },
         [](Scene& s) { QCOMPARE(CaretLine(s.Text()), 0); }},
        {3, "Clear Bookmarks",
         [](Scene& s) {
             s.Text().SetBookmark(0, true);
             s.Text().SetBookmark(2, true);
         },
         [](Scene& s) { QVERIFY(!s.Text().HasBookmark(0) && !s.Text().HasBookmark(2)); }},
        {3, "Top of File", [](Scene& s) { s.Text().SetSel({2, 1, 2, 1}, true); },
         [](Scene& s) { QCOMPARE(CaretLine(s.Text()), 0); }},
        {3, "Bottom of File", [](Scene& s) { s.Text().SetSel({0, 0, 0, 0}, true); },
         [](Scene& s) { QCOMPARE(CaretLine(s.Text()), s.Text().LineCount() - 1); }},
        {3, "Macro Text Window", nullptr,
         [](Scene& s) {
             QVERIFY(WordListShown);
             QVERIFY(s.active->frWords->isVisible());
             s.Click(3, QStringLiteral("Macro Text Window"));
             QVERIFY(!WordListShown);
             QVERIFY(!s.active->frWords->isVisible());
         }},
        {3, "Clipboard Extender", nullptr, nullptr, false},
        {3, "Talvex Editor Properties", nullptr, nullptr},
        {3, "Compare Files", nullptr, nullptr, false},

        {4, "Split Window Horizontal", nullptr,
         [](Scene& s) {
             QVERIFY(s.Text().EnableVSplitter());
             QCOMPARE(s.Text().PaneCount(), 2);
         }},
        {4, "Split Window Vertical", nullptr,
         [](Scene& s) {
             QVERIFY(s.Text().EnableHSplitter());
             QCOMPARE(s.Text().PaneCount(), 2);
         }},
        {4, "Clear Window Splits", [](Scene& s) {
             s.Text().SetEnableVSplitter(true);
             s.Text().SetVSplitterPos(100);
         },
         [](Scene& s) {
             QCOMPARE(s.Text().PaneCount(), 1);
             QVERIFY(s.Text().EnableHSplitter() && s.Text().EnableVSplitter());
         }},
    };
    return cases;
}

}  // namespace

class TestMainToolbars : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        NumPopup = 0;
    }

    void eachButtonRunsItsCommandOnTheActiveDocument_data()
    {
        QTest::addColumn<int>("index");
        const std::vector<ButtonCase>& cases = ButtonCases();
        for (int i = 0; i < static_cast<int>(cases.size()); ++i)
            QTest::newRow(cases[static_cast<size_t>(i)].key) << i;
    }

    void eachButtonRunsItsCommandOnTheActiveDocument()
    {
        QFETCH(int, index);
        const ButtonCase& button = ButtonCases()[static_cast<size_t>(index)];
        int extenderShown = 0;
        int settingsShown = 0;
        ShowClipExtenderHook = [&] { ++extenderShown; };
        ShowEditPropHook = [&] { ++settingsShown; };
        struct Unhook {
            ~Unhook() { ShowClipExtenderHook = ShowEditPropHook = nullptr; }
        } unhook;
        StartedPrograms programs;
        Scene s;
        QVERIFY(s.active != nullptr && s.other != nullptr);
        QVERIFY(KeyboardIn(*s.active));
        if (button.prepare)
            button.prepare(s);
        QVERIFY(!QTest::currentTestFailed());
        const QString otherText = s.other->Text1()->Text();

        s.Click(button.toolbar, QLatin1String(button.key));

        if (button.check)
            button.check(s);
        if (QTest::currentTestFailed())
            return;
        const QString key = QLatin1String(button.key);
        if (key == QLatin1String("Clipboard Extender"))
            QCOMPARE(extenderShown, 1);
        if (key == QLatin1String("Talvex Editor Properties"))
            QCOMPARE(settingsShown, 1);
        if (key == QLatin1String("Compare Files"))
            QCOMPARE(programs.started.size(), 1);
        if (!button.touchesOthers)
            QCOMPARE(s.other->Text1()->Text(), otherText);
        if (button.keyboardStays && s.fixture.Active() != nullptr)
            QVERIFY(KeyboardIn(*s.fixture.Active()));
    }

    // The document buttons are disabled while no document is open and enabled
    // while one is, whatever closed or kept the documents.
    void documentButtonsFollowTheOpenDocuments()
    {
        Scene s;
        MDIMain& main = *s.fixture.main;
        const auto enabled = [&main](bool on) {
            for (int toolbar : {1, 3, 4})
                for (const QString& key : DocumentKeys(toolbar))
                    if (main.ToolbarButton(*Toolbar(main, toolbar), key)->isEnabled() != on)
                        return false;
            // These are never touched.
            return Keys(*main.cToolbar1, false).size() == (on ? 0 : DocumentKeys(1).size())
                   && Keys(*main.cToolbar1, true).mid(0, 3) == QStringList({"Exit", "New", "Open"})
                   && main.ToolbarButton(*main.cToolbar3, QStringLiteral("Talvex Editor Properties"))->isEnabled()
                   && main.ToolbarButton(*main.cToolbar3, QStringLiteral("Compare Files"))->isEnabled();
        };
        QVERIFY(enabled(true));  // several open

        s.Click(1, QStringLiteral("Close"));
        QCOMPARE(OpenDocumentCount(), 1);
        QVERIFY(enabled(true));  // one open

        // A cancelled save question keeps the document, and its buttons.
        s.other->Text1()->AddText(QStringLiteral("(K)"));
        s.answers.answerMsgBox(platform::vbCancel);
        s.Click(1, QStringLiteral("Close All"));
        QCOMPARE(OpenDocumentCount(), 1);
        QVERIFY(enabled(true));
        s.answers.answerMsgBox(platform::vbCancel);
        s.Click(1, QStringLiteral("Exit"));
        QCOMPARE(OpenDocumentCount(), 1);
        QVERIFY(s.fixture.main->isVisible());
        QVERIFY(enabled(true));

        s.answers.answerMsgBox(platform::vbNo);
        s.Click(1, QStringLiteral("Close"));
        QCOMPARE(OpenDocumentCount(), 0);
        QVERIFY(enabled(false));  // none open
        QCOMPARE(s.fixture.main->lblTotalLines->text(), QStringLiteral("Total Lines: 0"));

        s.Click(1, QStringLiteral("New"));
        QCOMPARE(OpenDocumentCount(), 1);
        QVERIFY(enabled(true));
        s.Click(1, QStringLiteral("Exit"));  // closes the documents, the program stays
        QCOMPARE(OpenDocumentCount(), 0);
        QVERIFY(s.fixture.main->isVisible());
        QVERIFY(enabled(false));
        s.Click(1, QStringLiteral("Exit"));  // with none open, it ends the program
        QVERIFY(!s.fixture.main->isVisible());
    }

    // With no document open, a button that needs one does nothing, even when
    // something left it enabled.
    void withoutDocumentsButtonsDoNothing()
    {
        DocumentFixture fixture;
        platform::ScriptedAnswers answers;
        MDIMain& main = *fixture.main;
        main.SetButtons(true);
        for (int toolbar : {1, 3, 4})
            for (const QString& key : DocumentKeys(toolbar))
                if (key != QLatin1String("Clipboard Extender"))
                    Click(main, toolbar, key);
        QCOMPARE(OpenDocumentCount(), 0);
        QVERIFY(answers.msgBoxes().isEmpty());
        QVERIFY(answers.modals().isEmpty());
        QVERIFY(answers.inputBoxes().isEmpty());
        QVERIFY(main.isVisible());
    }

    // A click that reaches no button (a separator's place, or none) does nothing.
    void positionsWithoutAButtonDoNothing()
    {
        Scene s;
        const QString before = s.Text().Text();
        for (int position : {-1, 1, 6, 8, 12, 14, 17, 22, 25, 28, 31})
            s.fixture.main->cToolbar1_ButtonClick(position);
        for (int position : {-1, 12})
            s.fixture.main->cToolbar3_ButtonClick(position);
        for (int position : {-1, 3})
            s.fixture.main->cToolbar4_ButtonClick(position);
        QCOMPARE(OpenDocumentCount(), 2);
        QCOMPARE(s.Text().Text(), before);
        QCOMPARE(s.Text().PaneCount(), 1);
        QVERIFY(s.answers.msgBoxes().isEmpty() && s.answers.inputBoxes().isEmpty());
        QVERIFY(KeyboardIn(*s.active));
    }

    // The search, go-to and numbering buttons leave an empty program alone,
    // the space buttons a program of one line.
    void guardsOfEmptyAndOneLinePrograms_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("program");
        for (const char* key : {"Find", "Find Next", "Find Prev", "Replace", "Goto Line", "Block Number"})
            QTest::newRow(key) << key << QString();
        QTest::newRow("Insert Spaces") << "Insert Spaces" << "G0X1Y2";
        QTest::newRow("Remove Spaces") << "Remove Spaces" << "G0 X1 Y2";
    }

    void guardsOfEmptyAndOneLinePrograms()
    {
        QFETCH(QString, key);
        QFETCH(QString, program);
        DocumentFixture fixture;
        platform::ScriptedAnswers answers;
        Click(*fixture.main, 1, QStringLiteral("New"));
        frmNotePad* window = fixture.Active();
        QVERIFY(window != nullptr);
        window->Text1()->SetText(program);
        window->Text1()->SetFindText(QStringLiteral("X"));
        Click(*fixture.main, 1, key);
        QCOMPARE(window->Text1()->Text(), program);
        QVERIFY(answers.modals().isEmpty() && answers.inputBoxes().isEmpty() && answers.msgBoxes().isEmpty());
    }

    // A dialog cancelled by one command leaves nothing behind that stops or
    // undoes the next one.
    void cancelledDialogDoesNotSwallowTheNextCommand_data()
    {
        QTest::addColumn<QString>("cancelledBy");
        QTest::addColumn<QString>("next");
        QTest::newRow("save question, then numbering") << "Close" << "Block Number";
        QTest::newRow("save question, then spaces") << "Close All" << "Insert Spaces";
        QTest::newRow("numbering popup, then numbering") << "Block Number" << "Block Number";
        QTest::newRow("save dialog, then spaces") << "Save" << "Insert Spaces";
    }

    void cancelledDialogDoesNotSwallowTheNextCommand()
    {
        QFETCH(QString, cancelledBy);
        QFETCH(QString, next);
        Scene s;
        frmNotePad* target = s.active;
        if (cancelledBy == QLatin1String("Block Number")) {
            NumPopup = 1;
            s.answers.scriptModal([](QDialog& dialog) {
                dialog.findChild<QPushButton*>(QStringLiteral("cmdBut1"))->click();  // Cancel
            });
        } else if (cancelledBy == QLatin1String("Save")) {
            s.Click(1, QStringLiteral("New"));
            target = s.fixture.Active();
            target->Text1()->SetText(QString::fromLatin1(ToolbarProgram));
            s.answers.scriptModal([](QDialog& dialog) { dialog.reject(); });
        } else {
            s.Text().AddText(QStringLiteral(" "));
            s.answers.answerMsgBox(platform::vbCancel);
        }
        const QString before = target->Text1()->Text();
        s.Click(1, cancelledBy);
        QCOMPARE(s.fixture.Active(), target);
        QCOMPARE(target->Text1()->Text(), before);
        QVERIFY(!DialogCancelled);

        if (next == QLatin1String("Block Number"))
            s.answers.scriptModal([](QDialog& dialog) {
                dialog.findChild<QPushButton*>(QStringLiteral("cmdBut0"))->click();  // OK
            });
        s.Click(1, next);
        QVERIFY(target->Text1()->Text() != before);
        QVERIFY(!DialogCancelled);
        QVERIFY(KeyboardIn(*target));
    }

    // The NC buttons run the menu's commands: the same result, one edit
    // that one Undo takes back, the document marked modified.
    void ncButtonsGoThroughTheMenusFrame_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QByteArray>("program");
        const QByteArray numbered("%\r\nO1000\r\nG0 X1 Y2\r\n(CUT)\r\nG1X3Y4F100\r\nM30\r\n%\r\n");
        QTest::newRow("block numbers") << "Block Number" << "mnuInsertNumbers" << numbered;
        QTest::newRow("insert spaces") << "Insert Spaces" << "mnuSpaceInsert" << numbered;
        QTest::newRow("remove spaces") << "Remove Spaces" << "mnuSpaceRemove" << numbered;
    }

    void ncButtonsGoThroughTheMenusFrame()
    {
        QFETCH(QString, key);
        QFETCH(QString, item);
        QFETCH(QByteArray, program);
        DocumentFixture fixture;
        platform::ScriptedAnswers answers;
        frmNotePad* byMenu = OpenByButton(fixture, answers, QStringLiteral("menu.nc"), program);
        QVERIFY(byMenu != nullptr);
        byMenu->findChild<QAction*>(item)->trigger();
        frmNotePad* byButton = OpenByButton(fixture, answers, QStringLiteral("button.nc"), program);
        QVERIFY(byButton != nullptr);
        DocumentState[static_cast<size_t>(SlotOf(*byButton))].Modified = false;

        Click(*fixture.main, 1, key);

        const QString result = byButton->Text1()->Text();
        QCOMPARE(result, byMenu->Text1()->Text());
        QVERIFY(result.toLatin1() != program);
        QVERIFY(DocumentState[static_cast<size_t>(SlotOf(*byButton))].Modified);
        QVERIFY(!BulkEditRunning);
        QVERIFY(answers.msgBoxes().isEmpty());
        Click(*fixture.main, 1, QStringLiteral("Undo"));
        QCOMPARE(byButton->Text1()->Text().toLatin1(), program);
    }

    // Numbering the selected lines asks start and step for this run only.
    void blockNumberOnASelectionKeepsTheNumberingSettings()
    {
        Scene s;
        Startnumber = 10;
        Increment = 10;
        s.Text().SetSel({1, 0, 2, 1}, true);
        s.answers.scriptModal([](QDialog& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("txtStart"))->setText(QStringLiteral("500"));
            dialog.findChild<QLineEdit*>(QStringLiteral("txtIncrement"))->setText(QStringLiteral("5"));
            dialog.findChild<QPushButton*>(QStringLiteral("cmdBut0"))->click();
        });
        s.Click(1, QStringLiteral("Block Number"));
        QVERIFY(s.Text().Text().startsWith(QStringLiteral("G0X1Y2\r\nN500")));
        QVERIFY(s.Text().Text().contains(QStringLiteral("N505M30")));
        QCOMPARE(Startnumber, 10);
        QCOMPARE(Increment, 10);
        QVERIFY(KeyboardIn(*s.active));
    }

    // A document that the close cannot reach is reported, not passed over.
    void failedUnloadIsReported()
    {
        DocumentFixture fixture;
        platform::ScriptedAnswers answers;
        class Bare : public DocumentForm {
        public:
            Bare() : text_(new CodeMax(this)) {}
            CodeMax* Text1() override { return text_; }

        private:
            CodeMax* text_;
        };
        fixture.main->ShowDocument(fixture.main->AddDocument(std::make_unique<Bare>()));
        fixture.main->SetButtons(true);
        Click(*fixture.main, 1, QStringLiteral("Close"));
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, QStringLiteral("Error unloading forms. Please try again"));
        QCOMPARE(answers.msgBoxes()[0].style, platform::vbInformation);
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor"));
    }

    // Items whose command this program does not have are shown disabled;
    // every other item and button has its command.
    void itemsWithoutACommandAreDisabled()
    {
        ShowClipExtenderHook = [] {};
        ShowEditPropHook = [] {};
        ShowMacroCreateHook = ShowMacroRemoveHook = ShowKeysHook = [] {};
        DeleteAllMacrosHook = [] { return false; };
        struct Unhook {
            ~Unhook()
            {
                ShowClipExtenderHook = ShowEditPropHook = ShowMacroCreateHook = ShowMacroRemoveHook = ShowKeysHook =
                    nullptr;
                DeleteAllMacrosHook = nullptr;
            }
        } unhook;
        DocumentFixture fixture;
        platform::ScriptedAnswers answers;
        frmNotePad* window = OpenByButton(fixture, answers, QStringLiteral("a.nc"), ToolbarProgram);
        QVERIFY(window != nullptr);
        const QStringList standIns = {"mnuFilePageSetup", "mnuPlot",   "mnuEditClearAll",
                                      "mnuAddMachine",    "mnuTrig",   "mnuCalenda",
                                      "mnuNextToolChange", "mnuPrevToolchange", "mnuHelp1",
                                      "mnuOptions0"};
        QStringList disabled;
        const std::function<void(const QWidget&)> walk = [&](const QWidget& holder) {
            for (QAction* action : holder.actions()) {
                // A hidden item (a recent file not yet listed) is disabled with it.
                if (action->isSeparator() || !action->isVisible())
                    continue;
                if (action->menu() != nullptr) {
                    walk(*action->menu());
                    continue;
                }
                if (!action->isEnabled())
                    disabled.append(action->objectName());
                // Redo follows whether anything can be redone.
                if (action != window->mnuEditRedo)
                    QVERIFY2(action->isEnabled() == platform::HasCommand(*action), qPrintable(action->objectName()));
            }
        };
        for (QMenu* menu : window->MenuBarMenus())
            if (menu != window->mnuPlugins)
                walk(*menu);
        walk(*window->mnuPEditMain);
        // Only the items the program has no command for; one given its command later becomes live.
        disabled.removeOne(QStringLiteral("mnuEditRedo"));
        for (const QString& name : disabled)
            QVERIFY2(standIns.contains(name), qPrintable(name));
        QVERIFY(disabled.contains(QStringLiteral("mnuAddMachine")));

        MDIMain& main = *fixture.main;
        QVERIFY(!main.mnuAddMachine->isEnabled());
        for (QAction* item : main.mnuFileMain->actions() + main.mnuHelpMain->actions())
            QVERIFY(item->isSeparator() || !item->isVisible() || item->isEnabled());
        for (QToolBar* toolbar : {main.cToolbar1, main.cToolbar3, main.cToolbar4})
            QCOMPARE(Keys(*toolbar, false), QStringList());
    }
};

REGISTER_TEST(TestMainToolbars);
#include "tst_MainToolbars.moc"
