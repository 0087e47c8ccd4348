// The Yosys scripts of the proofs and what their logs say.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "prove/promises.h"

namespace velmorn {

// The bound of the top-level proofs, in clock cycles from the initial state.
inline constexpr int kProofCycles = 20;

// A Yosys script: the netlist read and checked, then one sat call per check,
// each preceded by "log PROPERTY <n>" (n counting from 1 over all checks).
struct ProofScript {
    std::string text;
    size_t checks = 0;
};

// What a script is about and how it starts.
struct ScriptFrame {
    std::string comment;       // the script's first line, after "# "
    std::string netlist;       // the Verilog file
    std::string top;           // its top module
    std::vector<std::string> beforeFlatten, afterFlatten;  // the commands that cut a copy
    std::vector<std::string> afterCheck;                   // checks of the cut before the proof
    bool sequential = false;   // bounded from the initial state, else over all input values at once
};

ProofScript proofScript(const ScriptFrame& frame, const std::vector<Property>& properties);

// The outcome of each check of a script run, from its log.
struct CheckOutcome {
    enum class State { Proved, Failed, NotRun } state = State::NotRun;
    std::string counterexample;  // for Failed: the model, one line per signal or step
};
struct ScriptOutcome {
    std::vector<CheckOutcome> checks;
    std::string error;  // the first line of the log with "ERROR:", when the script stopped on one
};
ScriptOutcome readLog(std::string_view log, size_t checks);

}  // namespace velmorn
