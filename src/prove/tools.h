// The external tools of the proofs, run as child processes: no shell, every
// argument passed as it is.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmorn {

struct ToolRun {
    int status = -1;     // the exit status; -1 when it could not run or was killed
    std::string output;  // its standard output
    std::string errors;  // its standard error
};

// Runs argv[0] (looked up on PATH) with the arguments in the directory `cwd`,
// and collects what it writes.
ToolRun runTool(const std::vector<std::string>& argv, const std::string& cwd);

// True when an executable `program` is on PATH.
bool onPath(std::string_view program);

}  // namespace velmorn
