#pragma once
// The "Font" page: the printer font, line wrapping and the derived size of
// the printable area of a virtual page.

#include "print/TabPage.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace prentil {

class FontPage : public TabPage {
    Q_OBJECT
public:
    explicit FontPage(CTxtPrintDoc& doc, QWidget* parent = nullptr);
    void RefreshFromDocument() override;

    QLabel* lblFace = nullptr;          // 1070
    QLabel* lblSize = nullptr;          // 1071
    QLabel* lblStyle = nullptr;         // 1072
    QCheckBox* chkFixedPitch = nullptr; // 1031
    QPushButton* cmdSetFont = nullptr;  // 1069
    QRadioButton* optWrap[3] = {};      // 1056 truncate, 1050 characters, 1051 words
    QCheckBox* chkArrow = nullptr;      // 1032
    QLabel* lblCharsPerLine = nullptr;  // 1073
    QLabel* lblLinesPerPage = nullptr;  // 1074

    // "Bold Italic", "Bold", "Italic" or "Normal".
    static QString StyleText(int weight, bool italic);

private:
    void cmdSetFont_Click();
};

}  // namespace prentil
