#pragma once
// The "Header/Footer" page: one check box per field bit of the header and
// of the footer.

#include "print/TabPage.h"

#include <QCheckBox>
#include <array>

namespace prentil {

class HeaderFooterPage : public TabPage {
    Q_OBJECT
public:
    explicit HeaderFooterPage(CTxtPrintDoc& doc, QWidget* parent = nullptr);
    void RefreshFromDocument() override;

    // Index i is bit 1 << i (0x01 file name ... 0x100 gray background).
    std::array<QCheckBox*, 9> chkHeader{};
    std::array<QCheckBox*, 9> chkFooter{};
};

}  // namespace prentil
