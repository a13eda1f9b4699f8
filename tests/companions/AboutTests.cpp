// The About window: created through the class registry as the editor
// creates it, one window at a time, its system-information start and links.

#include "CompanionFolder.h"

#include "companions/olvent/frmAbout.h"
#include "platform/com/CallByName.h"
#include "platform/com/CreateObject.h"
#include "platform/com/Regsvr.h"
#include "platform/forms/ScriptedAnswers.h"
#include "platform/shell/Shell.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"
#include "shell/ShellFixture.h"
#include "support/TestRegistry.h"
#include "support/WindowFits.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace platform;

namespace {

QList<frmAbout*> AboutWindows()
{
    QList<frmAbout*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* about = qobject_cast<frmAbout*>(widget); about != nullptr && about->isVisible())
            windows.append(about);
    return windows;
}

void WriteValue(HKEY root, const QString& key, const QString& name, quint32 type, const QByteArray& data)
{
    HKEY handle = 0;
    QCOMPARE(RegCreateKeyEx(root, key, &handle), ERROR_SUCCESS);
    QCOMPARE(RegSetValueEx(handle, name, type, data), ERROR_SUCCESS);
    RegCloseKey(handle);
}

}  // namespace

class AboutTests : public QObject {
    Q_OBJECT
private slots:
    void oneWindowThatComesBackFresh()
    {
        CompanionFolder folder;
        QVERIFY(folder.IsValid());
        QCOMPARE(RegisterLibrary(folder.Path(QStringLiteral("KroOlvent.so")), 30000).exitCode, RegsvrSuccess);

        // Where the user was before the About window came up.
        QWidget editor;
        auto* field = new QLineEdit(&editor);
        editor.show();
        editor.activateWindow();
        field->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        QTRY_COMPARE(QApplication::focusWidget(), field);

        for (int i = 0; i < 2; ++i) {
            const std::unique_ptr<QObject> about = CreateObject(QStringLiteral("KroOlvent.clsAbout"));
            CallByName(about.get(), QStringLiteral("ShowAbout"), VbMethod);
        }
        // The window outlives the objects that showed it, and there is one.
        QCOMPARE(AboutWindows().size(), 1);
        QPointer<frmAbout> first = AboutWindows().first();
        QCOMPARE(first->windowTitle(), QStringLiteral("About Talvex Editor"));
        QVERIFY(first->Label9->isVisible());
        QVERIFY(QTest::qWaitForWindowActive(first));
        QTest::mouseClick(first->cmdOK, Qt::LeftButton);
        QTRY_VERIFY(first.isNull());
        QTRY_COMPARE(QApplication::focusWidget(), field);

        const std::unique_ptr<QObject> again = CreateObject(QStringLiteral("KroOlvent.clsAbout"));
        CallByName(again.get(), QStringLiteral("ShowAbout"), VbMethod);
        QCOMPARE(AboutWindows().size(), 1);
        QPointer<frmAbout> second = AboutWindows().first();
        second->close();
        QTRY_VERIFY(second.isNull());
    }

    // On a 1024 x 768 screen the About window fits and shows its texts
    // whole, with the links (the editor's) and without them (Brevlin's).
    void fitsTheScreenWithItsTextsWhole_data()
    {
        QTest::addColumn<bool>("withLinks");
        QTest::newRow("editor") << true;
        QTest::newRow("compare program") << false;
    }
    void fitsTheScreenWithItsTextsWhole()
    {
        QFETCH(bool, withLinks);
        frmAbout about(withLinks);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QCOMPARE(about.screen()->availableGeometry().size(), QSize(1024, 768));
        windowfits::ScreenShot(about, withLinks ? QStringLiteral("about") : QStringLiteral("about-brevlin"));
        const QStringList problems = windowfits::Problems(about);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    }

    void editorRegistersTheLibraryBesideIt()
    {
        ShellFixture fixture;
        CompanionFolder folder(true, fixture.ProgramFolder());
        QVERIFY(folder.IsValid());
        const std::unique_ptr<MDIMain> main = Main({});
        ScriptedAnswers answers;
        // Not registered yet: the editor registers the library beside it, as it does plug-ins.
        main->mnuAbout->trigger();
        QCOMPARE(answers.msgBoxes().size(), 0);
        QCOMPARE(AboutWindows().size(), 1);
        QPointer<frmAbout> about = AboutWindows().first();
        // The editor's end closes the window it left open.
        main->close();
        QTRY_VERIFY(about.isNull() || !about->isVisible());
    }

    void missingLibraryIsReported()
    {
        ShellFixture fixture;
        CompanionFolder folder(false, fixture.ProgramFolder());
        const std::unique_ptr<MDIMain> main = Main({});
        ScriptedAnswers answers;
        main->mnuAbout->trigger();
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, QStringLiteral("Error loading About Window! "));
        QCOMPARE(answers.msgBoxes()[0].style, vbCritical);
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor"));
        QVERIFY(AboutWindows().isEmpty());
    }

    void systemInformation_data()
    {
        QTest::addColumn<QString>("path");          // MSINFO's PATH ("" none)
        QTest::addColumn<QString>("location");      // Shared Tools Location's MSINFO ("" none)
        QTest::addColumn<bool>("withProgram");      // MSINFO32.EXE in that folder
        QTest::addColumn<QString>("started");       // what starts ("" nothing, then the message)
        QTest::newRow("nothing registered") << "" << "" << false << "";
        QTest::newRow("program named") << "/opt/sysinfo" << "" << false << "/opt/sysinfo";
        QTest::newRow("folder without the program") << "" << "FOLDER" << false << "";
        QTest::newRow("folder with the program") << "" << "FOLDER" << true << "FOLDER/MSINFO32.EXE";
    }
    void systemInformation()
    {
        QFETCH(QString, path);
        QFETCH(QString, location);
        QFETCH(bool, withProgram);
        QFETCH(QString, started);
        CompanionFolder folder(false);
        QTemporaryDir tools;
        location.replace(QStringLiteral("FOLDER"), tools.path());
        started.replace(QStringLiteral("FOLDER"), tools.path());
        if (withProgram) {
            QFile program(tools.filePath(QStringLiteral("MSINFO32.EXE")));
            QVERIFY(program.open(QIODevice::WriteOnly));
        }
        if (!path.isEmpty())
            WriteValue(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                       QStringLiteral("PATH"), REG_SZ, RegStringData(path));
        if (!location.isEmpty())
            WriteValue(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                       QStringLiteral("MSINFO"), REG_SZ, RegStringData(location));
        QStringList programs;
        const ProgramStarter previous = SetProgramStarter([&](const QString& program, const QStringList&, const QString&) {
            programs.append(program);
            return true;
        });
        ScriptedAnswers answers;
        frmAbout about(true);
        QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
        SetProgramStarter(previous);
        QCOMPARE(programs, started.isEmpty() ? QStringList() : QStringList{started});
        QCOMPARE(answers.msgBoxes().size(), started.isEmpty() ? 1 : 0);
        if (started.isEmpty())
            QCOMPARE(answers.msgBoxes()[0].prompt, QStringLiteral("System Information Is Unavailable At This Time"));
    }

    void numbersReadWhole()
    {
        CompanionFolder folder(false);
        // 0x00000100 is 256: no byte loses its leading zero.
        WriteValue(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Test"), QStringLiteral("Number"), REG_DWORD,
                   RegDwordData(0x100));
        QString value;
        QVERIFY(frmAbout::GetKeyValue(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Test"), QStringLiteral("Number"), value));
        QCOMPARE(value, QStringLiteral("256"));
        QVERIFY(!frmAbout::GetKeyValue(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Missing"), QStringLiteral("X"), value));
        QCOMPARE(value, QString());
    }

    void linksOpenInTheirHandlers()
    {
        QList<QUrl> opened;
        const DocumentOpener previous = SetDocumentOpener([&](const QUrl& url) {
            opened.append(url);
            return true;
        });
        frmAbout about(true);
        about.show();
        QTest::mouseClick(about.Label9, Qt::LeftButton);
        QTest::mouseClick(about.Label10, Qt::LeftButton);
        SetDocumentOpener(previous);
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened[0], QUrl(frmAbout::WebAddress));
        QCOMPARE(opened[1].scheme().toLower(), QStringLiteral("mailto"));
        QCOMPARE(opened[1].path(), frmAbout::EmailAddress);
        // Without the links (the compare program's copy) there is nothing to click.
        frmAbout plain(false);
        plain.show();
        QVERIFY(!plain.Label9->isVisible() && !plain.Label10->isVisible());
    }
};

REGISTER_TEST(AboutTests);
#include "AboutTests.moc"
