#include "NcRunProcedures.h"

#include "nc/MControl.h"
#include "nc/RenumberText.h"
#include "nc/ReplaceAll.h"
#include "nc/ShiftAddresses.h"
#include "nc/SyntaxCheck.h"

#include <iterator>

namespace {

std::string Checked(NcResult result, std::string& error)
{
    if (!result.ok())
        error = "refused the text at line " + std::to_string(result.error->line);
    return std::move(result.text);
}

const NumberingSettings& Defaults()
{
    static const NumberingSettings settings;
    return settings;
}

// The yardsticks. The generated program breaks lines with CR LF, so an awk line ends with the CR;
// the default skip characters are "%", "(" and "O".

constexpr const char* InsertBlockNumbersAwk = R"awk(BEGIN { n = 10 }
{ sub(/^N *[0-9][0-9 ]*/, "") }
/^[%(O\r]/ || $0 == "" { print; next }
{ printf "N%03d%s\n", n, $0; n += 10; if (n > 9999) n = 10 }
)awk";

constexpr const char* NumberHighLightAwk = R"awk(BEGIN { n = 10 }
{ c = $0; sub(/\r$/, "", c) }
length(c) < 2 || /^[%(O]/ { print; next }
{ sub(/^(N *[0-9]+|[0-9]+) ?/, ""); printf "N%03d%s\n", n, $0; n += 10 }
)awk";

constexpr const char* RemoveSpacesAwk = R"awk(/^[%(O]/ { print; next }
{
  i = index($0, "(")
  if (i) { h = substr($0, 1, i - 1); t = substr($0, i) } else { h = $0; t = "" }
  gsub(/ /, "", h)
  print h t
}
)awk";

constexpr const char* InsertSpacesAwk = R"awk(/^[%(O]/ { print; next }
{
  cr = sub(/\r$/, "")
  i = index($0, "(")
  if (i) { h = substr($0, 1, i - 1); t = substr($0, i) } else { h = $0; t = "" }
  gsub(/ /, "", h)
  if (h t != "" && (h t) !~ /^[%(O]/) {
    gsub(/[A-Za-z\/][-+,.0-9]*/, "& ", h)
    if (t == "") sub(/ $/, "", h)
  }
  print h t (cr ? "\r" : "")
}
)awk";

// Both conversions: the first value of an axis as written, the later ones with four decimals.
constexpr const char* ConvertAwkBody = R"awk(
function convert(s,   out, a, v) {
  out = ""
  while (match(s, /[XYZ][-+,.\/0-9]+/)) {
    a = substr(s, RSTART, 1); v = substr(s, RSTART + 1, RLENGTH - 1)
    out = out substr(s, 1, RSTART)
    if (a in last) { r = step(v, a); out = out r } else { out = out v; last[a] = v + 0 }
    s = substr(s, RSTART + RLENGTH)
  }
  return out s
}
/^[%(O]/ || /^\r?$/ { print; next }
{ i = index($0, "("); if (i) print convert(substr($0, 1, i - 1)) substr($0, i); else print convert($0) }
)awk";

const std::string IncrementalAwk =
    std::string(R"awk(function step(v, a,   r) { r = sprintf("%.4f", v - last[a]); last[a] = v + 0; return r })awk") +
    ConvertAwkBody;
const std::string AbsoluteAwk =
    std::string(R"awk(function step(v, a,   r) { r = sprintf("%.4f", v + last[a]); last[a] = r + 0; return r })awk") +
    ConvertAwkBody;

// Shift Address by X 1.5, Y -2.25, Z 0.5: exact sums (the program's values have three decimals),
// no trailing zeros, no zero before the point, and the point kept after a whole sum.
constexpr const char* ShiftAwk = R"awk(BEGIN { d["X"] = 1.5; d["Y"] = -2.25; d["Z"] = 0.5 }
function shift(s,   out, a, v, r) {
  out = ""
  while (match(s, /[XYZ][-+.0-9]+/)) {
    a = substr(s, RSTART, 1)
    v = substr(s, RSTART + 1, RLENGTH - 1)
    r = sprintf("%.4f", v + d[a])
    sub(/0+$/, "", r); if (!index(v, ".")) sub(/\.$/, "", r)
    if (r ~ /^-0\.?$/) r = substr(r, 2)
    if (r ~ /^-?0\.[0-9]/) sub(/0\./, ".", r)
    out = out substr(s, 1, RSTART) r
    s = substr(s, RSTART + RLENGTH)
  }
  return out s
}
{ i = index($0, "("); if (i) print shift(substr($0, 1, i - 1)) substr($0, i); else print shift($0) }
)awk";

// The syntax check: the first fault or the all-clear, as nc_run prints it.
constexpr const char* SyntaxAwk = R"awk(BEGIN {
  n = split("0 1 2 3 4 00 01 02 03 04 05 09 10 11 12 13 15 16 17 18 19 20 21 22 23 27 28 29 30 31 32 33 34 36 37 39 40 41 42 43 44 45 46 47 48 49 50 51 52 53 54 55 56 57 58 59 60 61 64 65 66 67 68 69 70 71 72 73 74 75 76 77 78 79 80 81 82 83 84 85 86 87 89 90 91 92 94 95 96 97 98 99", g, " ")
  for (i = 1; i <= n; i++) G[g[i]] = 1
  n = split("0 1 2 3 4 5 6 7 8 9 00 01 02 03 04 05 06 07 08 09 12 19 20 21 22 23 24 25 26 28 29 30 41 42 53 58 60 61 62 66 67 85 86 97 98 99 900 901", m, " ")
  for (i = 1; i <= n; i++) M[m[i]] = 1
}
{ line++ }
/%/ { next }
{
  c = $0; sub(/\r$/, "", c); i = index(c, ";"); if (i) c = substr(c, 1, i - 1)
  if ((index(c, "(") > 0) != (index(c, ")") > 0)) { print "Missed matched comment brackets. at line " line; found = 1; exit }
  gsub(/\([^)]*\)?/, "", c)
  bg = ""; bm = ""
  while (match(c, /[GgMm][0-9]*/)) {
    w = toupper(substr(c, RSTART, 1)); v = substr(c, RSTART + 1, RLENGTH - 1)
    if (w == "G" && bg == "" && !(v in G)) bg = "G" v
    if (w == "M" && bm == "" && !(v in M)) bm = "M" v
    c = substr(c, RSTART + RLENGTH)
  }
  if (bg != "") { print "Invalid GCode Number " bg " at line " line; found = 1; exit }
  if (bm != "") { print "Invalid MCode Number " bm " at line " line; found = 1; exit }
}
END { if (!found) print "No syntax errors found." }
)awk";

std::string SyntaxReport(std::string_view text)
{
    const std::optional<SyntaxFault> fault = FindSyntaxFault(text);
    if (!fault)
        return "No syntax errors found.\n";
    return SyntaxFaultMessage(*fault) + " at line " + std::to_string(fault->line + 1) + "\n";
}

const NcRunProcedure Procedures[] = {
    {"InsertBlockNumbers",
     [](std::string_view text, std::string& error) { return Checked(InsertBlockNumbers(text, Defaults()), error); },
     "awk", InsertBlockNumbersAwk, true},
    {"RemoveBlockNumbers", [](std::string_view text, std::string&) { return RemoveBlockNumbers(text); }, "sed",
     "s/^N *[0-9][0-9 ]*//", true},
    {"NumberHighLightText",
     [](std::string_view text, std::string& error) { return Checked(NumberHighLightText(text, Defaults()), error); },
     "awk", NumberHighLightAwk, true},
    {"RemoveBlankLines", [](std::string_view text, std::string&) { return RemoveBlankLines(text); }, "sed",
     "/^\\r?$/d", true},
    {"RemoveSpaces", [](std::string_view text, std::string&) { return RemoveSpaces(text, Defaults()); }, "awk",
     RemoveSpacesAwk, true},
    {"InsertSpaces",
     [](std::string_view text, std::string& error) { return Checked(InsertSpaces(text, Defaults()), error); },
     "awk", InsertSpacesAwk, true},
    {"ConvertAxes incremental",
     [](std::string_view text, std::string& error) {
         return Checked(ConvertAxes(text, Defaults(), AxisConversion::ToIncremental), error);
     },
     "awk", IncrementalAwk.c_str(), true},
    {"ConvertAxes absolute",
     [](std::string_view text, std::string& error) {
         return Checked(ConvertAxes(text, Defaults(), AxisConversion::ToAbsolute), error);
     },
     "awk", AbsoluteAwk.c_str(), true},
    {"RemoveLeadingZeros", [](std::string_view text, std::string&) { return RemoveLeadingZeros(text); }, "sed",
     "s/N00/N/g;s/N0/N/g", true},
    {"ReplaceAll G01 -> G1", [](std::string_view text, std::string&) { return ReplaceAll(text, "G01", "G1"); },
     "sed", "s/G01/G1/g", true},
    {"MarkLines block skips", [](std::string_view text, std::string&) { return MarkLines(text, "/", ""); }, "sed",
     "s|^|/|", true},
    {"MarkLines comments", [](std::string_view text, std::string&) { return MarkLines(text, "(", ")"); }, "sed",
     "s/^/(/;s/\\r$/)\\r/", true},
    {"Remove block skips", [](std::string_view text, std::string&) { return ReplaceAll(text, "/", ""); }, "sed",
     "s|/||g", true},
    {"RemoveCommentBrackets", [](std::string_view text, std::string&) { return RemoveCommentBrackets(text); },
     "sed", "s/[()]//g", true},
    {"SwitchAxes X <-> Y",
     [](std::string_view text, std::string&) { return SwitchAxes(text, AxisMap{'Y', 'X', 'Z'}); }, "sed",
     "y/XY/YX/", true},
    {"Change Value X1 -> X2", [](std::string_view text, std::string&) { return ReplaceAll(text, "X1", "X2"); },
     "sed", "s/X1/X2/g", true},
    {"ShiftAddresses X Y Z",
     [](std::string_view text, std::string& error) { return Checked(ShiftAddresses(text, {1.5, -2.25, 0.5}), error); },
     "awk", ShiftAwk, true},
    {"Syntax check", [](std::string_view text, std::string&) { return SyntaxReport(text); }, "awk", SyntaxAwk,
     true},
};

}  // namespace

const NcRunProcedure* NcRunProcedures(std::size_t& count)
{
    count = std::size(Procedures);
    return Procedures;
}

const NcRunProcedure* FindNcRunProcedure(std::string_view name)
{
    for (const NcRunProcedure& procedure : Procedures)
        if (name == procedure.name)
            return &procedure;
    return nullptr;
}
