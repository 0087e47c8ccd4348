// The top levels: each writes the file that declares the modules of its
// architecture, their connecting signals and instances. The names say which
// modules it instantiates; the same suffixes named their files.
#pragma once

#include <string_view>

#include "model/design.h"
#include "vhdl/options.h"
#include "vhdl/interface.h"
#include "vhdl/out.h"

namespace velmorn {

// Each top's entity is written from its interface, topEntity(d, names); the
// same interface tells the stages after generation what the top's ports are.

// Three copies and one majority voter; the voter drives the unit's outputs.
struct TmrTopNames {
    std::string_view copy, voter;
};
Interface topEntity(const Design& d, const TmrTopNames& names);
void emitTmrTop(const Design& d, const TmrTopNames& names, const GenerationOptions& options, VhdlOut& out);

// Three copies with inputs and outputs of their own, three self-checking
// voters each driving one set of outputs, and the fault decoder.
struct ThreeVoterTopNames {
    std::string_view copy, voter, decoder;  // voter v is named voter + v
};
Interface topEntity(const Design& d, const ThreeVoterTopNames& names);
void emitThreeVoterTop(const Design& d, const ThreeVoterTopNames& names, const GenerationOptions& options, VhdlOut& out);

// Three unit-with-checker modules and one self-checking voter.
struct CheckedTmrTopNames {
    std::string_view checkedCopy, voter;
};
Interface topEntity(const Design& d, const CheckedTmrTopNames& names);
void emitCheckedTmrTop(const Design& d, const CheckedTmrTopNames& names, const GenerationOptions& options, VhdlOut& out);

// Three copies and one voting module that also names the faulty copy.
struct ThreeUnitTopNames {
    std::string_view copy, votingModule;
};
Interface topEntity(const Design& d, const ThreeUnitTopNames& names);
void emitThreeUnitTop(const Design& d, const ThreeUnitTopNames& names, const GenerationOptions& options, VhdlOut& out);

// Two copies on the same inputs and their comparator; copy 1 drives the
// unit's outputs and the comparator drives ERR.
struct DuplexTopNames {
    std::string_view copy, comparator;
};
Interface topEntity(const Design& d, const DuplexTopNames& names);
void emitDuplexTop(const Design& d, const DuplexTopNames& names, const GenerationOptions& options, VhdlOut& out);

// Two copies, the first (or both) paired with a checker, and the output
// multiplexer.
struct CheckedDuplexTopNames {
    std::string_view copy, multiplexer;
    int checkers;  // 1: copy 2 is a plain copy
};
Interface topEntity(const Design& d, const CheckedDuplexTopNames& names);
void emitCheckedDuplexTop(const Design& d, const CheckedDuplexTopNames& names, const GenerationOptions& options, VhdlOut& out);

}  // namespace velmorn
