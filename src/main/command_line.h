// The command line: options, then the switch, the source file and, for the
// architectures with a checker, the checker's file.
#pragma once

#include <string>

#include "arch/architectures.h"

namespace velmorn {

struct Options {
    std::string outputDirectory;  // -o DIR: the tree goes to DIR/<name>/ instead of ./<name>/
    bool checkerTemplate = false;  // --checker-template: write the checker file when it does not exist
    bool verbose = false;          // -v: a line on standard error per file written
    bool keep = false;             // --keep: what synthesis needs to keep every copy
    bool sourceNames = false;      // --source-names: the top keeps the source's spelling of its names
    bool prove = false;            // --prove: prove the architecture's promises on the tree
};

struct CommandLine {
    enum class Action { Generate, Help, Version, Wrong };
    Action action = Action::Wrong;
    std::string problem;  // for Wrong: what is wrong, one line
    Options options;
    const Architecture* architecture = nullptr;
    std::string source, checker;
};

CommandLine parseCommandLine(int argc, const char* const* argv);

// The options, one line each, for the help on standard error.
std::string optionsHelp();

}  // namespace velmorn
