// The folder box: browsing through the real folder picker, Alt+Down, the
// forwarded properties, the layout, the painting and the property bag.

#include "support/TestRegistry.h"

#include "platform/forms/OleColor.h"
#include "platform/forms/ScriptedAnswers.h"
#include "shell/KroBrowser.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTest>

namespace {

// Answers the next folder picker: chooses folder and accepts as OK does.
platform::ScriptedAnswers::ModalScript ChooseFolder(const QString& folder)
{
    return [folder](QDialog& dialog) {
        auto& picker = dynamic_cast<QFileDialog&>(dialog);
        QDir parent(folder);
        parent.cdUp();
        picker.setDirectory(parent);
        picker.selectFile(QFileInfo(folder).fileName());
        static_cast<QDialog&>(picker).accept();  // QFileDialog::accept, as OK does
    };
}

struct Window {
    QWidget form;
    KroBrowser* control;
    QLineEdit* other;
    Window() : control(new KroBrowser(&form)), other(new QLineEdit(&form))
    {
        other->move(0, 60);
        form.resize(300, 120);
        form.show();
        form.activateWindow();
    }
};

}  // namespace

class TestKroBrowser : public QObject {
    Q_OBJECT

private slots:
    void chosenFolderGoesIntoTheBox()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("NC programs"));
        QVERIFY(QDir().mkpath(folder));
        Window window;
        QVERIFY(QTest::qWaitForWindowActive(&window.form));
        window.other->setFocus();
        window.control->Text(QStringLiteral("/old"));
        QSignalSpy changes(window.control, &KroBrowser::Change);
        platform::ScriptedAnswers answers;
        QString title;
        answers.scriptModal([&](QDialog& dialog) {
            title = dialog.windowTitle();
            ChooseFolder(folder)(dialog);
        });
        QTest::mouseClick(window.control->cmdBrowse, Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("Select a folder"));
        QCOMPARE(answers.modals().size(), 1);
        QCOMPARE(answers.modals()[0].result, int(QDialog::Accepted));
        QCOMPARE(window.control->Text(), folder);
        QCOMPARE(changes.size(), 1);
        QCOMPARE(QApplication::focusWidget(), window.control->txtFolder);
    }

    void cancelledOrUnusablePickKeepsTheText_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("cancel") << true;
        QTest::newRow("no folder of the file system") << false;
    }
    void cancelledOrUnusablePickKeepsTheText()
    {
        QFETCH(bool, cancel);
        QTemporaryDir dir;
        Window window;
        QVERIFY(QTest::qWaitForWindowActive(&window.form));
        window.control->Text(QStringLiteral("/keep"));
        QSignalSpy changes(window.control, &KroBrowser::Change);
        platform::ScriptedAnswers answers;
        answers.scriptModal([&](QDialog& dialog) {
            if (cancel) {
                dialog.reject();
                return;
            }
            // A pick that has no folder behind it by the time it is read.
            const QString gone = dir.filePath(QStringLiteral("gone"));
            QDir().mkpath(gone);
            QObject::connect(&dialog, &QDialog::accepted, [gone] { QDir().rmdir(gone); });
            ChooseFolder(gone)(dialog);  // QFileDialog::accept, as OK does
        });
        QTest::mouseClick(window.control->cmdBrowse, Qt::LeftButton);
        QCOMPARE(answers.modals().size(), 1);
        QCOMPARE(window.control->Text(), QStringLiteral("/keep"));
        QCOMPARE(changes.size(), 0);
        QCOMPARE(QApplication::focusWidget(), window.control->txtFolder);
    }

    void onlyAltDownBrowses_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("inTextBox");
        QTest::addColumn<int>("pickers");
        QTest::newRow("Alt+Down on the control") << int(Qt::AltModifier) << false << 1;
        QTest::newRow("Alt+Down in the text box") << int(Qt::AltModifier) << true << 1;
        QTest::newRow("Down") << int(Qt::NoModifier) << true << 0;
        QTest::newRow("Ctrl+Alt+Down") << int(Qt::ControlModifier | Qt::AltModifier) << true << 0;
        QTest::newRow("Shift+Alt+Down") << int(Qt::ShiftModifier | Qt::AltModifier) << false << 0;
    }
    void onlyAltDownBrowses()
    {
        QFETCH(int, modifiers);
        QFETCH(bool, inTextBox);
        QFETCH(int, pickers);
        Window window;
        QVERIFY(QTest::qWaitForWindowActive(&window.form));
        platform::ScriptedAnswers answers;
        answers.scriptModal([](QDialog& dialog) { dialog.reject(); });
        QWidget* target = inTextBox ? static_cast<QWidget*>(window.control->txtFolder) : window.control;
        QTest::keyClick(target, Qt::Key_Down, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(int(answers.modals().size()), pickers);
    }

    void disabledBoxStillBrowses()
    {
        QTemporaryDir dir;
        Window window;
        QVERIFY(QTest::qWaitForWindowActive(&window.form));
        window.control->Enabled(false);
        QVERIFY(!window.control->Enabled());
        QVERIFY(!window.control->txtFolder->isEnabled());
        QVERIFY(window.control->cmdBrowse->isEnabled());
        platform::ScriptedAnswers answers;
        answers.scriptModal(ChooseFolder(dir.path()));
        QTest::mouseClick(window.control->cmdBrowse, Qt::LeftButton);
        QCOMPARE(window.control->Text(), dir.path());
    }

    void propertiesReachTheBoxAndAreNoticed()
    {
        KroBrowser control;
        QSignalSpy notices(&control, &KroBrowser::PropertyChanged);
        QSignalSpy changes(&control, &KroBrowser::Change);
        control.Text(QStringLiteral("/home/ann/parts"));
        control.SelStart(6);
        control.SelLength(3);
        QCOMPARE(control.SelText(), QStringLiteral("ann"));
        control.SelText(QStringLiteral("bob"));
        QCOMPARE(control.Text(), QStringLiteral("/home/bob/parts"));
        control.SelLength(999);  // kept to the text
        QCOMPARE(control.SelText(), QStringLiteral("/parts"));
        control.SelStart(-3);
        QCOMPARE(control.SelStart(), 0);
        control.Locked(true);
        QVERIFY(control.txtFolder->isReadOnly());
        control.BackColor(0x0000FF);
        QCOMPARE(control.txtFolder->palette().color(QPalette::Base), QColor(255, 0, 0));
        QStringList names;
        for (const auto& notice : notices)
            names.append(notice.at(0).toString());
        QCOMPARE(names, (QStringList{"Text", "SelStart", "SelLength", "SelText", "SelLength", "SelStart", "Locked",
                                     "BackColor"}));
        QCOMPARE(changes.size(), 2);  // Text, then SelText
    }

    void layoutKeepsTheButtonRightAndTheBoxBesideIt()
    {
        KroBrowser control;
        control.resize(169, 31);
        control.show();
        QCOMPARE(control.cmdBrowse->geometry(), QRect(137, 0, 32, 31));
        QCOMPARE(control.txtFolder->geometry(), QRect(1, 1, 134, 31));
        control.resize(10, 20);
        QCOMPARE(control.cmdBrowse->geometry(), QRect(-22, 0, 32, 20));
        QCOMPARE(control.txtFolder->width(), 0);
    }

    void paintsALightLineBeforeTheButton()
    {
        KroBrowser control;
        control.resize(169, 31);
        control.show();
        const QImage image = control.grab().toImage();
        const QColor light = platform::OleColorToQColor(platform::vb3DLight, control.palette());
        QCOMPARE(image.pixelColor(136, 0).rgb(), light.rgb());  // x = button left - 1, in the gap after the box
        QCOMPARE(image.pixelColor(135, 0).rgb(), control.palette().color(QPalette::Window).rgb());
        QCOMPARE(image.pixelColor(0, 0).rgb(), control.palette().color(QPalette::Window).rgb());
    }

    void toolTipGoesToTheBoxWhenShown()
    {
        Window window;
        window.control->hide();
        window.control->setToolTip(QStringLiteral("Folder of NC files"));
        window.control->show();
        QCOMPARE(window.control->txtFolder->toolTip(), QStringLiteral("Folder of NC files"));
    }

    void propertyBagStoresOnlyWhatDiffers()
    {
        const QFont ambient(QStringLiteral("DejaVu Sans"), 9);
        KroBrowser control;
        control.Font(ambient);
        platform::PropertyBag bag;
        control.WriteProperties(bag, ambient);
        QCOMPARE(bag.Names(), QStringList{});

        KroBrowser read;
        read.ReadProperties(bag, ambient);
        QCOMPARE(read.BackColor(), platform::vbWindowBackground);
        QCOMPARE(read.ForeColor(), platform::vbWindowText);
        QVERIFY(read.Enabled());
        QVERIFY(!read.Locked());
        QCOMPARE(read.Text(), QString());
        QCOMPARE(read.Font(), ambient);

        control.Text(QStringLiteral("/srv/nc"));
        control.Locked(true);
        control.ForeColor(0x00FF00);
        control.Font(QFont(QStringLiteral("DejaVu Sans Mono"), 11));
        platform::PropertyBag changed;
        control.WriteProperties(changed, ambient);
        QCOMPARE(changed.Names(), (QStringList{"ForeColor", "Font", "Locked", "SelStart", "Text"}));
        KroBrowser again;
        again.ReadProperties(changed, ambient);
        QCOMPARE(again.Text(), QStringLiteral("/srv/nc"));
        QVERIFY(again.Locked());
        QCOMPARE(again.ForeColor(), 0x00FF00u);
        QCOMPARE(again.Font().family(), QStringLiteral("DejaVu Sans Mono"));
    }

    void aboutBoxHasThreeCreditLines()
    {
        KroBrowser control;
        platform::ScriptedAnswers answers;
        control.ShowAbout();
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Kro Browser"));
        QCOMPARE(answers.msgBoxes()[0].style, platform::vbOKOnly);
        const QStringList parts = answers.msgBoxes()[0].prompt.split(QStringLiteral("\r\n\r\n"));
        QCOMPARE(parts.size(), 4);
        QCOMPARE(parts.last(), QString());
    }
};

REGISTER_TEST(TestKroBrowser);
#include "tst_KroBrowser.moc"
