// Where the keyboard is after each way a document is opened, saved or
// closed, on a real X server without a window manager (the hardest case:
// nobody but the program gives the activation back). Every dialog and box
// is the real window, run by its own modal loop and answered with keys;
// then Ctrl+F, Ctrl+G, typing and Ctrl+S are typed where the keyboard is
// and must each do their work at once, without a click into the text.

#include "DocumentFixture.h"
#include "DocumentTestHelpers.h"
#include "support/TestRegistry.h"

#include "customise/frmEditProp.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ShowModal.h"
#include "shell/MDIMain.h"
#include "shell/MRecentFiles.h"

#include <QApplication>
#include <QDropEvent>
#include <QPushButton>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPointer>
#include <QScopeGuard>
#include <QTimer>
#include <QUrl>
#include <deque>
#include <functional>

namespace {

const QByteArray Program = "%\r\nO1001\r\nN10 G00 X1 Y2\r\nN20 G01 Z-3 F200\r\nN30 M30\r\n%\r\n";

// While alive, message boxes, input boxes and modal dialogs are the real
// windows (the fixture answers them without a window otherwise).
class RealWindows {
public:
    RealWindows()
        : msgBox_(platform::SetMsgBoxHandler({})), inputBox_(platform::SetInputBoxHandler({})),
          modal_(platform::SetModalHandler({}))
    {
    }
    ~RealWindows()
    {
        platform::SetMsgBoxHandler(msgBox_);
        platform::SetInputBoxHandler(inputBox_);
        platform::SetModalHandler(modal_);
    }
    RealWindows(const RealWindows&) = delete;
    RealWindows& operator=(const RealWindows&) = delete;

private:
    platform::MsgBoxHandler msgBox_;
    platform::InputBoxHandler inputBox_;
    platform::ModalHandler modal_;
};

// Answers the modal windows to come, in order, as a user does: each answer
// runs once its window is up and has the keyboard, and types into it.
class User : public QObject {
public:
    using Answer = std::function<void(QWidget& window)>;
    User()
    {
        timer_.setInterval(20);
        connect(&timer_, &QTimer::timeout, this, &User::Look);
    }
    void Then(Answer answer)
    {
        answers_.push_back(std::move(answer));
        timer_.start();
    }
    bool Done() const { return answers_.empty(); }

private:
    void Look()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (answers_.empty() || modal == nullptr || modal == answered_ || !modal->isActiveWindow())
            return;
        answered_ = modal;
        Answer answer = std::move(answers_.front());
        answers_.pop_front();
        if (answers_.empty())
            timer_.stop();
        answer(*modal);
    }
    QTimer timer_;
    std::deque<Answer> answers_;
    QPointer<QWidget> answered_;
};

QWidget* Keyboard()
{
    return QApplication::focusWidget();
}

// Types text where the keyboard is, then presses Enter.
void TypeAndEnter(const QString& text)
{
    QWidget* target = Keyboard();
    QVERIFY(target != nullptr);
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(target, text);
    QTest::keyClick(Keyboard(), Qt::Key_Return);
}

void PressEnter()
{
    QTest::keyClick(Keyboard(), Qt::Key_Return);
}

QString Quoted(const QStringList& paths)
{
    QStringList quoted;
    for (const QString& path : paths)
        quoted.append(QLatin1Char('"') + path + QLatin1Char('"'));
    return quoted.join(QLatin1Char(' '));
}

bool DropOn(QWidget* target, const QStringList& paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls.append(QUrl::fromLocalFile(path));
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(6, 6), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

QByteArray BigProgram()
{
    QByteArray bytes;
    bytes.reserve(200000 * 28);
    for (int i = 1; i <= 200000; ++i)
        bytes += "N" + QByteArray::number(i * 10) + " G01 X" + QByteArray::number(i % 997) + " Y1.5\r\n";
    return bytes;
}

}  // namespace

class TestKeyboardX11 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsSet("TALVEX_NO_XVFB"))
            QSKIP("Xvfb is not installed: the keyboard's way back is only seen on an X server");
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("no X server: run under xvfb-run to see where the keyboard goes");
    }

    void shortcutsWorkAfterEachPath_data()
    {
        QTest::addColumn<QString>("path");
        for (const char* path :
             {"open a large program beside three tiled", "open several files", "open from the main window",
              "recent file", "recent file that is gone", "save as with a new name", "save as replacing a file",
              "save as not replacing, then another name", "save all", "save an untitled document",
              "close with its question", "close an untitled document with its question", "settings dialog", "drop",
              "file handed over by a second start"})
            QTest::newRow(path) << QString::fromLatin1(path);
    }

    void shortcutsWorkAfterEachPath()
    {
        QFETCH(QString, path);
        DocumentFixture fixture;
        ShowEditPropHook = ShowEditProp;
        const auto resetHook = qScopeGuard([] { ShowEditPropHook = nullptr; });
        MDIMain& main = *fixture.main;
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        for (const char* name : {"a.nc", "b.nc", "c.nc", "d.nc", "e.nc"})
            QVERIFY(WriteFileBytes(fixture.Path(QLatin1String(name)), Program));
        QVERIFY(WriteFileBytes(fixture.Path(QStringLiteral("big.nc")), BigProgram()));

        RealWindows real;
        User user;
        std::unique_ptr<QWidget> other;
        // Three documents side by side from the main window's File > Open,
        // with nothing open yet.
        user.Then([&](QWidget&) {
            TypeAndEnter(Quoted({fixture.Path("a.nc"), fixture.Path("b.nc"), fixture.Path("c.nc")}));
        });
        main.mnuOpen_Click();
        QCOMPARE(OpenDocumentCount(), 3);
        if (path != QLatin1String("open from the main window"))
            QTRY_VERIFY(Keyboard() != nullptr && fixture.Active()->Text1()->isAncestorOf(Keyboard()));

        frmNotePad* expected = nullptr;
        if (path == QLatin1String("open a large program beside three tiled")) {
            user.Then([&](QWidget&) { TypeAndEnter(fixture.Path("big.nc")); });
            QTest::keyClick(Keyboard(), Qt::Key_O, Qt::ControlModifier);
            expected = fixture.Active();
            QCOMPARE(expected->FilePath, fixture.Path("big.nc"));
        } else if (path == QLatin1String("open several files")) {
            user.Then([&](QWidget&) { TypeAndEnter(Quoted({fixture.Path("d.nc"), fixture.Path("e.nc")})); });
            QTest::keyClick(Keyboard(), Qt::Key_O, Qt::ControlModifier);
            QCOMPARE(OpenDocumentCount(), 5);
            expected = fixture.Active();
        } else if (path == QLatin1String("open from the main window")) {
            expected = fixture.Active();
        } else if (path == QLatin1String("recent file")) {
            UpdateRecentFiles(fixture.Path("big.nc"));
            RefreshRecentFileMenus();
            fixture.Active()->mnuRecentFile[1]->trigger();
            expected = fixture.Active();
            QCOMPARE(expected->FilePath, fixture.Path("big.nc"));
        } else if (path == QLatin1String("recent file that is gone")) {
            UpdateRecentFiles(fixture.Path("gone.nc"));
            RefreshRecentFileMenus();
            expected = fixture.Active();
            user.Then([](QWidget&) { PressEnter(); });  // the error box's OK
            expected->mnuRecentFile[1]->trigger();
            QCOMPARE(OpenDocumentCount(), 3);
        } else if (path == QLatin1String("save as not replacing, then another name")) {
            expected = fixture.Active();
            user.Then([&](QWidget&) { TypeAndEnter(fixture.Path("d.nc")); });
            user.Then([](QWidget&) { QTest::keyClick(Keyboard(), Qt::Key_N); });  // "Do you want to replace it?" No
            user.Then([&](QWidget&) { TypeAndEnter(fixture.Path("new.nc")); });
            expected->mnuFSaveAs->trigger();
            QCOMPARE(expected->FilePath, fixture.Path("new.nc"));
            QCOMPARE(FileBytes(fixture.Path("d.nc")), Program);
        } else if (path == QLatin1String("save as with a new name")
                   || path == QLatin1String("save as replacing a file")) {
            const bool replace = path.contains(QLatin1String("replacing"));
            expected = fixture.Active();
            user.Then([&](QWidget&) { TypeAndEnter(fixture.Path(replace ? "d.nc" : "new.nc")); });
            if (replace)
                user.Then([](QWidget&) { PressEnter(); });  // "Do you want to replace it?" Yes
            expected->mnuFSaveAs->trigger();
            QCOMPARE(expected->FilePath, fixture.Path(replace ? "d.nc" : "new.nc"));
        } else if (path == QLatin1String("save all") || path == QLatin1String("save an untitled document")) {
            QTest::keyClick(Keyboard(), Qt::Key_N, Qt::ControlModifier);
            expected = fixture.Active();
            QVERIFY(expected->IsUntitled());
            QTest::keyClicks(Keyboard(), QStringLiteral("N10 G00 X1 Y2"));
            QTest::keyClick(Keyboard(), Qt::Key_Return);
            QTest::keyClicks(Keyboard(), QStringLiteral("M30"));
            user.Then([&](QWidget&) { TypeAndEnter(fixture.Path("untitled.nc")); });
            if (path == QLatin1String("save all"))
                expected->mnuFSaveAll->trigger();
            else
                QTest::keyClick(Keyboard(), Qt::Key_S, Qt::ControlModifier);
            QCOMPARE(expected->FilePath, fixture.Path("untitled.nc"));
        } else if (path == QLatin1String("close with its question")) {
            frmNotePad* closing = fixture.Active();
            QTest::keyClicks(Keyboard(), QStringLiteral("G04"));
            user.Then([](QWidget&) { PressEnter(); });  // "Do you want to save the changes?" Yes
            closing->mnuFClose->trigger();
            QCOMPARE(OpenDocumentCount(), 2);
            expected = fixture.Active();
        } else if (path == QLatin1String("close an untitled document with its question")) {
            QTest::keyClick(Keyboard(), Qt::Key_N, Qt::ControlModifier);
            frmNotePad* closing = fixture.Active();
            QVERIFY(closing->IsUntitled());
            QTest::keyClicks(Keyboard(), QStringLiteral("M30"));
            user.Then([](QWidget&) { PressEnter(); });  // "Do you want to save the changes?" Yes
            user.Then([&](QWidget&) { TypeAndEnter(fixture.Path("untitled.nc")); });
            closing->mnuFClose->trigger();
            QCOMPARE(OpenDocumentCount(), 3);
            QCOMPARE(FileBytes(fixture.Path("untitled.nc")), QByteArray("M30"));
            expected = fixture.Active();
        } else if (path == QLatin1String("settings dialog")) {
            expected = fixture.Active();
            user.Then([](QWidget& dialog) {
                QTest::mouseClick(dynamic_cast<frmEditProp&>(dialog).cmdProperties[0], Qt::LeftButton);
            });
            expected->mnuOptions[3]->trigger();
        } else if (path == QLatin1String("drop")) {
            QVERIFY(DropOn(&main, {fixture.Path("d.nc"), fixture.Path("e.nc")}));
            QCOMPARE(OpenDocumentCount(), 5);
            expected = fixture.Active();
            QCOMPARE(expected->FilePath, fixture.Path("d.nc"));
        } else {
            // Meanwhile the user works in another program's window.
            other = std::make_unique<QWidget>();
            other->setWindowTitle(QStringLiteral("another program"));
            other->resize(300, 200);
            other->show();
            other->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(other.get()));
            main.TakeHandedOverCommand({QStringLiteral("/f"), fixture.Path("big.nc")});
            expected = fixture.Active();
            QCOMPARE(expected->FilePath, fixture.Path("big.nc"));
        }
        QVERIFY(user.Done());
        QVERIFY(expected != nullptr);
        platform::CodeMax& text = *expected->Text1();

        // The keyboard is in the document that is active now.
        QTRY_COMPARE(QApplication::activeWindow(), &main);
        QTRY_VERIFY(Keyboard() != nullptr && text.isAncestorOf(Keyboard()));

        // Ctrl+F finds.
        text.SetSel({0, 0, 0, 0}, false);
        user.Then([](QWidget& find) {
            QCOMPARE(find.objectName(), QStringLiteral("CodeMaxFindDialog"));
            TypeAndEnter(QStringLiteral("X1"));
            QTest::keyClick(Keyboard(), Qt::Key_Escape);
        });
        QTest::keyClick(Keyboard(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(user.Done());
        QCOMPARE(text.SelText(), QStringLiteral("X1"));

        // Ctrl+G goes to a line.
        QTRY_VERIFY(Keyboard() != nullptr && text.isAncestorOf(Keyboard()));
        user.Then([](QWidget&) { TypeAndEnter(QStringLiteral("2")); });
        QTest::keyClick(Keyboard(), Qt::Key_G, Qt::ControlModifier);
        QVERIFY(user.Done());
        QCOMPARE(text.GetSel(true).endLine, 1);

        // Typing goes into the text, and Ctrl+S saves it.
        QTRY_VERIFY(Keyboard() != nullptr && text.isAncestorOf(Keyboard()));
        QTest::keyClick(Keyboard(), Qt::Key_Home);
        QTest::keyClicks(Keyboard(), QStringLiteral("(TYPED)"));
        QVERIFY(text.GetLine(1).startsWith(QLatin1String("(TYPED)")));
        QTest::keyClick(Keyboard(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!text.Modified());
        QVERIFY(FileBytes(expected->FilePath).contains("(TYPED)"));
    }
};

REGISTER_TEST(TestKeyboardX11);
#include "tst_KeyboardX11.moc"
