// The redundancy modules: voters, the fault decoder, the comparators and the
// multiplexers. Each returns the text of one module file named by `module`.
#pragma once

#include <string>

#include "emit/text.h"

namespace velmorn {

// Majority voter: each OUT port from three copies, two out of three per bit.
VhdlText GenerateVoter(const Design& d, const std::string& module, const std::string& arch);
// Self-checking voter: the majority twice, an error output when they differ.
VhdlText GenerateVoterWithErr(const Design& d, const std::string& module, const std::string& arch);
// Fault decoder: names the copy that differs, copy 3 as the reference.
VhdlText GenerateFDEC(const Design& d, const std::string& module, const std::string& arch);
// Two-channel decoder, two majority voters and their comparison.
VhdlText GenerateVoterTMR2V(const Design& d, const std::string& module, const std::string& arch);
// Selecting modules of the three-unit multiplexer architectures.
VhdlText GenerateMPRM3FUA(const Design& d, const std::string& module, const std::string& arch);
VhdlText GenerateMPRM3FUB(const Design& d, const std::string& module, const std::string& arch);
VhdlText GenerateMPRM3FUC(const Design& d, const std::string& module, const std::string& arch);
// Comparator of two copies: ERR_cmp when any output pair differs.
VhdlText GenerateCmp(const Design& d, const std::string& module, const std::string& arch);
// Duplex output multiplexers switched by the checkers' errors.
VhdlText GenerateMuxWithErr(const Design& d, const std::string& module, const std::string& arch);
VhdlText GenerateMuxWithErrCMP(const Design& d, const std::string& module, const std::string& arch);

}  // namespace velmorn
