#include "NcRunProcedures.h"

#include "nc/MControl.h"
#include "nc/RenumberText.h"
#include "nc/ReplaceAll.h"

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

constexpr const char* InsertBlockNumbersAwk = R"(BEGIN { n = 10 }
{ sub(/^N *[0-9][0-9 ]*/, "") }
/^[%(O\r]/ || $0 == "" { print; next }
{ printf "N%03d%s\n", n, $0; n += 10; if (n > 9999) n = 10 }
)";

constexpr const char* NumberHighLightAwk = R"(BEGIN { n = 10 }
{ c = $0; sub(/\r$/, "", c) }
length(c) < 2 || /^[%(O]/ { print; next }
{ sub(/^(N *[0-9]+|[0-9]+) ?/, ""); printf "N%03d%s\n", n, $0; n += 10 }
)";

constexpr const char* RemoveSpacesAwk = R"(/^[%(O]/ { print; next }
{
  i = index($0, "(")
  if (i) { h = substr($0, 1, i - 1); t = substr($0, i) } else { h = $0; t = "" }
  gsub(/ /, "", h)
  print h t
}
)";

constexpr const char* InsertSpacesAwk = R"(/^[%(O]/ { print; next }
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
)";

// Both conversions: the first value of an axis as written, the later ones with four decimals.
constexpr const char* ConvertAwkBody = R"(
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
)";

const std::string IncrementalAwk =
    std::string(R"(function step(v, a,   r) { r = sprintf("%.4f", v - last[a]); last[a] = v + 0; return r })") +
    ConvertAwkBody;
const std::string AbsoluteAwk =
    std::string(R"(function step(v, a,   r) { r = sprintf("%.4f", v + last[a]); last[a] = r + 0; return r })") +
    ConvertAwkBody;

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
