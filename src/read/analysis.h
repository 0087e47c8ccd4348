// The analysis of the source: the library and use clauses, the entity's
// generics and ports, the architecture head and body.
#pragma once

#include <cstddef>

#include "model/design.h"
#include "read/scanner.h"
#include "support/diagnostics.h"

namespace velmorn {

// How the analysis may share its work between two threads.
struct AnalysisOptions {
    // A port list that seems to take at least this many bytes of source is
    // read in two parts at once (0: always in one). The result is the same.
    size_t parallelPortListBytes = 64 * 1024;
};

// Reads the source that `scanner` holds into `design` (all but its output
// name, which the caller gives). Writes the progress lines; false after a
// refusal, reported through `diagnostics`.
bool analyse(Scanner& scanner, Diagnostics& diagnostics, Design& design, const AnalysisOptions& options = {});

}  // namespace velmorn
