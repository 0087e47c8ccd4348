// A unit copy paired with the user's checker in one module: the checker sees
// the module's inputs and the copy's outputs and drives the module's error
// output.
#pragma once

#include <string_view>

#include "model/design.h"
#include "vhdl/interface.h"
#include "vhdl/options.h"

namespace velmorn {

struct CheckedUnitNames {
    std::string_view copy;     // suffix of the unit copy inside ("_fu1")
    std::string_view checker;  // suffix of the checker's entity ("_ch")
    std::string_view module;   // suffix of this module's entity and ports; may be empty
};

// The module: the unit's IN and INOUT ports, the checker's error output
// ERR<module>, the unit's OUT ports, all suffixed by `module`.
Interface checkedUnitInterface(const Design& d, std::string_view module);
// The checker that the module instantiates: entity <E><checker> with the
// unit's generics, its IN and INOUT ports, its OUT ports as IN ports and
// ERR : out std_logic.
Interface checkerInterface(const Design& d, std::string_view checker);

// The label of the unit copy's instance inside the module: "<E><copy>x".
std::string checkedCopyLabel(const Design& d, std::string_view copy);

// With --keep, the attributes that keep its two instances.
void emitCheckedUnit(const Design& d, const CheckedUnitNames& names, const GenerationOptions& options, VhdlOut& out);

}  // namespace velmorn
