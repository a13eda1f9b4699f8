// The editor starts Brevlin and takes its window into the workspace: under
// an X server, with the editor's main window and the Brevlin program itself.
// Closing the editor asks Brevlin to close first.

#include "platform/desktop/ForeignWindows.h"
#include "shell/MCompareProgram.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTest>

#if __has_include(<xcb/xcb.h>)
#include <xcb/xcb.h>
#define HAVE_XCB 1
#endif

#include <csignal>

namespace {

bool Running(qint64 pid)
{
    return ::kill(pid_t(pid), 0) == 0;
}

#ifdef HAVE_XCB
// A window below ancestor in the X server's window tree whose process is pid, or 0.
quint64 DescendantOfProcess(quint64 ancestor, qint64 pid)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11->connection();
    const char name[] = "_NET_WM_PID";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, sizeof name - 1, name), nullptr);
    const xcb_atom_t pidAtom = atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(atom);
    QList<xcb_window_t> pending{xcb_window_t(ancestor)};
    while (!pending.isEmpty()) {
        const xcb_window_t w = pending.takeFirst();
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr);
        if (tree == nullptr)
            continue;
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
            const xcb_window_t child = children[i];
            xcb_get_property_reply_t* property = xcb_get_property_reply(
                c, xcb_get_property(c, 0, child, pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
            const bool match = property != nullptr && xcb_get_property_value_length(property) >= 4
                               && *static_cast<const uint32_t*>(xcb_get_property_value(property)) == uint32_t(pid);
            free(property);
            if (match) {
                free(tree);
                return child;
            }
            pending.append(child);
        }
        free(tree);
    }
    return 0;
}
#endif

}  // namespace

class AdoptionTest : public QObject {
    Q_OBJECT
private slots:
    void brevlinLivesInTheEditorsWindow()
    {
        if (QGuiApplication::platformName() != u"xcb")
            QSKIP("Adopting another program's window needs an X server; Xvfb is not installed here.");
#ifndef HAVE_XCB
        QSKIP("Built without the X client library (libxcb): windows cannot be inspected.");
#else
        // A program folder of our own with Brevlin beside the editor.
        QTemporaryDir program;
        QVERIFY(QFile::link(QStringLiteral(TALVEX_BIN "/Brevlin"), program.filePath(QStringLiteral("Brevlin"))));
        qputenv("TALVEX_PROGRAM_DIR", program.path().toLocal8Bit());

        const std::unique_ptr<MDIMain> main = Main({});
        QVERIFY(main);
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
        QCOMPARE(main->windowTitle(), MDIMain::Title);

        main->mnuCompare_Click();
        const QList<qint64> started = RunningComparePrograms();
        QCOMPARE(started.size(), 1);
        const qint64 brevlin = started.first();
        // Its window is a maximised window of the workspace, below the editor's in the window tree.
        QMdiSubWindow* frame = main->mdiArea->findChild<QMdiSubWindow*>(QStringLiteral("CompareWindow"));
        QVERIFY2(frame != nullptr, "the compare window was not adopted");
        QVERIFY(frame->isMaximized());
        QTRY_VERIFY(DescendantOfProcess(main->winId(), brevlin) != 0);
        QVERIFY(DescendantOfProcess(frame->widget()->winId(), brevlin) != 0);
        // It is no top-level window of its own any more.
        QCOMPARE(platform::FindProcessWindow(brevlin), quint64(0));

        // Closing the editor asks Brevlin first; with nothing to save it goes, then the editor.
        QVERIFY(main->close());
        QTRY_VERIFY_WITH_TIMEOUT(!Running(brevlin), 10000);
#endif
    }
};

QTEST_MAIN(AdoptionTest)
#include "AdoptionTest.moc"
