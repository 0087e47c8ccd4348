// The names of the output tree: every suffix that names a generated module,
// its file and its ports, and the paths of the files.
#pragma once

#include <string>
#include <string_view>

#include "model/design.h"

namespace velmorn::names {

// Modules.
inline constexpr std::string_view kCopy = "_prm";                // unit copies of the three-unit architectures, checked copies
inline constexpr std::string_view kUnit = "_fu";                 // copies of the duplex and inside the checked copies
inline constexpr std::string_view kVoter = "_voter";             // the TMR majority voter
inline constexpr std::string_view kSelfCheckingVoter = "_vot_prm";  // the three voters of 3FU-3V, numbered
inline constexpr std::string_view kFaultDecoder = "_fdec_prm";
inline constexpr std::string_view kVotingModule = "_d_prm";      // the voting module of the three-unit architectures
inline constexpr std::string_view kComparator = "_cmp";
inline constexpr std::string_view kChecker = "_ch";              // the user's checker entity
inline constexpr std::string_view kCheckedVoter = "_v_prm";      // the voter of TMR+3CH
inline constexpr std::string_view kMultiplexer = "_m_prm";       // the output multiplexer of the checked duplexes

// Top-level files.
inline constexpr std::string_view kTmrTop = "_tmr";
inline constexpr std::string_view kThreeVoterTop = "_3fu_3v";
inline constexpr std::string_view kTwoVoterTop = "_tmr_2v_cmp";
inline constexpr std::string_view kTwoSelectorTop = "_3fu_2mux";
inline constexpr std::string_view kOneSelectorTop = "_3fu_1mux";
inline constexpr std::string_view kCheckedTwoSelectorTop = "_3fu_2mux_cmp";
inline constexpr std::string_view kDuplexTop = "_dupl_prm";
inline constexpr std::string_view kCheckedTmrTop = "_tmr3ch";
inline constexpr std::string_view kOneCheckerDuplexTop = "_dupl1ch";
inline constexpr std::string_view kTwoCheckerDuplexTop = "_dupl2ch";

// The Yosys script that keeps every module through synthesis (--keep).
inline constexpr std::string_view kKeepScript = "_keep";

// The module directory inside the tree.
inline constexpr std::string_view kModules = "modules";

inline std::string numbered(std::string_view stem, int n) { return std::string(stem) + std::to_string(n); }

// "<name>/modules/<name><suffix>.vhd" and "<name>/<name><suffix>.vhd".
inline std::string modulePath(const Design& d, std::string_view suffix)
{
    return d.outputName + "/" + std::string(kModules) + "/" + d.outputName + std::string(suffix) + ".vhd";
}
inline std::string topPath(const Design& d, std::string_view suffix)
{
    return d.outputName + "/" + d.outputName + std::string(suffix) + ".vhd";
}
// "<name>/<name>_keep.ys".
inline std::string keepScriptPath(const Design& d)
{
    return d.outputName + "/" + d.outputName + std::string(kKeepScript) + ".ys";
}
inline std::string moduleDirectory(const Design& d) { return d.outputName + "/" + std::string(kModules); }

}  // namespace velmorn::names
