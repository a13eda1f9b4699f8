#include "platform/forms/ActionsWithoutCommand.h"
#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ProgramFolder.h"
#include "platform/forms/ScriptedAnswers.h"
#include "platform/forms/Screen.h"
#include "platform/forms/ShowModal.h"
#include "platform/forms/ToolbarFace.h"
#include "platform/forms/Twips.h"
#include "platform/forms/WaitCursor.h"
#include "support/ToolbarLook.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QPainter>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QSignalSpy>
#include <QTest>

#include <sys/mount.h>
#include <unistd.h>

using namespace platform;

namespace {

// A small dialog like the parameter dialogs: a field, OK and Cancel; OK
// with an empty field complains through a message box and stays open.
class NameDialog : public QDialog {
public:
    NameDialog()
    {
        setObjectName(QStringLiteral("frmName"));
        setWindowTitle(QStringLiteral("Name"));
        auto* layout = new QVBoxLayout(this);
        name = new QLineEdit(this);
        layout->addWidget(name);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        layout->addWidget(buttons);
        ok = buttons->button(QDialogButtonBox::Ok);
        connect(buttons, &QDialogButtonBox::accepted, this, [this] {
            if (name->text().isEmpty())
                MsgBox(QStringLiteral("Enter a name"), vbExclamation, QStringLiteral("Name"));
            else
                accept();
        });
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    }
    QLineEdit* name = nullptr;
    QPushButton* ok = nullptr;
};

// Runs f on the modal window once it is up (real-window tests only).
void whenModalShows(std::function<void(QWidget*)> f)
{
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, f] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            QPointer<QWidget> guard(modal);
            f(modal);
            // A failed check returns early: never leave the test blocked.
            if (auto* dialog = qobject_cast<QDialog*>(guard.data()); dialog && dialog->isVisible())
                dialog->done(-1);
        }
    });
    timer->start(10);
}

// A window with a toolbar of three captioned images as the bitmap strip
// draws them (dark line art round a white page), the last disabled and set
// apart; or drawn for a dark face instead (light line art alone).
struct ToolbarWindow {
    explicit ToolbarWindow(bool forDarkFace)
    {
        toolbar = window.addToolBar(QStringLiteral("Toolbar"));
        toolbar->setIconSize(QSize(16, 16));
        toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        const QColor lines[] = {QColor(0, 0, 0x80), Qt::black, QColor(0, 0, 0xc8)};
        for (const QColor& line : lines) {
            if (&line == &lines[2])
                toolbar->addSeparator();
            QPixmap image(16, 16);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            painter.setPen(forDarkFace ? QColor(0xe0, 0xe0, 0xe0) : line);
            painter.setBrush(forDarkFace ? QBrush(Qt::NoBrush) : QBrush(Qt::white));
            painter.drawRect(3, 1, 9, 13);
            painter.drawLine(5, 5, 10, 5);
            painter.end();
            toolbar->addAction(QIcon(image), line.name());
        }
        toolbar->actions().last()->setEnabled(false);
        window.resize(200, 80);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qWarning("the toolbar's window was not shown");
    }
    QImage Look() const { return toolbar->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    QMainWindow window;
    QToolBar* toolbar = nullptr;
};

}  // namespace

class FormsTest : public QObject {
    Q_OBJECT

private slots:
    // Items with nothing to run are disabled; items with a command, however
    // connected, stay live, in menus, submenus and toolbars alike.
    void itemsWithoutCommandAreDisabled()
    {
        QWidget window;
        QMenu menu(&window);
        QAction* live = menu.addAction(QStringLiteral("Live"));
        QObject::connect(live, &QAction::triggered, &window, [] {});
        QAction* check = menu.addAction(QStringLiteral("Check"));
        check->setCheckable(true);
        QObject::connect(check, &QAction::toggled, &window, [](bool) {});
        QAction* standIn = menu.addAction(QStringLiteral("Stand-in"));
        QAction* separator = menu.addSeparator();
        QMenu* sub = menu.addMenu(QStringLiteral("Sub"));
        QAction* deep = sub->addAction(QStringLiteral("Deep"));
        QToolBar toolbar(&window);
        QAction* button = toolbar.addAction(QStringLiteral("Button"));
        QAction* liveButton = toolbar.addAction(QStringLiteral("Live button"));
        QObject::connect(liveButton, &QAction::triggered, &window, [] {});

        DisableActionsWithoutCommand({&menu, &toolbar, nullptr});

        QVERIFY(live->isEnabled() && check->isEnabled() && liveButton->isEnabled());
        QVERIFY(!standIn->isEnabled() && !deep->isEnabled() && !button->isEnabled());
        QVERIFY(separator->isEnabled() && sub->menuAction()->isEnabled());
        QVERIFY(HasCommand(*live) && !HasCommand(*standIn));
        // An item shown in several places is judged by its own connections.
        QAction* shared = toolbar.addAction(QStringLiteral("Shared"));
        menu.addAction(shared);
        sub->addAction(shared);
        QVERIFY(!HasCommand(*shared));
        QObject::connect(shared, &QAction::triggered, &window, [] {});
        QVERIFY(HasCommand(*shared));
    }

    // A toolbar kept legible looks as it does on the light palette while the
    // palette is dark, and as it always did on a light one, following the
    // palette as it changes: for the application, or set on every widget
    // (as a desktop's settings tool hands a new one out); images drawn for a
    // dark face keep that face.
    void toolbarFaceFollowsThePalette_data()
    {
        QTest::addColumn<bool>("darkWhenKept");
        QTest::addColumn<QString>("change");  // how the palette after arrives, if it changes
        QTest::addColumn<bool>("darkAfter");
        QTest::addColumn<bool>("forDarkFace");
        QTest::addColumn<bool>("looksAsOnLight");  // else as it is on the palette after
        const QString none;
        const QString application = QStringLiteral("application");
        const QString everyWidget = QStringLiteral("every widget");
        QTest::newRow("light") << false << none << false << false << true;
        QTest::newRow("dark") << true << none << true << false << true;
        QTest::newRow("dark, then light") << true << application << false << false << true;
        QTest::newRow("light, then dark") << false << application << true << false << true;
        QTest::newRow("dark, then light on every widget") << true << everyWidget << false << false << true;
        QTest::newRow("light, then dark on every widget") << false << everyWidget << true << false << true;
        QTest::newRow("images for a dark face") << true << none << true << true << false;
    }
    void toolbarFaceFollowsThePalette()
    {
        QFETCH(bool, darkWhenKept);
        QFETCH(QString, change);
        QFETCH(bool, darkAfter);
        QFETCH(bool, forDarkFace);
        QFETCH(bool, looksAsOnLight);
        const QPalette dark = toolbarlook::DarkDesktopPalette();
        QPalette light;  // every colour of the palette the application starts with, set
        for (int role = 0; role < QPalette::NColorRoles; ++role)
            for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
                light.setColor(group, QPalette::ColorRole(role),
                               QApplication::palette().color(group, QPalette::ColorRole(role)));
        QImage expected;
        {
            const toolbarlook::ApplicationPalette desktop(looksAsOnLight || !darkAfter ? QPalette() : dark);
            expected = ToolbarWindow(forDarkFace).Look();
        }
        const toolbarlook::ApplicationPalette desktop(darkWhenKept ? dark : QPalette());
        ToolbarWindow kept(forDarkFace);
        KeepToolbarIconsVisible(*kept.toolbar);
        const QPalette after = darkAfter ? dark : light;
        if (change == QStringLiteral("application")) {
            const toolbarlook::ApplicationPalette changed(after);
            QTRY_COMPARE(kept.Look(), expected);
        } else if (change == QStringLiteral("every widget")) {
            kept.window.setPalette(after);
            for (QWidget* widget : kept.window.findChildren<QWidget*>())
                widget->setPalette(after);
            QTRY_COMPARE(kept.Look(), expected);
        } else {
            QCOMPARE(kept.Look(), expected);
        }
    }

    void msgBoxIsRecordedAndAnswered()
    {
        ScriptedAnswers answers;
        answers.answerMsgBox(vbNo);
        const int result = MsgBox("Save changes?", vbYesNoCancel | vbQuestion, "Talvex Editor");
        QCOMPARE(result, vbNo);
        QCOMPARE(answers.msgBoxes().size(), 1);
        const auto& call = answers.msgBoxes().first();
        QCOMPARE(call.prompt, QString("Save changes?"));
        QCOMPARE(call.style, vbYesNoCancel | vbQuestion);
        QCOMPARE(call.title, QString("Talvex Editor"));
        QVERIFY(call.scripted);
        QCOMPARE(answers.unscriptedCount(), 0);
        QCOMPARE(answers.pendingCount(), 0);
    }

    void emptyQueueAnswersTheDefaultButton_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QList<int>>("buttons");
        QTest::newRow("OK only") << (vbOKOnly | vbCritical) << vbOK << QList<int>{vbOK};
        QTest::newRow("OK Cancel") << vbOKCancel << vbOK << QList<int>{vbOK, vbCancel};
        QTest::newRow("abort retry ignore, third")
            << (vbAbortRetryIgnore | vbDefaultButton3) << vbIgnore << QList<int>{vbAbort, vbRetry, vbIgnore};
        QTest::newRow("yes no cancel, second")
            << (vbYesNoCancel | vbDefaultButton2 | vbExclamation) << vbNo << QList<int>{vbYes, vbNo, vbCancel};
        QTest::newRow("yes no, third does not exist") << (vbYesNo | vbDefaultButton3) << vbYes
                                                      << QList<int>{vbYes, vbNo};
        QTest::newRow("retry cancel, second") << (vbRetryCancel | vbDefaultButton2) << vbCancel
                                              << QList<int>{vbRetry, vbCancel};
    }
    void emptyQueueAnswersTheDefaultButton()
    {
        QFETCH(int, style);
        QFETCH(int, expected);
        QFETCH(QList<int>, buttons);
        QCOMPARE(MsgBoxButtons(style), buttons);
        ScriptedAnswers answers;
        QCOMPARE(MsgBox("?", style), expected);
        QCOMPARE(answers.unscriptedCount(), 1);
        QVERIFY(!answers.msgBoxes().first().scripted);
    }

    void inputBoxIsRecordedAndAnswered()
    {
        ScriptedAnswers answers;
        answers.answerInputBox("25");
        answers.cancelInputBox();
        QCOMPARE(InputBox("Start number", "Renumber", "10"), QString("25"));
        QCOMPARE(InputBox("Step", "Renumber", "10"), QString());
        // Unscripted: OK with the proposed text.
        QCOMPARE(InputBox("Restart", "Renumber", "9999"), QString("9999"));
        QCOMPARE(answers.inputBoxes().size(), 3);
        QCOMPARE(answers.inputBoxes()[1].prompt, QString("Step"));
        QCOMPARE(answers.inputBoxes()[2].defaultText, QString("9999"));
        QCOMPARE(answers.unscriptedCount(), 1);
    }

    void answersNestAndPutBackThePreviousHandlers()
    {
        QVERIFY(!SetMsgBoxHandler({}));  // the real box is in place
        {
            ScriptedAnswers outer;
            {
                ScriptedAnswers inner;
                MsgBox("inner");
                QCOMPARE(inner.msgBoxes().size(), 1);
            }
            MsgBox("outer");
            QCOMPARE(outer.msgBoxes().size(), 1);
            QCOMPARE(outer.msgBoxes().first().prompt, QString("outer"));
        }
        QVERIFY(!SetMsgBoxHandler({}));
        QVERIFY(!SetInputBoxHandler({}));
        QVERIFY(!SetModalHandler({}));
    }

    void modalDialogIsScripted()
    {
        ScriptedAnswers answers;
        answers.scriptModal([](QDialog& d) {
            auto& dialog = static_cast<NameDialog&>(d);
            QVERIFY(dialog.isVisible());
            dialog.ok->click();  // empty name: complains, stays open
            dialog.name->setText("Part 7");
            dialog.ok->click();
        });
        answers.answerMsgBox(vbOK);
        NameDialog dialog;
        QCOMPARE(ShowModal(dialog), int(QDialog::Accepted));
        QCOMPARE(dialog.name->text(), QString("Part 7"));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(answers.modals().size(), 1);
        QCOMPARE(answers.modals().first().objectName, QString("frmName"));
        QCOMPARE(answers.modals().first().windowTitle, QString("Name"));
        QCOMPARE(answers.modals().first().result, int(QDialog::Accepted));
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes().first().prompt, QString("Enter a name"));
        QCOMPARE(answers.unscriptedCount(), 0);
    }

    void modalDialogClosedByNothingIsRejected()
    {
        ScriptedAnswers answers;
        answers.scriptModal([](QDialog& d) { static_cast<NameDialog&>(d).name->setText("x"); });
        answers.scriptModal([](QDialog& d) { d.done(7); });
        NameDialog first;
        QCOMPARE(ShowModal(first), int(QDialog::Rejected));
        QVERIFY(!first.isVisible());
        NameDialog second;
        QCOMPARE(ShowModal(second), 7);
        // Unscripted: Cancel, recorded.
        NameDialog third;
        QSignalSpy rejected(&third, &QDialog::rejected);
        QCOMPARE(ShowModal(third), int(QDialog::Rejected));
        QCOMPARE(rejected.size(), 1);
        QCOMPARE(answers.unscriptedCount(), 1);
        QCOMPARE(answers.modals().size(), 3);
    }

    void realMessageBoxHasTheStylesButtonsAndIcon()
    {
        QStringList seen;
        whenModalShows([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            QCOMPARE(box->icon(), QMessageBox::Warning);
            QCOMPARE(box->windowTitle(), QString("Title"));
            QCOMPARE(box->text(), QString("Really?"));
            QCOMPARE(box->buttons().size(), 3);
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::No));
            seen << "shown";
            QTest::keyClick(box, Qt::Key_Escape);
        });
        QCOMPARE(MsgBox("Really?", vbYesNoCancel | vbExclamation | vbDefaultButton2, "Title"), vbCancel);
        QCOMPARE(seen, QStringList{"shown"});

        whenModalShows([](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            QCOMPARE(box->icon(), QMessageBox::Critical);
            box->button(QMessageBox::Retry)->click();
        });
        QCOMPARE(MsgBox("Failed", vbAbortRetryIgnore | vbCritical), vbRetry);
    }

    void realModalRunsTheDialog()
    {
        whenModalShows([](QWidget* modal) {
            auto* dialog = dynamic_cast<NameDialog*>(modal);
            QVERIFY(dialog);
            dialog->name->setText("typed");
            dialog->ok->click();
        });
        NameDialog dialog;
        QCOMPARE(ShowModal(dialog), int(QDialog::Accepted));
        QCOMPARE(dialog.name->text(), QString("typed"));
    }

    void waitCursorIsNotCountedButScoped()
    {
        QVERIFY(!IsWaitCursor());
        {
            WaitCursor outer;
            QVERIFY(QGuiApplication::overrideCursor());
            QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
            {
                WaitCursor inner;
                SetWaitCursor(false);  // a command that clears it itself
                QVERIFY(!QGuiApplication::overrideCursor());
            }
            QVERIFY(IsWaitCursor());  // the outer scope's state comes back
            QVERIFY(QGuiApplication::overrideCursor());
        }
        QVERIFY(!IsWaitCursor());
        QVERIFY(!QGuiApplication::overrideCursor());
        SetWaitCursor(true);
        SetWaitCursor(true);
        SetWaitCursor(false);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void twipsFollowTheScreen()
    {
        const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchX();
        QCOMPARE(TwipsPerPixelX(), 1440.0 / dpi);
        QCOMPARE(TwipsToPixelsX(PixelsToTwipsX(808)), 808);
        QCOMPARE(TwipsToPixelsY(PixelsToTwipsY(-4)), -4);
        if (dpi == 96) {
            QCOMPARE(TwipsPerPixelY(), 15.0);
            QCOMPARE(TwipsToPixelsX(12120), 808);
            QCOMPARE(TwipsToPixelsY(-60), -4);
            QCOMPARE(TwipsToPixelsX(22), 1);  // rounded, not cut
        }
    }

    void programFolderComesFromTheEnvironment()
    {
        const QByteArray saved = qgetenv("TALVEX_PROGRAM_DIR");
        const auto restore = qScopeGuard([&] { qputenv("TALVEX_PROGRAM_DIR", saved); });
        qputenv("TALVEX_PROGRAM_DIR", "/opt/talvex/");
        QCOMPARE(ProgramFolder(), QString("/opt/talvex"));
        QCOMPARE(ProgramFile("\\Editor.ini"), QString("/opt/talvex/Editor.ini"));
        qunsetenv("TALVEX_PROGRAM_DIR");
        QCOMPARE(ProgramFolder(), QCoreApplication::applicationDirPath());
    }

    void settingsStayBesideAWritableProgram()
    {
        QTemporaryDir program;
        QCOMPARE(SettingsFolderFor(program.path()), program.path());
        const QByteArray saved = qgetenv("TALVEX_PROGRAM_DIR");
        const auto restore = qScopeGuard([&] { qputenv("TALVEX_PROGRAM_DIR", saved); });
        qputenv("TALVEX_PROGRAM_DIR", QFile::encodeName(program.path()));
        QCOMPARE(SettingsFile("\\Editor.ini"), program.filePath("Editor.ini"));
    }

    void settingsOfAReadOnlyProgramGoToTheConfigFolder()
    {
        QTemporaryDir program;
        QTemporaryDir config;
        const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
        const auto restore = qScopeGuard([&] { qputenv("XDG_CONFIG_HOME", saved); });
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        const QByteArray folder = QFile::encodeName(program.path());
        // Root writes into any folder: a read-only file system stops it too.
        bool mounted = false;
        if (::geteuid() == 0) {
            if (::mount("tmpfs", folder.constData(), "tmpfs", MS_RDONLY, "size=4096") != 0)
                QSKIP("mounting a read-only tmpfs was refused");
            mounted = true;
        } else {
            QVERIFY(QFile::setPermissions(program.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        }
        const auto unmount = qScopeGuard([&] {
            if (mounted)
                ::umount2(folder.constData(), MNT_DETACH);
            QFile::setPermissions(program.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                      | QFileDevice::ExeOwner);
        });
        const QString expected = config.filePath("Talvex");
        QCOMPARE(SettingsFolderFor(program.path()), expected);
        QVERIFY(QFileInfo(expected).isDir());  // made for the first write
        qputenv("XDG_CONFIG_HOME", "relative/ignored");
        QCOMPARE(SettingsFolderFor(program.path()), QDir::homePath() + "/.config/Talvex");
    }

    void pathJoin_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("backslash name") << "/p" << "\\Editor.ini" << "/p/Editor.ini";
        QTest::newRow("slash name") << "/p" << "/Prentil.exe" << "/p/Prentil.exe";
        QTest::newRow("bare name") << "/p" << "Macro.ini" << "/p/Macro.ini";
        QTest::newRow("sub-folder") << "/p/" << "\\Images\\smallAll.bmp" << "/p/Images/smallAll.bmp";
        QTest::newRow("root folder") << "/" << "\\x" << "/x";
        QTest::newRow("no name") << "/p/" << "" << "/p";
    }
    void pathJoin()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QCOMPARE(PathJoin(folder, name), expected);
    }

    void errorKeepsNumberDescriptionAndSource()
    {
        try {
            throw Error(0x800469A9, "Failed to set registry value", "Pelmar.cRegistry");
        } catch (const std::exception& e) {
            QCOMPARE(QString::fromUtf8(e.what()), QString("Failed to set registry value"));
            const auto* error = dynamic_cast<const Error*>(&e);
            QVERIFY(error);
            QCOMPARE(error->number(), qint32(-2147194455));
            QVERIFY(error->is(0x800469A9));
            QCOMPARE(error->source(), QString("Pelmar.cRegistry"));
        }
        QCOMPARE(Error(-2147220456 + 31, "x").number(), -2147220425);
        QVERIFY(Error(429, "ActiveX component can't create object").is(429));
    }

    void centresOnTheScreen()
    {
        const QRect area = AvailableScreenGeometry();
        QVERIFY(area.width() > 0 && area.height() > 0);
        // Centred before it is shown, as forms do when they load: the frame
        // it gets on showing is centred too.
        QDialog window;
        window.resize(533, 92);
        CentreOnScreen(window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.frameGeometry().center(), area.center());
        window.move(0, 0);
        CentreOnScreen(window);  // and when it is shown
        QCOMPARE(window.frameGeometry().center(), area.center());
    }
};

QTEST_MAIN(FormsTest)
#include "tst_Forms.moc"
