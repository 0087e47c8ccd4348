// Shared test support: designs built directly, golden files, temporary
// directories, running the real executable, and GHDL on a generated tree.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "model/design.h"

namespace vtest {

namespace fs = std::filesystem;

// The library text as the analysis rebuilds 'library ieee;' / 'use
// ieee.std_logic_1164.all;' followed by an empty line.
inline const std::string kIeeeLibrarys = "LIBRARY IEEE;\n USE IEEE.STD_LOGIC_1164.ALL;\n  ";

// A design value for generator tests: add ports with their raw type texts.
struct DesignBuilder {
    velmorn::Design d;
    explicit DesignBuilder(std::string entity, std::string outputName = "cnt")
    {
        d.entityName = std::move(entity);
        d.outputName = std::move(outputName);
        d.contextClause = kIeeeLibrarys;
    }
    DesignBuilder& generic(std::string name, std::string type)
    {
        d.generics.push_back({std::move(name), std::move(type)});
        return *this;
    }
    DesignBuilder& in(std::string name, std::string type = "  std_logic")
    {
        d.inputs.push_back({std::move(name), velmorn::PortMode::In, std::move(type)});
        return *this;
    }
    DesignBuilder& out(std::string name, std::string type = "  std_logic")
    {
        d.outputs.push_back({std::move(name), velmorn::PortMode::Out, std::move(type)});
        return *this;
    }
    DesignBuilder& inout(std::string name, std::string type = "  std_logic")
    {
        d.inouts.push_back({std::move(name), velmorn::PortMode::Inout, std::move(type)});
        return *this;
    }
    DesignBuilder& body(std::string text)
    {
        d.body = {velmorn::SourceSpan::ofText(std::move(text)), 0};
        return *this;
    }
    velmorn::Design build() const { return d; }
};

// Golden files: expected whole texts checked in under tests/golden/.
// EXPECT_GOLDEN(actual, "modules/voter_counter.vhd") compares `actual` byte
// for byte with VELMORN_TESTS_DIR "/golden/modules/voter_counter.vhd". On a
// difference it fails with the file name, the first differing line and a few
// lines of context from both sides; a missing golden file always fails and is
// never created.
fs::path goldenPath(const std::string& relativePath);
::testing::AssertionResult goldenMatches(const char* actualExpr, const char* pathExpr, const std::string& actual,
                                         const std::string& relativePath);
#define EXPECT_GOLDEN(actual, relativePath) EXPECT_PRED_FORMAT2(::vtest::goldenMatches, actual, relativePath)

// The banner that every generated file starts with.
std::string banner(const std::string& path, const std::string& arch);

// A fresh directory under the system's temporary directory, removed at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }
    fs::path operator/(const std::string& p) const { return path_ / p; }

private:
    fs::path path_;
};

std::string readFile(const fs::path& p);
void writeFile(const fs::path& p, const std::string& text);
// All regular files below `root`, as paths relative to it, sorted.
std::vector<std::string> listFiles(const fs::path& root);

struct RunResult {
    int status = -1;     // exit status, -1 when killed
    std::string output;  // standard output and standard error; of velmorn, standard output only
    std::string errors;  // velmorn's standard error
};
// Runs a shell command in `cwd`.
RunResult runCommand(const std::string& command, const fs::path& cwd);
// Runs the velmorn executable with the given arguments in `cwd`; its
// standard output and standard error are kept apart.
RunResult runVelmorn(const std::vector<std::string>& args, const fs::path& cwd);
std::string shellQuote(const std::string& s);

// GHDL: analyses every .vhd file below `tree` (plus `extra` files) in a work
// directory of its own and elaborates `top`. status 0 on success.
bool ghdlAvailable();
RunResult ghdlElaborate(const fs::path& tree, const std::string& top, const std::vector<fs::path>& extra = {});
// GHDL's synthesis: analyses and elaborates as ghdlElaborate() does (a
// component left unbound becomes an empty module, with only a warning "not
// bound" in .output), then writes `top` and everything below it to the file
// `verilog` as Verilog. status 0 on success.
RunResult ghdlSynthesise(const fs::path& tree, const std::string& top, const fs::path& verilog,
                         const std::vector<fs::path>& extra = {});
bool yosysAvailable();
// Analyses the files, elaborates and runs the testbench `tb` with
// --assert-level=error (and an optional stop time such as "10us").
RunResult ghdlRun(const std::vector<fs::path>& files, const std::string& tb, const fs::path& workdir,
                  const std::string& stopTime = "");

}  // namespace vtest
