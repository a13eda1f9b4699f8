#include "nc/BoltCircle.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <numbers>

namespace {

constexpr double Radians = std::numbers::pi / 180.0;

// Beyond this a value has no decimals left to round (and the scaled value would not fit 64 bits).
constexpr double RoundingLimit = 1e13;

// Half away from zero to the given number of decimals, as a single.
float RoundDecimals(double value, int decimals)
{
    if (!(std::fabs(value) < RoundingLimit))
        return static_cast<float>(value);
    const double scale = std::pow(10.0, decimals);
    const double rounded = static_cast<double>(std::llround(value * scale)) / scale;
    return rounded == 0 ? 0.0f : static_cast<float>(rounded);
}

// A coordinate: half up to five decimals, then half away from zero to four.
float RoundCoordinate(double value)
{
    if (!(std::fabs(value) < RoundingLimit))
        return static_cast<float>(value);
    const auto fifths = static_cast<std::int64_t>(std::floor(value * 100000.0 + 0.5));
    const std::int64_t fourths = fifths >= 0 ? (fifths + 5) / 10 : -((-fifths + 5) / 10);
    return fourths == 0 ? 0.0f : static_cast<float>(static_cast<double>(fourths) / 10000.0);
}

// A value of at most a few thousand with a fixed number of decimals, half away from zero
// ("90.000", "51.429").
std::string FixedText(double value, int decimals)
{
    std::int64_t scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    std::int64_t scaled = std::llround(value * static_cast<double>(scale));
    std::string text;
    if (scaled < 0) {
        text += '-';
        scaled = -scaled;
    }
    text += std::to_string(scaled / scale);
    std::string fraction = std::to_string(scaled % scale);
    text += '.';
    text.append(static_cast<std::size_t>(decimals) - fraction.size(), '0');
    text += fraction;
    return text;
}

double StepAngle(const BoltInput& input)
{
    return 360.0 / input.holes;
}

// Appends the pieces and a line break.
void AddLine(std::string& text, std::initializer_list<std::string_view> pieces)
{
    for (std::string_view piece : pieces)
        text += piece;
    text += "\r\n";
}

void AddComments(std::string& text, const BoltCircle& circle, bool withStep)
{
    const BoltInput& in = circle.input;
    AddLine(text, {"(Bolt circle diameter = ", SingleText(in.diameter), ")"});
    AddLine(text, {"(Number of holes = ", std::to_string(in.holes), ")"});
    AddLine(text, {"(Angle of the first hole = ", SingleText(in.firstAngle), " degrees", ")"});
    if (withStep)
        AddLine(text, {"(Angle between holes = ", FixedText(StepAngle(in), 3), " degrees", ")"});
    AddLine(text, {"(Cord length = ", SingleText(circle.chord), ")"});
    AddLine(text, {"(Distance between holes = ", SingleText(circle.distance), ")"});
    AddLine(text, {"(Hole diameter = ", SingleText(in.holeDiameter), ")"});
}

void AddHoleLine(std::string& text, const BoltHole& hole, bool comma)
{
    AddLine(text, {"X", SingleText(hole.x), comma ? "," : "", "Y", SingleText(hole.y)});
}

}  // namespace

std::optional<double> LeadingNumber(std::string_view text)
{
    std::size_t p = 0;
    while (p < text.size() && (text[p] == ' ' || text[p] == '\t'))
        ++p;
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
        negative = text[p] == '-';
        ++p;
    }
    const std::size_t start = p;
    std::size_t digits = 0;
    while (p < text.size() && text[p] >= '0' && text[p] <= '9') {
        ++p;
        ++digits;
    }
    if (p < text.size() && text[p] == '.') {
        ++p;
        while (p < text.size() && text[p] >= '0' && text[p] <= '9') {
            ++p;
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    double value = 0;
    const auto error = std::from_chars(text.data() + start, text.data() + p, value, std::chars_format::fixed).ec;
    if (error == std::errc::result_out_of_range) {
        // Too large when a digit before the point is not 0; else too small, which reads as 0.
        const std::string_view whole = text.substr(start, p - start);
        const std::size_t point = whole.find('.');
        value = whole.substr(0, point).find_first_not_of('0') != std::string_view::npos
                    ? std::numeric_limits<double>::infinity()
                    : 0;
    }
    return negative ? -value : value;
}

std::optional<int> ReadHoleCount(std::string_view text)
{
    const std::optional<double> value = LeadingNumber(text);
    if (!value)
        return std::nullopt;
    // The default rounding mode takes halves to the even neighbour.
    const double whole = std::nearbyint(*value);
    if (!(whole >= 1 && whole <= MaxBoltHoles))
        return std::nullopt;
    return static_cast<int>(whole);
}

std::optional<float> ReadBoltValue(std::string_view text)
{
    const double value = LeadingNumber(text).value_or(0);
    if (!(std::fabs(value) <= std::numeric_limits<float>::max()))
        return std::nullopt;
    const auto single = static_cast<float>(value);
    if (!std::isfinite(single))
        return std::nullopt;
    return single;
}

BoltCircle CalculateBoltCircle(const BoltInput& input)
{
    BoltCircle circle;
    circle.input = input;
    const double radius = static_cast<double>(input.diameter) / 2;
    const double step = StepAngle(input);
    circle.holes.reserve(static_cast<std::size_t>(input.holes));
    for (int i = 0; i < input.holes; ++i) {
        const double angle = (static_cast<double>(input.firstAngle) + step * i) * Radians;
        circle.holes.push_back(BoltHole{RoundCoordinate(radius * std::cos(angle)),
                                        RoundCoordinate(radius * std::sin(angle))});
    }
    const auto chord = static_cast<float>(2 * radius * std::sin(step / 2 * Radians));
    circle.chord = RoundDecimals(chord, 4);
    circle.distance = RoundDecimals(static_cast<double>(chord) - static_cast<double>(input.holeDiameter), 4);
    return circle;
}

std::vector<BoltHole> DrawnBoltHoles(const BoltInput& input)
{
    std::vector<BoltHole> holes;
    if (input.holes < 1)
        return holes;
    const double radius = static_cast<double>(input.diameter) / 2;
    const double step = StepAngle(input);
    holes.reserve(static_cast<std::size_t>(input.holes));
    for (int i = 0; i < input.holes; ++i) {
        const double angle = (step * i - static_cast<double>(input.firstAngle)) * Radians;
        holes.push_back(BoltHole{static_cast<float>(radius * std::cos(angle)),
                                 static_cast<float>(radius * std::sin(angle))});
    }
    return holes;
}

std::string SingleText(float value)
{
    // Zero of either sign is "0"; the readers let no infinity through.
    if (value == 0 || !std::isfinite(value))
        return "0";
    // Seven significant digits: "d.dddddde+XX".
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                      std::chars_format::scientific, 6);
    const std::string_view scientific(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const bool negative = scientific.front() == '-';
    const std::size_t e = scientific.find('e');
    std::string digits;
    for (std::size_t i = negative ? 1 : 0; i < e; ++i)
        if (scientific[i] != '.')
            digits += scientific[i];
    int exponent = 0;
    const std::string_view exponentText = scientific.substr(e + 1);
    std::from_chars(exponentText.data() + (exponentText.front() == '+' ? 1 : 0),
                    exponentText.data() + exponentText.size(), exponent);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string text = negative ? "-" : "";
    if (exponent < 0) {
        text += "0.";
        text.append(static_cast<std::size_t>(-exponent - 1), '0');
        text += digits;
        return text;
    }
    const auto whole = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= whole) {
        text += digits;
        text.append(whole - digits.size(), '0');
    } else {
        text += digits.substr(0, whole);
        text += '.';
        text += digits.substr(whole);
    }
    return text;
}

std::string HoleListText(const BoltCircle& circle, bool commaSeparator)
{
    std::string text;
    text.reserve(circle.holes.size() * 24 + 400);
    AddLine(text, {"G00G90"});
    AddLine(text, {"X0Y0"});
    for (const BoltHole& hole : circle.holes)
        AddHoleLine(text, hole, commaSeparator);
    AddComments(text, circle, true);
    return text;
}

std::string BoltFileText(const BoltCircle& circle)
{
    std::string text;
    text.reserve(circle.holes.size() * 24 + 400);
    AddComments(text, circle, false);
    for (const BoltHole& hole : circle.holes)
        AddHoleLine(text, hole, true);
    return text;
}

std::string BoltSaveName(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const std::size_t dot = path.rfind('.');
    std::string name(path);
    // A dot that starts the name does not begin an extension.
    if (dot != std::string_view::npos && dot > nameStart)
        name.resize(dot);
    return name + ".blt";
}
