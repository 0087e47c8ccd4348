// Small designs and expected-text pieces shared by the generator tests.
#pragma once

#include <string>

#include "support/testing.h"

namespace vtest {

// What precedes every generated text: the banner, the library text, two NLs.
inline std::string prologue(const std::string& path, const std::string& arch)
{
    return banner(path, arch) + kIeeeLibrarys + "\n\n";
}

// The counter of the examples: entity CNT, generic W, inputs CLK and RST, a
// vector output Q and a one-bit output Z.
inline velmorn::Design cntDesign()
{
    return DesignBuilder("CNT")
        .generic("W", " integer := 4")
        .in("CLK")
        .in("RST")
        .out("Q", " std_logic_vector(W-1 downto 0)")
        .out("Z")
        .build();
}

// The generic blocks of cntDesign().
inline const std::string kCntGD = "   generic(\n      W :  integer := 4\n   );\n";
inline const std::string kCntGM = "   generic map(\n      W => W\n   )\n";

}  // namespace vtest
