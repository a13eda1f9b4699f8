#pragma once

// The bolt-circle calculation: the X and Y positions of holes spaced equally on a circle, and
// the texts made of them: the hole list (an NC fragment the machinist pastes into a program)
// and the bolt file. Numbers are written with "." whatever the locale, never with an exponent
// and never as "-0".

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The most holes the calculation takes: the count is a 16-bit number.
inline constexpr int MaxBoltHoles = 32767;

// What the user typed, as the calculation reads it (single precision, as the texts show it).
struct BoltInput {
    float diameter = 0;      // of the bolt circle
    int holes = 0;           // 1 to MaxBoltHoles
    float firstAngle = 0;    // degrees, counter-clockwise from the X axis
    float holeDiameter = 0;
};

struct BoltHole {
    float x = 0;
    float y = 0;
};

// One calculation: the holes counter-clockwise from the first, each coordinate rounded to four
// decimals; the chord between neighbouring holes and what is left of it between their edges,
// rounded the same way.
struct BoltCircle {
    BoltInput input;
    std::vector<BoltHole> holes;
    float chord = 0;
    float distance = 0;
};

// The leading number of a box: blanks skipped, an optional sign, digits with "." as the decimal
// point; what follows is ignored ("12.5mm" is 12.5, "1e3" is 1). Nothing when the text does
// not begin with a number.
std::optional<double> LeadingNumber(std::string_view text);

// The hole count of a box: its leading number rounded to the nearest whole number, halves to the
// even one ("2.5" is 2, "3.5" is 4). Nothing when there is no number or it is not 1 to
// MaxBoltHoles.
std::optional<int> ReadHoleCount(std::string_view text);

// A length or angle of a box: its leading number (0 without one) as a single; nothing when it
// does not fit one.
std::optional<float> ReadBoltValue(std::string_view text);

// Calculates the holes; input.holes must be 1 to MaxBoltHoles.
BoltCircle CalculateBoltCircle(const BoltInput& input);

// Where the drawing puts each hole, in units of length from the centre, on a screen whose y
// axis points down: the same holes as the calculation's, found clockwise from the first.
std::vector<BoltHole> DrawnBoltHoles(const BoltInput& input);

// A single as text: at most 7 significant digits, no padding and no trailing zeros
// (1234.5678 is "1234.568", 0.5 is "0.5", 500 is "500").
std::string SingleText(float value);

// The hole list: "G00G90", the centre "X0Y0", one line per hole ("X50Y0", or "X50,Y0" with the
// comma separator), then seven comment lines with the input and the spacing. Lines end in CR LF.
std::string HoleListText(const BoltCircle& circle, bool commaSeparator);

// The bolt file: six comment lines (no angle between holes), then one "X50,Y0" line per hole.
std::string BoltFileText(const BoltCircle& circle);

// The name a bolt file is saved under: the file name's extension (after its last ".") replaced
// by ".blt", or ".blt" added when it has none. Only the file name counts: a folder "dir.v2" is
// kept, and ".profile" has no extension.
std::string BoltSaveName(std::string_view path);
