// The window: the file list and its order, dropped and added files, the
// print commands through their dialogs, the preview, the settings commands,
// the window placement, and "/p" run as a program.

#include "PrintFixture.h"
#include "print/AboutDialog.h"
#include "print/PaperPage.h"
#include "print/PrintProfile.h"
#include "print/PrintStrings.h"
#include "platform/forms/ScriptedAnswers.h"
#include "support/TestRegistry.h"
#include "support/ToolbarLook.h"

#include <QDialogButtonBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QMimeData>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QScreen>
#include <QTimer>

using namespace prentil;
using namespace printtest;

namespace {

void Drop(QWidget* target, const QStringList& paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

// Runs each modal dialog through its own exec(); script works the dialog
// once it is up.
class RealModal {
public:
    explicit RealModal(std::function<void(QDialog&)> script)
    {
        previous_ = platform::SetModalHandler([script = std::move(script)](QDialog& dialog) {
            QTimer::singleShot(0, &dialog, [&dialog, script] { script(dialog); });
            return dialog.exec();
        });
    }
    ~RealModal() { platform::SetModalHandler(previous_); }
    RealModal(const RealModal&) = delete;
    RealModal& operator=(const RealModal&) = delete;

private:
    platform::ModalHandler previous_;
};

QString Prentil()
{
    return qEnvironmentVariable("TALVEX_BUILD_BIN") + QStringLiteral("/Prentil");
}

}  // namespace

class tst_CMainFrame : public QObject {
    Q_OBJECT
private slots:
    void menusAndTabs()
    {
        AppFixture f;
        f.Start();
        QStringList tabs;
        for (int i = 0; i < f.View()->tabControl->count(); ++i)
            tabs << f.View()->tabControl->tabText(i);
        QCOMPARE(tabs, (QStringList{"FILES", "Paper", "Page", "Header/Footer", "Font", "File ext."}));
        QCOMPARE(f.View()->tabControl->tabPosition(), QTabWidget::South);
        QCOMPARE(f.Frame()->Action(ID_FILE_ADD)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
        QCOMPARE(f.Frame()->Action(ID_FILE_PRINT_PREVIEW)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_W));
        QCOMPARE(f.Frame()->Action(ID_FILE_PRINT_SETUP)->statusTip(),
                 QStringLiteral("Change the printer and printing options"));
        QCOMPARE(f.Frame()->windowTitle(), QStringLiteral("Prentil"));
        QCOMPARE(f.Files()->Count(), 0);
    }

    void droppedFilesAreSortedAndRemoved()
    {
        AppFixture f;
        f.Start();
        Drop(f.Frame(), {f.File("B.c", "b"), f.File("A.txt", "a"), f.File("A.cnc", "a")});
        QCOMPARE(f.Files()->ShownNames(), (QStringList{"A.cnc", "A.txt", "B.c"}));
        f.Files()->lstFiles->item(0)->setSelected(true);
        f.Files()->lstFiles->item(2)->setSelected(true);
        f.Files()->lstFiles->setFocus();
        QTest::keyClick(f.Files()->lstFiles, Qt::Key_Delete);
        QCOMPARE(f.Files()->ShownNames(), QStringList{"A.txt"});
    }

    void addFilesThroughTheOpenDialog()
    {
        AppFixture f;
        const QString one = f.File("one.nc", "1");
        const QString two = f.File("two.nc", "2");
        f.Start();
        f.Files()->lstFiles->setFocus();
        platform::ScriptedAnswers answers;
        answers.scriptModal([&](QDialog& dialog) {
            auto& files = static_cast<QFileDialog&>(dialog);
            QCOMPARE(files.fileMode(), QFileDialog::ExistingFiles);
            files.setDirectory(f.dir.path());
            files.selectFile(QStringLiteral("\"one.nc\" \"two.nc\""));
            dialog.accept();
        });
        f.Frame()->Action(ID_FILE_ADD)->trigger();
        QCOMPARE(answers.modals().size(), 1);
        QCOMPARE(f.Files()->ShownNames(), (QStringList{"one.nc", "two.nc"}));
        QCOMPARE(QApplication::focusWidget(), f.Files()->lstFiles);
    }

    void printThroughThePrintDialog()
    {
        if (!HavePoppler())
            QSKIP("poppler-utils are not installed");
        AppFixture f;
        f.Start({f.File("a.nc", Program()), f.File("b.nc", Program())});
        f.Doc().SetPageBreakOption(0);
        f.app->Printer().setOutputFormat(QPrinter::PdfFormat);
        f.app->Printer().setOutputFileName(f.Pdf());
        f.Files()->lstFiles->item(1)->setSelected(true);
        f.Files()->lstFiles->setFocus();
        platform::ScriptedAnswers answers;
        answers.scriptModal([](QDialog& dialog) {
            QVERIFY(qobject_cast<QPrintDialog*>(&dialog) != nullptr);
            auto* box = dialog.findChild<QDialogButtonBox*>();
            QVERIFY(box != nullptr);
            QPushButton* ok = box->button(QDialogButtonBox::Ok);
            QVERIFY(ok != nullptr);
            ok->click();
        });
        f.Frame()->Action(ID_FILE_PRINT_SELECTED)->trigger();
        QCOMPARE(answers.modals().size(), 1);
        QCOMPARE(answers.modals()[0].result, int(QDialog::Accepted));
        QCOMPARE(PdfPages(f.Pdf()), 1);
        QVERIFY(PdfText(f.Pdf()).contains("b.nc"));
        QVERIFY(!PdfText(f.Pdf()).contains("a.nc"));
        QCOMPARE(QApplication::focusWidget(), f.Files()->lstFiles);
    }

    void printSelectedWithNothingSelectedPrintsNothing()
    {
        AppFixture f;
        f.Start({f.File("a.nc", Program())});
        f.app->Printer().setOutputFormat(QPrinter::PdfFormat);
        f.app->Printer().setOutputFileName(f.Pdf());
        platform::ScriptedAnswers answers;
        answers.scriptModal([](QDialog& dialog) {
            dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        QCOMPARE(f.Frame()->OnFilePrintSelected(), 0);
        QVERIFY(!QFile::exists(f.Pdf()));
    }

    void cancelledPrintDialogPrintsNothing()
    {
        AppFixture f;
        f.Start({f.File("a.nc", Program())});
        f.app->Printer().setOutputFormat(QPrinter::PdfFormat);
        f.app->Printer().setOutputFileName(f.Pdf());
        platform::ScriptedAnswers answers;
        answers.scriptModal([](QDialog& dialog) {
            dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
        });
        QCOMPARE(f.Frame()->OnFilePrint(), -1);
        QVERIFY(!QFile::exists(f.Pdf()));
    }

    void previewShowsTheSheets()
    {
        AppFixture f;
        f.Start({f.File("a.nc", Program()), f.File("b.nc", Program()), f.File("c.nc", Program())});
        f.Doc().SetPageBreakOption(0);
        f.Files()->lstFiles->setFocus();
        platform::ScriptedAnswers answers;
        int pages = -1;
        answers.scriptModal([&](QDialog& dialog) {
            auto* widget = dialog.findChild<QPrintPreviewWidget*>();
            QVERIFY(widget != nullptr);
            QApplication::processEvents();
            pages = widget->pageCount();
        });
        QCOMPARE(f.Frame()->OnFilePrintPreview(), 3);
        QCOMPARE(pages, 3);
        QCOMPARE(answers.modals()[0].className, QStringLiteral("QPrintPreviewDialog"));
        QCOMPARE(QApplication::focusWidget(), f.Files()->lstFiles);
    }

    // Settings that printing refuses open no preview after the message.
    void refusedSettingsOpenNoPreview_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("answer");
        QTest::newRow("no rows") << "rows" << IDS_INVALID_ROWS_COLUMNS << int(platform::vbOK);
        QTest::newRow("neither odd nor even") << "pages" << IDS_NO_PAGES_CHOSEN << int(platform::vbOK);
        QTest::newRow("margin warning answered No") << "margin" << IDS_MARGIN_WARNING << int(platform::vbNo);
    }
    void refusedSettingsOpenNoPreview()
    {
        QFETCH(QString, setting);
        QFETCH(QString, message);
        QFETCH(int, answer);
        AppFixture f;
        f.Start({f.File("a.nc", Program())});
        if (setting == "rows")
            f.Doc().SetRows(0);
        else if (setting == "pages")
            f.Doc().SetPrintOddPages(0), f.Doc().SetPrintEvenPages(0);
        else
            f.Doc().SetLeftMargin(-5);
        f.Files()->lstFiles->setFocus();
        platform::ScriptedAnswers answers;
        answers.answerMsgBox(answer);
        QCOMPARE(f.Frame()->OnFilePrintPreview(), -1);
        QCOMPARE(answers.modals().size(), 0);
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, message);
        QCOMPARE(QApplication::focusWidget(), f.Files()->lstFiles);
    }

    // The first preview is 200 pixels larger each way than the window (as
    // far as the screen has room); later ones come back where the last was left.
    void previewComesBackWhereItWasLeft()
    {
        AppFixture f;
        f.Start({f.File("a.nc", Program())});
        const QRect area = f.Frame()->screen()->availableGeometry();
        f.Frame()->setGeometry(QRect(area.topLeft() + QPoint(10, 20), f.Frame()->minimumSizeHint()));
        const QSize frame = f.Frame()->size();
        QVERIFY(frame.height() + 200 < area.height());
        platform::ScriptedAnswers answers;
        QRect first;
        answers.scriptModal([&](QDialog& dialog) {
            first = dialog.geometry();
            dialog.setGeometry(30, 40, 500, 450);
        });
        QRect second;
        answers.scriptModal([&](QDialog& dialog) { second = dialog.geometry(); });
        f.Frame()->OnFilePrintPreview();
        f.Frame()->OnFilePreviewSelected();
        QCOMPARE(first.height(), frame.height() + 200);
        QVERIFY(first.width() > frame.width());
        QVERIFY(area.contains(first));
        QCOMPARE(second, QRect(30, 40, 500, 450));
    }

    // Print Setup opens with the stored orientation (landscape by default);
    // OK takes back only what the user changed in it. The dialog runs for
    // real: it hands its page to the printer only when its exec() ends.
    void printSetupOpensWithTheStoredOrientation_data()
    {
        QTest::addColumn<QString>("click");
        QTest::addColumn<int>("orientation");
        QTest::newRow("OK without a change keeps landscape") << QString() << 1;
        QTest::newRow("portrait chosen") << "portrait" << 0;
    }
    void printSetupOpensWithTheStoredOrientation()
    {
        QFETCH(QString, click);
        QFETCH(int, orientation);
        AppFixture f;
        f.Start();
        f.app->Printer().setOutputFormat(QPrinter::PdfFormat);
        f.app->Printer().setOutputFileName(f.Pdf());
        QCOMPARE(f.Doc().Orientation(), 1);
        f.View()->tabControl->setCurrentWidget(f.View()->paperPage);
        f.View()->paperPage->chkOdd->setFocus();
        bool openedLandscape = false;
        int runs = 0;
        const RealModal real([&](QDialog& dialog) {
            ++runs;
            auto* landscape = dialog.findChild<QRadioButton*>(QStringLiteral("landscape"));
            QVERIFY(landscape != nullptr);
            openedLandscape = landscape->isChecked();
            if (!click.isEmpty()) {
                auto* radio = dialog.findChild<QRadioButton*>(click);
                radio->setFocus();
                QTest::keyClick(radio, Qt::Key_Space);
            }
            dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        f.Frame()->Action(ID_FILE_PRINT_SETUP)->trigger();
        QCOMPARE(runs, 1);
        QVERIFY(openedLandscape);
        QCOMPARE(f.Doc().Orientation(), orientation);
        // The shown page follows at once, and Save writes what the page shows.
        QCOMPARE(f.View()->paperPage->optLandscape->isChecked(), orientation == 1);
        f.Frame()->Action(ID_EDIT_SAVE_SETTINGS)->trigger();
        QCOMPARE(GetProfileInt("Misc settings", "Orientation", -1), orientation);
        QCOMPARE(QApplication::focusWidget(), f.View()->paperPage->chkOdd);
    }

    // The Print dialog gets the printer with the stored orientation; a run
    // through it without a change prints landscape and stores no portrait.
    void printDialogKeepsTheStoredOrientation_data()
    {
        QTest::addColumn<bool>("changeToPortrait");
        QTest::addColumn<int>("orientation");
        QTest::newRow("OK without a change") << false << 1;
        QTest::newRow("portrait chosen in the dialog") << true << 0;
    }
    void printDialogKeepsTheStoredOrientation()
    {
        if (!HavePoppler())
            QSKIP("poppler-utils are not installed");
        QFETCH(bool, changeToPortrait);
        QFETCH(int, orientation);
        AppFixture f;
        f.Start({f.File("a.nc", Program())});
        f.app->Printer().setOutputFormat(QPrinter::PdfFormat);
        f.app->Printer().setOutputFileName(f.Pdf());
        platform::ScriptedAnswers answers;
        QPageLayout::Orientation opened = QPageLayout::Portrait;
        answers.scriptModal([&](QDialog& dialog) {
            QPrinter* printer = static_cast<QPrintDialog&>(dialog).printer();
            opened = printer->pageLayout().orientation();
            if (changeToPortrait)
                printer->setPageOrientation(QPageLayout::Portrait);
            dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        QCOMPARE(f.Frame()->OnFilePrint(), 1);
        QCOMPARE(opened, QPageLayout::Landscape);
        QCOMPARE(f.Doc().Orientation(), orientation);
        const QString size = orientation == 1 ? "(841.89|842) x 595" : "595.* x (841.89|842)";
        QVERIFY(RunTool("pdfinfo", {f.Pdf()}).contains(QRegularExpression("Page size:\\s+" + size)));
    }

    void messageOfAPrintGivesTheFocusBack()
    {
        AppFixture f;
        f.Start({f.dir.filePath("gone.nc")});
        f.Files()->lstFiles->setFocus();
        qputenv(PrintToPdfVariable, f.Pdf().toLocal8Bit());
        platform::ScriptedAnswers answers;
        QCOMPARE(f.Frame()->OnFilePrintDirect(), 0);
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(QApplication::focusWidget(), f.Files()->lstFiles);
    }

    void noPrinterIsReported()
    {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("this machine has a default printer");
        AppFixture f;
        f.Start({f.File("a.nc", Program())});
        platform::ScriptedAnswers answers;
        QCOMPARE(f.Frame()->OnFilePrintDirect(), -1);
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, IDS_NO_PRINTER);
    }

    void saveRestoreAndWarnings()
    {
        AppFixture f;
        f.Start();
        f.Doc().SetTopMargin(33);
        f.Frame()->Action(ID_EDIT_SAVE_SETTINGS)->trigger();
        QCOMPARE(GetProfileString("Misc settings", "Top Margin", {}), QStringLiteral("33mm"));
        QVERIFY(f.Frame()->Action(ID_VIEW_WARNINGS)->isChecked());
        f.Frame()->Action(ID_VIEW_WARNINGS)->trigger();
        QCOMPARE(f.Doc().ViewWarnings(), 0);
        QVERIFY(!f.Frame()->Action(ID_VIEW_WARNINGS)->isChecked());
        f.Frame()->Action(ID_EDIT_RESTORE_SETTINGS)->trigger();
        QCOMPARE(f.Doc().TopMargin(), 20.0);
        QCOMPARE(f.Doc().ViewWarnings(), 1);
        QVERIFY(f.Frame()->Action(ID_VIEW_WARNINGS)->isChecked());
        QCOMPARE(GetProfileString("Misc settings", "Top Margin", "none"), QStringLiteral("none"));
    }

    // The toolbar's images read on the desktop's palette, light or dark.
    void toolbarImagesReadOnAnyPalette_data()
    {
        toolbarlook::PaletteRows();
    }
    void toolbarImagesReadOnAnyPalette()
    {
        QFETCH(QPalette, palette);
        const toolbarlook::ApplicationPalette desktop(palette);
        AppFixture f;
        f.Start();
        QVERIFY(QTest::qWaitForWindowExposed(f.Frame()));
        auto* toolbar = f.Frame()->findChild<QToolBar*>(QStringLiteral("Toolbar"));
        QVERIFY(toolbar != nullptr);
        const std::vector<toolbarlook::ButtonLook> looks = toolbarlook::Measure(*toolbar);
        QCOMPARE(looks.size(), size_t(6));
        const QStringList faults = toolbarlook::Unreadable(looks);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }

    void aboutClosesWithOk()
    {
        AppFixture f;
        f.Start();
        f.Files()->lstFiles->setFocus();
        platform::ScriptedAnswers answers;
        QString text;
        answers.scriptModal([&](QDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("About Prentil"));
            for (QLabel* label : dialog.findChildren<QLabel*>())
                text += label->text();
            static_cast<AboutDialog&>(dialog).buttons->button(QDialogButtonBox::Ok)->click();
        });
        f.Frame()->Action(ID_APP_ABOUT)->trigger();
        QVERIFY(text.contains("Prentil Version 1.0"));
        QCOMPARE(answers.modals()[0].result, int(QDialog::Accepted));
        QCOMPARE(QApplication::focusWidget(), f.Files()->lstFiles);
    }

    void placementIsKeptAcrossRuns()
    {
        {
            AppFixture f;
            f.Start();
            f.Frame()->setGeometry(40, 50, 740, 600);
            f.Frame()->close();
            QCOMPARE(GetProfileInt("Window placement", "normal.left", -1), 40);
            QCOMPARE(GetProfileInt("Window placement", "normal.right", -1), 780);
            CTxtPrintApp again;
            again.InitInstance({});
            QCOMPARE(again.Frame()->geometry().size(), QSize(740, 600));
            QCOMPARE(again.Frame()->geometry().topLeft(), QPoint(40, 50));
        }
    }

    // "/p" prints without a window; what cannot print is said on the error
    // output. A name without a folder is found in the working folder, and
    // the header shows that folder.
    void printFlagRunsWithoutWindow_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QStringList>("printed");
        QTest::newRow("a file prints, a missing one is reported")
            << QStringList{"/p", "{dir}/a.nc", "{dir}/missing.nc"} << 0 << "Cannot open file {dir}/missing.nc"
            << QStringList{"O1000 (TEST)"};
        QTest::newRow("nothing printable fails")
            << QStringList{"/p", "{dir}/missing.nc"} << 1 << "Cannot open file {dir}/missing.nc" << QStringList{};
        QTest::newRow("no file given") << QStringList{"/p"} << 1 << IDS_NO_FILES_GIVEN << QStringList{};
        QTest::newRow("name without folder") << QStringList{"/p", "a.nc"} << 0 << QString()
                                             << QStringList{"{dir}/a.nc", "O1000 (TEST)"};
    }
    void printFlagRunsWithoutWindow()
    {
        if (!HavePoppler())
            QSKIP("poppler-utils are not installed");
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, error);
        QFETCH(QStringList, printed);
        QTemporaryDir dir;
        WriteBytes(dir.filePath("a.nc"), Program());
        const QString pdf = dir.filePath("out.pdf");
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(PrintToPdfVariable, pdf);
        env.insert("TALVEX_REGISTRY_DIR", dir.filePath("registry"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(dir.path());
        for (QString& argument : arguments)
            argument.replace("{dir}", dir.path());
        process.start(Prentil(), arguments);
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), exitCode);
        const QString stderrText = QString::fromLocal8Bit(process.readAllStandardError());
        if (error.isEmpty())
            QVERIFY2(!stderrText.contains("Prentil:"), qPrintable(stderrText));
        else
            QVERIFY2(stderrText.contains(error.replace("{dir}", dir.path())), qPrintable(stderrText));
        QCOMPARE(QFile::exists(pdf), !printed.isEmpty());
        if (printed.isEmpty())
            return;
        QCOMPARE(PdfPages(pdf), 1);
        const QString text = PdfText(pdf);
        for (QString expected : printed)
            QVERIFY2(text.contains(expected.replace("{dir}", dir.path())), qPrintable(text));
        QVERIFY(!text.contains("a.nc/a.nc"));
    }

    // Names given without a folder in the window's command line get it too.
    void relativeNamesGetTheWorkingFolder()
    {
        AppFixture f;
        f.File("A.NC", Program());
        const QString previous = QDir::currentPath();
        QDir::setCurrent(f.dir.path());
        f.Start({"A.NC", "./sub/../B.NC"});
        QDir::setCurrent(previous);
        const std::vector<PrintJob*> jobs = f.Files()->AllJobs();
        QCOMPARE(jobs.size(), std::size_t(2));
        QCOMPARE(jobs[0]->FullPath(), f.dir.filePath("A.NC"));
        QCOMPARE(jobs[0]->Folder(), f.dir.path());
        QCOMPARE(jobs[1]->FullPath(), f.dir.filePath("B.NC"));
        QCOMPARE(f.Files()->ShownNames(), (QStringList{"A.NC", "B.NC"}));
    }
};

REGISTER_TEST(tst_CMainFrame);
#include "tst_CMainFrame.moc"
