// Macro and hot-key files, removing macros and playing them from the menu.

#include "MacroFixture.h"

#include "customise/MacroFiles.h"
#include "customise/frmKeys.h"
#include "customise/frmMacro.h"
#include "customise/frmMacroRemove.h"
#include "document/frmNotePad.h"
#include "platform/codemax/CodeMax.h"
#include "platform/codemax/CodeMaxHotKeyTable.h"
#include "platform/codemax/CodeMaxMacro.h"
#include "platform/forms/ScriptedAnswers.h"
#include "shell/MEditor.h"
#include "shell/MIni.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include "support/TestRegistry.h"
#include "shell/FileTestHelpers.h"

namespace {

bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray TypedMacro(const QString& text)
{
    platform::CodeMaxMacro macro;
    macro.AddText(text);
    return macro.ToBytes();
}

QStringList MacroIniLines()
{
    return QString::fromLatin1(FileBytes(MacroIniFile)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

}  // namespace

class TestMacros : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<MacroFixture> macros_;

    QString File(const QString& name) const { return macros_->File(name); }

private slots:
    void init()
    {
        macros_ = std::make_unique<MacroFixture>();
        QVERIFY(macros_->IsValid());
    }
    void cleanup() { macros_.reset(); }

    // The table goes out and comes back whole; a file spelt "HotKeys.bin"
    // is the same file for reading, overwriting and deleting.
    void hotKeysRoundTripWhateverTheLetterCase()
    {
        platform::CodeMaxGlobals globals;
        globals.RegisterHotKey(platform::CodeMaxHotKey(2, 'Q'), 137);
        const QByteArray saved = globals.GetHotKeys();
        platform::ScriptedAnswers answers;
        SaveHotKeys();
        QCOMPARE(FileBytes(File(QStringLiteral("Hotkeys.bin"))), saved);

        QVERIFY(QFile::rename(File(QStringLiteral("Hotkeys.bin")), File(QStringLiteral("HotKeys.bin"))));
        globals.ResetDefaultHotKeys();
        LoadHotKeys();
        QCOMPARE(globals.FindHotKey(platform::CodeMaxHotKey(2, 'Q')), 137);

        // A shorter table replaces the file whole, under its own spelling.
        globals.ResetDefaultHotKeys();
        SaveHotKeys();
        QCOMPARE(FileBytes(File(QStringLiteral("HotKeys.bin"))), globals.GetHotKeys());
        QVERIFY(!QFile::exists(File(QStringLiteral("Hotkeys.bin"))));
        QVERIFY(DeleteHotKeysFile());
        QVERIFY(!QFile::exists(File(QStringLiteral("HotKeys.bin"))));
        LoadHotKeys();  // no file: nothing happens
        QCOMPARE(globals.GetHotKeys(), platform::CodeMaxHotKeyTable::Defaults().ToBytes());
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    // A damaged table is reported once; the table in use stays, so saving
    // afterwards keeps the user's bindings.
    void damagedHotKeysKeepTheTableInUse()
    {
        QVERIFY(WriteBytes(File(QStringLiteral("Hotkeys.bin")), "CMHK garbage"));
        platform::CodeMaxGlobals globals;
        globals.RegisterHotKey(platform::CodeMaxHotKey(6, 'K'), 214);
        const QByteArray before = globals.GetHotKeys();
        platform::ScriptedAnswers answers;
        LoadHotKeys();
        LoadHotKeys();
        QCOMPARE(answers.msgBoxes().size(), 1);
        QVERIFY(answers.msgBoxes()[0].prompt.contains(QStringLiteral("Hotkeys.bin")));
        QCOMPARE(globals.GetHotKeys(), before);
    }

    // Slots with files take them (an empty file is an empty slot); others
    // keep what they hold; a damaged file is reported once and read as an
    // empty slot; a stray tenth file is ignored.
    void loadMacros()
    {
        platform::CodeMaxGlobals globals;
        globals.SetMacro(2, TypedMacro(QStringLiteral("kept")));
        globals.SetMacro(1, TypedMacro(QStringLiteral("emptied")));
        QVERIFY(WriteBytes(MacroFile(0), TypedMacro(QStringLiteral("G81"))));
        QVERIFY(WriteBytes(MacroFile(1), QByteArray()));
        QVERIFY(WriteBytes(MacroFile(3), "damaged"));
        QVERIFY(WriteBytes(File(QStringLiteral("Macro10.bin")), "stray"));
        platform::ScriptedAnswers answers;
        LoadMacros();
        LoadMacros();
        QCOMPARE(globals.GetMacro(0), TypedMacro(QStringLiteral("G81")));
        QCOMPARE(globals.GetMacro(1), QByteArray());
        QCOMPARE(globals.GetMacro(2), TypedMacro(QStringLiteral("kept")));
        QCOMPARE(globals.GetMacro(3), QByteArray());
        QCOMPARE(answers.msgBoxes().size(), 1);
        QVERIFY(answers.msgBoxes()[0].prompt.contains(QStringLiteral("Macro3.bin")));
    }

    // Slots 0 .. Macronumber are written, slot 10 never; a slot that holds
    // nothing gets no file, but an older file of such a slot is emptied.
    void saveMacroWritesTheSlotsInUseOnly_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("files");  // per slot 0..10: m macro, o the old file, e empty file, - none
        QTest::newRow("none: the next slot") << 0 << "m--o-------";
        QTest::newRow("three") << 3 << "m-me-------";
        QTest::newRow("all ten") << 10 << "m-me-------";
    }
    void saveMacroWritesTheSlotsInUseOnly()
    {
        QFETCH(int, count);
        QFETCH(QString, files);
        platform::CodeMaxGlobals globals;
        globals.SetMacro(0, TypedMacro(QStringLiteral("T1 M6")));
        globals.SetMacro(2, TypedMacro(QStringLiteral("G0")));
        QVERIFY(WriteBytes(MacroFile(3), TypedMacro(QStringLiteral("old"))));
        Macronumber = count;
        platform::ScriptedAnswers answers;
        SaveMacro();
        QCOMPARE(answers.msgBoxes().size(), 0);
        for (int k = 0; k <= 10; ++k) {
            const QString path = File(QStringLiteral("Macro%1.bin").arg(k));
            const QChar expected = files.at(k);
            QCOMPARE(QFile::exists(path), expected != u'-');
            if (expected == u'm')
                QCOMPARE(FileBytes(path), globals.GetMacro(k));
            else if (expected == u'o')
                QCOMPARE(FileBytes(path), TypedMacro(QStringLiteral("old")));
            else if (expected == u'e')
                QCOMPARE(FileBytes(path), QByteArray());
        }
    }

    // Removing frees the slot: its keys go, its description becomes the free
    // mark (in Macro.ini when the slot is in use), its bytes stay.
    void removeOneMacro_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("written");
        QTest::newRow("slot in use") << 1 << true;
        QTest::newRow("beyond the count") << 4 << false;
    }
    void removeOneMacro()
    {
        QFETCH(int, row);
        QFETCH(bool, written);
        CreateDefaultIni();
        Macronumber = 3;
        MacroDescriptions = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
        platform::CodeMaxGlobals globals;
        globals.SetMacro(row, TypedMacro(QStringLiteral("X1.")));
        globals.RegisterHotKey(platform::CodeMaxHotKey(2, 'M'), MacroCommand(row));
        globals.RegisterHotKey(platform::CodeMaxHotKey(3, 'M'), MacroCommand(row));
        globals.RegisterHotKey(platform::CodeMaxHotKey(2, 'J'), MacroCommand(0));
        QVERIFY(WriteBytes(MacroFile(row), TypedMacro(QStringLiteral("X1."))));

        platform::ScriptedAnswers answers;
        frmMacroRemove dialog;
        QVERIFY(!dialog.cmdRemove->isEnabled());
        QCOMPARE(dialog.lstMacros->count(), 10);
        QCOMPARE(dialog.lstMacros->item(4)->text(), QStringLiteral("Macro 5  not assigned"));
        dialog.lstMacros->setCurrentRow(row);
        QCOMPARE(dialog.MacroEdit->Text(), QStringLiteral("X1."));  // the preview
        QTest::mouseClick(dialog.cmdRemove, Qt::LeftButton);

        QCOMPARE(globals.GetNumHotKeysForCmd(MacroCommand(row)), 0);
        QCOMPARE(globals.GetNumHotKeysForCmd(MacroCommand(0)), 1);
        QCOMPARE(MacroDescriptions[static_cast<size_t>(row)], FreeMacroMark(row));
        QCOMPARE(dialog.lstMacros->item(row)->text(), FreeMacroMark(row));
        QCOMPARE(dialog.MacroEdit->Text(), QString());
        QCOMPARE(dialog.cmdCancel->text(), QStringLiteral("&OK"));
        QCOMPARE(MacroIniLines().contains(QStringLiteral("Macro%1=").arg(row + 1) + FreeMacroMark(row)), written);
        QVERIFY(MacroIniLines().contains(QStringLiteral("Macronumber=3")));
        QCOMPARE(FileBytes(HotKeysFile()), globals.GetHotKeys());
        QCOMPARE(FileBytes(MacroFile(row)), TypedMacro(QStringLiteral("X1.")));
        QCOMPARE(Macronumber, 3);
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    void deleteAllMacros()
    {
        CreateDefaultIni();
        Macronumber = 2;
        MacroDescriptions = {QStringLiteral("a"), QStringLiteral("b")};
        SaveIniSettings();
        platform::CodeMaxGlobals globals;
        globals.SetMacro(0, TypedMacro(QStringLiteral("a")));
        globals.RegisterHotKey(platform::CodeMaxHotKey(2, 'M'), MacroCommand(0));
        globals.RegisterHotKey(platform::CodeMaxHotKey(2, 'Q'), 137);
        SaveMacro();
        SaveHotKeys();
        const QByteArray ini = FileBytes(MacroIniFile);

        // Cancel: every file and the list as they were.
        platform::ScriptedAnswers answers;
        answers.answerMsgBox(platform::vbCancel);
        QVERIFY(!DeleteAllMacros());
        QCOMPARE(answers.msgBoxes()[0].prompt,
                 QStringLiteral("This will remove all current macros from disk and memory. Are you sure?"));
        QCOMPARE(answers.msgBoxes()[0].style, platform::vbOKCancel | platform::vbCritical);
        QCOMPARE(FileBytes(MacroIniFile), ini);
        QVERIFY(QFile::exists(MacroFile(0)));
        QCOMPARE(Macronumber, 2);

        answers.answerMsgBox(platform::vbOK);
        QVERIFY(DeleteAllMacros());
        QCOMPARE(FileBytes(MacroIniFile), DefaultMacroIni());
        for (int k = 0; k < 10; ++k)
            QVERIFY(!QFile::exists(MacroFile(k)));
        QVERIFY(!QFile::exists(File(QStringLiteral("Hotkeys.bin"))));
        QCOMPARE(globals.GetHotKeys(), platform::CodeMaxHotKeyTable::Defaults().ToBytes());
        QCOMPARE(globals.GetMacro(0), QByteArray());
        QCOMPARE(Macronumber, 0);
        QCOMPARE(MacroDescriptions[0], QString());
    }

    // The Macros menu plays the slot into the active document as one edit;
    // a slot without a macro or without a key says so and plays nothing.
    void playFromTheMenu()
    {
        MainWindowFixture fixture;
        CreateDocumentForm = [] { return std::make_unique<frmNotePad>(); };
        DeleteAllMacrosHook = DeleteAllMacros;
        platform::CodeMax& text = fixture.OpenDocument(QStringLiteral("N10"));
        auto* window = qobject_cast<frmNotePad*>(ActiveDocumentForm());
        QVERIFY(window);
        QVERIFY(window->mnuMacroDel->isEnabled());
        platform::CodeMaxGlobals globals;
        globals.SetMacro(0, TypedMacro(QStringLiteral("G81 ")));
        globals.RegisterHotKey(platform::CodeMaxHotKey(2, 'M'), MacroCommand(0));
        globals.RegisterHotKey(platform::CodeMaxHotKey(2, 'J'), MacroCommand(1));
        globals.SetMacro(2, TypedMacro(QStringLiteral("no key")));

        platform::ScriptedAnswers answers;
        window->mnuMacros[1]->trigger();
        QCOMPARE(text.Text(), QStringLiteral("G81 N10"));
        QVERIFY(!MacroPlaying);
        text.ExecuteCmd(platform::CodeMaxCmd::Undo);
        QCOMPARE(text.Text(), QStringLiteral("N10"));
        QCOMPARE(answers.msgBoxes().size(), 0);

        // Item 2 has a key but no macro, item 3 a macro but no key, item 4
        // a removed macro (its bytes kept, its key and description gone).
        globals.SetMacro(3, TypedMacro(QStringLiteral("removed")));
        MacroDescriptions[3] = QStringLiteral("Macro4 - not assigned");
        for (int item : {2, 3, 4, 5}) {
            window->mnuMacros[static_cast<size_t>(item)]->trigger();
            QCOMPARE(text.Text(), QStringLiteral("N10"));
            QVERIFY(!MacroPlaying);
        }
        QCOMPARE(answers.msgBoxes().size(), 4);
        for (const auto& box : answers.msgBoxes()) {
            QCOMPARE(box.title, QStringLiteral("Talvex Editor"));
            QCOMPARE(box.style, platform::vbExclamation);
        }
        const QString nothing = QStringLiteral("No macro has been assigned to this selection!");
        QCOMPARE(answers.msgBoxes()[0].prompt, nothing);
        QCOMPARE(answers.msgBoxes()[1].prompt,
                 QStringLiteral("This macro has no shortcut key, and a macro plays only through its "
                                "shortcut key.\n\nTo give it one, open Macros > Keyboard Assignments, select "
                                "\"Macro 3\", press the key in \"New Key Assignment\" and click Assign."));
        QCOMPARE(answers.msgBoxes()[2].prompt, nothing);
        QCOMPARE(answers.msgBoxes()[3].prompt, nothing);

        // Delete all renames every item, in every window.
        answers.answerMsgBox(platform::vbOK);
        window->mnuMacroDel->trigger();
        QCOMPARE(window->mnuMacros[4]->text(), QStringLiteral("Macro4 - not assigned"));
        QCOMPARE(window->mnuMacros[10]->text(), QStringLiteral("Macro10 - not assigned"));
        DeleteAllMacrosHook = nullptr;
    }

    // The Macros menu opens the three dialogs; afterwards the user types on
    // in the document.
    void menuOpensTheDialogs()
    {
        ShowMacroCreateHook = ShowMacroCreate;
        ShowMacroRemoveHook = ShowMacroRemove;
        ShowKeysHook = ShowKeys;
        {
            MainWindowFixture fixture;
            CreateDocumentForm = [] { return std::make_unique<frmNotePad>(); };
            QVERIFY(QTest::qWaitForWindowActive(&fixture.Main()));
            platform::CodeMax& text = fixture.OpenDocument(QStringLiteral("N10"));
            auto* window = qobject_cast<frmNotePad*>(ActiveDocumentForm());
            text.SetFocus();
            QTRY_VERIFY(text.isAncestorOf(QApplication::focusWidget()));
            Macronumber = 2;
            MacroDescriptions[0] = QStringLiteral("Drill");
            MacroDescriptions[1] = QString();  // recorded without a description

            platform::ScriptedAnswers answers;
            for (QAction* item : {window->mnuMacroCreate, window->mnuMacroRem, window->mnuMacroKeys}) {
                QVERIFY(item->isEnabled());
                item->trigger();
                QCoreApplication::processEvents();
                QVERIFY(text.isAncestorOf(QApplication::focusWidget()));
            }
            QCOMPARE(answers.modals().size(), 3);
            QCOMPARE(answers.modals()[0].className, QStringLiteral("frmMacro"));
            QCOMPARE(answers.modals()[1].className, QStringLiteral("frmMacroRemove"));
            QCOMPARE(answers.modals()[2].className, QStringLiteral("frmKeys"));
            QCOMPARE(window->mnuMacros[1]->text(), QStringLiteral("Drill"));
            QCOMPARE(window->mnuMacros[2]->text(), QStringLiteral("Macro2 - not assigned"));
            QCOMPARE(window->mnuMacros[3]->text(), QStringLiteral("Macro 3 - not assigned"));
        }
        ShowMacroCreateHook = nullptr;
        ShowMacroRemoveHook = nullptr;
        ShowKeysHook = nullptr;
    }
};

REGISTER_TEST(TestMacros);

#include "tst_Macros.moc"
