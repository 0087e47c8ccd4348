// One copy of the user's functional unit as a module of its own.
#pragma once

#include <string_view>

#include "model/design.h"
#include "vhdl/interface.h"

namespace velmorn {

// The unit's entity and every port renamed with `suffix`.
Interface unitCopyInterface(const Design& d, std::string_view suffix);

// The signal through which the module that instantiates a copy reads its OUT
// port p: p <copy> n "_sig" (n left out when 0).
inline DerivedName copyOutputSignal(const Port& p, std::string_view copy, size_t n = 0)
{
    return {p.name, copy, n, "_sig"};
}

// The copy: its entity, and the user's body running on signals that carry
// the original port names, connected to the suffixed ports.
void emitUnitCopy(const Design& d, std::string_view suffix, VhdlOut& out);

}  // namespace velmorn
