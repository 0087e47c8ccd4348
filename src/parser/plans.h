// The generation plans: for each architecture code the fixed sequence of
// generator calls, their suffixes and labels.
#pragma once

#include <functional>
#include <ostream>

#include "emit/text.h"

namespace velmorn {

enum ArchCode : short {
    _TMR = 0,
    _3FU_3V = 1,
    _TMR_2V_CMP = 2,
    _3FU_2MUX_ = 3,
    _3FU_1MUX = 4,
    _3FU_2MUX_CMP = 5,
    _DUPL_CMP = 6,
    _FUCH = 7,
    _TMR_3CH = 8,
    _DLP_1CH = 9,
    _DLP_2CH = 10,
};

// Receives each generated file in plan order; false when it was not written.
using FileSink = std::function<bool(const VhdlText&)>;

// Writes the plan's console line, hands every file of the plan to `sink`, then
// " Done\n". True when the sink took every file.
bool runPlan(const Design& d, short arch, const FileSink& sink, std::ostream& out);

}  // namespace velmorn
