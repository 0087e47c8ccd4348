#include "main/driver.h"

#include <cstring>

#include "emit/writer.h"
#include "lex/lex.h"
#include "parser/analysis.h"
#include "parser/plans.h"

namespace velmorn {

namespace {

struct Switch {
    const char* text;
    short code;
    int argc;  // argument count, program name included
};

// The switches, in the order they are tried.
constexpr Switch kSwitches[] = {
    {"-tmr0", _TMR, 3},          {"-tmr1", _3FU_3V, 3},   {"-tmr2", _TMR_2V_CMP, 3}, {"-dpl4", _3FU_2MUX_, 3},
    {"-dpl5", _3FU_1MUX, 3},     {"-dpl6", _3FU_2MUX_CMP, 3}, {"-dpl0", _DUPL_CMP, 3}, {"-fuch", _FUCH, 4},
    {"-tmr3", _TMR_3CH, 4},      {"-dpl1", _DLP_1CH, 4},  {"-dpl2", _DLP_2CH, 4},
};

}  // namespace

void PrintInfo(const std::string& file, std::ostream& out)
{
    out << "\nThis program generate different types of FT architectures\n"
        << "based on TMR or duplex from input VHDL file. The modules\n"
        << "of architectures are generated as PRMs...\n\n"
        << "Syntax for FT architectures WITHOUT checkers:\n"
        << "---------------------------------------------\n"
        << "> " << file << " [parameter] <source.vhd>\n\n"
        << "   Parameters:\n"
        << "      -tmr0   ... for simple TMR architecture\n"
        << "      -tmr1   ... for 3FU-3V architecture\n"
        << "      -tmr2   ... for TMR-2V-CMP architecture\n"
        << "      -dpl0   ... for simple Duplex architecture\n"
        << "      -dpl4   ... for 3FU-2MUX architecture\n"
        << "      -dpl5   ... for 3FU-1MUX architecture\n"
        << "      -dpl6   ... for 3FU-2MUX-CMP architecture\n"
        << "\n"
        << "Syntax for FT architectures WITH checkers:\n"
        << "------------------------------------------\n"
        << "> " << file << " [parameter] <source.vhd> <checker.vhd>\n\n"
        << "   Parameters:\n"
        << "      -fuch   ... for FU with checker only\n"
        << "      -tmr3   ... for TMR+3CH architecture\n"
        << "      -dpl2   ... for DUPLEX+2CH architecture\n"
        << "      -dpl1   ... for DUPLEX+1CH architecture\n";
}

bool generateDesign(const Design& d, short arch, std::ostream& out)
{
    if (d.OutportList.empty()) {
        out << "Entity " << d.entity_name << " has no OUT port - nothing to generate !" << "\n";
        return false;
    }
    if (!makeOutputDirectories(d, out)) return false;
    TreeWriter writer(out);
    StreamScope streaming(writer);
    return runPlan(d, arch, [&](const VhdlText& file) { return writer.finish(file); }, out);
}

int GenerateFT(const std::string& fn_in, short arch, std::ostream& out)
{
    const std::string base = baseName(fn_in);
    if (base.empty() || base == "." || base == "..") {
        out << "Can't derive output name from input file - " << fn_in << " !";
        return 1;
    }
    Scanner scanner;
    if (!scanner.lexInit(fn_in, out)) return 1;
    bool ok;
    {
        Design d;
        ok = Analysis(scanner, d, out, fn_in).parse() && generateDesign(d, arch, out);
    }
    scanner.lexFree(fn_in, out);
    return ok ? 0 : 1;
}

int GenerateFTCH(const std::string& fn_in, const std::string& /*fn_inch: never opened*/, short arch,
                 std::ostream& out)
{
    return GenerateFT(fn_in, arch, out);
}

int run(int argc, const char* const* argv, std::ostream& out)
{
    const std::string program = argc > 0 && argv[0] ? argv[0] : "velmorn";
    if (argc == 2 && (std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0)) {
        PrintInfo(program, out);
        return 0;
    }
    if (argc == 3 || argc == 4) {
        for (const Switch& s : kSwitches) {
            if (s.argc != argc || std::strcmp(argv[1], s.text) != 0) continue;
            return argc == 3 ? GenerateFT(argv[2], s.code, out) : GenerateFTCH(argv[2], argv[3], s.code, out);
        }
    }
    PrintInfo(program, out);
    return 2;
}

}  // namespace velmorn
