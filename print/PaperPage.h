#pragma once
// The "Paper" page: margins, orientation, which pages print and in which order.

#include "print/SpinEdit.h"
#include "print/TabPage.h"

#include <QCheckBox>
#include <QRadioButton>
#include <functional>

namespace prentil {

class PaperPage : public TabPage {
    Q_OBJECT
public:
    explicit PaperPage(CTxtPrintDoc& doc, QWidget* parent = nullptr);
    void RefreshFromDocument() override;

    SpinEdit* txtTop = nullptr;     // 1057 / 1020
    SpinEdit* txtBottom = nullptr;  // 1058 / 1060
    SpinEdit* txtLeft = nullptr;    // 1025 / 1022
    SpinEdit* txtRight = nullptr;   // 1059 / 1061
    QRadioButton* optPortrait = nullptr;
    QRadioButton* optLandscape = nullptr;
    QCheckBox* chkDefaultOrientation = nullptr;
    QCheckBox* chkOdd = nullptr;
    QCheckBox* chkEven = nullptr;
    QCheckBox* chkReverse = nullptr;
    QCheckBox* chkSwap = nullptr;

private:
    SpinEdit* MarginEdit(const QString& name, std::function<double()> get, std::function<void(double)> set);
};

}  // namespace prentil
