#pragma once

#include "plugins/calc/CalcForm.h"

// Spindle revolutions per minute from the surface speed and the diameter.
class frmRPM : public CalcForm {
    Q_OBJECT

public:
    explicit frmRPM(QWidget* parent = nullptr);

    QLineEdit* txtSFM = nullptr;          // surface feet per minute, whole
    QLineEdit* txtDia2 = nullptr;         // diameter, inches
    QLineEdit* txtRPMConstant = nullptr;
    QLineEdit* txtRPMResult = nullptr;

protected:
    std::optional<QString> Calculate(double sfm, double diameter) const override;
};
