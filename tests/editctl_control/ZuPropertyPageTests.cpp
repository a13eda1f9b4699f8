// The property pages and sheet driving a control: lists whose entry is the
// value, numbers refused before anything is written, the Browse choice written
// only on Apply, setters' errors shown while the page keeps what was typed,
// and the sheet's buttons.

#include "ZuControlSupport.h"
#include "editctl/ZuAboutBox.h"
#include "editctl/ZuPropertyPages.h"
#include "platform/forms/ScriptedAnswers.h"
#include "support/TestRegistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace zutest;

namespace {

template <typename W> W* Field(QWidget* page, const char* property)
{
    return page->findChild<W*>(QString::fromLatin1(property));
}

void Press(QDialog& dialog, QDialogButtonBox::StandardButton which)
{
    dialog.findChild<QDialogButtonBox*>()->button(which)->click();
}

}  // namespace

class ZuPropertyPageTests : public QObject {
    Q_OBJECT

private slots:
    // Nine pages' names and every field's caption show whole, in a sheet that fits a 1024x768 screen.
    void sheetShowsItsTextsWholeOnASmallScreen()
    {
        const auto control = NewControl();
        ZuPropertySheet sheet({control.get()});
        sheet.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sheet));
        QVERIFY(sheet.frameGeometry().width() <= 1024 && sheet.frameGeometry().height() <= 768);
        auto* tabs = sheet.findChild<QTabWidget*>();
        QVERIFY(tabs);
        QTabBar* bar = tabs->tabBar();
        QCOMPARE(bar->count(), 9);
        for (int i = 0; i < bar->count(); ++i) {
            const QRect rect = bar->tabRect(i);
            QVERIFY2(rect.right() < bar->width(), qPrintable(bar->tabText(i)));
            QVERIFY2(rect.width() > bar->fontMetrics().horizontalAdvance(bar->tabText(i)), qPrintable(bar->tabText(i)));
        }
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QApplication::processEvents();
            for (const QLabel* label : tabs->widget(i)->findChildren<QLabel*>())
                QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
        }
    }

    void eachPageChangesTheControl_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("entry");   // a list entry, a number or a check ("check")
        QTest::addColumn<QVariant>("stored");
        QTest::newRow("General ScrollBars") << "General" << "ScrollBars" << "4 - Auto" << QVariant(4);
        QTest::newRow("General MousePointer Custom") << "General" << "MousePointer" << "99 - Custom" << QVariant(15);
        QTest::newRow("General UndoLimit") << "General" << "UndoLimit" << "-3" << QVariant(0);
        QTest::newRow("General ReadOnly") << "General" << "ReadOnly" << "check" << QVariant(true);
        QTest::newRow("Text TextType") << "Text" << "TextType" << "2 - Unix Text" << QVariant(2);
        QTest::newRow("Text InsertMode") << "Text" << "InsertMode" << "check" << QVariant(false);
        QTest::newRow("Wrapping WrapX") << "Wrapping" << "WrapX" << "-5" << QVariant(-1);
        QTest::newRow("Margins LeftMargin") << "Margins" << "LeftMargin" << "12" << QVariant(12);
        QTest::newRow("Search SearchTo") << "Search" << "SearchTo" << "0 - Top of text" << QVariant(0);
        QTest::newRow("Search SearchTarget") << "Search" << "SearchTarget" << "M30" << QVariant("M30");
        QTest::newRow("Splitter SplitterType") << "Splitter" << "SplitterType" << "1 - Vertical" << QVariant(1);
        QTest::newRow("Splitter SplitterWidth") << "Splitter" << "SplitterWidth" << "11" << QVariant(11);
        QTest::newRow("Selection SelColorType") << "Selection" << "SelColorType" << "1 - Specific" << QVariant(1);
        QTest::newRow("Selection SelDragDropEnable") << "Selection" << "SelDragDropEnable" << "check" << QVariant(false);
        QTest::newRow("Color ForeColor") << "Color" << "ForeColor" << "&H000000FF&" << QVariant(0xFFu);
        QTest::newRow("Font FontBold") << "Font" << "FontBold" << "check" << QVariant(true);
    }
    void eachPageChangesTheControl()
    {
        QFETCH(QString, caption);
        QFETCH(QString, property);
        QFETCH(QString, entry);
        QFETCH(QVariant, stored);
        const auto control = NewControl();
        ZuPropertySheet sheet({control.get()});
        ZuPropertyPage* page = sheet.Page(caption);
        QVERIFY(page);
        QWidget* field = page->findChild<QWidget*>(property);
        QVERIFY(field);
        if (auto* list = qobject_cast<QComboBox*>(field))
            list->setCurrentIndex(list->findText(entry));
        else if (auto* check = qobject_cast<QCheckBox*>(field))
            check->click();
        else
            static_cast<QLineEdit*>(field)->setText(entry);
        QVERIFY(page->IsChanged());
        Press(sheet, QDialogButtonBox::Apply);
        QCOMPARE(Get(control.get(), property).toString(), stored.toString());
    }

    // A number field without a number is refused: nothing of the page is written.
    void numberFieldWithoutANumberWritesNothing()
    {
        platform::ScriptedAnswers answers;
        const auto control = NewControl();
        ZuEditor20MarginsPropPage page;
        page.SetObjects({control.get()});
        page.Load();
        Field<QLineEdit>(&page, "TopMargin")->setText(QStringLiteral("7"));
        Field<QLineEdit>(&page, "LeftMargin")->setText(QStringLiteral("seven"));
        QVERIFY(!page.Apply());
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(Get(control.get(), "TopMargin").toInt(), 0);
    }

    // Two controls selected: Apply writes both; a refused value is shown and the field keeps it.
    void applyWritesEverySelectedControlAndShowsRefusals()
    {
        platform::ScriptedAnswers answers;
        const auto first = NewControl();
        const auto second = NewControl();
        ZuEditor20SplitterPropPage page;
        page.SetObjects({first.get(), second.get()});
        page.Load();
        Field<QLineEdit>(&page, "SplitterWidth")->setText(QStringLiteral("9"));
        QVERIFY(page.Apply());
        QCOMPARE(Get(first.get(), "SplitterWidth").toInt(), 9);
        QCOMPARE(Get(second.get(), "SplitterWidth").toInt(), 9);
        Field<QLineEdit>(&page, "SplitterWidth")->setText(QStringLiteral("99999"));
        QVERIFY(!page.Apply());
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes().first().prompt, QStringLiteral("Overflow"));
        QCOMPARE(Field<QLineEdit>(&page, "SplitterWidth")->text(), QStringLiteral("99999"));
        QCOMPARE(Get(first.get(), "SplitterWidth").toInt(), 9);
    }

    void browseThenCancelLeavesFileOpen()
    {
        platform::ScriptedAnswers answers;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("prog.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("G01 X1\r\n");
        file.close();
        const auto control = NewControl();
        ZuPropertySheet sheet({control.get()});
        answers.scriptModal([&](QDialog& dialog) {
            auto& chooser = static_cast<QFileDialog&>(dialog);
            chooser.selectFile(path);
            static_cast<QDialog&>(chooser).accept();
        });
        auto* browse = sheet.Page(QStringLiteral("Text"))->findChild<QPushButton*>(QStringLiteral("Browse"));
        browse->click();
        QCOMPARE(sheet.Page(QStringLiteral("Text"))->findChild<QLineEdit*>(QStringLiteral("FileOpen"))->text(), path);
        QCOMPARE(Get(control.get(), "FileOpen").toString(), QString());
        Press(sheet, QDialogButtonBox::Cancel);
        QCOMPARE(sheet.result(), int(QDialog::Rejected));
        QCOMPARE(Get(control.get(), "FileOpen").toString(), QString());
        // OK applies: the file is opened.
        ZuPropertySheet again({control.get()});
        again.Page(QStringLiteral("Text"))->findChild<QLineEdit*>(QStringLiteral("FileOpen"))->setText(path);
        Press(again, QDialogButtonBox::Ok);
        QCOMPARE(again.result(), int(QDialog::Accepted));
        QCOMPARE(Get(control.get(), "FileOpen").toString(), path);
        QCOMPARE(Get(control.get(), "CountBytes").toInt(), 8);
    }

    // A file chosen on the Text page is read with the text type and conversion
    // chosen beside it, not with the ones they replace.
    void fileIsOpenedWithTheSettingsOfItsPage()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("oem.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\x84\n2");
        file.close();
        const auto control = NewControl();
        ZuPropertySheet sheet({control.get()});
        ZuPropertyPage* page = sheet.Page(QStringLiteral("Text"));
        Field<QLineEdit>(page, "FileOpen")->setText(path);
        Field<QComboBox>(page, "TextType")->setCurrentIndex(2);
        Field<QCheckBox>(page, "FileConvertOemAnsi")->setChecked(true);
        Press(sheet, QDialogButtonBox::Ok);
        QCOMPARE(sheet.result(), int(QDialog::Accepted));
        QCOMPARE(Get(control.get(), "TextAll").toString(), QStringLiteral("\u00e4\n2"));
    }

    // The Properties verb and the About box are modal through the modal runner;
    // the keyboard comes back to the control afterwards.
    void propertiesVerbAndAboutBoxReturnTheFocus()
    {
        platform::ScriptedAnswers answers;
        const auto control = NewControl();
        control->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(control.get()));
        control->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), control.get());
        answers.scriptModal([](QDialog& dialog) {
            QCOMPARE(dialog.objectName(), QStringLiteral("ZuPropertySheet"));
            auto* list = dialog.findChild<QComboBox*>(QStringLiteral("ScrollBars"));
            list->setCurrentIndex(1);
            dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        platform::CallByName(control.get(), QStringLiteral("ShowPropertyPages"), platform::VbMethod);
        QCOMPARE(Get(control.get(), "ScrollBars").toInt(), 1);
        answers.scriptModal([](QDialog& dialog) {
            QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("ProductName"))->text(), QStringLiteral("Zuvanta Editor Control"));
            dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        platform::CallByName(control.get(), QStringLiteral("AboutBox"), platform::VbMethod);
        QCOMPARE(answers.modals().size(), 2);
        QCOMPARE(answers.modals().last().result, int(QDialog::Accepted));
        QTRY_COMPARE(QApplication::focusWidget(), control.get());
    }
};

REGISTER_TEST(ZuPropertyPageTests);
#include "ZuPropertyPageTests.moc"
