#include "main/driver.h"

#include <string_view>

#include "arch/architectures.h"
#include "arch/generate.h"
#include "read/analysis.h"
#include "read/scanner.h"
#include "support/diagnostics.h"
#include "vhdl/writer.h"

namespace velmorn {

namespace {

void usageLines(std::ostream& out, bool withChecker)
{
    for (const Architecture& a : architectures())
        if (a.takesChecker == withChecker) out << "      " << a.flag << "   ... " << a.usage << "\n";
}

// One generation: read the source, check the design, write the tree.
int generateFrom(const std::string& source, const Architecture& architecture, Diagnostics& diag)
{
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
        TreeWriter writer(diag);
        ok = generate(d, architecture, writer, diag);
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
    if (argc == 2 && (std::string_view(argv[1]) == "-h" || std::string_view(argv[1]) == "--help")) {
        writeUsage(program, out);
        return 0;
    }
    if (argc == 3 || argc == 4) {
        const Architecture* a = findArchitecture(argv[1]);
        // The checker's file is named but never opened.
        if (a && a->takesChecker == (argc == 4)) {
            Diagnostics diag(out, err);
            return generateFrom(argv[2], *a, diag);
        }
    }
    writeUsage(program, out);
    return 2;
}

}  // namespace velmorn
