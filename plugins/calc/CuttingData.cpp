#include "plugins/calc/CuttingData.h"

#include "plugins/calc/DecimalText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

bool IsBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }
bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Characters of `text` from `i` on, blanks left out; reading goes through this.
class Reader {
public:
    explicit Reader(QStringView text) : m_text(text) { SkipBlanks(); }
    bool AtEnd() const { return m_i >= m_text.size(); }
    QChar Peek() const { return AtEnd() ? QChar() : m_text[m_i]; }
    void Next() { ++m_i; SkipBlanks(); }
    qsizetype Position() const { return m_i; }
    void Rewind(qsizetype position) { m_i = position; }

private:
    void SkipBlanks() { while (m_i < m_text.size() && IsBlank(m_text[m_i])) ++m_i; }
    QStringView m_text;
    qsizetype m_i = 0;
};

// Whether a comma at the reader groups thousands: exactly three digits
// follow it, and no fourth.
bool AtThousandsComma(Reader r)
{
    if (r.Peek() != u',')
        return false;
    r.Next();
    for (int i = 0; i < 3; ++i, r.Next())
        if (!IsDigit(r.Peek()))
            return false;
    return !IsDigit(r.Peek());
}

double Read(QStringView text, bool wholeNumber)
{
    // Gather the number in C-locale form, then let from_chars read it.
    std::string number;
    Reader r(text);
    if (r.Peek() == u'+' || r.Peek() == u'-') {
        if (r.Peek() == u'-')
            number += '-';
        r.Next();
    }
    if (r.AtEnd() && number.empty())
        return 0.0;   // an empty box is 0
    constexpr double refused = std::numeric_limits<double>::quiet_NaN();
    bool digits = false;
    while (IsDigit(r.Peek())) {
        number += char(r.Peek().unicode());
        digits = true;
        r.Next();
    }
    // A speed is written "1,200": there a comma before three digits groups
    // thousands, and a decimal point can only be "." after it.
    bool grouped = false;
    while (wholeNumber && digits && AtThousandsComma(r)) {
        r.Next();
        for (int i = 0; i < 3; ++i, r.Next())
            number += char(r.Peek().unicode());
        grouped = true;
    }
    // A single "." or "," is the decimal separator, whatever follows it:
    // "1,375" is one and three eighths, as an inch size is written.
    if (r.Peek() == u'.' || (r.Peek() == u',' && !grouped)) {
        number += '.';
        r.Next();
        while (IsDigit(r.Peek())) {
            number += char(r.Peek().unicode());
            digits = true;
            r.Next();
        }
    }
    if (!digits)
        return refused;
    if (r.Peek() == u'e' || r.Peek() == u'E') {
        // An exponent counts only when a digit follows it.
        const qsizetype mark = r.Position();
        std::string exponent = "e";
        r.Next();
        if (r.Peek() == u'+' || r.Peek() == u'-') {
            exponent += char(r.Peek().unicode());
            r.Next();
        }
        bool expDigits = false;
        while (IsDigit(r.Peek())) {
            exponent += char(r.Peek().unicode());
            expDigits = true;
            r.Next();
        }
        if (expDigits)
            number += exponent;
        else
            r.Rewind(mark);
    }
    // Anything left ("12abc", a second separator as in "1,000.50") makes the
    // number unreadable: a silently shortened value would be a wrong result.
    if (!r.AtEnd())
        return refused;
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range)
        return number.find("e-") != std::string::npos ? 0.0 : (number[0] == '-' ? -HUGE_VAL : HUGE_VAL);
    return value;
}

} // namespace

double ReadNumber(QStringView text)
{
    return Read(text, false);
}

double ReadWholeNumber(QStringView text)
{
    return Read(text, true);
}

std::optional<std::int32_t> CLng(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    // nearbyint rounds halves to even under the default rounding mode.
    const double rounded = std::nearbyint(value);
    if (rounded < double(std::numeric_limits<std::int32_t>::min())
        || rounded > double(std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return std::int32_t(rounded);
}

QString FormatInput(double value, InputFormat format)
{
    switch (format) {
    case InputFormat::None:
        return ShortestDecimalText(value);
    case InputFormat::Fixed:
        return FormatDecimals(value, 2);
    case InputFormat::UpToFour: {
        QString text = FormatDecimals(value, 4);
        if (text.contains(u'.')) {
            while (text.endsWith(u'0'))
                text.chop(1);
            if (text.endsWith(u'.'))
                text.chop(1);
        }
        return text;
    }
    }
    return QString();
}

std::optional<std::int32_t> SurfaceFeetPerMinute(double diameter, std::int32_t rpm)
{
    return CLng(SfmConstant * diameter * double(rpm));
}

std::optional<std::int32_t> RevolutionsPerMinute(std::int32_t sfm, double diameter)
{
    const std::optional<std::int32_t> scaled = CLng(RpmConstant * double(sfm));
    if (!scaled || diameter == 0.0 || !std::isfinite(diameter))
        return std::nullopt;   // division by zero
    return CLng(double(*scaled) / diameter);
}

std::optional<float> FeedRate(double inchesPerRevolution, std::int32_t rpm)
{
    const double product = inchesPerRevolution * double(rpm);
    if (!std::isfinite(product) || std::fabs(product) > double(std::numeric_limits<float>::max()))
        return std::nullopt;
    return float(product);
}

QString FormatSingle(float value)
{
    if (value == 0.0f)
        value = 0.0f;
    std::array<char, 64> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    if (error != std::errc())
        return QString::number(double(value));
    return QString::fromLatin1(buffer.data(), end - buffer.data()).toUpper();
}
