// The two-channel voting modules: two fault-decoding channels a and b, two
// result paths compared with each other, the outputs taken from path B.
#pragma once

#include <string_view>

#include "model/design.h"
#include "vhdl/out.h"

namespace velmorn {

// The results are two majority voters (TMR-2V-CMP).
void emitTwoVoterModule(const Design& d, std::string_view suffix, VhdlOut& out);
// The results are two selectors driven by channel a (3FU-2MUX-CMP).
void emitCheckedTwoSelectorModule(const Design& d, std::string_view suffix, VhdlOut& out);

}  // namespace velmorn
