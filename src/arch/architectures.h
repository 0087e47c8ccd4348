// The architectures, in the order of the usage text: the only place that
// spells a switch.
#pragma once

#include <span>
#include <string_view>

#include "arch/plan.h"

namespace velmorn {

struct Architecture {
    std::string_view flag;         // "-tmr1"
    std::string_view label;        // "3FU-3V": the banner of every file
    std::string_view usage;        // "for 3FU-3V architecture": its line in the usage text
    std::string_view consoleLine;  // "Generating of 3FU-3V architecture ...": written before the plan runs
    bool takesChecker;             // the command line names the checker's file
    void (*plan)(Plan&);
};

std::span<const Architecture> architectures();
// The architecture of a switch, compared exactly; nullptr when there is none.
const Architecture* findArchitecture(std::string_view flag);

}  // namespace velmorn
