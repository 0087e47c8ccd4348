// The one-channel selection modules of the three-unit architectures: one
// fault-decoding channel; copy 1 is passed on unless it is judged faulty,
// then copy 2.
#pragma once

#include <string_view>

#include "model/design.h"
#include "vhdl/out.h"

namespace velmorn {

// The selection computed twice and the two paths compared (3FU-2MUX).
void emitTwoSelectorModule(const Design& d, std::string_view suffix, VhdlOut& out);
// One selection; the alarm is the decoder's summary (3FU-1MUX).
void emitOneSelectorModule(const Design& d, std::string_view suffix, VhdlOut& out);

}  // namespace velmorn
