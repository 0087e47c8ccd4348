#include "main/command_line.h"
#include "support/text.h"

#include <cctype>
#include <string_view>
#include <vector>

namespace velmorn {

namespace {

// A known switch that `word` differs from only by case or by its leading
// hyphens, or nullptr.
const Architecture* nearestSwitch(std::string_view word)
{
    size_t start = 0;
    while (start < word.size() && word[start] == '-') ++start;
    const std::string bare = lowerCase(word.substr(start));
    for (const Architecture& a : architectures())
        if (lowerCase(a.flag.substr(1)) == bare) return &a;
    return nullptr;
}

std::string checkerSwitches()
{
    std::string list;
    for (const Architecture& a : architectures())
        if (a.takesChecker) list += (list.empty() ? "" : ", ") + std::string(a.flag);
    return list;
}

CommandLine wrong(std::string problem)
{
    CommandLine c;
    c.problem = std::move(problem);
    return c;
}

struct OptionSpec {
    std::string_view shortName, longName;
    bool Options::*flag;
    std::string_view help;
};

// The options that are switched on by their name alone.
const OptionSpec kFlags[] = {
    {"", "--checker-template", &Options::checkerTemplate,
     "with a checker switch, also write the checker file when it does not exist"},
    {"-v", "--verbose", &Options::verbose, "name every file written on standard error"},
    {"", "--source-names", &Options::sourceNames,
     "the top level keeps the source's spelling of the entity, generic and port\n"
     "                              names, and the source's architecture name"},
    {"", "--keep", &Options::keep, "keep every copy through synthesis: keep attributes on the instances\n"
                                   "                              and the Yosys script <name>/<name>_keep.ys"},
    {"", "--prove", &Options::prove, "prove the architecture's promises on the tree with GHDL and Yosys"},
};

}  // namespace

std::string optionsHelp()
{
    std::string s = "Options, before the switch:\n";
    s += "   -o DIR, --output-dir DIR   make the tree in DIR instead of the working directory\n";
    for (const OptionSpec& o : kFlags) {
        std::string names = o.shortName.empty() ? std::string(o.longName)
                                                : std::string(o.shortName) + ", " + std::string(o.longName);
        names.resize(std::max<size_t>(names.size(), 27), ' ');
        s += "   " + names + std::string(o.help) + "\n";
    }
    s += "   --version                  print the version\n";
    s += "The README's table of architectures names each top-level file, its entity and what each added\n"
         "error output means.\n";
    return s;
}

CommandLine parseCommandLine(int argc, const char* const* argv)
{
    std::vector<std::string_view> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    CommandLine c;
    if (args.size() == 1 && (args[0] == "-h" || args[0] == "--help")) {
        c.action = CommandLine::Action::Help;
        return c;
    }
    if (args.size() == 1 && args[0] == "--version") {
        c.action = CommandLine::Action::Version;
        return c;
    }
    if (args.empty()) return wrong("no switch and no source file given");

    size_t i = 0;
    for (; i < args.size() && args[i].size() > 1 && args[i][0] == '-' && !findArchitecture(args[i]); ++i) {
        const std::string_view a = args[i];
        if (a == "-o" || a == "--output-dir") {
            if (i + 1 >= args.size() || args[i + 1].empty()) return wrong(std::string(a) + " needs a directory");
            c.options.outputDirectory = args[++i];
            continue;
        }
        const OptionSpec* spec = nullptr;
        for (const OptionSpec& o : kFlags)
            if (a == o.longName || (!o.shortName.empty() && a == o.shortName)) spec = &o;
        if (spec) {
            c.options.*(spec->flag) = true;
            continue;
        }
        if (const Architecture* near = nearestSwitch(a))
            return wrong("unknown switch " + std::string(a) + " (did you mean " + std::string(near->flag) + "?)");
        if (a == "-h" || a == "--help" || a == "--version") return wrong(std::string(a) + " stands alone");
        return wrong("unknown switch or option " + std::string(a) + " (see " + std::string(argv[0] ? argv[0] : "velmorn") +
                     " --help)");
    }
    if (i >= args.size()) return wrong("no switch given after the options");

    const std::string_view sw = args[i];
    c.architecture = findArchitecture(sw);
    if (!c.architecture) {
        for (size_t k = i + 1; k < args.size(); ++k)
            if (findArchitecture(args[k]))
                return wrong("the switch comes before the files: " + std::string(args[k]) + " " + std::string(sw));
        if (const Architecture* near = nearestSwitch(sw))
            return wrong("unknown switch " + std::string(sw) + " (did you mean " + std::string(near->flag) + "?)");
        return wrong("unknown switch " + std::string(sw));
    }
    const size_t files = args.size() - i - 1;
    const std::string flag(c.architecture->flag);
    if (c.architecture->takesChecker) {
        if (files == 0) return wrong(flag + " needs a source file and a checker file");
        if (files == 1) return wrong(flag + " needs a checker file after the source file");
        if (files > 2) return wrong(flag + " takes a source file and a checker file, but " + std::to_string(files) +
                                    " files were given");
        c.checker = args[i + 2];
    } else {
        if (files == 0) return wrong(flag + " needs a source file");
        if (files == 2)
            return wrong(flag + " takes one source file and no checker file (the switches with a checker are " +
                         checkerSwitches() + ")");
        if (files > 2) return wrong(flag + " takes one source file, but " + std::to_string(files) + " files were given");
        if (c.options.checkerTemplate)
            return wrong("--checker-template needs a switch with a checker (" + checkerSwitches() + ")");
    }
    c.source = args[i + 1];
    c.action = CommandLine::Action::Generate;
    return c;
}

}  // namespace velmorn
