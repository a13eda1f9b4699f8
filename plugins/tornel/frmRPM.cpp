#include "plugins/tornel/frmRPM.h"

#include "platform/forms/MsgBox.h"

namespace {

CalcForm::Design RpmDesign()
{
    CalcForm::Design design;
    design.name = QStringLiteral("frmRPM");
    design.caption = QStringLiteral("Calculate RPM");
    design.first = {QStringLiteral("txtSFM"), QStringLiteral("SFM"), InputFormat::None, true};
    design.second = {QStringLiteral("txtDia2"), QStringLiteral("Diameter"), InputFormat::Fixed};
    design.firstOperator = QStringLiteral("\u00f7");
    design.constantName = QStringLiteral("txtRPMConstant");
    design.constantLabel = QStringLiteral("Constant");
    design.constant = RpmConstant;
    design.constantOperator = QStringLiteral("\u00d7");
    design.resultName = QStringLiteral("txtRPMResult");
    design.resultLabel = QStringLiteral("RPM");
    design.enterInSecondCalculates = false;
    design.errorStyle = platform::vbCritical;
    design.errorTitle = QStringLiteral("RPM");
    return design;
}

}  // namespace

frmRPM::frmRPM(QWidget* parent) : CalcForm(RpmDesign(), parent)
{
    txtSFM = FirstInput();
    txtDia2 = SecondInput();
    txtRPMConstant = ConstantBox();
    txtRPMResult = ResultBox();
}

std::optional<QString> frmRPM::Calculate(double sfm, double diameter) const
{
    const std::optional<std::int32_t> wholeSfm = CLng(sfm);
    if (!wholeSfm)
        return std::nullopt;
    const std::optional<std::int32_t> rpm = RevolutionsPerMinute(*wholeSfm, diameter);
    if (!rpm)
        return std::nullopt;
    return QString::number(*rpm);
}
