#include "main/driver.h"

#include "arch/architectures.h"
#include "arch/generate.h"
#include "main/command_line.h"
#include "prove/prove.h"
#include "read/analysis.h"
#include "read/scanner.h"
#include "support/diagnostics.h"
#include "vhdl/writer.h"

#ifndef VELMORN_VERSION
#define VELMORN_VERSION "unknown"
#endif

namespace velmorn {

namespace {

void usageLines(std::ostream& out, bool withChecker)
{
    for (const Architecture& a : architectures())
        if (a.takesChecker == withChecker) out << "      " << a.flag << "   ... " << a.usage << "\n";
}

// The directory that the tree goes into, as a prefix of its paths.
std::string treeRoot(const Options& options)
{
    std::string dir = options.outputDirectory;
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir.empty() ? "" : dir + "/";
}

// One generation: read the source, check the design, write the tree.
int generateFrom(const CommandLine& c, Diagnostics& diag)
{
    const std::string& source = c.source;
    Design d;
    d.outputName = outputNameOf(source);
    if (d.outputName.empty() || d.outputName == "." || d.outputName == "..") {
        diag.problem("Can't derive output name from input file", source, false);
        return 1;
    }
    Scanner scanner;
    if (!scanner.load(source)) {
        diag.problem("Can't open input file", source, false);
        return 1;
    }
    diag.progress("File " + source + " was opened for reading...\n");
    diag.setSource(source);
    bool ok = analyse(scanner, diag, d);
    if (ok && d.outputs.empty()) {
        diag.progress("Entity " + d.entityName + " has no OUT port - nothing to generate !\n");
        ok = false;
    }
    if (ok) {
        const std::string root = treeRoot(c.options);
        TreeWriter writer(diag, root, c.options.verbose);
        ok = root.empty() || writer.makeDirectories(root.substr(0, root.size() - 1));
        if (ok) {
            const GenerationResult result = generate(d, *c.architecture, writer, diag);
            ok = result.ok;
            if (ok && c.options.verbose)
                diag.info("top level: " + root + result.topFile + " (entity " + d.entityName + ")");
            if (ok && c.options.prove)
                ok = proveTree({d, *c.architecture, result.tree, root, c.checker}, writer, diag);
        }
    }
    diag.progress("File " + source + " was closed...");
    return ok ? 0 : 1;
}

}  // namespace

std::string outputNameOf(const std::string& source)
{
    std::string name = source;
    const size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

void writeUsage(const std::string& program, std::ostream& out)
{
    out << "\nThis program generate different types of FT architectures\n"
        << "based on TMR or duplex from input VHDL file. The modules\n"
        << "of architectures are generated as PRMs...\n\n"
        << "Syntax for FT architectures WITHOUT checkers:\n"
        << "---------------------------------------------\n"
        << "> " << program << " [parameter] <source.vhd>\n\n"
        << "   Parameters:\n";
    usageLines(out, false);
    out << "\n"
        << "Syntax for FT architectures WITH checkers:\n"
        << "------------------------------------------\n"
        << "> " << program << " [parameter] <source.vhd> <checker.vhd>\n\n"
        << "   Parameters:\n";
    usageLines(out, true);
}

int run(int argc, const char* const* argv, std::ostream& out, std::ostream& err)
{
    const std::string program = argc > 0 && argv[0] ? argv[0] : "velmorn";
    const CommandLine c = parseCommandLine(argc, argv);
    Diagnostics diag(out, err);
    switch (c.action) {
    case CommandLine::Action::Help:
        writeUsage(program, out);
        err << optionsHelp();
        return 0;
    case CommandLine::Action::Version:
        out << "velmorn " << VELMORN_VERSION << "\n";
        return 0;
    case CommandLine::Action::Wrong:
        diag.error(c.problem);
        writeUsage(program, out);
        return 2;
    case CommandLine::Action::Generate:
        break;
    }
    return generateFrom(c, diag);
}

}  // namespace velmorn
