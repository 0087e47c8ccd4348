// What the four voting modules of the three-unit architectures share: their
// interface and the decoding of the faulty copy from two comparisons.
#pragma once

#include <string_view>

#include "model/design.h"
#include "vhdl/interface.h"

namespace velmorn {

// The copies' values and results of each OUT port, then the flags Err<S>1,
// Err<S>2, Err<S>3 (copy k faulty) and Err<S> (the module's alarm).
Interface votingModuleInterface(const Design& d, std::string_view suffix);

// Fault decoding of one channel whose signals end in x: copy 3 is faulty when
// it differs from both others, copy 1 or 2 when it alone differs from copy 3.
void decodeLines(VhdlOut& out, std::string_view x);
// The copy flags of the module: "   Err" S k " <= err" k x ";" for k = 1, 2, 3.
void copyFlagOutputs(VhdlOut& out, std::string_view S, std::string_view x);

}  // namespace velmorn
