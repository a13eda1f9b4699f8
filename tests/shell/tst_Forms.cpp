#include "ShellFixture.h"
#include "support/TestRegistry.h"
#include "platform/forms/Error.h"
#include "platform/forms/ScriptedAnswers.h"
#include "shell/CommonDialogObject.h"
#include "shell/MDIMain.h"
#include "shell/basFileDialogs.h"
#include "shell/frmMsg.h"
#include "shell/frmTip.h"

#include <QCheckBox>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using platform::ScriptedAnswers;

class TestForms : public QObject {
    Q_OBJECT
private slots:
    void fileExists()
    {
        ShellFixture fixture;
        const QString file = fixture.ProgramPath(QStringLiteral("part.nc"));
        ShellFixture::WriteBytes(file, "G0 X0\r\n");
        QVERIFY(FileExists(file));
        QVERIFY(!FileExists(QString()));
        QVERIFY(!FileExists(QStringLiteral("   ")));
        QVERIFY(!FileExists(fixture.ProgramFolder() + QLatin1Char('/')));
        QVERIFY(!FileExists(fixture.ProgramFolder()));                        // a folder
        QVERIFY(!FileExists(fixture.ProgramPath(QStringLiteral("none.nc"))));
        QVERIFY(!FileExists(QStringLiteral("A:")));
        QVERIFY(!FileExists(QStringLiteral("C:\\")));
    }

    void programErrorBox()
    {
        ScriptedAnswers answers;
        try {
            throw platform::Error(9, QStringLiteral("Subscript out of range"));
        } catch (...) {
            ShowProgramError();
        }
        try {
            throw std::runtime_error("plain failure");
        } catch (...) {
            ShowProgramError();
        }
        QCOMPARE(answers.msgBoxes().size(), 2);
        QCOMPARE(answers.msgBoxes()[0].prompt, QStringLiteral("Subscript out of range"));
        QCOMPARE(answers.msgBoxes()[0].style, platform::vbCritical);
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor Program Error."));
        QCOMPARE(answers.msgBoxes()[1].prompt, QStringLiteral("plain failure"));
    }

    void centerForm()
    {
        QWidget reference;
        reference.setGeometry(100, 100, 600, 400);
        QWidget form;
        form.resize(200, 100);
        CenterForm(reference, form);
        QCOMPARE(form.pos(), QPoint(100 + (600 - 200) / 2, 100 + (400 - 100) / 2));

        // Taller and wider than the reference at the screen's corner: top and left 0.
        reference.setGeometry(0, 0, 300, 200);
        form.resize(500, 400);
        CenterForm(reference, form);
        QCOMPARE(form.pos(), QPoint(0, 0));
    }

    void workingWindow()
    {
        ShellFixture fixture;
        MDIMain main;
        main.setGeometry(50, 50, 700, 500);
        main.show();
        frmMsg::Show();
        frmMsg* window = frmMsg::Loaded();
        QVERIFY(window != nullptr);
        QVERIFY(window->isVisible());
        QVERIFY(!window->isModal());
        QCOMPARE(window->windowTitle(), QStringLiteral("Talvex Editor"));
        QCOMPARE(window->lblMsg->text(), QStringLiteral("Working..."));
        const QPoint centre = main.frameGeometry().center();
        // Within the width of a window frame, which is only known once shown.
        QVERIFY(qAbs(window->frameGeometry().center().x() - centre.x()) <= 4);
        QVERIFY(qAbs(window->frameGeometry().center().y() - centre.y()) <= 4);
        frmMsg::Unload();
        QVERIFY(frmMsg::Loaded() == nullptr);
        frmMsg::Unload();   // a second unload is harmless
    }

    void tipOfTheDay()
    {
        ShellFixture fixture;
        const QString tips = fixture.ProgramPath(QStringLiteral("TIPOFDAY.TXT"));

        // No file: the label tells how to make one.
        {
            frmTip tip;
            QCOMPARE(tip.windowTitle(), QStringLiteral("Tip of the Day"));
            QCOMPARE(tip.Label1->text(), QStringLiteral("Did you know..."));
            QCOMPARE(tip.lblTipText->text(),
                     QStringLiteral("That the Tip of Day file was not found? \r\n\r\nCreate a text file named "
                                    "TIPOFDAY.TXT using NotePad with 1 tip per line. Then place it in the same "
                                    "directory as the application. "));
        }
        // One tip: shown every time.
        ShellFixture::WriteBytes(tips, "Only tip\r\n");
        {
            frmTip tip;
            for (int i = 0; i < 3; ++i) {
                QCOMPARE(tip.lblTipText->text(), QStringLiteral("Only tip"));
                tip.cmdNextTip->click();
            }
        }
        // An empty file loads but shows nothing.
        ShellFixture::WriteBytes(tips, "");
        {
            frmTip tip;
            const QString before = tip.lblTipText->text();
            QVERIFY(tip.LoadTips(tips));
            QCOMPARE(tip.Tips().size(), 0);
            QCOMPARE(tip.lblTipText->text(), before);
            QCOMPARE(tip.CurrentTip, 1);
        }
        // Every tip comes up, lines without CR too, empty lines count.
        ShellFixture::WriteBytes(tips, "first\r\n\r\nthird\nfourth");
        {
            frmTip tip;
            QCOMPARE(tip.Tips(), (QStringList{"first", "", "third", "fourth"}));
            QSet<int> seen;
            for (int i = 0; i < 200; ++i) {
                tip.cmdNextTip->click();
                QVERIFY(tip.CurrentTip >= 1 && tip.CurrentTip <= 4);
                seen.insert(tip.CurrentTip);
            }
            QCOMPARE(seen.size(), 4);
        }
    }

    void tipCheckBoxLastsForTheRun()
    {
        ShellFixture fixture;
        ShowTipsAtStartup = false;
        {
            frmTip tip;
            QVERIFY(!tip.chkLoadTipsAtStartup->isChecked());
            tip.chkLoadTipsAtStartup->click();
            QVERIFY(ShowTipsAtStartup);
            tip.cmdOK->click();
            QCOMPARE(tip.result(), int(QDialog::Accepted));
        }
        frmTip again;
        QVERIFY(again.chkLoadTipsAtStartup->isChecked());
        ShowTipsAtStartup = false;
    }

    void nameFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("save as") << "Text Files (*.txt)|*.txt|All Files (*.*)|*.*"
                                 << QStringList{"Text Files (*.txt *.TXT)", "All Files (*)"};
        QTest::newRow("no pattern list in description") << "Bolt|*.blt" << QStringList{"Bolt (*.blt *.BLT)"};
        QTest::newRow("description glued to patterns") << "APTCL Files(*.apt)|*.apt"
                                                        << QStringList{"APTCL Files (*.apt *.APT)"};
        QTest::newRow("several patterns") << "NC (*.nc;*.tap)|*.nc;*.tap"
                                          << QStringList{"NC (*.nc *.NC *.tap *.TAP)"};
        QTest::newRow("odd part count") << "Text|*.txt|Lonely" << QStringList{"Text (*.txt *.TXT)", "Lonely (*)"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void nameFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(CommonDialogObject::NameFilters(filter), expected);
    }

    void dialogOkGivesPathAndFilter()
    {
        ShellFixture fixture;
        const QString file = fixture.ProgramPath(QStringLiteral("PART.NC"));
        ShellFixture::WriteBytes(file, "%\r\n");
        ScriptedAnswers answers;
        QString titleSeen;
        QString filterSeen;
        answers.scriptModal([&](QDialog& dialog) {
            auto& files = dynamic_cast<QFileDialog&>(dialog);
            titleSeen = files.windowTitle();
            filterSeen = files.selectedNameFilter();
            files.selectNameFilter(files.nameFilters().at(4));
            files.selectFile(file);
            dialog.accept();   // the file dialog's own accept
        });
        CommonDialogObject dialog;
        dialog.DialogTitle(QStringLiteral("File Insert Open"));
        dialog.CancelError(true);
        dialog.Flags(0x1800);
        dialog.InitDir(fixture.ProgramFolder());
        dialog.Filter(QStringLiteral("APTCL Files(*.apt)|*.apt|Backup Files(*.bak)|*.bak|List Files (*.lst)|*.lst|"
                                     "Okuma Files (*.min)|*.min|NC Code(*.nc)|*.nc|All Files (*.*)|*.*"));
        dialog.FilterIndex(6);
        dialog.ShowOpen();
        QCOMPARE(titleSeen, QStringLiteral("File Insert Open"));
        QCOMPARE(filterSeen, QStringLiteral("All Files (*)"));
        QCOMPARE(dialog.FileName(), file);
        QCOMPARE(dialog.FilterIndex(), 5);
        QCOMPARE(dialog.Flags() & CommonDialogObject::cdlOFNReadOnly, 0);
    }

    void dialogCancel()
    {
        ScriptedAnswers answers;
        answers.scriptModal([](QDialog& dialog) { dialog.reject(); });
        answers.scriptModal([](QDialog& dialog) { dialog.reject(); });
        CommonDialogObject dialog;
        dialog.FileName(QStringLiteral("Editor4.cnc"));
        dialog.Filter(QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*"));
        dialog.FilterIndex(2);
        dialog.CancelError(true);
        try {
            dialog.ShowSave();
            QFAIL("Cancel raised nothing");
        } catch (const platform::Error& error) {
            QCOMPARE(error.number(), 20001);
        }
        dialog.CancelError(false);
        dialog.FileName(QStringLiteral("Editor4.cnc"));
        dialog.ShowSave();
        QCOMPARE(dialog.FileName(), QString());
        QCOMPARE(answers.modals().size(), 2);
    }

    void printerSetupGoesThroughTheModalRunner()
    {
        ScriptedAnswers answers;
        answers.scriptModal([](QDialog& dialog) { dialog.accept(); });
        answers.scriptModal([](QDialog& dialog) { dialog.reject(); });
        CommonDialogObject dialog;
        dialog.CancelError(true);
        dialog.ShowPrinter();
        bool cancelled = false;
        try {
            dialog.ShowPrinter();
        } catch (const platform::Error& error) {
            cancelled = error.number() == CommonDialogObject::cdlCancel;
        }
        QVERIFY(cancelled);
        QCOMPARE(answers.modals().size(), 2);
        QCOMPARE(answers.modals()[0].className, QStringLiteral("QPrintDialog"));
    }
};

REGISTER_TEST(TestForms);
#include "tst_Forms.moc"
