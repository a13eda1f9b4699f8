// Pelmar's main window opens the extender, and takes it along when it goes.

#include "clipext/frmClipMain.h"
#include "platform/desktop/TrayIcon.h"
#include "shell/MDIMain.h"
#include "shell/cRegistry.h"
#include "shell/ShellFixture.h"

#include "support/TestRegistry.h"

#include <QAction>
#include <QToolBar>

class TestClipInPelmar : public QObject {
    Q_OBJECT
private slots:
    void toolbarButtonShowsTheOneExtender()
    {
        ShellFixture fixture;
        platform::ScriptedAnswers answers;
        const auto previousHook = std::exchange(ShowClipExtenderHook, [] { frmClipMain::ShowDefault(); });
        std::unique_ptr<MDIMain> main = Main({});
        QVERIFY(main != nullptr);
        QAction* button = main->ToolbarButton(*main->cToolbar3, QStringLiteral("Clipboard Extender"));
        QVERIFY(button != nullptr);
        button->setEnabled(true);
        button->trigger();
        QPointer<frmClipMain> extender = frmClipMain::Default();
        QVERIFY(extender);
        QVERIFY(extender->isVisible());
        QCOMPARE(extender->parentWidget(), main.get());
        button->trigger();
        QCOMPARE(frmClipMain::Default(), extender.data());

        // The main window going takes the extender with it, its settings written.
        main.reset();
        QVERIFY(extender.isNull());
        cRegistry registry;
        registry.SectionKey(ClipSettingsKey);
        registry.ValueKey(QStringLiteral("EntriesToKeep"));
        QCOMPARE(registry.Value().toInt(), 15);
        ShowClipExtenderHook = previousHook;
        QCOMPARE(answers.msgBoxes().size(), 0);
    }
};

REGISTER_TEST(TestClipInPelmar);

#include "tst_ClipInPelmar.moc"
