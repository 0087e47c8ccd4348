// One copy of the user's functional unit as a module of its own.
#pragma once

#include <string_view>

#include "model/design.h"
#include "vhdl/interface.h"

namespace velmorn {

// The unit's entity and every port renamed with `suffix`.
Interface unitCopyInterface(const Design& d, std::string_view suffix);

// The copy: its entity, and the user's body running on signals that carry
// the original port names, connected to the suffixed ports.
void emitUnitCopy(const Design& d, std::string_view suffix, VhdlOut& out);

}  // namespace velmorn
