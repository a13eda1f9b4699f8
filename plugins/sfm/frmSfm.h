#pragma once

#include "plugins/calc/CalcForm.h"

// Surface feet per minute from the diameter and the spindle speed.
class frmSfm : public CalcForm {
    Q_OBJECT

public:
    explicit frmSfm(QWidget* parent = nullptr);

    QLineEdit* txtDia = nullptr;       // diameter, inches
    QLineEdit* txtRpm = nullptr;       // spindle speed, whole revolutions per minute
    QLineEdit* txtConstant = nullptr;
    QLineEdit* txtSfm = nullptr;       // the result

protected:
    std::optional<QString> Calculate(double diameter, double rpm) const override;
};
