// The one place that touches the output tree: makes its directories and writes
// each generated file, reporting what fails.
#pragma once

#include <ostream>

#include "emit/text.h"

namespace velmorn {

// Makes "<inname>" and "<inname>/modules" in the working directory. An existing
// real directory is fine; a plain file or a symbolic link in their place is
// reported and refused.
bool makeOutputDirectories(const Design& d, std::ostream& out);

// Writes the file at its path, replacing an existing file (a symbolic link is
// replaced, never followed). Reports "Can't open output file - <path> !" or
// "Can't write output file - <path> !" and returns false on failure.
bool writeModuleFile(const VhdlText& t, std::ostream& out);

}  // namespace velmorn
