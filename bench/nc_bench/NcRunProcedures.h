#pragma once
// The NC text procedures that nc_bench times, each with the sed or awk edit it is measured
// against on the same file. Both are run as whole processes (nc_run for ours).

#include <string>
#include <string_view>

struct NcRunProcedure {
    const char* name;
    // The new text; `error` is set when the procedure refused the text.
    std::string (*run)(std::string_view text, std::string& error);
    const char* tool;    // "awk" or "sed" (run with LC_ALL=C; sed with -E)
    const char* script;  // its program, handed over in a file
    // True when the yardstick writes exactly our output on the generated program (nc_bench
    // checks it); false for a comparable edit whose output differs.
    bool sameOutput;
};

const NcRunProcedure* NcRunProcedures(std::size_t& count);
const NcRunProcedure* FindNcRunProcedure(std::string_view name);
