#include "main/driver.h"

#include "arch/architectures.h"
#include "arch/checker.h"
#include "arch/checks.h"
#include "arch/names.h"
#include "arch/generate.h"
#include "main/command_line.h"
#include "prove/prove.h"
#include "read/analysis.h"
#include "read/scanner.h"
#include "support/diagnostics.h"
#include "support/helper_thread.h"
#include "vhdl/keep.h"
#include "vhdl/writer.h"

#include <sys/stat.h>

#include <sstream>

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

bool exists(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

// The checker file of a checker switch: written from a template when asked
// and missing, otherwise compared with what the tree instantiates. Only
// warnings: the tree is written either way.
void checkChecker(const Design& d, const CommandLine& c, TreeWriter& writer, Diagnostics& diag)
{
    const std::string& file = c.checker;
    const std::string entity = d.entityName + std::string(names::kChecker);
    if (!exists(file)) {
        if (c.options.checkerTemplate) {
            writeCheckerTemplate(d, file, writer);
            return;
        }
        diag.warning("checker " + file + " does not exist: the tree instantiates entity " + entity +
                     " (--checker-template writes a template of it)");
        return;
    }
    Scanner scanner;
    std::ostringstream quiet;
    Diagnostics silent(quiet, quiet);
    silent.setSource(file);
    Design checker;
    if (!scanner.load(file) || !analyse(scanner, silent, checker)) {
        // The refusal is the last line of what the analysis wrote.
        std::string why = quiet.str();
        while (!why.empty() && why.back() == '\n') why.pop_back();
        why.erase(0, why.rfind('\n') == std::string::npos ? 0 : why.rfind('\n') + 1);
        diag.warning("checker " + file + " cannot be read: " + (why.empty() ? "not a readable design" : why));
        return;
    }
    for (const std::string& difference : checkerDifferences(d, checker))
        diag.warning("checker " + file + ": " + difference);
}

// The design of the latest run, left for the end of the process to take
// back all at once: freeing the records of 10,000 ports (three strings each)
// one by one takes a twentieth of the run. The next run in the same process
// (the tests) frees it.
Design& freshDesign()
{
    static Design* latest = nullptr;
    delete latest;
    latest = new Design;
    return *latest;
}

// One generation: read the source, check the design, write the tree.
int generateFrom(const CommandLine& c, Diagnostics& diag)
{
    const HelperThread::Scope helper;  // for the steps that share their work
    const std::string& source = c.source;
    Design& d = freshDesign();
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
    FileCosts costs;  // of the files, as the checks' dry run found them
    bool ok = analyse(scanner, diag, d) && checkDesign(d, *c.architecture, diag, &costs);
    if (ok && !d.inouts.empty()) {
        std::string names;
        for (size_t i = 0; i < d.inouts.size() && i < 5; ++i) names += (i ? ", " : "") + d.inouts[i].name;
        if (d.inouts.size() > 5) names += " and " + std::to_string(d.inouts.size() - 5) + " more";
        diag.warning("INOUT ports " + names + " of entity " + d.entityName +
                     ": each copy reads its own drive, never a value driven from outside; split a bidirectional "
                     "bus into IN, OUT and enable ports before generation");
    }
    if (ok && c.options.keep) {
        const std::string clash = keepClash(d);
        if (!clash.empty()) {
            diag.error("--keep declares the attributes keep_hierarchy and DONT_TOUCH, of type string, in the "
                       "generated files, and the unit's " + clash + " would clash with them: rename it, or leave out --keep");
            ok = false;
        }
    }
    if (ok) {
        const std::string root = treeRoot(c.options);
        TreeWriter writer(diag, root, c.options.verbose);
        ok = root.empty() || writer.makeDirectories(root.substr(0, root.size() - 1));
        if (ok) {
            const GenerationResult result =
                generate(d, *c.architecture, writer, diag, {c.options.keep, c.options.sourceNames}, &costs);
            ok = result.ok;
            if (ok && c.architecture->takesChecker) checkChecker(d, c, writer, diag);
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
