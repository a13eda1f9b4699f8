#include "plugins/sfm/frmSfm.h"

#include "platform/forms/MsgBox.h"

namespace {

CalcForm::Design SfmDesign()
{
    CalcForm::Design design;
    design.name = QStringLiteral("frmSfm");
    design.caption = QStringLiteral("To Calculate SFM");
    design.first = {QStringLiteral("txtDia"), QStringLiteral("Diameter"), InputFormat::Fixed};
    design.second = {QStringLiteral("txtRpm"), QStringLiteral("RPM"), InputFormat::None, true};
    design.firstOperator = QStringLiteral("\u00d7");
    design.constantName = QStringLiteral("txtConstant");
    design.constantLabel = QStringLiteral("Constant");
    design.constant = SfmConstant;
    design.constantOperator = QStringLiteral("\u00d7");
    design.resultName = QStringLiteral("txtSfm");
    design.resultLabel = QStringLiteral("SFM");
    design.enterInSecondCalculates = true;
    design.resultChangeEnablesCalculate = true;
    design.errorStyle = platform::vbCritical;
    design.errorTitle = QStringLiteral("SFM");
    return design;
}

}  // namespace

frmSfm::frmSfm(QWidget* parent) : CalcForm(SfmDesign(), parent)
{
    txtDia = FirstInput();
    txtRpm = SecondInput();
    txtConstant = ConstantBox();
    txtSfm = ResultBox();
}

std::optional<QString> frmSfm::Calculate(double diameter, double rpm) const
{
    const std::optional<std::int32_t> wholeRpm = CLng(rpm);
    if (!wholeRpm)
        return std::nullopt;
    const std::optional<std::int32_t> sfm = SurfaceFeetPerMinute(diameter, *wholeRpm);
    if (!sfm)
        return std::nullopt;
    return QString::number(*sfm);
}
