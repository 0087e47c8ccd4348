// The fault decoder of the three-voter architecture: names the faulty copy,
// with copy 3 as the reference.
#pragma once

#include <string_view>
#include <vector>

#include "model/design.h"
#include "vhdl/interface.h"

namespace velmorn {

// The copies' values of each OUT port and the flags Err<S>1, Err<S>2, Err<S>3
// (copy k faulty) and Err<S> (any copy faulty).
Interface faultDecoderInterface(const Design& d, std::string_view suffix);
// The flags Err<S>1..3 and Err<S>, as ErrorFlag ports 1, 2, 3 and 0.
void addCopyFlags(Interface& iface, std::string_view suffix);

// Copies 1 and 2 are each compared with copy 3 over all OUT ports; the two
// results name the faulty copy (copy 3 when both differ from it).
void emitFaultDecoder(const Design& d, std::string_view suffix, VhdlOut& out);

}  // namespace velmorn
