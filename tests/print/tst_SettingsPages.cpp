// The settings pages: every control writes the settings at once, the pages
// show the settings again after a restore, and what cannot print is refused.

#include "PrintFixture.h"
#include "print/AddExtensionDialog.h"
#include "print/FileExtPage.h"
#include "print/FontPage.h"
#include "print/HeaderFooterPage.h"
#include "print/LayoutPage.h"
#include "print/PaperPage.h"
#include "print/PrintStrings.h"
#include "platform/forms/ScriptedAnswers.h"
#include "support/TestRegistry.h"

#include <QFontDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace prentil;
using namespace printtest;

namespace {

void Type(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

QStringList ExtensionNames(const CTxtPrintDoc& doc)
{
    QStringList names;
    for (const ExtensionEntry& entry : doc.Extensions())
        names << entry.name;
    return names;
}

}  // namespace

class tst_SettingsPages : public QObject {
    Q_OBJECT
private slots:
    void marginSpinsAndTyping()
    {
        AppFixture f;
        f.Start();
        PaperPage* page = f.View()->paperPage;
        f.View()->tabControl->setCurrentWidget(page);
        QCOMPARE(page->txtTop->edit->text(), QStringLiteral("20mm"));
        page->txtTop->up->click();
        QCOMPARE(page->txtTop->edit->text(), QStringLiteral("20.1mm"));
        QCOMPARE(f.Doc().TopMargin(), 20.1);
        Type(page->txtLeft->edit, "0");
        QCOMPARE(f.Doc().LeftMargin(), 0.0);
        page->txtLeft->down->click();
        QCOMPARE(page->txtLeft->edit->text(), QStringLiteral("0"));
        QCOMPARE(f.Doc().LeftMargin(), 0.0);
        Type(page->txtRight->edit, "12.5");
        QCOMPARE(f.Doc().RightMargin(), 12.5);
        page->optPortrait->click();
        QCOMPARE(f.Doc().Orientation(), 0);
        page->chkSwap->click();
        QCOMPARE(f.Doc().SwapMargins(), 1);
        page->chkOdd->click();
        QCOMPARE(f.Doc().PrintOddPages(), 0);
    }

    void rowsAndColumnsAreStoredAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("stored");
        QTest::newRow("inside the spin range") << "3" << 3;
        QTest::newRow("zero, refused later by printing") << "0" << 0;
        QTest::newRow("above the spin range") << "9" << 9;
    }
    void rowsAndColumnsAreStoredAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(int, stored);
        AppFixture f;
        f.Start();
        LayoutPage* page = f.View()->layoutPage;
        f.View()->tabControl->setCurrentWidget(page);
        Type(page->txtRows->edit, typed);
        QCOMPARE(f.Doc().Rows(), stored);
        Type(page->txtColumns->edit, typed);
        QCOMPARE(f.Doc().Columns(), stored);
    }

    void spinButtonsStayBetweenOneAndFour()
    {
        AppFixture f;
        f.Start();
        LayoutPage* page = f.View()->layoutPage;
        f.View()->tabControl->setCurrentWidget(page);
        Type(page->txtRows->edit, "4");
        page->txtRows->up->click();
        QCOMPARE(f.Doc().Rows(), 4);
        Type(page->txtRows->edit, "1");
        page->txtRows->down->click();
        QCOMPARE(f.Doc().Rows(), 1);
        page->optBreak[2]->click();
        QCOMPARE(f.Doc().PageBreakOption(), 2);
        // The long choice's caption wraps beside its button; a click on it chooses it.
        auto* caption = page->findChild<QLabel*>(QStringLiteral("lblBreak1"));
        QVERIFY(caption != nullptr);
        QVERIFY(caption->text().startsWith("Virtual page break between two files"));
        QTest::mouseClick(caption, Qt::LeftButton);
        QVERIFY(page->optBreak[1]->isChecked());
        QCOMPARE(f.Doc().PageBreakOption(), 1);
    }

    void headerFooterBitsAndRestore()
    {
        AppFixture f;
        f.Start();
        HeaderFooterPage* page = f.View()->headerFooterPage;
        f.View()->tabControl->setCurrentWidget(page);
        QVERIFY(!page->chkFooter[3]->isChecked() || (252 & 0x08) != 0);
        page->chkFooter[3]->click();  // pages total
        QCOMPARE(f.Doc().FooterOptions(), 252 & ~0x08);
        page->chkHeader[8]->click();  // gray background
        QCOMPARE(f.Doc().HeaderOptions(), 259 & ~0x100);
        f.Frame()->Action(ID_EDIT_RESTORE_SETTINGS)->trigger();
        QCOMPARE(f.Doc().HeaderOptions(), 259);
        QVERIFY(page->chkHeader[8]->isChecked());
        QVERIFY(page->chkFooter[3]->isChecked());
    }

    void fontPageShowsStyleAndDerivedValues()
    {
        QCOMPARE(FontPage::StyleText(700, true), IDS_STYLE_BOLD_ITALIC);
        QCOMPARE(FontPage::StyleText(700, false), IDS_STYLE_BOLD);
        QCOMPARE(FontPage::StyleText(400, true), IDS_STYLE_ITALIC);
        QCOMPARE(FontPage::StyleText(500, false), IDS_STYLE_NORMAL);
        AppFixture f;
        f.Start();
        FontPage* page = f.View()->fontPage;
        f.View()->tabControl->setCurrentWidget(page);
        QCOMPARE(page->lblFace->text(), QStringLiteral("Courier New"));
        QCOMPARE(page->lblSize->text(), QStringLiteral("8"));
        const int twoColumns = page->lblCharsPerLine->text().toInt();
        QVERIFY(twoColumns > 20);
        QVERIFY(page->lblLinesPerPage->text().toInt() > 20);
        f.Doc().SetColumns(1);
        f.View()->tabControl->setCurrentWidget(f.View()->paperPage);
        f.View()->tabControl->setCurrentWidget(page);
        QVERIFY(page->lblCharsPerLine->text().toInt() > 2 * twoColumns - 5);
        page->optWrap[0]->click();
        QCOMPARE(f.Doc().LineWrapOption(), WrapTruncate);
    }

    void setFontTakesTheChosenFont()
    {
        AppFixture f;
        f.Start();
        FontPage* page = f.View()->fontPage;
        f.View()->tabControl->setCurrentWidget(page);
        page->cmdSetFont->setFocus();
        platform::ScriptedAnswers answers;
        answers.scriptModal([](QDialog& dialog) {
            auto& fonts = static_cast<QFontDialog&>(dialog);
            QVERIFY(fonts.testOption(QFontDialog::MonospacedFonts));
            QFont chosen(QStringLiteral("DejaVu Sans Mono"));
            chosen.setPointSize(11);
            chosen.setBold(true);
            fonts.setCurrentFont(chosen);
            dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        page->cmdSetFont->click();
        QCOMPARE(answers.modals().size(), 1);
        QCOMPARE(f.Doc().PointHeight(), 11);
        QCOMPARE(f.Doc().Font().faceName, QStringLiteral("DejaVu Sans Mono"));
        QCOMPARE(page->lblStyle->text(), IDS_STYLE_BOLD);
        QCOMPARE(QApplication::focusWidget(), page->cmdSetFont);
    }

    // Enter presses the focused button of a page: Set Font..., Add new
    // extension, Delete extension.
    void enterPressesTheFocusedButton()
    {
        AppFixture f;
        f.Start();
        platform::ScriptedAnswers answers;
        const auto enterOn = [](QPushButton* button) {
            button->setFocus();
            QCOMPARE(QApplication::focusWidget(), button);
            QTest::keyClick(button, Qt::Key_Return);
        };
        f.View()->tabControl->setCurrentWidget(f.View()->fontPage);
        enterOn(f.View()->fontPage->cmdSetFont);
        QCOMPARE(answers.modals().size(), 1);
        QCOMPARE(answers.modals()[0].className, QStringLiteral("QFontDialog"));

        FileExtPage* page = f.View()->fileExtPage;
        f.View()->tabControl->setCurrentWidget(page);
        enterOn(page->cmdAdd);
        QCOMPARE(answers.modals().size(), 2);
        QCOMPARE(answers.modals()[1].className, QStringLiteral("prentil::AddExtensionDialog"));
        page->lstExtensions->setCurrentRow(7);
        const std::size_t before = f.Doc().Extensions().size();
        enterOn(page->cmdDelete);
        QCOMPARE(f.Doc().Extensions().size(), before - 1);
    }

    void defaultExtensionStaysFirst()
    {
        AppFixture f;
        f.Start();
        FileExtPage* page = f.View()->fileExtPage;
        f.View()->tabControl->setCurrentWidget(page);
        QCOMPARE(page->lblName->text(), QStringLiteral("Default"));
        page->cmdDelete->click();
        QCOMPARE(ExtensionNames(f.Doc()).first(), QStringLiteral("Default"));
        QCOMPARE(f.Doc().Extensions().size(), std::size_t(8));
        QVERIFY(!page->MoveDropped(3, 0));  // above "Default"
        QVERIFY(!page->MoveDropped(0, 4));  // "Default" itself
        QVERIFY(!page->MoveDropped(3, 3));
        QVERIFY(!page->MoveDropped(3, 4));  // onto the row below: no move
        QVERIFY(page->MoveDropped(7, 1));   // txt to the top of the others
        QCOMPARE(ExtensionNames(f.Doc()),
                 (QStringList{"Default", "txt", "c", "cnc", "nwd", "nc", "ncc", "abu"}));
        QCOMPARE(page->lstExtensions->currentRow(), 1);
        QVERIFY(page->MoveDropped(1, 8));   // and below the last
        QCOMPARE(ExtensionNames(f.Doc()).last(), QStringLiteral("txt"));
        page->lstExtensions->setCurrentRow(2);
        page->cmdDelete->click();
        QCOMPARE(ExtensionNames(f.Doc()),
                 (QStringList{"Default", "c", "nwd", "nc", "ncc", "abu", "txt"}));
        QCOMPARE(page->lstExtensions->currentRow(), 1);
    }

    void tabSpacingBelowOneIsRefused()
    {
        AppFixture f;
        f.Start();
        FileExtPage* page = f.View()->fileExtPage;
        f.View()->tabControl->setCurrentWidget(page);
        page->lstExtensions->setCurrentRow(4);  // nc
        Type(page->txtTabs, "6");
        QCOMPARE(f.Doc().ExtensionTabs("nc"), 6);
        QVERIFY(page->lstExtensions->item(4)->text().endsWith("\t6"));
        platform::ScriptedAnswers answers;
        Type(page->txtTabs, "0");
        QCOMPARE(f.Doc().ExtensionTabs("nc"), 6);
        QTest::keyClick(page->txtTabs, Qt::Key_Return);
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, IDS_BAD_TAB_SPACING);
        QCOMPARE(page->txtTabs->text(), QStringLiteral("6"));
        QCOMPARE(QApplication::focusWidget(), page->txtTabs);
    }

    // An added extension sorts the file list when the list is shown again.
    void addedExtensionSortsTheFiles()
    {
        AppFixture f;
        QStringList paths;
        for (const char* name : {"X.bak", "X.tap", "X.txt", "X.nc", "X.c"})
            paths << f.File(QString::fromLatin1(name), "x");
        f.Start(paths);
        QCOMPARE(f.Files()->ShownNames(), (QStringList{"X.c", "X.nc", "X.txt", "X.bak", "X.tap"}));
        FileExtPage* page = f.View()->fileExtPage;
        f.View()->tabControl->setCurrentWidget(page);
        page->cmdAdd->setFocus();
        platform::ScriptedAnswers answers;
        answers.scriptModal([](QDialog& dialog) {
            auto& add = static_cast<AddExtensionDialog&>(dialog);
            QCOMPARE(add.txtTabs->text(), QStringLiteral("4"));
            add.txtExtension->setText(QStringLiteral("tap"));
            add.txtTabs->setText(QStringLiteral("2"));
            add.buttons->button(QDialogButtonBox::Ok)->click();
        });
        page->cmdAdd->click();
        QCOMPARE(answers.modals()[0].result, int(QDialog::Accepted));
        QCOMPARE(QApplication::focusWidget(), page->cmdAdd);
        QCOMPARE(f.Doc().Extensions().back(), (ExtensionEntry{"tap", 2}));
        QCOMPARE(page->lblName->text(), QStringLiteral("tap"));
        f.View()->tabControl->setCurrentIndex(0);
        QCOMPARE(f.Files()->ShownNames(), (QStringList{"X.c", "X.nc", "X.txt", "X.tap", "X.bak"}));
    }

    void addDialogRefuses_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("tabs");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << "" << "4" << IDS_BAD_EXTENSION;
        QTest::newRow("already listed") << "nc" << "4" << IDS_BAD_EXTENSION;
        QTest::newRow("spacing 0") << "tap" << "0" << IDS_BAD_TAB_SPACING;
    }
    void addDialogRefuses()
    {
        QFETCH(QString, extension);
        QFETCH(QString, tabs);
        QFETCH(QString, message);
        AppFixture f;
        f.Start();
        FileExtPage* page = f.View()->fileExtPage;
        f.View()->tabControl->setCurrentWidget(page);
        platform::ScriptedAnswers answers;
        bool stayedOpen = false;
        QString focusAfter;
        answers.scriptModal([&](QDialog& dialog) {
            auto& add = static_cast<AddExtensionDialog&>(dialog);
            add.txtExtension->setText(extension);
            add.txtTabs->setText(tabs);
            add.buttons->button(QDialogButtonBox::Ok)->click();
            stayedOpen = dialog.isVisible();
            if (QWidget* focus = dialog.focusWidget())
                focusAfter = focus->objectName();
            add.buttons->button(QDialogButtonBox::Cancel)->click();
        });
        page->cmdAdd->click();
        QVERIFY(stayedOpen);
        QCOMPARE(focusAfter, message == IDS_BAD_EXTENSION ? QStringLiteral("txtExtension") : QStringLiteral("txtTabs"));
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, message);
        QCOMPARE(f.Doc().Extensions().size(), std::size_t(8));
    }
};

REGISTER_TEST(tst_SettingsPages);
#include "tst_SettingsPages.moc"
