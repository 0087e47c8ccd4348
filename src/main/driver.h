// The command line and the run driver: one generation per run.
#pragma once

#include <ostream>
#include <string>

#include "parser/design.h"

namespace velmorn {

// Exit status: 0 every file written, 1 any failure, 2 usage text for a wrong
// command line ("-h" or "--help" alone prints it with status 0).
int run(int argc, const char* const* argv, std::ostream& out);

void PrintInfo(const std::string& file, std::ostream& out);
int GenerateFT(const std::string& fn_in, short arch, std::ostream& out);
int GenerateFTCH(const std::string& fn_in, const std::string& fn_inch, short arch, std::ostream& out);

// After the analysis: refuses a design without OUT port, makes the output
// directories and writes the files of the plan. True when all were written.
bool generateDesign(const Design& d, short arch, std::ostream& out);

}  // namespace velmorn
