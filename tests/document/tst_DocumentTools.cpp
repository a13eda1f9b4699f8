// The document window's reference texts and tool launchers: the reference
// viewer (opened, missing, empty, Latin-1), the reference files we ship
// against the syntax check's tables, the calculators, the print program,
// the clipboard viewer, the expression evaluator, the help and the tip of
// the day, each with the keyboard back in the document afterwards.

#include "DocumentFixture.h"
#include "DocumentTestHelpers.h"

#include "document/frmReference.h"
#include "nc/SyntaxCheck.h"
#include "platform/shell/Shell.h"
#include "platform/desktop/HelpWindow.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBrowser>

using document_test::OpenFile;
using document_test::SaveShortcutReachesTheText;
using document_test::StartedPrograms;

namespace {

// An executable file that does nothing.
bool MakeProgram(const QString& path)
{
    if (!WriteFileBytes(path, "#!/bin/sh\nexit 0\n"))
        return false;
    return QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeUser);
}

struct Session {
    DocumentFixture fixture;
    frmNotePad* window = nullptr;
    bool active = false;
    Session()
    {
        fixture.main->show();
        active = QTest::qWaitForWindowActive(fixture.main.get());
        window = OpenFile(fixture, QStringLiteral("part.nc"), "G00 X1\r\nM30\r\n");
        window->Text1()->SetFocus();
    }
};

QString SourceFile(const QString& name)
{
    return qEnvironmentVariable("TALVEX_SOURCE_DIR") + QStringLiteral("/resources/") + name;
}

}  // namespace

class TestDocumentTools : public QObject {
    Q_OBJECT
private slots:
    void referenceTexts_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("failure");
        QTest::newRow("G codes") << "mnuGCode" << "gref.txt" << "G-Code Reference"
                                 << "Error opening G-Code reference file";
        QTest::newRow("M codes") << "mnuMCode" << "mref.txt" << "M-Code Reference"
                                 << "Error opening M-Code reference file";
        QTest::newRow("words") << "mnuWordRef" << "wordref.txt" << "Word Reference"
                               << "Error opening Word reference file";
    }

    // Opened, empty and missing: the viewer shows the file as it is (Latin-1
    // bytes and CR LF intact); a missing file is reported and never created.
    void referenceTexts()
    {
        QFETCH(QString, item);
        QFETCH(QString, file);
        QFETCH(QString, caption);
        QFETCH(QString, failure);
        Session s;
        QAction* action = s.window->findChild<QAction*>(item);
        platform::ScriptedAnswers answers;
        const QString path = s.fixture.Path(file);

        action->trigger();
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, failure);
        QCOMPARE(answers.msgBoxes()[0].style, platform::vbCritical);
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor"));
        QVERIFY(answers.modals().isEmpty());
        QVERIFY(!QFile::exists(path));
        QTRY_VERIFY(SaveShortcutReachesTheText(*s.window));

        const auto view = [&](QString& title, QString& text) {
            answers.scriptModal([&](QDialog& dialog) {
                auto& viewer = dynamic_cast<frmReference&>(dialog);
                title = viewer.windowTitle();
                text = viewer.txtRef->toPlainText();
                QVERIFY(viewer.txtRef->isReadOnly());
                viewer.cmdOk->click();
            });
            action->trigger();
        };
        QVERIFY(WriteFileBytes(path, ""));
        QString title, text;
        view(title, text);
        QCOMPARE(title, caption);
        QCOMPARE(text, QString());

        QVERIFY(WriteFileBytes(path, "G00   Rapid\r\nG70   \xb0 \xd8 50\r\n"));
        view(title, text);
        QCOMPARE(text, QStringLiteral("G00   Rapid\nG70   \u00b0 \u00d8 50\n"));
        QCOMPARE(answers.modals().size(), 2);
        QCOMPARE(answers.modals()[1].result, int(QDialog::Accepted));
        QCOMPARE(answers.msgBoxes().size(), 1);
        QTRY_VERIFY(SaveShortcutReachesTheText(*s.window));
    }

    // The references we ship explain every code the syntax check accepts.
    void shippedReferencesCoverTheSyntaxCheck()
    {
        QString g, m, words;
        QFile gref(SourceFile(QStringLiteral("gref.txt")));
        QVERIFY(gref.open(QIODevice::ReadOnly));
        g = QString::fromLatin1(gref.readAll());
        QFile mref(SourceFile(QStringLiteral("mref.txt")));
        QVERIFY(mref.open(QIODevice::ReadOnly));
        m = QString::fromLatin1(mref.readAll());
        const auto meaningOf = [](const QString& text, const QString& code) {
            for (const QString& line : text.split(QStringLiteral("\r\n")))
                if (line.startsWith(code + QLatin1Char(' ')))
                    return line.mid(code.size()).trimmed();
            return QString();
        };
        for (int code = 0; code < 100; ++code) {
            const std::string digits = QStringLiteral("%1").arg(code, 2, 10, QLatin1Char('0')).toStdString();
            if (IsValidGCode(digits))
                QVERIFY2(!meaningOf(g, QStringLiteral("G") + QString::fromStdString(digits)).isEmpty(), digits.c_str());
            if (IsValidMCode(digits))
                QVERIFY2(!meaningOf(m, QStringLiteral("M") + QString::fromStdString(digits)).isEmpty(), digits.c_str());
        }
        QVERIFY(!meaningOf(m, QStringLiteral("M900")).isEmpty());
        QVERIFY(!meaningOf(m, QStringLiteral("M901")).isEmpty());
        QFile wordref(SourceFile(QStringLiteral("wordref.txt")));
        QVERIFY(wordref.open(QIODevice::ReadOnly));
        words = QString::fromLatin1(wordref.readAll());
        for (char letter = 'A'; letter <= 'Z'; ++letter)
            QVERIFY2(!meaningOf(words, QString(QLatin1Char(letter))).isEmpty(), std::string(1, letter).c_str());
    }

    void calculator()
    {
        Session s;
        const QString program = s.fixture.Path(QStringLiteral("mycalc"));
        QVERIFY(MakeProgram(program));
        const QByteArray previous = qgetenv("TALVEX_CALCULATOR");
        qputenv("TALVEX_CALCULATOR", program.toLocal8Bit());
        QCOMPARE(DesktopCalculator(), program);
        platform::ScriptedAnswers answers;
        {
            StartedPrograms programs;
            s.window->mnuCal->trigger();
            QCOMPARE(programs.started, QStringList{program});
            QVERIFY(answers.msgBoxes().isEmpty());
        }
        {
            StartedPrograms programs(false);
            s.window->mnuCal->trigger();
            QCOMPARE(answers.msgBoxes().size(), 1);
            QCOMPARE(answers.msgBoxes()[0].prompt, QStringLiteral("Failed to open Windows Calculator"));
            QCOMPARE(answers.msgBoxes()[0].style, platform::vbInformation);
        }
        QTRY_VERIFY(SaveShortcutReachesTheText(*s.window));
        qputenv("TALVEX_CALCULATOR", previous);
    }

    void programsBesideTheEditor_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("failure");
        QTest::newRow("scientific calculator") << "mnuKroCalc" << "Numtra" << "Failed to open Scientic Calculator";
        QTest::newRow("Prentil") << "mnuPrintPrev" << "Prentil" << "Failed to open Prentil application";
    }

    void programsBesideTheEditor()
    {
        QFETCH(QString, item);
        QFETCH(QString, program);
        QFETCH(QString, failure);
        Session s;
        QAction* action = s.window->findChild<QAction*>(item);
        platform::ScriptedAnswers answers;
        StartedPrograms programs;
        action->trigger();
        QVERIFY(programs.started.isEmpty());
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, failure);
        QCOMPARE(answers.msgBoxes()[0].style, platform::vbInformation);

        QVERIFY(MakeProgram(s.fixture.Path(program)));
        action->trigger();
        QCOMPARE(programs.started.size(), 1);
        QCOMPARE(QFileInfo(programs.started[0]).fileName(), program);
        QCOMPARE(answers.msgBoxes().size(), 1);
        QTRY_VERIFY(SaveShortcutReachesTheText(*s.window));
    }

    void messagesOfMissingTools_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("style");
        QTest::newRow("clipboard viewer") << "mnuClipBrd" << "The Clipboard Viewer was not found!" << platform::vbCritical;
        QTest::newRow("expression evaluator") << "mnuExpress" << "The Expression Evaluator is not available."
                                              << platform::vbInformation;
    }

    void messagesOfMissingTools()
    {
        QFETCH(QString, item);
        QFETCH(QString, message);
        QFETCH(int, style);
        Session s;
        const QString before = s.window->Text1()->Text();
        platform::ScriptedAnswers answers;
        s.window->findChild<QAction*>(item)->trigger();
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, message);
        QCOMPARE(answers.msgBoxes()[0].style, style);
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor"));
        QVERIFY(answers.modals().isEmpty());
        QCOMPARE(s.window->Text1()->Text(), before);
        QTRY_VERIFY(SaveShortcutReachesTheText(*s.window));
    }

    void clipboardViewerIsTheClipboardExtender()
    {
        int shown = 0;
        ShowClipExtenderHook = [&shown] { ++shown; };
        Session s;
        platform::ScriptedAnswers answers;
        s.window->mnuClipBrd->trigger();
        ShowClipExtenderHook = nullptr;
        QCOMPARE(shown, 1);
        QVERIFY(answers.msgBoxes().isEmpty());
    }

    // Help Topics of the document window and of the main window open our
    // help in the help window; without the file they say so.
    void helpTopics()
    {
        Session s;
        platform::ScriptedAnswers answers;
        s.window->mnuHelpItems[0]->trigger();
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, QStringLiteral("Help file not found."));
        QCOMPARE(answers.msgBoxes()[0].style, platform::vbInformation);
        QVERIFY(platform::HelpWindow::Instance() == nullptr);
        QTRY_VERIFY(SaveShortcutReachesTheText(*s.window));

        QVERIFY(QFile::copy(SourceFile(QStringLiteral("Editor.html")), s.fixture.Path(QStringLiteral("Editor.html"))));
        s.window->mnuHelpItems[0]->trigger();
        QVERIFY(platform::HelpWindow::Instance() != nullptr);
        QVERIFY(platform::HelpWindow::Instance()->isVisible());
        QVERIFY(platform::HelpWindow::Instance()->txtHelp->toPlainText().contains(QStringLiteral("Block Hightlight Search")));
        platform::HelpWindow::Instance()->cmdClose->click();
        QTRY_VERIFY(platform::HelpWindow::Instance() == nullptr);

        fixture_main_help(s);
        QCOMPARE(answers.msgBoxes().size(), 1);
    }

    void helpMenuItems()
    {
        Session s;
        platform::ScriptedAnswers answers;
        QVERIFY(!s.window->mnuHelpItems[1]->isEnabled());  // "&About Quillet...": nothing to show
        QVERIFY(s.window->mnuHelpItems[2]->isSeparator());
        s.window->mnuHelpItems[3]->trigger();
        QCOMPARE(answers.modals().size(), 1);
        QCOMPARE(answers.modals()[0].className, QStringLiteral("frmTip"));
        QTRY_VERIFY(SaveShortcutReachesTheText(*s.window));
    }

private:
    static void fixture_main_help(Session& s)
    {
        s.fixture.main->mnuHTopics->trigger();
        QVERIFY(platform::HelpWindow::Instance() != nullptr && platform::HelpWindow::Instance()->isVisible());
        platform::HelpWindow::Instance()->close();
        QTRY_VERIFY(platform::HelpWindow::Instance() == nullptr);
    }
};

REGISTER_TEST(TestDocumentTools);
#include "tst_DocumentTools.moc"
