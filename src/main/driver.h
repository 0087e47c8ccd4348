// The command line and the run driver: one generation per run.
#pragma once

#include <ostream>
#include <string>

namespace velmorn {

// Exit status: 0 every file written, 1 any failure, 2 usage text for a wrong
// command line ("-h" or "--help" alone prints it with status 0). The console
// lines go to `out`, warnings to `err`.
int run(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// The name of the output tree: the source's name without its directory part
// (up to the last "/" or "\") and without its extension (from the last ".").
std::string outputNameOf(const std::string& source);

// The usage text, with the program's name as it was typed.
void writeUsage(const std::string& program, std::ostream& out);

}  // namespace velmorn
