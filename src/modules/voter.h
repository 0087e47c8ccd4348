// The majority voters: each OUT port from three copies, two out of three.
#pragma once

#include <string_view>
#include <vector>

#include "model/design.h"
#include "vhdl/interface.h"

namespace velmorn {

// For each OUT port p: p<S>1_in, p<S>2_in, p<S>3_in (the copies' values),
// then each p<S>_out (the voted value).
Interface voterInterface(const Design& d, std::string_view suffix);
// The voter's ports and the error output Err<S>_out.
Interface voterWithErrorInterface(const Design& d, std::string_view suffix);

// Majority voter: two out of three per bit, in one combinational process.
void emitVoter(const Design& d, std::string_view suffix, VhdlOut& out);
// Self-checking voter: the majority twice, an error output when the two differ.
// The data outputs carry the second majority.
void emitVoterWithError(const Design& d, std::string_view suffix, VhdlOut& out);

}  // namespace velmorn
