#include "ShellFixture.h"
#include "support/TestRegistry.h"
#include "platform/registry/Registry.h"
#include "shell/MDIMain.h"
#include "shell/MRecentFiles.h"

#include <QAction>
#include <QTest>

namespace {

QStringList Stored()
{
    QStringList list;
    for (int i = 1; i <= RecentFileCount; ++i)
        list.append(RecentFile(i));
    return list;
}

QStringList Shown(const MDIMain& main)
{
    QStringList shown;
    for (int i = 1; i <= 6; ++i)
        if (main.mnuRecentFile[static_cast<size_t>(i)]->isVisible())
            shown.append(main.mnuRecentFile[static_cast<size_t>(i)]->text());
    return shown;
}

}  // namespace

class TestRecentFiles : public QObject {
    Q_OBJECT
private slots:
    void keepsTheLastFourNewestFirst()
    {
        ShellFixture fixture;
        MDIMain main;
        main.MDIForm_Initialize();
        QVERIFY(!main.mnuRecentFile[0]->isVisible());
        for (const char* path : {"/nc/1.nc", "/nc/2.nc", "/nc/3.nc", "/nc/4.nc", "/nc/5.nc"})
            UpdateRecentFiles(QLatin1String(path));
        QCOMPARE(Stored(), (QStringList{"/nc/5.nc", "/nc/4.nc", "/nc/3.nc", "/nc/2.nc"}));
        QVERIFY(main.mnuRecentFile[0]->isVisible());
        QCOMPARE(Shown(main), Stored());
        // Kept in the per-user settings tree under the names given.
        QCOMPARE(platform::GetSetting(QStringLiteral("KroEditorV50"), QStringLiteral("RecentFiles"),
                                      QStringLiteral("RecentFile1")),
                 QStringLiteral("/nc/5.nc"));
    }

    void listedFileKeepsItsPlace()
    {
        ShellFixture fixture;
        MDIMain main;
        main.MDIForm_Initialize();
        for (const char* path : {"/nc/a.nc", "/nc/b.nc", "/nc/c.nc"})
            UpdateRecentFiles(QLatin1String(path));
        UpdateRecentFiles(QStringLiteral("/nc/a.nc"));
        QCOMPARE(Stored(), (QStringList{"/nc/c.nc", "/nc/b.nc", "/nc/a.nc", "Not Used"}));
        UpdateRecentFiles(QStringLiteral("/nc/A.nc"));   // another file on this system
        QCOMPARE(Stored(), (QStringList{"/nc/A.nc", "/nc/c.nc", "/nc/b.nc", "/nc/a.nc"}));
    }

    void firstEntryOnlyAfterOneOpen()
    {
        ShellFixture fixture;
        MDIMain main;
        main.MDIForm_Initialize();
        UpdateRecentFiles(QStringLiteral("/nc/only.nc"));
        QVERIFY(main.mnuRecentFile[0]->isVisible());
        QCOMPARE(Shown(main), QStringList{"/nc/only.nc"});
    }

    void ampersandInPathShowsLiterally()
    {
        ShellFixture fixture;
        MDIMain main;
        main.MDIForm_Initialize();
        const QString path = QStringLiteral("/nc/R&D/a.nc");
        UpdateRecentFiles(path);
        QCOMPARE(main.mnuRecentFile[1]->text(), QStringLiteral("/nc/R&&D/a.nc"));
        QCOMPARE(main.RecentFilePath(1), path);
        QVERIFY(IsRecentFile(path));
        UpdateRecentFiles(path);
        QCOMPARE(Stored(), (QStringList{path, "Not Used", "Not Used", "Not Used"}));
    }

    void storedListShowsAtInitialise()
    {
        ShellFixture fixture;
        AddRecentFile(QStringLiteral("/nc/old.nc"));
        AddRecentFile(QStringLiteral("/nc/new.nc"));
        CreateDocumentForm = MakeFakeDocument;
        MDIMain main;
        main.show();
        NewDocument();
        main.MDIForm_Initialize();
        QCOMPARE(Shown(main), (QStringList{"/nc/new.nc", "/nc/old.nc"}));
        auto* document = qobject_cast<FakeDocument*>(DocumentWindow(1));
        QVERIFY(document != nullptr);
        QCOMPARE(document->recent.size(), 2);
        QCOMPARE(document->recent[0], (QPair<int, QString>(1, QStringLiteral("/nc/new.nc"))));
        CreateDocumentForm = nullptr;
    }
};

REGISTER_TEST(TestRecentFiles);
#include "tst_MRecentFiles.moc"
