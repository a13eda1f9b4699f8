#pragma once

#include "plugins/calc/CalcForm.h"

// Feed rate in inches per minute from the feed per revolution and the spindle speed.
class frmIPM : public CalcForm {
    Q_OBJECT

public:
    explicit frmIPM(QWidget* parent = nullptr);

    QLineEdit* txtIPR = nullptr;          // inches per revolution
    QLineEdit* txtRPM2 = nullptr;         // spindle speed, whole
    QLineEdit* txtIPMResults = nullptr;

protected:
    std::optional<QString> Calculate(double ipr, double rpm) const override;
};
