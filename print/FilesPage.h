#pragma once
// The "FILES" page: the list of files to print, in print order.

#include "print/PrintJob.h"
#include "print/TabPage.h"

#include <QListWidget>
#include <memory>
#include <vector>

namespace prentil {

class FilesPage : public TabPage {
    Q_OBJECT
public:
    explicit FilesPage(CTxtPrintDoc& doc, QWidget* parent = nullptr);

    // Lists path (not read here), made absolute, at its place in the order.
    void AddFileToList(const QString& path);
    void AddFilesToList(const QStringList& paths);
    void RemoveSelected();
    std::vector<PrintJob*> AllJobs() const;
    std::vector<PrintJob*> SelectedJobs() const;
    int Count() const { return static_cast<int>(jobs_.size()); }
    // The file names as listed.
    QStringList ShownNames() const;
    void RefreshFromDocument() override;

    QListWidget* lstFiles = nullptr;

private:
    void Sort();
    void Rebuild();

    std::vector<std::unique_ptr<PrintJob>> jobs_;
};

}  // namespace prentil
