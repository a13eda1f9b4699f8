#pragma once
// The last four files opened, newest first, kept in the per-user settings
// tree (application "KroEditorV50", section "RecentFiles", keys
// "RecentFile1" to "RecentFile4") and shown in the recent-file menus of the
// main window and of every open document window.

#include <QString>
#include <span>

class DocumentForm;
class QAction;

inline const QString RecentFilesApplication = QStringLiteral("KroEditorV50");
inline const QString RecentFilesSection = QStringLiteral("RecentFiles");
inline const QString RecentFileNotUsed = QStringLiteral("Not Used");
inline constexpr int RecentFileCount = 4;

// Entry i (1 to 4) of the stored list, "Not Used" when there is none.
QString RecentFile(int i);
// Shows the stored entries in every recent-file menu; entries never stored
// stay hidden.
void RefreshRecentFileMenus();
// Shows the stored entries in the recent-file menu of one window, as a new
// window loads.
void ShowRecentFiles(DocumentForm& window);
// Puts path first and moves the others down; the fourth drops out.
void AddRecentFile(const QString& path);
// Adds path unless it is listed already (its place then stays), then
// refreshes the menus.
void UpdateRecentFiles(const QString& path);
// Shows path in entry index of a recent-file menu whose entry 0 is its
// separator; the real path stays in the entry's data, "&" is shown as such.
void ShowRecentFileEntry(std::span<QAction* const> entries, int index, const QString& path);
// True when the main window's entries 1 to 4 hold exactly path.
bool IsRecentFile(const QString& path);
