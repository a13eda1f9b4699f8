#include "print/FilesPage.h"

#include "print/FileOrder.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

namespace prentil {

FilesPage::FilesPage(CTxtPrintDoc& doc, QWidget* parent) : TabPage(doc, parent)
{
    setObjectName(QStringLiteral("FilesPage"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("The list below contains files to be printed. Add files by dragging "
                                            "them into the window, or use the menu command."),
                             this);
    label->setWordWrap(true);
    lstFiles = new QListWidget(this);
    lstFiles->setObjectName(QStringLiteral("lstFiles"));
    lstFiles->setViewMode(QListView::ListMode);
    lstFiles->setFlow(QListView::TopToBottom);
    lstFiles->setWrapping(true);
    lstFiles->setResizeMode(QListView::Adjust);
    lstFiles->setSelectionMode(QAbstractItemView::ExtendedSelection);
    layout->addWidget(label);
    layout->addWidget(lstFiles, 1);
}

void FilesPage::AddFileToList(const QString& path)
{
    AddFilesToList({path});
}

void FilesPage::AddFilesToList(const QStringList& paths)
{
    // A name without its folder (from the command line) is taken in the
    // current folder, and the header shows that folder.
    for (const QString& path : paths)
        jobs_.push_back(std::make_unique<PrintJob>(QDir::cleanPath(QFileInfo(path).absoluteFilePath())));
    Sort();
    Rebuild();
}

void FilesPage::Sort()
{
    QCollator collator;
    std::stable_sort(jobs_.begin(), jobs_.end(), [&](const auto& a, const auto& b) {
        return CompareFiles(*a, *b, doc_, collator) < 0;
    });
}

void FilesPage::Rebuild()
{
    lstFiles->clear();
    for (const auto& job : jobs_)
        lstFiles->addItem(job->FileName());
}

void FilesPage::RemoveSelected()
{
    std::set<int> rows;
    for (const QModelIndex& index : lstFiles->selectionModel()->selectedIndexes())
        rows.insert(index.row());
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        jobs_.erase(jobs_.begin() + *it);
    Rebuild();
}

std::vector<PrintJob*> FilesPage::AllJobs() const
{
    std::vector<PrintJob*> all;
    for (const auto& job : jobs_)
        all.push_back(job.get());
    return all;
}

std::vector<PrintJob*> FilesPage::SelectedJobs() const
{
    std::vector<PrintJob*> selected;
    for (int row = 0; row < lstFiles->count(); ++row)
        if (lstFiles->item(row)->isSelected())
            selected.push_back(jobs_[static_cast<std::size_t>(row)].get());
    return selected;
}

QStringList FilesPage::ShownNames() const
{
    QStringList names;
    for (int row = 0; row < lstFiles->count(); ++row)
        names << lstFiles->item(row)->text();
    return names;
}

void FilesPage::RefreshFromDocument()
{
    if (!doc_.ReSortNeeded())
        return;
    doc_.SetReSortNeeded(false);
    Sort();
    Rebuild();
}

}  // namespace prentil
