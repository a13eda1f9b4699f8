// Every Prentil window and dialog opens at a size that fits the screen's
// available area and shows each of its texts whole (run under a 1024 x 768
// display as well as offscreen, whose screen is 800 pixels wide): the main window on each of its six pages, the print preview, Print
// Setup, About and Add new extension.

#include "PrintFixture.h"
#include "print/AddExtensionDialog.h"
#include "print/FileExtPage.h"
#include "print/LayoutPage.h"
#include "print/PaperPage.h"
#include "print/PrintProfile.h"
#include "platform/forms/ScriptedAnswers.h"
#include "support/TestRegistry.h"
#include "support/WindowFits.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QTabBar>
#include <QTest>
#include <functional>

using namespace prentil;
using namespace printtest;

namespace {

using windowfits::CutTexts;
using windowfits::Name;

// The area a window must fit: the screen's available area.
QRect Area(const QWidget& window)
{
    return window.screen()->availableGeometry();
}

// Checks the shown window: inside the area, every text whole.
void CheckWindow(const QWidget& window)
{
    const QRect frame = window.frameGeometry();
    QVERIFY2(Area(window).contains(frame),
             qPrintable(QStringLiteral("%1 at %2,%3 %4 x %5")
                            .arg(Name(&window))
                            .arg(frame.x())
                            .arg(frame.y())
                            .arg(frame.width())
                            .arg(frame.height())));
    const QStringList cut = CutTexts(window);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
}

// Shows each modal dialog, checks it, then closes it.
void CheckNextDialog(platform::ScriptedAnswers& answers, bool* checked)
{
    answers.scriptModal([checked](QDialog& dialog) {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QApplication::processEvents();
        CheckWindow(dialog);
        *checked = !QTest::currentTestFailed();
        dialog.reject();
    });
}

}  // namespace

class tst_WindowLayout : public QObject {
    Q_OBJECT
private slots:
    void mainWindowPages_data()
    {
        QTest::addColumn<int>("page");
        const char* names[] = {"FILES", "Paper", "Page", "Header/Footer", "Font", "File ext."};
        for (int page = 0; page < 6; ++page)
            QTest::newRow(names[page]) << page;
    }
    void mainWindowPages()
    {
        QFETCH(int, page);
        AppFixture f;
        f.Start({f.File("a.nc", Program())});
        QVERIFY(QTest::qWaitForWindowExposed(f.Frame()));
        f.View()->tabControl->setCurrentIndex(page);
        QApplication::processEvents();
        CheckWindow(*f.Frame());
    }

    // Number boxes are as wide as their numbers, not as the window.
    void numberBoxesKeepTheirWidth()
    {
        AppFixture f;
        f.Start();
        f.Frame()->resize(Area(*f.Frame()).size());
        QVERIFY(QTest::qWaitForWindowExposed(f.Frame()));
        const QList<QPair<int, QWidget*>> boxes{{1, f.View()->paperPage->txtTop->edit},
                                                {2, f.View()->layoutPage->txtRows->edit},
                                                {5, f.View()->fileExtPage->txtTabs}};
        for (const auto& [page, box] : boxes) {
            f.View()->tabControl->setCurrentIndex(page);
            QApplication::processEvents();
            const int room = box->fontMetrics().horizontalAdvance(QStringLiteral("0000.000mm")) + 40;
            QVERIFY2(box->width() <= room, qPrintable(Name(box) + QStringLiteral(": %1").arg(box->width())));
        }
    }

    // The preview opens 200 pixels larger than the window, but never
    // beyond the screen, also after a preview was left larger than it.
    void previewFitsTheScreen()
    {
        AppFixture f;
        f.Start({f.File("a.nc", Program())});
        f.Frame()->setGeometry(QRect(Area(*f.Frame()).topLeft() + QPoint(60, 40), QSize(700, 560)));
        QVERIFY(QTest::qWaitForWindowExposed(f.Frame()));
        platform::ScriptedAnswers answers;
        bool checked = false;
        CheckNextDialog(answers, &checked);
        f.Frame()->OnFilePrintPreview();
        QVERIFY(checked);
    }

    void dialogsFitTheScreen_data()
    {
        QTest::addColumn<int>("command");
        QTest::newRow("Print Setup") << int(ID_FILE_PRINT_SETUP);
        QTest::newRow("About") << int(ID_APP_ABOUT);
        QTest::newRow("Add new extension") << 0;
    }
    void dialogsFitTheScreen()
    {
        QFETCH(int, command);
        AppFixture f;
        f.Start({f.File("a.nc", Program())});
        f.app->Printer().setOutputFormat(QPrinter::PdfFormat);
        f.app->Printer().setOutputFileName(f.Pdf());
        QVERIFY(QTest::qWaitForWindowExposed(f.Frame()));
        platform::ScriptedAnswers answers;
        bool checked = false;
        CheckNextDialog(answers, &checked);
        if (command != 0) {
            f.Frame()->Action(command)->trigger();
        } else {
            f.View()->tabControl->setCurrentWidget(f.View()->fileExtPage);
            f.View()->fileExtPage->cmdAdd->click();
        }
        QVERIFY(checked);
    }

    // A placement saved on a larger screen opens inside this one.
    void placementFromALargerScreenFits()
    {
        const QRect area = [] {
            AppFixture probe;
            probe.Start();
            return Area(*probe.Frame());
        }();
        AppFixture f;
        const int values[6] = {0, 1, area.right() - 100, area.bottom() - 100, area.right() + 2000,
                               area.bottom() + 1500};
        const char* names[6] = {"normal.flags", "normal.showCmd", "normal.left", "normal.top", "normal.right",
                                "normal.bottom"};
        for (int i = 0; i < 6; ++i)
            WriteProfileInt("Window placement", names[i], values[i]);
        f.Start();
        QVERIFY(QTest::qWaitForWindowExposed(f.Frame()));
        CheckWindow(*f.Frame());
    }
};

REGISTER_TEST(tst_WindowLayout);
#include "tst_WindowLayout.moc"
