// Small designs shared by the generator tests.
#pragma once

#include <string>

#include "support/testing.h"

namespace vtest {

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

}  // namespace vtest
