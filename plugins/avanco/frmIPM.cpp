#include "plugins/avanco/frmIPM.h"

#include "platform/forms/MsgBox.h"

namespace {

CalcForm::Design IpmDesign()
{
    CalcForm::Design design;
    design.name = QStringLiteral("frmIPM");
    design.caption = QStringLiteral("To Calculate IPM");
    design.first = {QStringLiteral("txtIPR"), QStringLiteral("IPR"), InputFormat::UpToFour};
    design.second = {QStringLiteral("txtRPM2"), QStringLiteral("RPM"), InputFormat::None, true};
    design.firstOperator = QStringLiteral("\u00d7");
    design.resultName = QStringLiteral("txtIPMResults");
    design.resultLabel = QStringLiteral("IPM");
    design.enterInSecondCalculates = true;
    design.errorStyle = platform::vbInformation;
    design.errorTitle = QStringLiteral("IPM");
    return design;
}

}  // namespace

frmIPM::frmIPM(QWidget* parent) : CalcForm(IpmDesign(), parent)
{
    txtIPR = FirstInput();
    txtRPM2 = SecondInput();
    txtIPMResults = ResultBox();
}

std::optional<QString> frmIPM::Calculate(double ipr, double rpm) const
{
    const std::optional<std::int32_t> wholeRpm = CLng(rpm);
    if (!wholeRpm)
        return std::nullopt;
    const std::optional<float> ipm = FeedRate(ipr, *wholeRpm);
    if (!ipm)
        return std::nullopt;
    return FormatSingle(*ipm);
}
