#pragma once
// The "Page" page: virtual pages per sheet and the page breaks between files.

#include "print/SpinEdit.h"
#include "print/TabPage.h"

#include <QRadioButton>
#include <functional>

namespace prentil {

class LayoutPage : public TabPage {
    Q_OBJECT
public:
    explicit LayoutPage(CTxtPrintDoc& doc, QWidget* parent = nullptr);
    void RefreshFromDocument() override;

    SpinEdit* txtRows = nullptr;     // 1065 / 1021
    SpinEdit* txtColumns = nullptr;  // 1026 / 1027
    QRadioButton* optBreak[3] = {};  // 1049, 1066, 1067: page break options 0, 1, 2

private:
    SpinEdit* CountEdit(const QString& name, std::function<void(int)> set);
};

}  // namespace prentil
