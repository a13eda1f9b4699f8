// Brevlin's start: the editor it needs (by window title, or through the
// editor's single-instance channel where windows cannot be listed) and the
// folder its dialogs start in.

#include "compare/MCompare.h"
#include "compare/frmCompare.h"
#include "platform/desktop/ForeignWindows.h"
#include "platform/desktop/SingleInstance.h"
#include "platform/forms/ProgramFolder.h"
#include "platform/forms/ScriptedAnswers.h"
#include "platform/registry/Registry.h"
#include "shell/MEditor.h"
#include "shell/MIni.h"
#include "support/TestRegistry.h"

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTest>

using namespace platform;

namespace {

// A desktop with the windows a test lays out.
class FakeWindows : public ForeignWindows {
public:
    bool listable = true;
    QList<ForeignWindow> windows;
    QList<quint64> activated;

    bool CanList() const override { return listable; }
    QList<ForeignWindow> TopLevelWindows() const override { return listable ? windows : QList<ForeignWindow>(); }
    void Activate(quint64 id) override { activated.append(id); }
    bool CanAdopt() const override { return false; }
    QWidget* Adopt(quint64) override { return nullptr; }
    bool Exists(quint64 id) const override
    {
        return std::any_of(windows.begin(), windows.end(), [id](const ForeignWindow& w) { return w.id == id; });
    }
};

class WindowsInPlace {
public:
    explicit WindowsInPlace(FakeWindows& fake) : previous_(SetForeignWindows(&fake)) {}
    ~WindowsInPlace() { SetForeignWindows(previous_); }

private:
    ForeignWindows* previous_;
};

const QString NoEditor = QStringLiteral("Talvex Grafel must be operational\r\nbefore using the Talvex Compare!");

}  // namespace

class BrevlinStartTests : public QObject {
    Q_OBJECT
private slots:
    void titles_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("method");
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<bool>("matches");
        QTest::newRow("contains, any case") << "talvex editor - [A.NC]" << "Talvex Editor" << TitleContains << false << true;
        QTest::newRow("anywhere in the title") << "[A.NC] - TALVEX EDITOR V5.1" << "Talvex Editor" << TitleContains << false << true;
        QTest::newRow("one word only") << "Talvex" << "Talvex Editor" << TitleContains << false << false;
        QTest::newRow("no title") << "" << "" << TitleContains << false << false;
        QTest::newRow("starts with") << "Talvex Editor" << "Talvex Editor" << TitleStartsWith << true << true;
        QTest::newRow("does not start with") << "xTalvex Editor" << "Talvex Editor" << TitleStartsWith << true << false;
        QTest::newRow("case counts") << "talvex editor" << "Talvex Editor" << TitleStartsWith << true << false;
        QTest::newRow("equals") << "Talvex Editor" << "Talvex Editor" << TitleEquals << true << true;
        QTest::newRow("longer is not equal") << "Talvex Editor2" << "Talvex Editor" << TitleEquals << true << false;
    }
    void titles()
    {
        QFETCH(QString, title);
        QFETCH(QString, text);
        QFETCH(int, method);
        QFETCH(bool, caseSensitive);
        QFETCH(bool, matches);
        QCOMPARE(TitleMatches(title, text, method, caseSensitive), matches);
    }

    void startsOnlyBesideTheEditor_data()
    {
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<bool>("starts");
        QTest::newRow("no windows") << QStringList() << false;
        QTest::newRow("others only") << QStringList{"Talvex", "Editor", "Talvex Compare"} << false;
        QTest::newRow("the editor") << QStringList{"Terminal", "TALVEX EDITOR V5.1 - [PART.NC]"} << true;
    }
    void startsOnlyBesideTheEditor()
    {
        QFETCH(QStringList, titles);
        QFETCH(bool, starts);
        FakeWindows fake;
        for (const QString& title : titles)
            fake.windows.append({quint64(fake.windows.size() + 10), title, 1234, false});
        WindowsInPlace place(fake);
        ScriptedAnswers answers;
        frmCompare window;
        QCOMPARE(window.Form_Load(), starts);
        if (starts) {
            QCOMPARE(answers.msgBoxes().size(), 0);
            // The editor's window is restored and brought to the front.
            QCOMPARE(fake.activated, QList<quint64>{11});
            // Nothing to compare yet.
            for (const char* key : {"Compare", "Save", "Bookmark", "NextBookmark", "PrevBookmark",
                                    "ClearBookmarks", "FileTop", "FileBottom", "Stop"})
                QVERIFY2(!window.Button(QString::fromLatin1(key))->isEnabled(), key);
            QVERIFY(window.Button(QStringLiteral("Open"))->isEnabled());
            QVERIFY(window.Button(QStringLiteral("Exit"))->isEnabled());
            QVERIFY(!window.mnuEdit->menuAction()->isEnabled());
            QVERIFY(!window.mnuBookmarks->menuAction()->isEnabled());
            QVERIFY(!window.mnuSearch->menuAction()->isEnabled());
            QVERIFY(!window.mnuSaveAs->isEnabled() && !window.mnuCompareFiles->isEnabled());
            QVERIFY(window.mnuOpen->isEnabled() && window.mnuExit->isEnabled());
        } else {
            QCOMPARE(answers.msgBoxes().size(), 1);
            QCOMPARE(answers.msgBoxes()[0].prompt, NoEditor);
            QCOMPARE(answers.msgBoxes()[0].style, vbInformation);
            QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Error"));
        }
    }

    void findsTheEditorThroughItsChannel()
    {
        QTemporaryDir program;
        const QByteArray previous = qgetenv("TALVEX_PROGRAM_DIR");
        qputenv("TALVEX_PROGRAM_DIR", program.path().toLocal8Bit());
        FakeWindows fake;
        fake.listable = false;
        WindowsInPlace place(fake);
        {
            ScriptedAnswers answers;
            frmCompare window;
            QVERIFY(!window.Form_Load());
            QCOMPARE(answers.msgBoxes().size(), 1);
        }
        {
            // The editor of this program folder runs: it hears from us (and comes to the front).
            SingleInstance editor(ProgramName, program.path());
            QVERIFY(editor.claim());
            QSignalSpy heard(&editor, &SingleInstance::messageReceived);
            ScriptedAnswers answers;
            frmCompare window;
            QVERIFY(window.Form_Load());
            QCOMPARE(answers.msgBoxes().size(), 0);
            QTRY_COMPARE(heard.size(), 1);
        }
        qputenv("TALVEX_PROGRAM_DIR", previous);
    }

    // The offscreen platform calls itself X11 but holds no X connection: no
    // window can be listed there, and Brevlin asks the editor's channel as
    // on any desktop without a window list (no stand-in windows here).
    void platformWithoutAnXConnection()
    {
        QTemporaryDir program;
        const QByteArray previous = qgetenv("TALVEX_PROGRAM_DIR");
        qputenv("TALVEX_PROGRAM_DIR", program.path().toLocal8Bit());
        QVERIFY(!Windows().CanList());
        QVERIFY(Windows().TopLevelWindows().isEmpty());
        QVERIFY(!Windows().CanAdopt());
        QVERIFY(!Windows().Exists(1));
        QCOMPARE(FindProcessWindow(QCoreApplication::applicationPid()), quint64(0));
        {
            ScriptedAnswers answers;
            frmCompare window;
            QVERIFY(!window.Form_Load());
            QCOMPARE(answers.msgBoxes().size(), 1);
            QCOMPARE(answers.msgBoxes()[0].prompt, NoEditor);
        }
        {
            SingleInstance editor(ProgramName, program.path());
            QVERIFY(editor.claim());
            ScriptedAnswers answers;
            frmCompare window;
            QVERIFY(window.Form_Load());
            QCOMPARE(answers.msgBoxes().size(), 0);
        }
        qputenv("TALVEX_PROGRAM_DIR", previous);
    }

    void defaultFolder_data()
    {
        QTest::addColumn<QString>("current");  // the editor's own key's DefaultDir ("" none)
        QTest::addColumn<QString>("older");    // the older key's
        QTest::addColumn<QString>("expected"); // "PROGRAM": the program folder
        QTest::newRow("the editor's own") << "/work/nc" << "/old/nc" << "/work/nc";
        QTest::newRow("the older key") << "" << "/old/nc" << "/old/nc";
        QTest::newRow("neither") << "" << "" << "PROGRAM";
    }
    void defaultFolder()
    {
        QFETCH(QString, current);
        QFETCH(QString, older);
        QFETCH(QString, expected);
        QTemporaryDir registry;
        SetRegistryFolder(registry.path());
        const auto write = [](const QString& key, const QString& value) {
            HKEY handle = 0;
            QCOMPARE(RegCreateKeyEx(HKEY_CURRENT_USER, key, &handle), ERROR_SUCCESS);
            QCOMPARE(RegSetValueEx(handle, QStringLiteral("DefaultDir"), REG_SZ, RegStringData(value)), ERROR_SUCCESS);
            RegCloseKey(handle);
        };
        if (!current.isEmpty())
            write(EditorOptionsKey, current);
        if (!older.isEmpty())
            write(QStringLiteral("Software\\Corvane Software Development Inc.\\KroEditorV3"), older);
        GetDefaultDir(HKEY_CURRENT_USER);
        SetRegistryFolder(QString());
        QCOMPARE(CompareDefaultDir, expected == u"PROGRAM" ? ProgramFolder() : expected);
    }
};

REGISTER_TEST(BrevlinStartTests);
#include "BrevlinStartTests.moc"
