// The customisation dialogs open at a size that fits a 1024 x 768 screen and
// shows every text whole: captions, labels, boxes, list lines and tabs.

#include "MacroFixture.h"

#include "customise/MacroFiles.h"
#include "customise/frmEditProp.h"
#include "customise/frmKeys.h"
#include "customise/frmMacro.h"
#include "customise/frmMacroDesc.h"
#include "customise/frmMacroRemove.h"
#include "platform/codemax/CodeMax.h"
#include "platform/forms/ScriptedAnswers.h"
#include "shell/KroBrowser.h"
#include "shell/MEditor.h"
#include "shell/MIni.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <Qsci/qsciscintilla.h>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include "support/DesktopFont.h"
#include "support/TestRegistry.h"
#include "support/WindowFits.h"

#include <functional>

namespace {

using windowfits::CutTexts;
using windowfits::Name;

const QSize SmallScreen(1024, 768);

using Opener = std::function<std::unique_ptr<QDialog>()>;

std::unique_ptr<QDialog> SettingsPage(int page)
{
    auto dialog = std::make_unique<frmEditProp>();
    dialog->TabProp->setCurrentIndex(page);
    return dialog;
}


}  // namespace

Q_DECLARE_METATYPE(Opener)

class TestDialogLayout : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<MacroFixture> macros_;

private slots:
    void init()
    {
        macros_ = std::make_unique<MacroFixture>();
        QVERIFY(macros_->IsValid());
        CreateDefaultIni();
        // A list with its longest lines.
        Macronumber = 10;
        for (int k = 0; k < MaxMacros; ++k)
            MacroDescriptions[static_cast<size_t>(k)] = FreeMacroMark(k);
        MacroDescriptions[9].clear();
    }
    void cleanup() { macros_.reset(); }

    void opensWholeOnASmallScreen_data()
    {
        QTest::addColumn<Opener>("open");
        const char* pages[] = {"settings: Files", "settings: Colors", "settings: Characters",
                               "settings: Block Numbers", "settings: Files Association"};
        for (int page = 0; page < 5; ++page)
            QTest::newRow(pages[page]) << Opener([page] { return SettingsPage(page); });
        QTest::newRow("settings: Colors, Bookmarks") << Opener([] {
            auto dialog = std::make_unique<frmEditProp>();
            dialog->TabProp->setCurrentIndex(1);
            dialog->lstItems->setCurrentRow(1);
            return std::unique_ptr<QDialog>(std::move(dialog));
        });
        QTest::newRow("keyboard") << Opener([] {
            auto dialog = std::make_unique<frmKeys>();
            dialog->lstKeys->setCurrentRow(22);  // the longest description
            return std::unique_ptr<QDialog>(std::move(dialog));
        });
        QTest::newRow("macro editor") << Opener([] { return std::make_unique<frmMacro>(); });
        QTest::newRow("macro description") << Opener([] { return std::make_unique<frmMacroDesc>(); });
        QTest::newRow("remove macro") << Opener([] { return std::make_unique<frmMacroRemove>(); });
    }
    void opensWholeOnASmallScreen()
    {
        QFETCH(Opener, open);
        const std::unique_ptr<QDialog> dialog = open();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        const QSize available = dialog->screen()->availableGeometry().size().boundedTo(SmallScreen);
        const QSize frame = dialog->frameGeometry().size();
        QVERIFY2(frame.width() <= available.width() && frame.height() <= available.height(),
                 qPrintable(QStringLiteral("%1 x %2").arg(frame.width()).arg(frame.height())));
        const QStringList cut = CutTexts(*dialog);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
        QVERIFY(!dialog->grab().isNull());
    }

    // With a desktop font larger than ours every tab of the settings dialog
    // shows its whole caption: the dialog is as wide as its tabs, with no
    // scroll arrows in the tab bar.
    void settingsTabsWholeWithALargerFont_data()
    {
        QTest::addColumn<int>("points");
        QTest::newRow("11 pt") << 11;
        QTest::newRow("13 pt") << 13;
    }
    void settingsTabsWholeWithALargerFont()
    {
        QFETCH(int, points);
        const DesktopFontSize font(points);
        frmEditProp dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QTabBar* bar = dialog.TabProp->tabBar();
        QCOMPARE(bar->font().pointSize(), points);
        QVERIFY2(bar->sizeHint().width() <= bar->width(),
                 qPrintable(QStringLiteral("the tabs need %1 px, the bar has %2").arg(bar->sizeHint().width()).arg(bar->width())));
        for (int i = 0; i < bar->count(); ++i)
            QVERIFY2(bar->rect().contains(bar->tabRect(i)), qPrintable(bar->tabText(i)));
        const QStringList cut = CutTexts(dialog);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
    }

    // While recording, the line that names the key ending it fits as well.
    void recordingLineFits()
    {
        platform::ScriptedAnswers answers;
        frmMacro dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        MacroDescriptions[0] = FreeMacroMark(0);
        answers.scriptModal([](QDialog& d) {
            auto& description = dynamic_cast<frmMacroDesc&>(d);
            description.txtMacroDesc->setText(QStringLiteral("Tool change"));
            description.cmdMacro[0]->click();
        });
        dialog.cmdRecord[0]->click();
        QVERIFY(dialog.RecordEdit->IsRecordingMacro());
        QVERIFY(dialog.lblRecordEnd->isVisible());
        const QStringList cut = CutTexts(dialog);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
        QTest::keyClick(dialog.RecordEdit->ActivePane(), Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    }

    // The folder box of the settings dialog shows a path's letters whole:
    // as high as a text box of its own would draw them.
    void folderBoxShowsItsTextWhole()
    {
        frmEditProp dialog;
        const QString path = QStringLiteral("/jobs/g-code/Qy");
        dialog.CncDir->Text(path);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const auto inkHeight = [](const QImage& image) {
            int top = -1, bottom = -1;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (qGray(image.pixel(x, y)) < 80) {
                        top = top < 0 ? y : top;
                        bottom = y;
                    }
            return top < 0 ? 0 : bottom - top + 1;
        };
        QLineEdit reference(path);
        reference.setFont(dialog.CncDir->txtFolder->font());
        reference.resize(dialog.CncDir->txtFolder->width(), reference.sizeHint().height());
        reference.setCursorPosition(0);
        dialog.CncDir->txtFolder->setCursorPosition(0);
        const int whole = inkHeight(reference.grab().toImage());
        QVERIFY(whole > 0);
        QCOMPARE(inkHeight(dialog.CncDir->grab().toImage()), whole);
    }
};

REGISTER_TEST(TestDialogLayout);

#include "tst_DialogLayout.moc"
