// One copy of the user's functional unit as a module of its own.
#pragma once

#include <string>

#include "emit/text.h"

namespace velmorn {

// The unit's entity and ports renamed with the suffix `module`; the user's body
// runs on signals that carry the original port names.
VhdlText GenerateModul(const Design& d, const std::string& module, const std::string& arch);

}  // namespace velmorn
