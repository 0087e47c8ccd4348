// What the top levels share: their own entity, the copies' output signals and
// the instances of the unit copies.
#pragma once

#include <initializer_list>
#include <string_view>

#include "model/design.h"
#include "modules/unit_copy.h"
#include "vhdl/interface.h"

namespace velmorn {

// The top's entity: the unit's name and ports (IN, INOUT, OUT), then the
// given std_logic error outputs.
Interface topInterface(const Design& d, std::initializer_list<std::string_view> errorOutputs);
// The top's entity and "architecture <E>_BEHAV of <E> is" NL NL; with
// --source-names the entity, its generics and ports and the architecture as
// the source spells them.
void topHead(VhdlOut& out, const Design& d, Interface top, const GenerationOptions& options);
// The top's last line: "end <E>_BEHAV;", or "end <architecture>;" with --source-names.
void topEnd(VhdlOut& out, const Design& d, const GenerationOptions& options);

// The signal that carries OUT port p of copy c: p <stem> c "_sig".
inline DerivedName copySignal(const Port& p, std::string_view stem, int c)
{
    return copyOutputSignal(p, stem, static_cast<size_t>(c));
}

// The label of copy c's instance in a top: "<E><c><stem>".
std::string copyLabel(const Design& d, std::string_view stem, int c);

// Instance "<E><c><stem> : <copy entity>" of copy c: its IN and INOUT ports
// to the top's ports of the same name (with the number c when
// `perCopyInputs`), its OUT ports to the copy's signals, any other port to
// what `other` gives.
void copyInstance(Instances& instances, const Design& d, const Interface& copy, std::string_view stem, int c,
                  const ActualOf& other = {}, bool perCopyInputs = false);

// The components of the unit copies <stem>1 .. <stem><count>.
void copyComponents(VhdlOut& out, const Design& d, std::string_view stem, int count);
// Their instances, as copyInstance() makes them.
void copyInstances(Instances& instances, const Design& d, std::string_view stem, int count,
                   bool perCopyInputs = false);

// The actual of a voting module's port: the copies' signals for the copies'
// values, the top's OUT port (numbered n unless 0) for the results, and the
// top's error output `errors[k]` for error flag k (flag 0 last).
DerivedName votingActual(const InterfacePort& p, std::string_view copyStem, std::initializer_list<std::string_view> errors,
                         size_t resultNumber = 0);

}  // namespace velmorn
