// The comparator of the duplex architecture: ERR_cmp when any OUT port of the
// two copies differs.
#pragma once

#include <string_view>

#include "model/design.h"
#include "vhdl/interface.h"

namespace velmorn {

// For each OUT port p: p<S>1_in and p<S>2_in, then ERR_cmp (a fixed name).
Interface comparatorInterface(const Design& d, std::string_view suffix);

void emitComparator(const Design& d, std::string_view suffix, VhdlOut& out);

}  // namespace velmorn
