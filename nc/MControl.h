#pragma once

// The NC text procedures: each takes the whole text of a program and returns the new text,
// in one pass. Lines end with CR LF or LF and each line keeps its own break. The procedures
// show nothing and change no program-wide state; the command around them writes the result
// back with one replacement (one undo step), or writes nothing when they report an error.

#include "nc/NcResult.h"
#include "nc/NumberingSettings.h"

#include <string>
#include <string_view>

// Removes every block number: a capital N outside comments that begins a block number (not
// preceded by a letter, and followed, after any blanks, by a digit) goes with the digits and
// blanks that follow it. "NEXT", "SIN[30]" and "END1" stay whole. A comment runs from "(" to the
// next ")", across lines; an unclosed "(" makes the rest of the text a comment.
std::string RemoveBlockNumbers(std::string_view text);

// Removes the old block numbers, then numbers every line that is not a skip line, starting at
// Startnumber, stepping by Increment and starting again after RestartNum. The result is the
// final text: no "%" line is added to it.
NcResult InsertBlockNumbers(std::string_view text, const NumberingSettings& settings);

// Removes every empty line at once; the text keeps its final line break.
std::string RemoveBlankLines(std::string_view text);

// Removes the blanks of every line that is not a skip line, up to its first "(".
std::string RemoveSpaces(std::string_view text, const NumberingSettings& settings);

// Writes every block with one blank between its words. A character that is neither an address,
// a value nor a comment is a program error at its line; then nothing is to be written.
NcResult InsertSpaces(std::string_view text, const NumberingSettings& settings);

enum class AxisConversion { ToIncremental, ToAbsolute };

// Converts the values of the given axis letters (capital X, Y, Z) between absolute positions and
// incremental moves, all axes in one pass. The first value of an axis is kept as written; later
// ones are written with four decimals. Comments ("(" to ")" or the line end, ";" to the line end)
// and skip lines stay as they are. A comma followed by a letter, a blank or the line end ends a
// value ("X50,Y0"). Blanks between a letter and a number are read past and kept ("X 10"); a
// letter followed by blanks and no number has no value ("X Y"). A value that is not a decimal
// number ("X1,5", "X-") is an error at its line, and then nothing is to be written.
NcResult ConvertAxes(std::string_view text, const NumberingSettings& settings, AxisConversion direction,
                     std::string_view axes = "XYZ");

inline NcResult XToIncremental(std::string_view text, const NumberingSettings& settings)
{
    return ConvertAxes(text, settings, AxisConversion::ToIncremental, "X");
}
inline NcResult YToIncremental(std::string_view text, const NumberingSettings& settings)
{
    return ConvertAxes(text, settings, AxisConversion::ToIncremental, "Y");
}
inline NcResult ZToIncremental(std::string_view text, const NumberingSettings& settings)
{
    return ConvertAxes(text, settings, AxisConversion::ToIncremental, "Z");
}
inline NcResult XToAbsolute(std::string_view text, const NumberingSettings& settings)
{
    return ConvertAxes(text, settings, AxisConversion::ToAbsolute, "X");
}
inline NcResult YToAbsolute(std::string_view text, const NumberingSettings& settings)
{
    return ConvertAxes(text, settings, AxisConversion::ToAbsolute, "Y");
}
inline NcResult ZToAbsolute(std::string_view text, const NumberingSettings& settings)
{
    return ConvertAxes(text, settings, AxisConversion::ToAbsolute, "Z");
}

// Marking lines: every line of `lines` (whole lines, as taken from the document) becomes
// prefix + line + suffix and keeps its own break; a last line without a break gets none. An
// empty line is marked too ("/", "()"); nothing follows a final line break.
std::string MarkLines(std::string_view lines, std::string_view prefix, std::string_view suffix);

// Remove Comments: every "(" and ")" goes; the words they enclosed stay where they were.
std::string RemoveCommentBrackets(std::string_view text);

// The letter each axis becomes in the axis switch.
struct AxisMap {
    char X = 'X';
    char Y = 'Y';
    char Z = 'Z';

    // Every axis goes to its own letter among X, Y and Z.
    bool IsPermutation() const;
    bool IsIdentity() const { return X == 'X' && Y == 'Y' && Z == 'Z'; }
};

// Switch XYZ: every capital X, Y and Z outside comments becomes the letter the map gives it, in
// one pass; comments ("(" to ")" or the line end, ";" to the line end) and every other character,
// "?" and the lower-case letters among them, stay as they are.
std::string SwitchAxes(std::string_view text, const AxisMap& map);
