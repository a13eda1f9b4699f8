#include "companions/krometric/MetricConversion.h"

#include <QRegularExpression>
#include <cmath>

namespace metric {

QStringList ConversionNames()
{
    return {QStringLiteral("Feet into Meters"),
            QStringLiteral("Meters to Feet"),
            QStringLiteral("Inches to Centimeters"),
            QStringLiteral("Centimeters to Inches"),
            QStringLiteral("Cubic Centimeters to Cubic Inches"),
            QStringLiteral("Cubic Inches to Cubic Centimeters"),
            QStringLiteral("Square Feet to Square Meters"),
            QStringLiteral("Square Meters to Square Feet"),
            QStringLiteral("Kilograms to Pounds"),
            QStringLiteral("Pounds to Kilograms"),
            QStringLiteral("Millimeters to Inches"),
            QStringLiteral("Inches to Millimeters")};
}

std::optional<double> Convert(double value, int code)
{
    constexpr double Foot = 0.3048;             // m
    constexpr double Inch = 2.54;               // cm
    constexpr double CubicInch = 16.387064;     // cm3, 2.54 cubed
    constexpr double SquareFoot = 0.09290304;   // m2, 0.3048 squared
    constexpr double Pound = 0.45359237;        // kg
    constexpr double InchMm = 25.4;             // mm
    switch (code) {
    case 0: return value * Foot;
    case 1: return value / Foot;
    case 2: return value * Inch;
    case 3: return value / Inch;
    case 4: return value / CubicInch;
    case 5: return value * CubicInch;
    case 6: return value * SquareFoot;
    case 7: return value / SquareFoot;
    case 8: return value / Pound;
    case 9: return value * Pound;
    case 10: return value / InchMm;
    case 11: return value * InchMm;
    default: return std::nullopt;
    }
}

std::optional<double> ParseInput(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?(?:[0-9]+(?:[.,][0-9]*)?|[.,][0-9]+)(?:[eE][+-]?[0-9]+)?$"));
    const QString trimmed = text.trimmed();
    if (!number.match(trimmed).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = QString(trimmed).replace(u',', u'.').toDouble(&ok);  // C locale, always
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString FormatAnswer(double value)
{
    QString text = QString::number(value, 'f', 6);
    while (text.endsWith(u'0'))
        text.chop(1);
    const bool negative = text.startsWith(u'-');
    if (negative)
        text.remove(0, 1);
    if (text.startsWith(QStringLiteral("0.")))
        text.remove(0, 1);
    if (text == QStringLiteral("."))
        return QStringLiteral("0.");  // zero, or less than the sixth decimal shows
    return negative ? QStringLiteral("-") + text : text;
}

}  // namespace metric
