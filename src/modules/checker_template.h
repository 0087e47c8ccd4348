// A checker to start from: the entity that the checked copies instantiate,
// with an architecture that reports no error.
#pragma once

#include <string_view>

#include "model/design.h"
#include "vhdl/out.h"

namespace velmorn {

// The whole file: a comment, the unit's context clause (and ieee.std_logic_1164
// when it lacks it), the checker's entity and an architecture that drives
// ERR <= '0' and says what a checker should compute.
void emitCheckerTemplate(const Design& d, std::string_view checker, VhdlOut& out);

}  // namespace velmorn
