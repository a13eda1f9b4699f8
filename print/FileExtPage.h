#pragma once
// The "File ext." page: the extension list with each extension's tab
// spacing; its order is the sort order of the file list, changed by
// dragging rows. "Default" stays the first entry.

#include "print/TabPage.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace prentil {

class FileExtPage : public TabPage {
    Q_OBJECT
public:
    explicit FileExtPage(CTxtPrintDoc& doc, QWidget* parent = nullptr);
    void RefreshFromDocument() override;

    // Moves row from to the drop position dropRow (the row it is dropped on;
    // the count of rows for below the last). Nothing happens for "Default",
    // for a drop onto the row itself or the row below it, or onto the top.
    bool MoveDropped(int from, int dropRow);

    QListWidget* lstExtensions = nullptr;  // 1078
    QLabel* lblName = nullptr;             // 1082
    QLineEdit* txtTabs = nullptr;          // 1024
    QPushButton* cmdAdd = nullptr;         // 1014
    QPushButton* cmdDelete = nullptr;      // 1015
    QCheckBox* chkOnlyDefault = nullptr;   // 1031

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fill(int select);
    void ShowSelected();
    void cmdAdd_Click();
    void cmdDelete_Click();
    void txtTabs_Change();
    void txtTabs_Finished();
};

}  // namespace prentil
