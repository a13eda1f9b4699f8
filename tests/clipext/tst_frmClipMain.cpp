// The clipboard extender's window against the in-process clipboard.

#include "ClipFixture.h"

#include "clipext/ClipHistoryFile.h"
#include "clipext/cCustomClipboard.h"
#include "clipext/frmSysTray.h"
#include "platform/codemax/CodeMax.h"
#include "platform/forms/Error.h"
#include "platform/forms/ScriptedAnswers.h"
#include "platform/forms/Twips.h"

#include "support/TestRegistry.h"
#include "support/ToolbarLook.h"
#include "support/WindowFits.h"
#include "support/Unprivileged.h"
#include "HistoryBytes.h"
#include "shell/FileTestHelpers.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QToolBar>
#include <QtEndian>

#include <atomic>
#include <thread>

#include <sys/stat.h>

using namespace clipext;

namespace {

QStringList Rows(const frmClipMain& window)
{
    QStringList rows;
    for (int i = 0; i < window.lstClipboard->count(); ++i)
        rows.append(window.lstClipboard->item(i)->text());
    return rows;
}

QStringList Types(const frmClipMain& window)
{
    QStringList types;
    for (int i = 0; i < window.cboTypes->count(); ++i)
        types.append(window.cboTypes->itemText(i));
    return types;
}

// Answers a file dialog as the user does: a folder, a name, then OK.
platform::ScriptedAnswers::ModalScript ChooseFile(const QString& folder, const QString& name,
                                                  QString* proposed = nullptr)
{
    return [=](QDialog& dialog) {
        auto& files = dynamic_cast<QFileDialog&>(dialog);
        if (proposed != nullptr)
            *proposed = QFileInfo(files.selectedFiles().value(0)).fileName();
        files.setDirectory(folder);
        files.selectFile(name);
        // The dialog's own question before replacing a file, answered Yes.
        if (QFileInfo::exists(QDir(folder).filePath(name)))
            files.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.accept();
    };
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

class TestFrmClipMain : public QObject {
    Q_OBJECT
private slots:
    void capturesWhatIsCopied()
    {
        ClipFixture fixture;
        frmClipMain& window = fixture.window();
        QCOMPARE(window.NumberOfLines(), 15);
        QCOMPARE(Types(window), QStringList{"No data available"});
        QVERIFY(!window.cboTypes->isEnabled());

        ClipFixture::copyText(QStringLiteral("A\r\nB"));
        ClipFixture::copyText(QStringLiteral("\r\n\t\r\n"));
        QCOMPARE(Rows(window), QStringList({"...", "A"}));

        // Only a picture: nothing is kept, nothing goes.
        auto* picture = new QMimeData;
        picture->setImageData(QImage(4, 4, QImage::Format_RGB32));
        QGuiApplication::clipboard()->setMimeData(picture);
        QCOMPARE(Rows(window), QStringList({"...", "A"}));

        ClipFixture::copy({{"text/plain", "G01 X1"}, {"text/rtf", "{\\rtf1 G01 X1}"}});
        QCOMPARE(Rows(window), QStringList({"G01 X1", "...", "A"}));
        // The selection stays with the entry the user had, one row lower.
        QCOMPARE(window.lstClipboard->currentRow(), 2);
        window.lstClipboard->setCurrentRow(0);
        QCOMPARE(Types(window), QStringList({"Text", "Rich Text Format"}));
        QCOMPARE(window.cboTypes->currentText(), QStringLiteral("Rich Text Format"));
        QVERIFY(window.cboTypes->isEnabled());
        QCOMPARE(window.edtDetails->Text(), QStringLiteral("{\\rtf1 G01 X1}"));
        window.cboTypes->setCurrentIndex(0);
        emit window.cboTypes->activated(0);
        QCOMPARE(window.edtDetails->Text(), QStringLiteral("G01 X1"));
    }

    void menusOnASmallHistory()
    {
        ClipFixture fixture;
        frmClipMain& window = fixture.window();
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        for (const char* text : {"a", "b", "c", "d"})
            ClipFixture::copyText(QString::fromLatin1(text));
        QCOMPARE(Rows(window), QStringList({"d", "c", "b", "a"}));
        window.lstClipboard->setFocus();
        platform::ScriptedAnswers answers;
        // Nothing prints the history: the item is there, inactive.
        QVERIFY(!window.mnuFilePrint->isEnabled());

        window.lstClipboard->setCurrentRow(2);
        window.mnuEditMoveUp->trigger();
        QCOMPARE(Rows(window), QStringList({"d", "b", "c", "a"}));
        QCOMPARE(window.lstClipboard->currentItem()->text(), QStringLiteral("b"));
        window.mnuEditMoveDown->trigger();
        window.mnuEditMoveDown->trigger();
        QCOMPARE(Rows(window), QStringList({"d", "c", "a", "b"}));
        window.mnuEditMoveDown->trigger();  // on the last row: nothing
        QCOMPARE(Rows(window), QStringList({"d", "c", "a", "b"}));

        // The toolbar's buttons do the same.
        window.cToolbar1->findChild<QAction*>(QStringLiteral("Move Up"))->trigger();
        QCOMPARE(Rows(window), QStringList({"d", "c", "b", "a"}));

        // Delete keeps the row: the next entry comes up under the selection.
        window.lstClipboard->setCurrentRow(1);
        window.mnuEditDelete->trigger();
        QCOMPARE(Rows(window), QStringList({"d", "b", "a"}));
        QCOMPARE(window.lstClipboard->currentRow(), 1);
        window.lstClipboard->setCurrentRow(2);
        window.mnuEditDelete->trigger();
        QCOMPARE(Rows(window), QStringList({"d", "b"}));
        QCOMPARE(window.lstClipboard->currentRow(), 1);

        answers.answerInputBox(QStringLiteral("spindle"));
        window.mnuEditRename->trigger();
        QCOMPARE(answers.inputBoxes().size(), 1);
        QCOMPARE(answers.inputBoxes()[0].prompt, QStringLiteral("Enter a new title for this clipboard entry:"));
        QCOMPARE(answers.inputBoxes()[0].defaultText, QStringLiteral("b"));
        QCOMPARE(Rows(window), QStringList({"d", "spindle"}));
        QCOMPARE(window.lstClipboard->currentRow(), 1);
        answers.cancelInputBox();
        window.mnuEditRename->trigger();
        QCOMPARE(Rows(window), QStringList({"d", "spindle"}));
        QCOMPARE(QApplication::focusWidget(), window.lstClipboard);

        window.mnuEditClear->trigger();
        QCOMPARE(Rows(window), QStringList());
        window.mnuEditRename->trigger();
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, QStringLiteral("Please choose an item to rename."));
        QCOMPARE(answers.msgBoxes()[0].style, platform::vbInformation);
        QCOMPARE(QApplication::focusWidget(), window.lstClipboard);
        ClipFixture::copyText(QStringLiteral("after"));
        QCOMPARE(Rows(window), QStringList{"after"});
        QCOMPARE(answers.unscriptedCount(), 1);
    }

    void viewsAndDoubleClick()
    {
        ClipFixture fixture;
        frmClipMain& window = fixture.window();
        window.show();
        ClipFixture::copyText(QStringLiteral("one"));
        ClipFixture::copyText(QStringLiteral("two"));
        QVERIFY(window.lstClipboard->isVisible());
        QVERIFY(!window.picDetails->isVisible());
        // The user's clicks: one picks the entry, a double click opens its details.
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint top = window.lstClipboard->visualItemRect(window.lstClipboard->item(0)).center();
        const QPoint row = window.lstClipboard->visualItemRect(window.lstClipboard->item(1)).center();
        QTest::mouseClick(window.lstClipboard->viewport(), Qt::LeftButton, {}, top);
        QCOMPARE(window.edtDetails->Text(), QStringLiteral("two"));
        QTest::mouseClick(window.lstClipboard->viewport(), Qt::LeftButton, {}, row);
        QCOMPARE(window.SelectedEntry(), window.History().EntryAtRow(1));
        QCOMPARE(Types(window), QStringList{"Text"});
        QTest::mouseDClick(window.lstClipboard->viewport(), Qt::LeftButton, {}, row);
        QVERIFY(window.mnuViewDetails->isChecked());
        QVERIFY(!window.mnuViewList->isChecked());
        QVERIFY(window.picDetails->isVisible());
        QCOMPARE(window.edtDetails->Text(), QStringLiteral("one"));
        window.mnuViewList->trigger();
        QVERIFY(window.lstClipboard->isVisible());
        window.mnuViewToolbar->trigger();
        QVERIFY(!window.mnuViewToolbar->isChecked());
        QVERIFY(!window.cToolbar1->isVisible());
        QVERIFY(!window.mnuViewToolbarCaptions->isEnabled());
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
        ClipFixture fixture;
        frmClipMain& window = fixture.window();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const std::vector<toolbarlook::ButtonLook> looks = toolbarlook::Measure(*window.cToolbar1);
        QCOMPARE(looks.size(), size_t(9));
        const QStringList faults = toolbarlook::Unreadable(looks);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }

    void editCopyPutsBackEveryFormatAndLaterCopiesCount()
    {
        ClipFixture fixture;
        frmClipMain& window = fixture.window();
        ClipFixture::copy({{"text/plain", "G01 X1"}, {"text/rtf", "{\\rtf1 G01}"}});
        ClipFixture::copyText(QStringLiteral("other"));
        window.lstClipboard->setCurrentRow(1);
        window.mnuEditCopy->trigger();
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(data->text(), QStringLiteral("G01 X1"));
        QCOMPARE(data->data(QStringLiteral("text/rtf")), QByteArray("{\\rtf1 G01}"));
        QCOMPARE(Rows(window), QStringList({"other", "G01 X1"}));
        QVERIFY(!SuppressClipCapture);
        ClipFixture::copyText(QStringLiteral("later"));
        QCOMPARE(Rows(window), QStringList({"later", "other", "G01 X1"}));
    }

    void savesAndOpensHistoryFiles()
    {
        ClipFixture fixture;
        frmClipMain& window = fixture.window();
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        ClipFixture::copyText(QStringLiteral("abc"));
        ClipFixture::copy({{"text/plain", "two"}, {"text/rtf", "{\\rtf1 two}"}});
        window.lstClipboard->setFocus();

        // Saved over an old file: the old file's times stay.
        const QString path = fixture.path(QStringLiteral("list.CCF"));
        WriteFile(path, "old");
        const QDateTime old = QDateTime::currentDateTime().addDays(-30);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
        }
        platform::ScriptedAnswers answers;
        QString title;
        answers.scriptModal([&](QDialog& dialog) {
            title = dialog.windowTitle();
            ChooseFile(fixture.folder(), QStringLiteral("list.CCF"))(dialog);
        });
        window.mnuFileSave->trigger();
        QCOMPARE(title, QStringLiteral("Save Clipboard List"));
        const QByteArray expected = QByteArray(ClipFileMagic)
                                    + "CCC" + Int32(3) + "two" + Int32(2) + Int32(1) + Int32(4) + Int32(RtfFormat)
                                    + Int32(11) + QByteArray("two", 4) + "{\\rtf1 two}"
                                    + "CCC" + Int32(3) + "abc" + Int32(1) + Int32(1) + Int32(4) + QByteArray("abc", 4);
        QCOMPARE(FileBytes(path), expected);
        QCOMPARE(QFileInfo(path).lastModified().toSecsSinceEpoch(), old.toSecsSinceEpoch());
        QCOMPARE(QApplication::focusWidget(), window.lstClipboard);

        // Cancel says nothing.
        answers.clear();
        answers.scriptModal([](QDialog& dialog) { dialog.reject(); });
        window.mnuFileSave->trigger();
        QCOMPARE(answers.msgBoxes().size(), 0);

        // Opened into another window: newest of the file last, on top.
        ClipFixture other;
        frmClipMain& second = other.window();
        answers.scriptModal(ChooseFile(fixture.folder(), QStringLiteral("list.CCF")));
        second.mnuFileOpen->trigger();
        QCOMPARE(answers.modals().last().windowTitle, QStringLiteral("Open Clipboard File"));
        QCOMPARE(Rows(second), QStringList({"abc", "two"}));
        QCOMPARE(answers.msgBoxes().size(), 0);

        // A loaded entry put back on the clipboard stays there whole after
        // the history lets go of it.
        second.lstClipboard->setCurrentRow(1);
        second.mnuEditCopy->trigger();
        second.mnuEditClear->trigger();
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->data("text/rtf"), QByteArray("{\\rtf1 two}"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("two"));
    }

    // A name typed without an extension gets the chosen filter's, as every
    // save dialog of the suite does; the typed name is the user's keys.
    void saveAddsTheChosenFiltersExtension_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("filterDowns");  // Down presses in the filter box
        QTest::addColumn<QString>("written");
        QTest::newRow("clipboard files") << "hist2" << 0 << "hist2.CCF";
        QTest::newRow("all files") << "hist2" << 1 << "hist2";
        QTest::newRow("an extension typed") << "hist2.bak" << 0 << "hist2.bak";
    }
    void saveAddsTheChosenFiltersExtension()
    {
        QFETCH(QString, typed);
        QFETCH(int, filterDowns);
        QFETCH(QString, written);
        ClipFixture fixture;
        frmClipMain& window = fixture.window();
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        ClipFixture::copyText(QStringLiteral("abc"));
        window.lstClipboard->setFocus();
        platform::ScriptedAnswers answers;
        answers.scriptModal([&](QDialog& dialog) {
            auto& files = dynamic_cast<QFileDialog&>(dialog);
            (void)QTest::qWaitForWindowActive(&dialog, 2000);
            files.setDirectory(fixture.folder());
            auto* filterBox = files.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            QVERIFY(filterBox != nullptr);
            for (int i = 0; i < filterDowns; ++i)
                QTest::keyClick(filterBox, Qt::Key_Down);
            auto* nameBox = files.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(nameBox != nullptr);
            QTRY_COMPARE(QApplication::focusWidget(), nameBox);
            QTest::keyClicks(nameBox, typed);
            QTest::keyClick(nameBox, Qt::Key_Return);
        });
        window.mnuFileSave->trigger();
        QCOMPARE(answers.modals().size(), 1);
        QCOMPARE(QDir(fixture.folder()).entryList(QDir::Files), QStringList{written});
        QCOMPARE(FileBytes(fixture.path(written)).left(ClipFileMagicSize), QByteArray(ClipFileMagic));
        QCOMPARE(answers.msgBoxes().size(), 0);
        QTRY_COMPARE(QApplication::focusWidget(), window.lstClipboard);
    }

    // Saved over a read-only history file of the user's own, the list
    // replaced it and made the new one read-only again.
    void savingOverAReadOnlyFileIsRefused()
    {
        ClipFixture fixture;
        frmClipMain& window = fixture.window();
        ClipFixture::copyText(QStringLiteral("abc"));
        QTemporaryDir folder;
        const QString path = QDir(folder.path()).filePath(QStringLiteral("list.CCF"));
        WriteFile(path, "old");
        QVERIFY(AsUnprivilegedUser::GiveToUser(folder.path()));
        QVERIFY(AsUnprivilegedUser::GiveToUser(path));
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0444), 0);
        platform::ScriptedAnswers answers;
        answers.scriptModal(ChooseFile(folder.path(), QStringLiteral("list.CCF")));
        answers.answerMsgBox(platform::vbYes);  // it exists: replace it?
        {
            AsUnprivilegedUser user;
            REQUIRE_UNPRIVILEGED(user);
            window.mnuFileSave->trigger();
        }
        QCOMPARE(FileBytes(path), QByteArray("old"));
        QCOMPARE(QFileInfo(path).permissions() & QFileDevice::WriteOwner, QFileDevice::Permissions());
        QCOMPARE(answers.msgBoxes().size(), 2);
        QCOMPARE(answers.msgBoxes()[1].prompt,
                 QStringLiteral("The clipboard list could not be saved to '%1': Permission denied (the file %1 may "
                                "not be written)")
                     .arg(path));
    }

    void refusesAndReportsBadFiles()
    {
        ClipFixture fixture;
        frmClipMain& window = fixture.window();
        ClipFixture::copyText(QStringLiteral("kept"));
        platform::ScriptedAnswers answers;

        // What cannot be read at all is reported with the system's words.
        for (const QString& unreadable : {fixture.folder(), fixture.path(QStringLiteral("missing.CCF"))}) {
            answers.clear();
            QVERIFY(!window.LoadHistoryFile(unreadable));
            QCOMPARE(answers.msgBoxes().size(), 1);
            QCOMPARE(answers.msgBoxes()[0].prompt,
                     QStringLiteral("The file '%1' could not be read: %2")
                         .arg(unreadable, unreadable == fixture.folder() ? QStringLiteral("Is a directory")
                                                                         : QStringLiteral("No such file or directory")));
            QCOMPARE(Rows(window), QStringList{"kept"});
        }
        answers.clear();

        const QString wrong = fixture.path(QStringLiteral("wrong.CCF"));
        WriteFile(wrong, QByteArray(ClipFileMagic).toLower());
        QVERIFY(!window.LoadHistoryFile(wrong));
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, "The file '" + wrong + "' is not a valid clipboard file.");
        QCOMPARE(Rows(window), QStringList{"kept"});

        // A good record, then damage: the good one loads, the damage costs no
        // entry and is reported once.
        const QString damaged = fixture.path(QStringLiteral("damaged.CCF"));
        WriteFile(damaged, QByteArray(ClipFileMagic) + "CCC" + Int32(4) + "good" + Int32(1) + Int32(1) + Int32(2) + "g"
                               + QByteArray(1, '\0') + "CCC" + Int32(1) + "x" + Int32(0x7FFFFFFF));
        answers.clear();
        QVERIFY(window.LoadHistoryFile(damaged));
        QCOMPARE(Rows(window), QStringList({"good", "kept"}));
        QCOMPARE(answers.msgBoxes().size(), 1);
        QVERIFY(answers.msgBoxes()[0].prompt.contains(QStringLiteral("record 2")));

        // An empty history file loads nothing and is no error.
        const QString empty = fixture.path(QStringLiteral("empty.CCF"));
        WriteFile(empty, ClipFileMagic);
        answers.clear();
        QVERIFY(window.LoadHistoryFile(empty));
        QCOMPARE(Rows(window), QStringList({"good", "kept"}));
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    void savesTheShownDetails()
    {
        ClipFixture fixture;
        frmClipMain& window = fixture.window();
        ClipFixture::copyText(QStringLiteral("O1000 (PART: A.1)\r\nG01 X1"));
        window.mnuViewDetails->trigger();
        platform::ScriptedAnswers answers;
        QString proposed;
        answers.scriptModal(ChooseFile(fixture.folder(), QStringLiteral("details.txt"), &proposed));
        window.mnuFileSave->trigger();
        QCOMPARE(proposed, QStringLiteral("O1000 (PART A1)"));
        QCOMPARE(answers.modals()[0].windowTitle, QStringLiteral("Save Clipboard Details"));
        QCOMPARE(FileBytes(fixture.path(QStringLiteral("details.txt"))), QByteArray("O1000 (PART: A.1)\r\nG01 X1"));
        answers.scriptModal([](QDialog& dialog) { dialog.reject(); });
        window.mnuFileSave->trigger();
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    void parseCommand_data()
    {
        QTest::addColumn<QString>("line");  // %1: the test's folder
        QTest::addColumn<bool>("loads");
        QTest::addColumn<bool>("message");
        QTest::newRow("path") << "%1/h.CCF" << true << false;
        QTest::newRow("quoted path") << "\"%1/h.CCF\"" << true << false;
        QTest::newRow("switch and quoted path") << "/p \"%1/h.CCF\"" << true << false;
        QTest::newRow("switch and path") << "/p %1/h.CCF" << true << false;
        QTest::newRow("folder starting with p") << "%1/pdir/h.CCF" << true << false;
        QTest::newRow("missing file") << "%1/none.CCF" << false << true;
        QTest::newRow("empty") << "" << false << false;
    }
    void parseCommand()
    {
        QFETCH(QString, line);
        QFETCH(bool, loads);
        QFETCH(bool, message);
        ClipFixture fixture;
        // The folder holds a "pdir" whose path would lose its "/p" to a switch.
        QVERIFY(QDir(fixture.folder()).mkpath(QStringLiteral("pdir")));
        const QByteArray file = QByteArray(ClipFileMagic) + "CCC" + Int32(1) + "h" + Int32(1) + Int32(1) + Int32(2) + "h"
                                + QByteArray(1, '\0');
        WriteFile(fixture.path(QStringLiteral("h.CCF")), file);
        WriteFile(fixture.path(QStringLiteral("pdir/h.CCF")), file);
        frmClipMain& window = fixture.window();
        platform::ScriptedAnswers answers;
        const QString command = line.contains(QLatin1String("%1")) ? line.arg(fixture.folder()) : line;
        window.ParseCommand(command);
        QCOMPARE(Rows(window), loads ? QStringList{"h"} : QStringList());
        QCOMPARE(answers.msgBoxes().size(), message ? 1 : 0);
        if (message)
            QCOMPARE(answers.msgBoxes()[0].prompt, "The command line '" + command + "' could not be interpreted.");
    }

    void firstStartWithoutSettings()
    {
        ClipFixture fixture;
        frmClipMain& window = fixture.window();
        QCOMPARE(window.NumberOfLines(), 15);
        QVERIFY(!window.InSysTray());
        QVERIFY(window.AlwaysOnTop());
        QVERIFY(window.windowFlags() & Qt::WindowStaysOnTopHint);
    }

    void readsAndWritesSettings()
    {
        ClipFixture fixture;
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const double twipsX = platform::PixelsToTwipsX(1);
        ClipFixture::setSetting(platform::HKEY_LOCAL_MACHINE, "EntriesToKeep", 600);
        ClipFixture::setSetting(platform::HKEY_LOCAL_MACHINE, "Width", 1500);  // 100 pixels
        ClipFixture::setSetting(platform::HKEY_LOCAL_MACHINE, "Height", 6000);
        ClipFixture::setSetting(platform::HKEY_LOCAL_MACHINE, "Left", qint64((screen.width() - 200) * twipsX));
        ClipFixture::setSetting(platform::HKEY_LOCAL_MACHINE, "ShowInSysTray", 0);
        frmClipMain& window = fixture.window();
        QCOMPARE(window.NumberOfLines(), 512);
        QCOMPARE(window.width(), 448);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.frameGeometry().right() + 1, screen.right() + 1 - 4);
        QVERIFY(!window.InSysTray());
        QVERIFY(fixture.closeWindow());
        for (const quint32 root : {platform::HKEY_CURRENT_USER, platform::HKEY_LOCAL_MACHINE}) {
            QCOMPARE(ClipFixture::setting(root, "EntriesToKeep").toInt(), 512);
            QCOMPARE(ClipFixture::setting(root, "Maximised").toInt(), 0);
            QCOMPARE(ClipFixture::setting(root, "Width").toInt(), qRound(448 * twipsX));
            QCOMPARE(ClipFixture::setting(root, "ShowInSysTray").toInt(), 0);
            QCOMPARE(ClipFixture::setting(root, "AlwaysOnTop").toInt(), -1);
        }

        // The user's settings come first; a maximised window keeps the
        // placement written last time.
        ClipFixture::setSetting(platform::HKEY_CURRENT_USER, "EntriesToKeep", 0);
        frmClipMain& again = fixture.window();
        QCOMPARE(again.NumberOfLines(), 10);
        again.showMaximized();
        QVERIFY(fixture.closeWindow());
        QCOMPARE(ClipFixture::setting(platform::HKEY_CURRENT_USER, "Maximised").toInt(), 1);
        QCOMPARE(ClipFixture::setting(platform::HKEY_CURRENT_USER, "Width").toInt(), qRound(448 * twipsX));
    }

    void settingsAreWrittenWhenTheProgramQuits()
    {
        ClipFixture fixture;
        frmClipMain& window = fixture.window();
        window.NumberOfLines(7);
        QVERIFY(QMetaObject::invokeMethod(qApp, "aboutToQuit", Qt::DirectConnection));
        QCOMPARE(ClipFixture::setting(platform::HKEY_CURRENT_USER, "EntriesToKeep").toInt(), 7);
    }

    // Another process asks through the loaded window's channel: a request
    // with data does nothing, an empty one shows the hidden window; once the
    // window is gone, nobody takes the request.
    void showRequestFromAnotherProcess()
    {
        ClipFixture fixture;
        ClipFixture::setSetting(platform::HKEY_CURRENT_USER, "ShowInSysTray", -1);
        frmClipMain& window = fixture.window();
        window.hide();
        // The sender blocks until the window confirms, which it does from
        // this thread's event loop.
        const auto send = [](const QByteArray& data) {
            std::atomic<bool> done = false;
            bool sent = false;
            std::thread sender([&] {
                sent = frmClipMain::SendShowRequest(data, 10000);
                done = true;
            });
            while (!done)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            sender.join();
            return sent;
        };
        QVERIFY(send(QByteArray("data")));
        QCoreApplication::processEvents();
        QVERIFY(!window.isVisible());
        QVERIFY(send(QByteArray()));
        QTRY_VERIFY(window.isVisible());

        window.SysTray()->Menu()->actions().at(4)->trigger();  // Exit
        QVERIFY(!window.isVisible());
        QVERIFY(!send(QByteArray()));
        QVERIFY(!window.isVisible());
    }

    void trayIcon()
    {
        ClipFixture fixture;
        ClipFixture::setSetting(platform::HKEY_CURRENT_USER, "ShowInSysTray", -1);
        frmClipMain& window = fixture.window();
        QVERIFY(window.InSysTray());
        frmSysTray* tray = window.SysTray();
        QVERIFY(tray != nullptr);
        QStringList keys;
        for (int i = 0; i < tray->MenuItemCount(); ++i)
            keys.append(tray->MenuItemKey(i));
        QCOMPARE(keys, QStringList({"open", "sep1", "about", "sep2", "close"}));
        QCOMPARE(tray->DefaultMenuIndex(), 0);
        QCOMPARE(FakeTray::last->tip, QStringLiteral("Corvane Clipboard Extender"));
        QVERIFY(FakeTray::last->shown);

        // Closing only hides; a double click brings it back; Exit closes.
        window.show();
        QVERIFY(!fixture.closeWindow());
        QVERIFY(!window.isVisible());
        FakeTray::last->click(platform::TrayIcon::DoubleClick);
        QVERIFY(window.isVisible());
        window.hide();
        window.ShowRequest(QByteArray("data"));
        QVERIFY(!window.isVisible());
        window.ShowRequest(QByteArray());
        QVERIFY(window.isVisible());
        QPointer<FakeTray> icon = FakeTray::last;
        tray->Menu()->actions().at(4)->trigger();
        QVERIFY(!window.isVisible());
        QVERIFY(icon.isNull() || !icon->shown);
        QCOMPARE(ClipFixture::setting(platform::HKEY_CURRENT_USER, "ShowInSysTray").toInt(), -1);
    }

    void withoutATrayTheWindowReallyCloses()
    {
        ClipFixture fixture(false);
        ClipFixture::setSetting(platform::HKEY_CURRENT_USER, "ShowInSysTray", -1);
        frmClipMain& window = fixture.window();
        QVERIFY(!window.InSysTray());
        window.InSysTray(true);
        QVERIFY(!window.InSysTray());
        window.show();
        QVERIFY(fixture.closeWindow());
    }

    // The user's choice outlives a desktop without a tray: the icon is back
    // on the next start where there is one.
    void aDesktopWithoutATrayKeepsTheTraySetting()
    {
        ClipFixture fixture(false);
        ClipFixture::setSetting(platform::HKEY_CURRENT_USER, "ShowInSysTray", -1);
        QVERIFY(!fixture.window().InSysTray());
        QVERIFY(fixture.closeWindow());
        for (const quint32 root : {platform::HKEY_CURRENT_USER, platform::HKEY_LOCAL_MACHINE})
            QCOMPARE(ClipFixture::setting(root, "ShowInSysTray").toInt(), -1);

        FakeTray::available = true;
        frmClipMain& later = fixture.window();
        QVERIFY(later.InSysTray());
        QVERIFY(FakeTray::last && FakeTray::last->shown);
    }

    // On a 1024 x 768 screen the window fits and shows its menus, toolbar
    // and texts whole, in both views; a stored placement larger than the
    // screen is brought back inside it.
    void fitsTheScreenWithItsTextsWhole()
    {
        ClipFixture fixture;
        frmClipMain& window = fixture.window();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.screen()->availableGeometry().size(), QSize(1024, 768));
        ClipFixture::copy({{"text/plain", "G01 X1.5 Y2"}, {"text/rtf", "{\\rtf1 G01}"}});
        QStringList problems = windowfits::Problems(window);
        windowfits::ScreenShot(window, QStringLiteral("clip-list"));
        window.mnuViewDetails->trigger();
        QCOMPARE(window.cboTypes->currentText(), QStringLiteral("Rich Text Format"));
        problems << windowfits::Problems(window);
        windowfits::ScreenShot(window, QStringLiteral("clip-details"));
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
        QVERIFY(fixture.closeWindow());

        // Kept from a screen of 2000 x 1300 pixels.
        ClipFixture::setSetting(platform::HKEY_CURRENT_USER, "Width", qint64(platform::PixelsToTwipsX(2000)));
        ClipFixture::setSetting(platform::HKEY_CURRENT_USER, "Height", qint64(platform::PixelsToTwipsY(1300)));
        ClipFixture::setSetting(platform::HKEY_CURRENT_USER, "Left", 0);
        ClipFixture::setSetting(platform::HKEY_CURRENT_USER, "Top", 0);
        frmClipMain& again = fixture.window();
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        problems = windowfits::Problems(again);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    }

    void focusGoesBackWhenTheWindowCloses()
    {
        ClipFixture fixture;
        QWidget other;
        auto* edit = new QLineEdit(&other);
        other.show();
        other.activateWindow();
        edit->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QTRY_COMPARE(QApplication::focusWidget(), edit);

        frmClipMain::ShowDefault();
        QPointer<frmClipMain> window = frmClipMain::Default();
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowActive(window));
        window->lstClipboard->setFocus();
        window->mnuFileClose->trigger();
        QTRY_VERIFY(window.isNull());
        QTRY_COMPARE(QApplication::focusWidget(), edit);
    }
};

class TestClipboardAccess : public QObject {
    Q_OBJECT
private slots:
    void formatNames()
    {
        cCustomClipboard clipboard;
        const quint32 rtf = clipboard.AddFormat(QStringLiteral("Rich Text Format"));
        QVERIFY(rtf > 0xC000);
        QCOMPARE(clipboard.AddFormat(QStringLiteral("Rich Text Format")), rtf);
        QCOMPARE(clipboard.FormatName(rtf), QStringLiteral("Rich Text Format"));
        const quint32 own = clipboard.AddFormat(QStringLiteral("NC Block"));
        QCOMPARE(clipboard.AddFormat(QStringLiteral("NC Block")), own);
        QCOMPARE(clipboard.FormatName(own), QStringLiteral("NC Block"));
        QCOMPARE(clipboard.FormatName(13), QStringLiteral("Text (Unicode)"));
        QCOMPARE(clipboard.FormatName(2), QStringLiteral("Bitmap Picture"));
        QCOMPARE(clipboard.FormatName(16), QString());
    }

    void needsTheClipboardOpen()
    {
        ClipFixture fixture;
        ClipFixture::copyText(QStringLiteral("abc"));
        cCustomClipboard clipboard;
        QByteArray bytes;
        try {
            clipboard.GetBinaryData(1, bytes);
            QFAIL("read without opening");
        } catch (const platform::Error& error) {
            QVERIFY(error.is(cCustomClipboard::ErrNotOpen));
            QCOMPARE(error.description(), QStringLiteral("Attempt to access the clipboard when clipboard not Open."));
        }
        QObject owner;
        QVERIFY(clipboard.ClipboardOpen(&owner));
        QVERIFY(clipboard.GetBinaryData(1, bytes));
        QCOMPARE(bytes, QByteArray("abc", 4));
        clipboard.ClipboardClose();
    }

    void writesGoTogetherAtClose()
    {
        ClipFixture fixture;
        ClipFixture::copyText(QStringLiteral("before"));
        cCustomClipboard clipboard;
        QObject owner;
        clipboard.ClipboardOpen(&owner);
        QVERIFY(!clipboard.SetTextData(1, QString()));
        clipboard.SetBinaryData(1, QByteArray("G01", 4));
        clipboard.SetBinaryData(RtfFormat, "{\\rtf1 x}");
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
        clipboard.ClipboardClose();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("G01"));
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->data("text/rtf"), QByteArray("{\\rtf1 x}"));
        QCOMPARE(clipboard.GetCurrentFormats(&owner), 2);
        QCOMPARE(clipboard.GetCurrentFormatName(1), QStringLiteral("Text"));
        QVERIFY(clipboard.HasCurrentFormat(RtfFormat));
        QVERIFY(clipboard.IsDataAvailableForFormatName(QStringLiteral("Rich Text Format")));
    }
};

class TestFrmSysTray : public QObject {
    Q_OBJECT
private slots:
    void menuItems()
    {
        ClipFixture fixture;
        frmSysTray tray;
        QSignalSpy clicks(&tray, &frmSysTray::MenuClick);
        QCOMPARE(tray.AddMenuItem("&Open", "open"), 0);
        QCOMPARE(tray.AddMenuItem("&About...", "about"), 1);
        QCOMPARE(tray.AddMenuItem("E&xit", "close", true), 2);
        QCOMPARE(tray.DefaultMenuIndex(), 2);
        QCOMPARE(tray.Menu()->defaultAction(), tray.Menu()->actions().at(2));
        tray.Menu()->actions().at(2)->trigger();
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(clicks[0][0].toInt(), 2);
        QCOMPARE(clicks[0][1].toString(), QStringLiteral("close"));
        tray.DefaultMenuIndex(7);
        QCOMPARE(tray.DefaultMenuIndex(), 0);

        tray.DefaultMenuIndex(2);
        tray.RemoveMenuItem(1);
        QCOMPARE(tray.MenuItemCount(), 2);
        QCOMPARE(tray.MenuItemKey(1), QStringLiteral("close"));
        QCOMPARE(tray.DefaultMenuIndex(), 0);
        tray.Menu()->actions().at(1)->trigger();
        QCOMPARE(clicks.last()[0].toInt(), 1);
        tray.RemoveMenuItem(0);
        tray.RemoveMenuItem(0);
        tray.RemoveMenuItem(0);
        QCOMPARE(tray.MenuItemCount(), 0);
        tray.EnableMenuItem(3, false);
    }

    void iconTipAndClicks()
    {
        ClipFixture fixture;
        frmSysTray tray;
        FakeTray* icon = FakeTray::last;
        const QIcon picture = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
        tray.IconHandle(picture);
        tray.IconHandle(picture);
        QCOMPARE(icon->iconUpdates, 1);
        tray.ToolTip(QString(100, u'x'));
        QCOMPARE(tray.ToolTip().size(), 63);

        QSignalSpy downs(&tray, &frmSysTray::SysTrayMouseDown);
        QSignalSpy ups(&tray, &frmSysTray::SysTrayMouseUp);
        QSignalSpy doubles(&tray, &frmSysTray::SysTrayDoubleClick);
        icon->click(platform::TrayIcon::Context);
        QCOMPARE(downs.size(), 1);
        QCOMPARE(downs[0][0].toInt(), 2);
        QCOMPARE(ups.size(), 1);
        QCOMPARE(ups[0][0].toInt(), 2);
        icon->click(platform::TrayIcon::DoubleClick);
        QCOMPARE(doubles.size(), 1);
        QCOMPARE(doubles[0][0].toInt(), 1);
    }
};

REGISTER_TEST(TestFrmClipMain);
REGISTER_TEST(TestClipboardAccess);
REGISTER_TEST(TestFrmSysTray);

#include "tst_frmClipMain.moc"
