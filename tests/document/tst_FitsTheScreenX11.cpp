// The main window, its own dialogs and the suite's file dialogs on a real
// X server's 1024 x 768 screen: each opens inside the screen's available
// area and shows its texts whole (a cell of a list is painted as it would be
// in a far wider cell). A picture of each is left in the test's home folder
// ("shots/") to look at.

#include "DocumentFixture.h"
#include "DocumentTestHelpers.h"
#include "support/TestRegistry.h"

#include "platform/forms/MsgBox.h"
#include "platform/forms/ShowModal.h"
#include "shell/KroBrowser.h"
#include "shell/basFileDialogs.h"
#include "platform/desktop/HelpWindow.h"
#include "shell/frmHelp.h"
#include "shell/frmMsg.h"
#include "shell/frmTip.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QScopeGuard>
#include <QTreeView>

namespace {

QRect Available()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

void Picture(QWidget& window, const QString& name)
{
    const QString folder = QDir::home().filePath(QStringLiteral("shots"));
    QDir().mkpath(folder);
    window.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

QString Where(const QWidget& widget)
{
    const QRect r = widget.frameGeometry();
    return QStringLiteral("%1 at %2,%3 %4x%5").arg(widget.objectName()).arg(r.x()).arg(r.y()).arg(r.width())
        .arg(r.height());
}

// The labels and buttons of window whose text is cut (shown narrower or
// lower than the text needs).
QStringList CutTexts(const QWidget& window)
{
    QStringList cut;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->isVisibleTo(&window) || label->text().isEmpty() || !label->pixmap().isNull())
            continue;
        const bool fits = label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                            : label->sizeHint().width() <= label->width();
        if (!fits)
            cut.append(label->text());
    }
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
        if (button->isVisibleTo(&window) && !button->text().isEmpty()
            && button->sizeHint().width() > button->width())
            cut.append(button->text());
    return cut;
}

// Paints the cell of index as the view does, in a cell of the given width
// that ends where the real one does for right-aligned texts and starts
// where it does for the others.
QImage PaintCell(const QTreeView& view, const QModelIndex& index, int width, int extra)
{
    const QRect cell = view.visualRect(index);
    const bool right = (index.data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight) != 0;
    QImage image(cell.width() + extra, cell.height(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.widget = &view;
    option.font = view.font();
    option.textElideMode = view.textElideMode();
    option.rect = QRect(right ? cell.width() + extra - width : 0, 0, width, cell.height());
    view.itemDelegateForIndex(index)->paint(&painter, option, index);
    painter.end();
    return image.copy(QRect(right ? extra : 0, 0, cell.width(), cell.height()));
}

// The size, type and date texts the view cuts short or shows only in part.
QStringList CutCells(const QTreeView& view)
{
    QStringList cut;
    const QAbstractItemModel& model = *view.model();
    for (int row = 0; row < model.rowCount(view.rootIndex()); ++row)
        for (int column = 1; column < model.columnCount(view.rootIndex()); ++column) {
            const QModelIndex index = model.index(row, column, view.rootIndex());
            const QRect cell = view.visualRect(index);
            if (cell.left() < 0 || cell.right() >= view.viewport()->width()
                || PaintCell(view, index, cell.width(), 2000) != PaintCell(view, index, cell.width() + 2000, 2000))
                cut.append(index.data().toString());
        }
    return cut;
}

}  // namespace

class TestFitsTheScreenX11 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsSet("TALVEX_NO_XVFB"))
            QSKIP("Xvfb is not installed: the sizes are seen on an X server's 1024 x 768 screen");
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("no X server: run under xvfb-run to see the windows on a screen");
        if (QGuiApplication::primaryScreen()->size() != QSize(1024, 768))
            QSKIP("the screen is not 1024 x 768 (xvfb-run -s \"-screen 0 1024x768x24\")");
    }

    void fileDialogsShowTheirColumnsWhole_data()
    {
        QTest::addColumn<QString>("dialog");
        for (const char* dialog : {"Open File(s)", "Save As", "File Insert Open", "Select a folder"})
            QTest::newRow(dialog) << QString::fromLatin1(dialog);
    }
    void fileDialogsShowTheirColumnsWhole()
    {
        QFETCH(QString, dialog);
        DocumentFixture fixture;
        const QString folder = fixture.Path(QStringLiteral("programs"));
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/a folder")));
        // Sizes of every kind: bytes, KiB with three digits, MiB, GiB.
        const QList<QPair<QString, qint64>> files{{"small.nc", 720},          {"part.nc", 17715},
                                                 {"O1000", 1000 * 1024 - 77}, {"large.nc", 1572864},
                                                 {"notes.txt", 123456789},    {"huge.tap", 3LL << 30}};
        for (const auto& [name, size] : files) {
            QFile file(QDir(folder).filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(size));
        }
        DefaultDir = folder;
        // The toolkit's file dialogs start as at first use, without the
        // column widths an earlier dialog left.
        QSettings(QSettings::UserScope, QStringLiteral("QtProject")).remove(QStringLiteral("FileDialog"));
        frmNotePad* window = document_test::OpenFile(fixture, QStringLiteral("programs/doc.nc"), "M30\r\n");
        QVERIFY(window != nullptr);

        const auto previous = platform::SetModalHandler({});
        const auto restore = qScopeGuard([&previous] { platform::SetModalHandler(previous); });
        QStringList cut;
        QString outside;
        bool looked = false;
        QTimer look;
        QObject::connect(&look, &QTimer::timeout, [&] {
            auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (files == nullptr || !files->isVisible())
                return;
            auto* view = files->findChild<QTreeView*>(QStringLiteral("treeView"));
            const int expected = dialog == QLatin1String("Select a folder") ? 1 : 7;
            if (view == nullptr || view->model()->rowCount(view->rootIndex()) < expected)
                return;
            look.stop();
            // Once the folder is read, as the user sees it.
            QCoreApplication::processEvents();
            files->setViewMode(QFileDialog::Detail);
            cut = CutCells(*view);
            if (!Available().contains(files->frameGeometry()))
                outside = Where(*files);
            Picture(*files, dialog);
            looked = true;
            files->reject();
        });
        look.start(20);
        if (dialog == QLatin1String("Open File(s)")) {
            OpenFiles();
        } else if (dialog == QLatin1String("Save As")) {
            QString path;
            GetSaveAsFileName(path, window);
        } else if (dialog == QLatin1String("File Insert Open")) {
            InsertFileDialog();
        } else {
            const QString current = QDir::currentPath();
            QDir::setCurrent(folder);
            KroBrowser browser(fixture.main.get());
            browser.cmdBrowse->click();
            QDir::setCurrent(current);
        }
        QVERIFY(looked);
        QVERIFY2(cut.isEmpty(), qPrintable(QStringLiteral("cut: ") + cut.join(QStringLiteral(" | "))));
        QVERIFY2(outside.isEmpty(), qPrintable(outside));
    }

    // The main window as the program opens it on this screen (maximised:
    // the whole available area), with no document and with one: every menu,
    // toolbar button and status text shows.
    void mainWindowShowsEverything()
    {
        DocumentFixture fixture;
        // With the toolbar images an installed program has.
        QVERIFY(QDir().mkpath(fixture.Path(QStringLiteral("Images"))));
        QVERIFY(QFile::copy(qEnvironmentVariable("TALVEX_SOURCE_DIR") + QStringLiteral("/resources/Images/smallAll.bmp"),
                            fixture.Path(QStringLiteral("Images/smallAll.bmp"))));
        fixture.main.reset();
        fixture.main = Main({});
        MDIMain& main = *fixture.main;
        main.setGeometry(Available());
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        for (bool withDocument : {false, true}) {
            if (withDocument)
                QVERIFY(document_test::OpenFile(fixture, QStringLiteral("doc.nc"), "N10 G00 X1\r\nM30\r\n"));
            QTRY_VERIFY(Available().contains(main.frameGeometry()));
            QCoreApplication::processEvents();
            Picture(main, withDocument ? QStringLiteral("main window with a document")
                                       : QStringLiteral("main window"));
            auto* more = main.menuBar()->findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button"));
            QVERIFY2(more == nullptr || !more->isVisible(), "the menu bar hides menus");
            for (const QToolBar* toolbar : main.findChildren<QToolBar*>()) {
                auto* extension = toolbar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
                QVERIFY2(extension == nullptr || !extension->isVisible(), qPrintable(toolbar->objectName()));
            }
            QVERIFY2(CutTexts(*main.statusBar()).isEmpty(), qPrintable(CutTexts(*main.statusBar()).join(", ")));
        }
    }

    void ownDialogsFitAndShowTheirTexts_data()
    {
        QTest::addColumn<QString>("dialog");
        for (const char* dialog : {"Tip of the Day", "Help", "Working..."})
            QTest::newRow(dialog) << QString::fromLatin1(dialog);
    }
    void ownDialogsFitAndShowTheirTexts()
    {
        QFETCH(QString, dialog);
        DocumentFixture fixture;
        QVERIFY(WriteFileBytes(fixture.Path(QStringLiteral("TIPOFDAY.TXT")),
                               "A long tip that tells the user how the NC commands renumber the blocks of a "
                               "program and keep the block skips and comments where they were.\r\n"));
        QVERIFY(WriteFileBytes(fixture.Path(QStringLiteral("Editor.html")), "<h1>Help</h1><p>Text</p>"));
        fixture.main->setGeometry(Available());
        QVERIFY(QTest::qWaitForWindowExposed(fixture.main.get()));
        std::unique_ptr<QWidget> window;
        if (dialog == QLatin1String("Tip of the Day")) {
            window = std::make_unique<frmTip>(fixture.main.get());
        } else if (dialog == QLatin1String("Help")) {
            ShowHelpTopics();
            QVERIFY(platform::HelpWindow::Instance() != nullptr);
            window.reset(platform::HelpWindow::Instance());
        } else {
            frmMsg::Show();
            QVERIFY(frmMsg::Loaded() != nullptr);
            window.reset(frmMsg::Loaded());
        }
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTRY_VERIFY2(Available().contains(window->frameGeometry()), qPrintable(Where(*window)));
        QVERIFY2(CutTexts(*window).isEmpty(), qPrintable(CutTexts(*window).join(", ")));
        Picture(*window, dialog);
    }
};

REGISTER_TEST(TestFitsTheScreenX11);
#include "tst_FitsTheScreenX11.moc"
