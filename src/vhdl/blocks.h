// VHDL blocks that several generated files share, each written by one helper:
// the banner and prologue, the generic blocks, entity, component and instance
// frames, the architecture's first and last lines, and the expressions and
// statement blocks of the voters, comparators and selectors.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "model/design.h"
#include "vhdl/interface.h"
#include "vhdl/out.h"

namespace velmorn {

// The eight-line banner of a file: its path and the architecture's label.
std::string banner(std::string_view path, std::string_view label);
// The head of every file: the banner, the design's context clause, two NLs.
// With `withStdLogic`, when the context clause does not make
// ieee.std_logic_1164 visible, it is added after the design's clauses.
void prologue(VhdlOut& out, const Design& d, std::string_view path, std::string_view label, bool withStdLogic = false);

// The generic declaration block of an entity or component; nothing without generics.
// With `sourceSpelling`, the generics as the source spells them.
void genericDeclaration(VhdlOut& out, const Design& d, bool sourceSpelling = false);
// The generic map block of an instance; nothing without generics.
void genericMap(VhdlOut& out, const Design& d);

// "entity <name> is" NL, the generics, "   port(" NL
void entityHead(VhdlOut& out, const Design& d, std::string_view name, bool sourceSpelling = false);
// "   );\n" "end entity <name>;" NL NL "\n"
void entityTail(VhdlOut& out, std::string_view name);
// "component <name> is " NL, the generics, "   port(" NL
void componentHead(VhdlOut& out, const Design& d, std::string_view name);
// "   );\n" "end component;" NL NL
void componentTail(VhdlOut& out);
// "<label> : <entity>" NL, the generic map, "   port map(" NL
void instanceHead(VhdlOut& out, const Design& d, std::string_view label, std::string_view entity);
// "   );\n" NL
void instanceTail(VhdlOut& out);
// "architecture <name>_BEHAV of <of> is" NL
void architectureLine(VhdlOut& out, std::string_view name, std::string_view of);
inline void architectureLine(VhdlOut& out, std::string_view name) { architectureLine(out, name, name); }
// The last line of every file, without a line break: "end <owner>_BEHAV;"
void architectureEnd(VhdlOut& out, std::string_view owner);

// A module's file up to its architecture line: its entity, written from its
// interface, and "architecture <E>_BEHAV of <E> is" NL.
void moduleHead(VhdlOut& out, const Design& d, const Interface& iface);

// Module signals, one line each: "   signal " name " : " type ";\n".
void signalLine(VhdlOut& out, const DerivedName& name, std::string_view type, const Port* source = nullptr);
// Several fixed signals: "   signal " names " : " type ";\n", names separated by ", ".
void signalList(VhdlOut& out, std::string_view names, std::string_view type);
// A signal of a top or checked unit: "signal " name " : " type ";\n".
void topSignalLine(VhdlOut& out, const DerivedName& name, std::string_view type, const Port* source = nullptr);
// Signals of the copies' outputs in a top: for k = 1..copies, each OUT port:
// "signal " name stem k "_sig : " type ";\n".
void copySignals(VhdlOut& out, const Design& d, std::string_view stem, int copies);

// Two-out-of-three majority of the inputs of port N = name + suffix:
// "(N1_in and N2_in) or (N2_in and N3_in) or (N1_in and N3_in);"
struct Majority {
    std::string_view name, suffix;
};
VhdlOut& operator<<(VhdlOut& out, const Majority& m);
// The vote of the three copies' values of port p (inputs N1_in, N2_in,
// N3_in with N = name + suffix) into `target`, one line after `indent`. A bit
// type: the majority per bit; any other type, with equality: copy 1 when
// another copy agrees with it, else copy 2 (a true majority for any one
// faulty copy), as an if statement in a process or a conditional assignment.
enum class StatementKind { Sequential, Concurrent };
void voteLine(VhdlOut& out, const Port& p, std::string_view suffix, const DerivedName& target, std::string_view indent,
              StatementKind kind);
// "   process(" the three inputs of each OUT port, comma-separated, ")" NL.
void sensitivityList(VhdlOut& out, const Design& d, std::string_view suffix);

// Copy 1 unless `flag` reports it faulty, else copy 2, for port name N =
// name + suffix: N "1_in when (" flag " = '0') else " N "2_in;"
struct Selection {
    std::string_view name, suffix, flag;
};
VhdlOut& operator<<(VhdlOut& out, const Selection& s);

// The name of a per-port signal from the OUT port and its position in the list.
using PortName = std::function<DerivedName(const Port& p, size_t position)>;
// Per OUT port: "   " lhs " <= '0' when " a " = " b " else '1';" NL.
void differenceLines(VhdlOut& out, const Design& d, const PortName& lhs, const PortName& a, const PortName& b);
// head " <= " name(p1) " or " name(p2) ... ";" NL NL.
void orChain(VhdlOut& out, const Design& d, std::string_view head, const PortName& name);
// The differences of inputs `u` and `w` of each OUT port into the flags
// name S position s, NL, then the OR chain of the flags under `head`.
void mismatchBlock(VhdlOut& out, const Design& d, std::string_view S, std::string_view s, std::string_view u,
                   std::string_view w, std::string_view head);
// Selection computed twice (paths B and A, switched by `flag`), the paths
// compared per port, the alarm "   Err" S " <= " OR of the comparisons, and the
// outputs taken from path B.
void checkedSelection(VhdlOut& out, const Design& d, std::string_view S, std::string_view flag);
// The two paths compared per port: "   errcmp_sig" n " <= '0' when " X n
// "_sigbouta = " X n "_sigboutb else '1';"
void pathComparison(VhdlOut& out, const Design& d, std::string_view S);
// Selector lines: each OUT port at position n: "   " name S n ending " <= " selection NL.
void selectorLines(VhdlOut& out, const Design& d, std::string_view S, std::string_view ending, std::string_view flag);
// Outputs taken from path B: "   " name S "_out <= " name S n "_sigboutb;" NL.
void outputsFromPathB(VhdlOut& out, const Design& d, std::string_view S);
// The OR chain of the path comparisons under `head`.
void pathComparisonChain(VhdlOut& out, const Design& d, std::string_view head);

}  // namespace velmorn
