// The analysis of a source held in memory, as the driver runs it.
#pragma once

#include <sstream>
#include <string>

#include "model/design.h"
#include "read/analysis.h"
#include "read/scanner.h"
#include "support/diagnostics.h"

namespace vtest {

struct Analysed {
    bool ok = false;
    velmorn::Design d;
    std::string console;   // standard output
    std::string warnings;  // standard error
};

inline Analysed analyseText(const std::string& source, const std::string& sourceName = "src.vhd",
                            const std::string& outputName = "src")
{
    Analysed a;
    velmorn::Scanner s;
    s.loadText(source);
    std::ostringstream out, err;
    velmorn::Diagnostics diag(out, err);
    diag.setSource(sourceName);
    a.d.outputName = outputName;
    a.ok = velmorn::analyse(s, diag, a.d);
    a.console = out.str();
    a.warnings = err.str();
    return a;
}

}  // namespace vtest
