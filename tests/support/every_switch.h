// Every architecture of the table on one source, through the real executable,
// and GHDL on each tree: the checker switches get a stub checker of the
// interface that the generated modules instantiate, built from the design that
// the real analysis reads.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "arch/architectures.h"
#include "model/design.h"
#include "support/testing.h"

namespace vtest {

// A checker of the assumed interface: entity <ENTITY>_ch with the unit's
// generics, its IN and INOUT ports, its OUT ports as IN, and ERR.
inline std::string checkerStub(const velmorn::Design& d)
{
    const std::string name = d.entityName + "_ch";
    std::string s = d.contextClause;
    if (!velmorn::seesStdLogic(d)) s += "library ieee;\nuse ieee.std_logic_1164.all;\n";
    s += "\n\nentity " + name + " is\n";
    if (!d.generics.empty()) {
        s += "   generic(\n";
        for (size_t i = 0; i < d.generics.size(); ++i)
            s += "      " + d.generics[i].name + " :" + d.generics[i].type +
                 (i + 1 < d.generics.size() ? ";\n" : "\n");
        s += "   );\n";
    }
    s += "   port(\n";
    for (const auto& p : d.inputs) s += "      " + p.name + " : in" + p.type + ";\n";
    for (const auto& p : d.inouts) s += "      " + p.name + " : inout" + p.type + ";\n";
    for (const auto& p : d.outputs) s += "      " + p.name + " : in" + p.type + ";\n";
    s += "      ERR : out std_logic\n   );\nend entity " + name + ";\n\n";
    s += "architecture stub of " + name + " is\nbegin\n   ERR <= '0';\nend architecture stub;\n";
    return s;
}

// Runs every switch on `source` (a file named `file`), whose analysis gave
// `d`, with `extraArgs` before the switch, and expects GHDL to analyse each
// tree and elaborate its top. `extraFiles` are analysed with each tree.
inline void expectEverySwitchElaborates(const std::string& file, const std::string& source, const velmorn::Design& d,
                                        const std::vector<std::string>& extraArgs = {},
                                        const std::vector<fs::path>& extraFiles = {})
{
    if (!ghdlAvailable()) GTEST_SKIP() << "ghdl is not installed";
    TempDir tmp;
    const fs::path checker = tmp / "checker_stub.vhd";
    writeFile(checker, checkerStub(d));
    for (const velmorn::Architecture& sw : velmorn::architectures()) {
        const std::string flag(sw.flag);
        SCOPED_TRACE(file + " " + flag);
        const fs::path dir = tmp / flag.substr(1);
        fs::create_directories(dir);
        writeFile(dir / file, source);
        std::vector<std::string> args = extraArgs;
        args.push_back(flag);
        args.push_back(file);
        if (sw.takesChecker) args.push_back("checker.vhd");
        const RunResult gen = runVelmorn(args, dir);
        ASSERT_EQ(gen.status, 0) << gen.output << gen.errors;

        std::string files;
        auto add = [&](const fs::path& f) { files.append(" ").append(shellQuote(f.string())); };
        for (const auto& f : extraFiles) add(f);
        if (sw.takesChecker) add(checker);
        for (const auto& f : listFiles(dir / d.outputName))
            if (f.size() > 4 && f.substr(f.size() - 4) == ".vhd") add(dir / d.outputName / f);
        const std::string w = " --std=08 -fsynopsys --workdir=work";
        const RunResult ghdl = runCommand("mkdir -p work && ghdl -i" + w + files + " && ghdl -m" + w + " " +
                                              d.entityName + " && ghdl -r" + w + " " + d.entityName + " --no-run",
                                          dir);
        EXPECT_EQ(ghdl.status, 0) << gen.output << "\n" << ghdl.output;
        EXPECT_EQ(ghdl.output.find("not bound"), std::string::npos) << ghdl.output;
    }
}

}  // namespace vtest
