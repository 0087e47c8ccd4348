// --prove: after the tree is written, its architecture's promises proved with
// GHDL's synthesis and Yosys' SAT solver. Every module that votes, selects,
// compares or decodes over all values of its inputs; the user's checker and
// the whole top level for a bounded number of cycles from the initial state.
// The scripts and the VHDL around the tree go to <tree>/prove/ through the
// writer; each property's verdict is one line on the console.
#pragma once

#include <string>
#include <string_view>

#include "arch/architectures.h"
#include "arch/plan.h"
#include "model/design.h"
#include "support/diagnostics.h"
#include "vhdl/writer.h"

namespace velmorn {

struct ProofRequest {
    const Design& design;
    const Architecture& architecture;
    const PlanRecord& tree;  // what the plan wrote
    std::string root;        // the prefix of the tree's paths: "" or "<dir>/"
    std::string checker;     // the user's checker file as the command line names it
};

// The directory of the proofs' files in the tree.
inline constexpr std::string_view kProofDirectory = "prove";

// The tools the proofs run, and how to install them.
inline constexpr const char* kProofTools[] = {"ghdl", "yosys"};
inline constexpr const char* kInstallTools = "apt-get install ghdl yosys";

// True when every property holds. Missing tools, a design that GHDL cannot
// analyse or a property that fails or cannot be checked make it false.
bool proveTree(const ProofRequest& request, FileWriter& writer, Diagnostics& diagnostics);

}  // namespace velmorn
