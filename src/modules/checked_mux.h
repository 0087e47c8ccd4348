// The output multiplexers of the duplex architectures with checkers: copy 1
// is passed on unless its checker reports an error, then copy 2. The selection
// is computed twice and the two paths are compared.
#pragma once

#include <string_view>

#include "model/design.h"
#include "vhdl/interface.h"

namespace velmorn {

// The checkers' error inputs Err_prm1_in (and Err_prm2_in with two checkers),
// the two copies' values and the result of each OUT port, and the flags
// Err<S>1, Err<S>2 (copy k faulty) and Err<S> (the multiplexer's alarm).
Interface checkedMuxInterface(const Design& d, std::string_view suffix, int checkers);

// Both copies have a checker; their errors name the faulty copy (DUPLEX+2CH).
void emitTwoCheckerMux(const Design& d, std::string_view suffix, VhdlOut& out);
// Only copy 1 has a checker; copy 2 is blamed when the copies differ while
// copy 1 is sound (DUPLEX+1CH).
void emitOneCheckerMux(const Design& d, std::string_view suffix, VhdlOut& out);

}  // namespace velmorn
