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
                            const std::string& outputName = "src", const velmorn::AnalysisOptions& options = {})
{
    Analysed a;
    velmorn::Scanner s;
    s.loadText(source);
    std::ostringstream out, err;
    velmorn::Diagnostics diag(out, err);
    diag.setSource(sourceName);
    a.d.outputName = outputName;
    a.ok = velmorn::analyse(s, diag, a.d, options);
    a.console = out.str();
    a.warnings = err.str();
    return a;
}

// Every field that the analysis fills, side by side, as one text.
inline std::string reading(const Analysed& a)
{
    const velmorn::Design& d = a.d;
    std::string r = std::string(a.ok ? "ok" : "refused") + "\n" + a.console + "\n--\n" + a.warnings + "\n--\n" +
                    d.contextClause + "|" + d.entityName + "|" + d.entitySpelling + "|" + d.architectureSpelling +
                    "|" + d.architectureName + "|" + d.entityDeclarations + "|" + d.body.str() + "\n";
    for (const velmorn::Generic& g : d.generics) r += "G " + g.name + "|" + g.type + "|" + g.spelling + "\n";
    for (const auto* list : {&d.inputs, &d.outputs, &d.inouts})
        for (const velmorn::Port& p : *list)
            r.append("P").append(std::to_string(static_cast<int>(p.mode))).append(" " + p.name + "|" + p.type + "|" + p.spelling + "\n");
    for (const std::string& u : d.usedUnits) r += "U " + u + "\n";
    return r;
}

}  // namespace vtest
