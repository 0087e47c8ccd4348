// The VHDL around a tree that the top-level proofs synthesise: the unit itself
// as the reference, the proof top that runs it beside the generated top, a
// complete checker, and the proof top of the user's checker.
#pragma once

#include <string>
#include <string_view>

#include "model/design.h"
#include "vhdl/interface.h"
#include "vhdl/out.h"

namespace velmorn::harness {

// Entity names, after the unit's entity E.
std::string goldenEntity(const Design& d);       // E_gold: the unit itself
std::string proofTopEntity(const Design& d);     // E_prove: the unit beside the generated top
std::string checkerProofEntity(const Design& d);  // E_ch_prove: the unit beside the user's checker

// Signals of the proof tops: the free value of OUT port p that a cut copy
// drives (p_cut), the input it comes from (p_free), the unit's value (p_gold).
inline DerivedName cutSignal(const Port& p) { return {p.name, "_cut"}; }
inline constexpr std::string_view kEqual = "prove_eq";      // every output equals the unit's
inline constexpr std::string_view kFollow = "prove_follow";  // every output equals the cut copy's
inline constexpr std::string_view kDiffer = "prove_diff";    // the cut copy's outputs differ from the unit's
inline constexpr std::string_view kCheckerError = "prove_err";

// The unit as the source declares it, its entity renamed E_gold.
void emitGolden(const Design& d, VhdlOut& out);
// E_prove: the unit's inputs drive E_gold and the generated top (every copy of
// an input of a top with per-copy inputs); p_free drives p_cut, which the
// proof script connects in place of a cut copy's output; the flags compare.
void emitProofTop(const Design& d, const Interface& top, VhdlOut& out);
// A checker E_ch whose ERR is '1' exactly when the outputs it checks differ
// from those of its own E_gold on the same inputs.
void emitCompleteChecker(const Design& d, std::string_view checker, VhdlOut& out);
// E_ch_prove: the user's checker on free outputs beside E_gold.
void emitCheckerProofTop(const Design& d, std::string_view checker, VhdlOut& out);

}  // namespace velmorn::harness
