#include "shell/MRecentFiles.h"

#include <QAction>

#include "platform/registry/Registry.h"
#include "shell/DocumentTable.h"
#include "shell/MDIMain.h"

QString RecentFile(int i)
{
    return platform::GetSetting(RecentFilesApplication, RecentFilesSection,
                                QStringLiteral("RecentFile%1").arg(i), RecentFileNotUsed);
}

void RefreshRecentFileMenus()
{
    MDIMain* main = MDIMain::Instance();
    for (int i = 1; i <= RecentFileCount; ++i) {
        const QString path = RecentFile(i);
        if (path.startsWith(RecentFileNotUsed))
            continue;
        if (main != nullptr)
            main->ShowRecentFile(i, path);
        if (!AnyDocumentsOpen())
            continue;
        for (int slot = 1; slot <= DocumentSlotCount(); ++slot) {
            if (DocumentState[static_cast<size_t>(slot)].Free)
                continue;
            if (DocumentForm* window = DocumentWindow(slot))
                window->ShowRecentFile(i, path);
        }
    }
}

void ShowRecentFiles(DocumentForm& window)
{
    for (int i = 1; i <= RecentFileCount; ++i) {
        const QString path = RecentFile(i);
        if (!path.startsWith(RecentFileNotUsed))
            window.ShowRecentFile(i, path);
    }
}

void AddRecentFile(const QString& path)
{
    for (int i = RecentFileCount - 1; i >= 1; --i) {
        const QString entry = RecentFile(i);
        if (entry != RecentFileNotUsed)
            platform::SaveSetting(RecentFilesApplication, RecentFilesSection,
                                  QStringLiteral("RecentFile%1").arg(i + 1), entry);
    }
    platform::SaveSetting(RecentFilesApplication, QStringLiteral("Recentfiles"),
                          QStringLiteral("Recentfile1"), path);
}

void UpdateRecentFiles(const QString& path)
{
    if (!IsRecentFile(path))
        AddRecentFile(path);
    RefreshRecentFileMenus();
}

bool IsRecentFile(const QString& path)
{
    // The paths the menu entries stand for, not their captions: a caption
    // shows "&" doubled.
    MDIMain* main = MDIMain::Instance();
    if (main == nullptr)
        return false;
    for (int i = 1; i <= RecentFileCount; ++i)
        if (main->RecentFilePath(i) == path)
            return true;
    return false;
}

void ShowRecentFileEntry(std::span<QAction* const> entries, int index, const QString& path)
{
    if (index < 1 || index >= static_cast<int>(entries.size()))
        return;
    QAction* entry = entries[static_cast<size_t>(index)];
    QString caption = path;
    caption.replace(QLatin1Char('&'), QLatin1String("&&"));
    entry->setText(caption);
    entry->setData(path);
    entry->setVisible(true);
    entries[0]->setVisible(true);
}
