// The settings dialog: what each page stores, checked before anything is
// stored, and what Cancel leaves alone.

#include "HostFixture.h"

#include "customise/frmEditProp.h"
#include "document/frmNotePad.h"
#include "platform/codemax/CodeMax.h"
#include "platform/forms/ProgramFolder.h"
#include "platform/forms/ScriptedAnswers.h"
#include "platform/registry/Registry.h"
#include "shell/KroBrowser.h"
#include "shell/KroColorSelector.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"
#include "shell/MIni.h"
#include "shell/cRegistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTest>
#include "support/TestRegistry.h"
#include "shell/FileTestHelpers.h"

namespace {

QString ClassesValue(const QString& subKey)
{
    platform::HKEY key = 0;
    if (platform::RegOpenKeyEx(platform::HKEY_CLASSES_ROOT, subKey, &key) != platform::ERROR_SUCCESS)
        return QStringLiteral("<no key>");
    quint32 type = 0;
    QByteArray data;
    const platform::LSTATUS status = platform::RegQueryValueEx(key, QString(), &type, &data);
    platform::RegCloseKey(key);
    if (status != platform::ERROR_SUCCESS)
        return QStringLiteral("<no value>");
    return platform::RegStringFromData(data);
}

// The stored editor options, read back into the program-wide values.
void ReadBackRegistry()
{
    SetDefaultEditorOptions();
    DefaultExt.clear();
    cRegistry registry;
    LoadRegistrySettings(registry, platform::HKEY_CURRENT_USER);
}

}  // namespace

class TestFrmEditProp : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<ProgramFixture> program_;
    QTemporaryDir xdg_;
    QByteArray dataHome_, configHome_;

    QString File(const QString& name) const { return program_->ProgramPath(name); }

private slots:
    void initTestCase()
    {
        dataHome_ = qgetenv("XDG_DATA_HOME");
        configHome_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(xdg_.filePath(QStringLiteral("data"))));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(xdg_.filePath(QStringLiteral("config"))));
    }
    void cleanupTestCase()
    {
        qputenv("XDG_DATA_HOME", dataHome_);
        qputenv("XDG_CONFIG_HOME", configHome_);
    }
    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
        QVERIFY(program_->IsValid());
        IniFile = File(QStringLiteral("Editor.ini"));
        MacroIniFile = File(QStringLiteral("Macro.ini"));
        CreateDefaultIni();
        SetDefaultEditorOptions();
        DefaultExt = DefaultFileFilter;
        LoadColorItems();
    }
    void cleanup() { program_.reset(); }

    void extensionShownAtOpen_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("all files") << "All Files (*.*)|*.*" << "*.*";
        QTest::newRow("nwd") << "All Files (*.*)|*.*|*.nwd|*.nwd" << "*.nwd";
        QTest::newRow("empty") << "" << "*.*";
        QTest::newRow("a dot first") << ".cnc" << "*.*";
    }
    void extensionShownAtOpen()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        DefaultExt = stored;
        frmEditProp dialog;
        QCOMPARE(dialog.txtExt->text(), shown);
        QVERIFY(!dialog.cmdProperties[2]->isEnabled());
    }

    void extensionAtApply_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");  // empty: refused
        QTest::newRow("txt") << "*.txt" << "All Files (*.*)|*.*|*.txt|*.txt";
        QTest::newRow("all, a blank after") << "*.* " << "All Files (*.*)|*.*";
        QTest::newRow("a blank before") << " *.*" << "";
        QTest::newRow("too long") << "*.cncx" << "";
        QTest::newRow("no pattern") << "cnc" << "";
        QTest::newRow("filter separator") << "*.c|x" << "";
        QTest::newRow("nothing after the dot") << "*." << "";
    }
    void extensionAtApply()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        const QByteArray ini = FileBytes(IniFile);
        platform::ScriptedAnswers answers;
        frmEditProp dialog;
        dialog.CncDir->Text(QStringLiteral("/nc/programs"));
        dialog.txtExt->setText(typed);
        QTest::mouseClick(dialog.cmdProperties[2], Qt::LeftButton);
        ReadBackRegistry();
        if (stored.isEmpty()) {
            QCOMPARE(answers.msgBoxes().size(), 1);
            QCOMPARE(answers.msgBoxes()[0].prompt,
                     QStringLiteral("Invalid file extension. Retry again.\r\n\r\nExamples\r\n*.cnc\r\n*.nwd\r\n*.txt\r\n"));
            QCOMPARE(dialog.txtExt->text(), QStringLiteral("*.*"));
            QCOMPARE(FileBytes(IniFile), ini);
            QVERIFY(DefaultDir != QStringLiteral("/nc/programs"));  // nothing half stored
            QVERIFY(dialog.cmdProperties[2]->isEnabled());
        } else {
            QCOMPARE(answers.msgBoxes().size(), 0);
            QCOMPARE(DefaultExt, stored);
            QCOMPARE(DefaultDir, QStringLiteral("/nc/programs"));
            QVERIFY(!dialog.cmdProperties[2]->isEnabled());
        }
    }

    // Every page's values reach the registry store and Editor.ini, and the
    // colours the open document.
    void applyStoresEveryPage()
    {
        MainWindowFixture fixture;
        CreateDocumentForm = [] { return std::make_unique<frmNotePad>(); };
        platform::CodeMax& text = fixture.OpenDocument(QStringLiteral("N10"));
        platform::ScriptedAnswers answers;
        frmEditProp dialog;
        dialog.CncDir->Text(QString());
        dialog.optPath[1]->setChecked(true);
        dialog.TabProp->setCurrentIndex(1);  // Colors: "Window" selected, Apply stays on
        QVERIFY(dialog.cmdProperties[2]->isEnabled());
        QCOMPARE(dialog.lstItems->currentRow(), 8);
        QVERIFY(dialog.clrFore->isVisibleTo(&dialog) && !dialog.clrBack->isVisibleTo(&dialog));
        dialog.lstItems->setCurrentRow(3);  // Keywords
        QVERIFY(dialog.clrBack->isVisibleTo(&dialog) && dialog.cboFnt->isVisibleTo(&dialog));
        dialog.clrFore->SelectedColor(9);
        emit dialog.clrFore->Click();
        dialog.cboFnt->setCurrentIndex(2);
        emit dialog.cboFnt->activated(2);
        dialog.txtNum1->setText(QStringLiteral("100"));
        dialog.txtNum2->setText(QStringLiteral("5"));
        dialog.txtNum3->setText(QStringLiteral("50000"));
        dialog.chkSpace->setChecked(true);
        QCOMPARE(dialog.chkSpace->text(), QStringLiteral("Yes"));
        dialog.chkN->setChecked(false);
        dialog.txtChar->setText(QStringLiteral("#"));
        QTest::mouseClick(dialog.cmdAdd, Qt::LeftButton);
        dialog.lstChars->setCurrentRow(0);
        emit dialog.lstChars->itemClicked(dialog.lstChars->item(0));
        QTest::mouseClick(dialog.cmdDelete, Qt::LeftButton);
        QTest::mouseClick(dialog.cmdProperties[2], Qt::LeftButton);
        QCOMPARE(answers.msgBoxes().size(), 0);

        const qint32 blue = frmEditProp::PaletteColorValue(9);
        QCOMPARE(text.GetColor(8), qint64(blue));
        QCOMPARE(text.GetFontStyle(2), 2);
        QCOMPARE(ReadIniString(QStringLiteral("Colors"), QStringLiteral("clr3fr"), IniFile), QString::number(blue));
        QCOMPARE(ReadIniString(QStringLiteral("Colors"), QStringLiteral("clr3fnt"), IniFile), QStringLiteral("2"));
        QCOMPARE(ReadIniString(QStringLiteral("Colors"), QStringLiteral("clr8fr"), IniFile), QStringLiteral("16777215"));

        ReadBackRegistry();
        QCOMPARE(DefaultDir, platform::ProgramFolder());
        QCOMPARE(DisplayPath, 0);
        QCOMPARE(Startnumber, 100);
        QCOMPARE(Increment, 5);
        QCOMPARE(RestartNum, 50000);
        QCOMPARE(N, 0);
        QCOMPARE(Space, 1);
        QCOMPARE(SkipChars, (QStringList{"(", "O", "#"}));
        QCOMPARE(CharNumber, 3);
        QCOMPARE(QApplication::focusWidget() == dialog.cmdProperties[0] || !dialog.isVisible(), true);
    }

    // A number box left empty or holding no number stores nothing.
    void badNumbers()
    {
        platform::ScriptedAnswers answers;
        frmEditProp dialog;
        dialog.txtNum1->setText(QStringLiteral("12a"));
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, QStringLiteral("Invalid number. Retry again"));
        QCOMPARE(dialog.txtNum1->text(), QStringLiteral("10"));

        dialog.chkBlankLines->setChecked(true);
        dialog.txtNum2->setText(QString());
        QCOMPARE(answers.msgBoxes().size(), 1);  // empty waits for Apply
        QTest::mouseClick(dialog.cmdProperties[2], Qt::LeftButton);
        QCOMPARE(answers.msgBoxes().size(), 2);
        QCOMPARE(answers.msgBoxes()[1].prompt, QStringLiteral("Invalid number. Retry again"));
        QCOMPARE(dialog.txtNum2->text(), QStringLiteral("10"));
        ReadBackRegistry();
        QCOMPARE(BlankLines, 0);

        // OK with a bad value stays open.
        dialog.txtNum3->setText(QString());
        QTest::mouseClick(dialog.cmdProperties[0], Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(answers.msgBoxes().size(), 3);
    }

    // A negative start or increment would write block numbers such as "N00-5": Apply and OK
    // refuse it as they refuse a text that is no number, and store nothing.
    void negativeNumbers_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("button");  // 0 OK, 2 Apply
        QTest::addColumn<bool>("refused");
        QTest::newRow("start, Apply") << "txtNum1" << "-5" << 2 << true;
        QTest::newRow("start with blanks, OK") << "txtNum1" << " -1 " << 0 << true;
        QTest::newRow("increment, Apply") << "txtNum2" << "-10" << 2 << true;
        QTest::newRow("increment, lowest, OK") << "txtNum2" << "-2147483648" << 0 << true;
        QTest::newRow("start zero") << "txtNum1" << "0" << 2 << false;
        QTest::newRow("increment minus zero") << "txtNum2" << "-0" << 2 << false;
    }
    void negativeNumbers()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(int, button);
        QFETCH(bool, refused);
        ReadBackRegistry();
        const int start = Startnumber;
        const int increment = Increment;
        platform::ScriptedAnswers answers;
        frmEditProp dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* edit = dialog.findChild<QLineEdit*>(box);
        QVERIFY(edit);
        dialog.chkBlankLines->setChecked(true);
        edit->setText(typed);
        QCOMPARE(answers.msgBoxes().size(), 0);  // checked at Apply
        dialog.TabProp->setCurrentIndex(0);
        QTest::mouseClick(dialog.cmdProperties[button], Qt::LeftButton);
        ReadBackRegistry();
        if (!refused) {
            QCOMPARE(answers.msgBoxes().size(), 0);
            QCOMPARE(BlankLines, 1);
            QCOMPARE(box == QStringLiteral("txtNum1") ? Startnumber : Increment, 0);
            return;
        }
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, QStringLiteral("Invalid number. Retry again"));
        QCOMPARE(edit->text(), QStringLiteral("10"));
        QCOMPARE(dialog.TabProp->currentIndex(), 3);
        QCOMPARE(QApplication::focusWidget(), edit);
        QCOMPARE(edit->selectedText(), QStringLiteral("10"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(dialog.cmdProperties[2]->isEnabled());
        QCOMPARE(BlankLines, 0);
        QCOMPARE(Startnumber, start);
        QCOMPARE(Increment, increment);
    }

    // Cancel forgets colours and deleted entries; OK stores what is pending.
    void cancelAndOk()
    {
        const auto colors = ColorItems;
        const QByteArray ini = FileBytes(IniFile);
        {
            frmEditProp dialog;
            dialog.lstItems->setCurrentRow(7);
            dialog.clrBack->SelectedColor(4);
            emit dialog.clrBack->Click();
            dialog.lstChars->setCurrentRow(0);
            QTest::mouseClick(dialog.cmdDelete, Qt::LeftButton);
            QTest::mouseClick(dialog.cmdProperties[1], Qt::LeftButton);
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
        }
        QCOMPARE(ColorItems, colors);
        QCOMPARE(SkipChars, (QStringList{"%", "(", "O"}));
        QCOMPARE(FileBytes(IniFile), ini);

        frmEditProp dialog;
        dialog.chkNumPopup->setChecked(true);
        QTest::mouseClick(dialog.cmdProperties[0], Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        ReadBackRegistry();
        QCOMPARE(NumPopup, 1);
    }

    // Enter presses the focused button (the folder box's browse button too);
    // Enter in a box presses nothing.
    void enterPressesTheFocusedButton()
    {
        platform::ScriptedAnswers answers;
        frmEditProp dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        const auto enter = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); };
        dialog.txtExt->setFocus();
        enter();
        QVERIFY(dialog.isVisible());

        auto* browse = dialog.CncDir->findChild<QToolButton*>();
        QVERIFY(browse);
        browse->setFocus();
        enter();
        QCOMPARE(answers.modals().size(), 1);
        QCOMPARE(answers.modals()[0].windowTitle, QStringLiteral("Select a folder"));

        dialog.TabProp->setCurrentIndex(2);  // Characters
        QTest::keyClicks(dialog.txtChar, QStringLiteral("/"));
        dialog.cmdAdd->setFocus();
        enter();
        QCOMPARE(dialog.lstChars->item(dialog.lstChars->count() - 1)->text(), QStringLiteral("/"));
        QCOMPARE(QApplication::focusWidget(), dialog.cmdProperties[2]);
        enter();  // Apply
        QVERIFY(!dialog.cmdProperties[2]->isEnabled());
        QCOMPARE(QApplication::focusWidget(), dialog.cmdProperties[0]);
        ReadBackRegistry();
        QCOMPARE(SkipChars.last(), QStringLiteral("/"));

        dialog.cmdProperties[1]->setFocus();
        enter();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    void association_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("key");  // empty: nothing written
        QTest::addColumn<int>("messages");
        QTest::newRow("cnc") << "cnc" << ".cnc" << 0;
        QTest::newRow(".nwd") << ".nwd" << ".nwd" << 0;
        QTest::newRow("empty") << "" << "" << 0;
        QTest::newRow("a path") << "../x" << "" << 1;
        QTest::newRow("two dots") << "a.b" << "" << 1;
    }
    void association()
    {
        QFETCH(QString, typed);
        QFETCH(QString, key);
        QFETCH(int, messages);
        platform::ScriptedAnswers answers;
        frmEditProp dialog;
        dialog.txtAssociate->setText(typed);
        if (typed.isEmpty())
            dialog.chkAssociate->setEnabled(true);
        dialog.chkAssociate->setChecked(true);
        QTest::mouseClick(dialog.cmdProperties[2], Qt::LeftButton);
        QCOMPARE(answers.msgBoxes().size(), messages);
        if (key.isEmpty()) {
            QCOMPARE(ClassesValue(QStringLiteral("CorvaneEditor.Ext")), QStringLiteral("<no key>"));
        } else {
            QCOMPARE(ClassesValue(key), QStringLiteral("CorvaneEditor.Ext"));
            QCOMPARE(ClassesValue(QStringLiteral("CorvaneEditor.Ext\\shell\\open\\command")),
                     u'"' + platform::ProgramFile(QStringLiteral("Pelmar")) + QStringLiteral("\" /f \"%1\""));
        }
        if (messages == 0) {
            QVERIFY(!dialog.chkAssociate->isChecked());
            QVERIFY(!dialog.chkAssociate->isEnabled());
        }
    }

    // The Options menu, its toolbar button and the document's pop-up menu
    // open the dialog; afterwards the user types on in the document.
    void openedFromMenusAndToolbar()
    {
        ShowEditPropHook = ShowEditProp;
        {
            MainWindowFixture fixture;
            CreateDocumentForm = [] { return std::make_unique<frmNotePad>(); };
            QVERIFY(QTest::qWaitForWindowActive(&fixture.Main()));
            QVERIFY(fixture.Main().MDIForm_Load());  // the toolbars
            platform::CodeMax& text = fixture.OpenDocument(QStringLiteral("N10"));
            auto* window = qobject_cast<frmNotePad*>(ActiveDocumentForm());
            text.SetFocus();
            QTRY_VERIFY(text.isAncestorOf(QApplication::focusWidget()));
            MDIMain& main = fixture.Main();
            platform::ScriptedAnswers answers;
            for (QAction* item : {main.ToolbarButton(*main.cToolbar3, QStringLiteral("Talvex Editor Properties")),
                                  main.mnuEditProp, window->mnuPEdit[16]}) {
                QVERIFY(item && item->isEnabled());
                item->trigger();
                QCoreApplication::processEvents();
                QVERIFY(text.isAncestorOf(QApplication::focusWidget()));
            }
            QCOMPARE(answers.modals().size(), 3);
            for (const auto& modal : answers.modals())
                QCOMPARE(modal.windowTitle, QStringLiteral("Talvex Editor Properties"));
        }
        ShowEditPropHook = nullptr;
    }
};

REGISTER_TEST(TestFrmEditProp);

#include "tst_frmEditProp.moc"
