// A document window's file against the world outside: a file the user may
// not write, a file another program changed after it was read, and a file
// too large for the memory, through the commands and keys the user uses.

#include "DocumentFixture.h"
#include "DocumentTestHelpers.h"
#include "platform/files/MemoryRoom.h"
#include "platform/files/SaveJournal.h"
#include "support/TestRegistry.h"
#include "support/Unprivileged.h"

#include <QApplication>
#include <QPushButton>

#include <fcntl.h>
#include <sys/stat.h>

using document_test::OpenFile;

namespace {

const QString ProgramError = QStringLiteral("Talvex Editor Program Error.");

struct stat StatusOf(const QString& path)
{
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st;
}

// Sets a file's modification time (nanoseconds since 1970).
bool SetModified(const QString& path, qint64 ns)
{
    const timespec times[2] = {{0, UTIME_OMIT}, {time_t(ns / 1000000000), long(ns % 1000000000)}};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

qint64 ModifiedNs(const QString& path)
{
    const struct stat st = StatusOf(path);
    return qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

// The keyboard in the window's text, as after a click into it.
bool FocusText(frmNotePad& window)
{
    window.Text1()->SetFocus();
    return QTest::qWaitFor([&] { return window.Text1()->isAncestorOf(QApplication::focusWidget()); });
}

void PressCtrlS() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier); }

// Leaves the file as a save killed after its journal was flushed leaves it:
// the journal of a save of `next`, the file with `written` at its start.
bool LeaveCutShortSave(const QString& path, QByteArrayView next, QByteArrayView written)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    platform::SaveJournal journal;
    int error = 0;
    QString cause;
    bool ok = journal.begin(QFile::encodeName(path), fd, {&next, 1}, false, &error, &cause);
    ok = ok && ::pwrite(fd, written.data(), std::size_t(written.size()), 0) == ssize_t(written.size());
    ::close(fd);
    return ok;
}

}  // namespace

class TestDocumentFiles : public QObject {
    Q_OBJECT
private slots:
    // "Pelmar /f ro.nc" on a read-only program of the user's own in a folder
    // of theirs, a character changed, Ctrl+S: it was replaced (a new inode,
    // still 0444) without a word.
    void saveOverAReadOnlyFileIsRefused()
    {
        DocumentFixture fixture;
        QVERIFY(QTest::qWaitForWindowActive(fixture.main.get()));
        QTemporaryDir folder;
        const QString path = QDir(folder.path()).filePath(QStringLiteral("ro.nc"));
        QVERIFY(WriteFileBytes(path, "O1000\r\nN10 G00 X1.\r\nM30\r\n"));
        QVERIFY(AsUnprivilegedUser::GiveToUser(folder.path()));
        QVERIFY(AsUnprivilegedUser::GiveToUser(path));
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0444), 0);
        const ino_t inode = StatusOf(path).st_ino;
        QVERIFY(OpenFileInWindow(path, false));
        frmNotePad* window = fixture.Active();
        QVERIFY(FocusText(*window));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_X);
        QVERIFY(DocumentState[1].Modified);

        platform::ScriptedAnswers answers;
        {
            AsUnprivilegedUser user;
            REQUIRE_UNPRIVILEGED(user);
            PressCtrlS();
        }
        QCOMPARE(FileBytes(path), QByteArray("O1000\r\nN10 G00 X1.\r\nM30\r\n"));
        QCOMPARE(StatusOf(path).st_ino, inode);
        QCOMPARE(int(StatusOf(path).st_mode & 07777), 0444);
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].title, ProgramError);
        QCOMPARE(answers.msgBoxes()[0].prompt,
                 QStringLiteral("Cannot write %1: Permission denied (the file %1 may not be written)").arg(path));
        QVERIFY(DocumentState[1].Modified);
        QVERIFY(window->Text1()->Modified());
    }

    // A save cut short (Pelmar killed, the power lost) left the program half
    // new, half old, with its old text only in a hidden file nothing named.
    // Opening it puts the old program back and says so; saving it again asks
    // nothing, as no other program changed it.
    void interruptedSaveIsRolledBackWhenOpened()
    {
        DocumentFixture fixture;
        QVERIFY(QTest::qWaitForWindowActive(fixture.main.get()));
        const QString path = fixture.Path(QStringLiteral("cut.nc"));
        const QByteArray old("O1000\r\nN10 G00 X1.\r\nN20 G01 Z-2.\r\nM30\r\n");
        QVERIFY(WriteFileBytes(path, old));
        const QByteArrayView next("%NEW\r\n", 7);
        QVERIFY(LeaveCutShortSave(path, next, next));
        platform::ScriptedAnswers answers;
        QVERIFY(OpenFileInWindow(path, false));
        frmNotePad* window = fixture.Active();
        QCOMPARE(FileBytes(path), old);
        QCOMPARE(window->Text1()->Text(), QString::fromLatin1(old));
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt,
                 QStringLiteral("A save of %1 was cut short. The file was put back as it was before that save.")
                     .arg(path));
        QCOMPARE(answers.msgBoxes()[0].style, platform::vbInformation);

        QVERIFY(FocusText(*window));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Percent);
        PressCtrlS();
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(FileBytes(path), "%" + old);
    }

    // Another program wrote the file after a save of it was cut short: the
    // open put the old program back over theirs. It is left as it is now,
    // its old text kept apart, and the message says where.
    void fileChangedSinceACutShortSaveIsLeftWhenOpened()
    {
        DocumentFixture fixture;
        QVERIFY(QTest::qWaitForWindowActive(fixture.main.get()));
        const QString path = fixture.Path(QStringLiteral("changed.nc"));
        const QByteArray old("O1000\r\nN10 G00 X1.\r\nN20 G01 Z-2.\r\nM30\r\n");
        QVERIFY(WriteFileBytes(path, old));
        QVERIFY(LeaveCutShortSave(path, QByteArrayView("%NEW\r\n"), QByteArrayView()));
        const QByteArray theirs("O2000\r\nN10 G00 X5.\r\nM30\r\n");
        QVERIFY(WriteFileBytes(path, theirs));
        platform::ScriptedAnswers answers;
        QVERIFY(OpenFileInWindow(path, false));
        QCOMPARE(FileBytes(path), theirs);
        QCOMPARE(fixture.Active()->Text1()->Text(), QString::fromLatin1(theirs));
        QCOMPARE(answers.msgBoxes().size(), 1);
        const QString prompt = answers.msgBoxes()[0].prompt;
        const QString kept = prompt.mid(prompt.lastIndexOf(QLatin1String(" kept in ")) + 9).chopped(1);
        QCOMPARE(prompt, QStringLiteral("A save of %1 was cut short, and the file has been changed since. It was left as "
                                        "it is; its content from before that save is kept in %2.")
                             .arg(path, kept));
        QCOMPARE(answers.msgBoxes()[0].style, platform::vbInformation);
        QCOMPARE(FileBytes(kept), old);
        QVERIFY(QFile::remove(kept));
    }

    // A CAM post-processor wrote the program again after it was opened (or
    // saved): the next save overwrote its work without a question.
    void fileChangedByAnotherProgramIsOverwrittenOnlyWhenAsked_data()
    {
        QTest::addColumn<QByteArray>("theirs");  // what the other program wrote; empty: nothing
        QTest::addColumn<bool>("sameTime");      // it gave the file its old modification time back
        QTest::addColumn<int>("answer");         // to the question; 0: none is asked
        QTest::addColumn<bool>("close");         // saved by the close question, not by Ctrl+S
        const QByteArray rewritten("O1000\r\nN10 G00 X1.\r\nN20 G01 Z-2.\r\nM30\r\n");
        QTest::newRow("unchanged: no question") << QByteArray() << false << 0 << false;
        QTest::newRow("rewritten, No") << rewritten << false << platform::vbNo << false;
        QTest::newRow("rewritten, Yes") << rewritten << false << platform::vbYes << false;
        QTest::newRow("same size, later time") << QByteArray("%O1000\r\nN10 G00 X2.\r\n") << false << platform::vbNo
                                               << false;
        QTest::newRow("other size, same time") << rewritten << true << platform::vbNo << false;
        // Rewritten in place with its old size and time (a post-processor that
        // sets the time back): only the status-change time tells.
        QTest::newRow("same size, same time") << QByteArray("%O1000\r\nN10 G00 X2.\r\n") << true << platform::vbNo
                                              << false;
        QTest::newRow("closing, No") << rewritten << false << platform::vbNo << true;
    }
    void fileChangedByAnotherProgramIsOverwrittenOnlyWhenAsked()
    {
        QFETCH(QByteArray, theirs);
        QFETCH(bool, sameTime);
        QFETCH(int, answer);
        QFETCH(bool, close);
        DocumentFixture fixture;
        QVERIFY(QTest::qWaitForWindowActive(fixture.main.get()));
        frmNotePad* window = OpenFile(fixture, QStringLiteral("post.nc"), "O1000\r\nN10 G00 X1.\r\n");
        QVERIFY(window != nullptr);
        const QString path = fixture.Path(QStringLiteral("post.nc"));
        QVERIFY(FocusText(*window));
        platform::ScriptedAnswers answers;
        // Saved once: what was saved is what the next save compares with.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Percent);
        PressCtrlS();
        QCOMPARE(FileBytes(path), QByteArray("%O1000\r\nN10 G00 X1.\r\n"));
        QCOMPARE(answers.msgBoxes().size(), 0);

        if (!theirs.isEmpty()) {
            const qint64 before = ModifiedNs(path);
            QVERIFY(WriteFileBytes(path, theirs));
            QVERIFY(SetModified(path, sameTime ? before : before + qint64(2000000000)));
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Percent);
        const QByteArray ours("%%O1000\r\nN10 G00 X1.\r\n");
        if (close) {
            answers.answerMsgBox(platform::vbYes);  // Do you want to save the changes?
            answers.answerMsgBox(answer);
            window->mnuFClose_Click();
        } else {
            if (answer != 0)
                answers.answerMsgBox(answer);
            PressCtrlS();
        }
        const QString question = path + QStringLiteral(" was changed by another program after it was opened or "
                                                       "last saved here.\r\n\r\nDo you want to overwrite it? The "
                                                       "other program's changes will be lost.");
        if (answer == 0) {
            QCOMPARE(answers.msgBoxes().size(), 0);
        } else {
            QCOMPARE(answers.msgBoxes().size(), close ? 2 : 1);
            QCOMPARE(answers.msgBoxes().last().prompt, question);
            QCOMPARE(answers.msgBoxes().last().style,
                     platform::vbYesNo | platform::vbExclamation | platform::vbDefaultButton2);
        }
        QCOMPARE(answers.pendingCount(), 0);
        if (answer == platform::vbNo) {
            // Nothing saved: their file stays, the document keeps its changes and its window.
            QCOMPARE(FileBytes(path), theirs);
            QVERIFY(DocumentState[1].Modified);
            QVERIFY(window->Text1()->Modified());
            QCOMPARE(OpenDocumentCount(), 1);
        } else {
            QCOMPARE(FileBytes(path), ours);
            QVERIFY(!DocumentState[1].Modified);
        }
    }

    // "Pelmar /f" on a 5 GB file took 10.5 GB of memory and went on reading;
    // running out would take every open document's changes with it. The
    // file is refused before a byte is read, by its size, also by Insert File.
    void fileTooLargeForTheMemoryIsRefusedBeforeReading()
    {
        DocumentFixture fixture;
        frmNotePad* first = OpenFile(fixture, QStringLiteral("a.nc"), "N10 G00\r\n");
        QVERIFY(first != nullptr);
        first->Text1()->AddText(QStringLiteral("(UNSAVED)"));
        const QString big = fixture.Path(QStringLiteral("BIG.NC"));
        {
            QFile file(big);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(qint64(6) << 30));  // sparse: no disk is used
        }
        platform::SetAvailableMemoryForTests(qint64(8) << 30);
        platform::ScriptedAnswers answers;
        const bool opened = OpenFileInWindow(big, false);
        answers.scriptModal(ChooseFiles(fixture.Folder(), {"BIG.NC"}));
        first->mnuInsertFile_Click();
        platform::SetAvailableMemoryForTests(-1);

        QVERIFY(!opened);
        QCOMPARE(answers.msgBoxes().size(), 2);
        for (const auto& box : answers.msgBoxes()) {
            QCOMPARE(box.title, ProgramError);
            QVERIFY2(box.prompt.startsWith(QStringLiteral("The file %1 is too large to be read: it has "
                                                          "6,442,450,944 bytes (6.0 GB)")
                                               .arg(big)),
                     qPrintable(box.prompt));
            QVERIFY2(box.prompt.contains(QStringLiteral("8.0 GB is available")), qPrintable(box.prompt));
        }
        QCOMPARE(OpenDocumentCount(), 1);
        QCOMPARE(first->Text1()->Text(), QStringLiteral("(UNSAVED)N10 G00\r\n"));
        QVERIFY(DocumentState[1].Modified);
    }
};

REGISTER_TEST(TestDocumentFiles);
#include "tst_DocumentFiles.moc"
