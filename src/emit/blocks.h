// VHDL blocks that several generators write: entity and component frames, the
// port lists and associations of the unit's interface, the instance frame, the
// voter's port lists and majority expression, and the difference/OR-chain blocks
// of the comparators and decoders. Each writes exactly the lines it is named
// after; the port name is always the record's name followed by a suffix.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>

#include "emit/text.h"

namespace velmorn {

// "entity <name> is" NL, GD, "   port(" NL
void entityHead(VhdlText& t, const std::string& name);
// "   );\n" "end entity <name>;" NL NL "\n"
void entityTail(VhdlText& t, const std::string& name);
// "architecture <name>_BEHAV of <of> is" NL (callers add any further NL)
void architectureLine(VhdlText& t, const std::string& name, const std::string& of);
inline void architectureLine(VhdlText& t, const std::string& name) { architectureLine(t, name, name); }
// A redundancy module's file up to its architecture line: the prologue, the
// entity <entity_name><M> with the port lines that `ports` writes, and
// "architecture <E>_BEHAV of <E> is" NL.
VhdlText moduleHead(const Design& d, const std::string& M, const std::string& arch,
                    const std::function<void(VhdlText&)>& ports);
// A top-level file up to its architecture: the prologue, the entity
// <entity_name> with the port lines that `ports` writes, and
// "architecture <T>_BEHAV of <T> is" NL NL.
VhdlText topHead(const Design& d, const std::string& top, const std::string& arch,
                 const std::function<void(VhdlText&)>& ports);
// The unit's IN, INOUT and OUT ports unsuffixed, then fixed std_logic error
// outputs: "      " name " : OUT std_logic" with ";\n", the last with "\n".
void portsWithErrorOutputs(VhdlText& t, std::initializer_list<const char*> errors);
// "component <name> is " NL, GD, "   port(" NL
void componentHead(VhdlText& t, const std::string& name);
// "   );\n" "end component;" NL NL
void componentTail(VhdlText& t);
// The component of a module, named <entity_name><sfx>, with the same port
// lines as the module's entity (`ports`).
void moduleComponent(VhdlText& t, const std::string& sfx, const std::function<void(VhdlText&)>& ports);

// Mode pieces of port lines.
struct PortModes {
    const char* in;
    const char* inout;
    const char* out;
};
inline constexpr PortModes kUpperModes{" : IN", " : INOUT", " : OUT"};
inline constexpr PortModes kLowerModes{" : in", " : inout", " : out"};

// IN then INOUT ports: "      " name sfx mode type ";\n".
void inputPortLines(VhdlText& t, const std::string& sfx, const PortModes& m = kUpperModes);
// OUT ports: "      " name sfx mode type, the last one without ";" unless `more` lines follow.
void outputPortLines(VhdlText& t, const std::string& sfx, bool more, const PortModes& m = kUpperModes);
// The unit's whole interface with a suffix: IN, INOUT, OUT (last without ";").
void unitPortList(VhdlText& t, const std::string& sfx, const PortModes& m = kUpperModes);
// "      " " ERR" sfx " : OUT std_logic;" NL: the checker's error output of a unit module.
void errPortLine(VhdlText& t, const std::string& sfx);

// The PRM component declaration of a unit copy: component <entity><sfx> with
// the unit's ports suffixed by sfx.
void unitComponent(VhdlText& t, const std::string& sfx);

// Instance frame: label line + NL, GM, "   port map(" NL, the associations,
// "   );\n" NL.
void instanceFrame(VhdlText& t, const std::string& label, const std::function<void()>& associations);
// The one instance of a module <entity_name><sfx>, labelled <E><sfx>1 : <E><sfx>.
void moduleInstance(VhdlText& t, const std::string& sfx, const std::function<void()>& associations);

// Instances of the unit copies 1..count, each labelled <T><c><module> :
// <T><module><c>: the IN and INOUT ports to the top's ports (suffixed by c
// when `perCopyInputs`), the lines of `beforeOutputs(c)`, the OUT ports to the
// copy's signals, and the lines of `afterOutputs(c)` when given.
struct CopyInstanceOptions {
    bool perCopyInputs = false;
    std::function<void(int c)> beforeOutputs;
    std::function<void(int c)> afterOutputs;
};
void copyInstances(VhdlText& t, const std::string& module, int count, const CopyInstanceOptions& options = {});

// IN then INOUT associations: "      " name formalSfx " => " name actualSfx ",\n".
void inputAssocs(VhdlText& t, const std::string& formalSfx, const std::string& actualSfx);
// OUT associations to the copy's signals: "      " name sfx " => " name sfx "_sig",
// the last without "," unless `more` follows.
void outputSignalAssocs(VhdlText& t, const std::string& sfx, bool more);

// Signals of the copies' outputs: for k = 1..copies, each OUT port:
// "signal " name stem k "_sig : " type ";\n".
void copySignals(VhdlText& t, const std::string& stem, int copies);

// Voter inputs: each OUT port, k = 1, 2, 3: "      " name S k "_in : IN" type ";\n".
void voterInputLines(VhdlText& t, const std::string& S);
// Voter outputs: "      " name S "_out : OUT" type, last without ";" unless `more`.
void voterOutputLines(VhdlText& t, const std::string& S, bool more);
// The majority voter's port list: its inputs and its outputs.
void voterPortList(VhdlText& t, const std::string& S);
// The voting-module port list of the three-unit architectures: voter inputs,
// outputs and the four flags Err S 1..3 and Err S.
void votingModulePortList(VhdlText& t, const std::string& S);
// Voter input associations: "      " name S k "_in => " name stem k "_sig,\n".
void voterInputAssocs(VhdlText& t, const std::string& S, const std::string& stem);
// Voter output associations: "      " name S "_out => " name actualSfx, last
// without "," unless `more`.
void voterOutputAssocs(VhdlText& t, const std::string& S, const std::string& actualSfx, bool more);
// Pair inputs of comparators and multiplexers: each OUT port, i = 1, 2:
// "      " name S i "_in : IN" type ";\n".
void pairInputLines(VhdlText& t, const std::string& S);
// Pair input associations: "      " name S i "_in => " name stem i "_sig,\n".
void pairInputAssocs(VhdlText& t, const std::string& S, const std::string& stem);

// "   process(" the three inputs of each OUT port, comma-separated, ")" NL.
void sensitivityList(VhdlText& t, const std::string& S);
// Two-out-of-three majority of the inputs of port N = name + suffix, written
// straight into the text: "(N1_in and N2_in) or (N2_in and N3_in) or (N1_in and N3_in);"
struct Majority {
    std::string_view name, suffix;
};
inline Majority majority(std::string_view name, std::string_view suffix) { return {name, suffix}; }
VhdlText& operator<<(VhdlText& t, const Majority& m);

// A derived name written with nothing between its parts: base, suffix, the
// position n unless it is 0, and an ending (Q + "_d_prm" + 1 + "_siga").
struct DerivedName {
    std::string_view base, suffix;
    size_t n = 0;
    std::string_view ending;
};
VhdlText& operator<<(VhdlText& t, const DerivedName& x);

// Per OUT port p at position n: "   " lhs " <= '0' when " a " = " b " else '1';" NL.
using PortName = std::function<DerivedName(const Toutport& p, size_t n)>;
void differenceLines(VhdlText& t, const PortName& lhs, const PortName& a, const PortName& b);
// head " <= " name(p1) " or " name(p2) ... ";" NL NL.
void orChain(VhdlText& t, const std::string& head, const PortName& name);
// Mismatch block: the difference of inputs u and w of each port into flag
// name S n s, NL, then the OR chain of the flags under `head`.
void mismatchBlock(VhdlText& t, const std::string& S, const std::string& s, const std::string& u,
                   const std::string& w, const std::string& head);
// Voter-comparison block: "   errcmp_sig" n " <= '0' when " X n "_sigbouta = " X n
// "_sigboutb else '1';" for each OUT port.
void voterComparisonBlock(VhdlText& t, const std::string& S);

// Selection of copy 1 unless `flag` reports it faulty, else copy 2, for port
// name N (N = name + suffix): N "1_in when (" flag " = '0') else " N "2_in;"
struct Selection {
    std::string_view name, suffix, flag;
};
inline Selection selection(std::string_view name, std::string_view suffix, std::string_view flag)
{
    return {name, suffix, flag};
}
VhdlText& operator<<(VhdlText& t, const Selection& s);
// Selector lines: each OUT port at position n: "   " name S n sfx " <= " selection NL.
void selectorLines(VhdlText& t, const std::string& S, const std::string& sfx, const std::string& flag);
// Outputs taken from selector or voter B: "   " name S "_out <= " name S n "_sigboutb;" NL.
void selectedOutputs(VhdlText& t, const std::string& S);
// Selection computed twice (paths B and A, switched by `flag`), the paths
// compared per port, the alarm "   Err" S " <= " OR of the comparisons, and the
// outputs taken from path B.
void checkedSelection(VhdlText& t, const std::string& S, const std::string& flag);
// Port list of the duplex multiplexers: the checker error inputs Err_prm1_in
// (and Err_prm2_in with two checkers), the pair inputs, the outputs and the
// flags Err S 1, Err S 2 and Err S (last, without ";").
void muxPortList(VhdlText& t, const std::string& S, bool twoCheckers);

// Port list of the voter with error output (entity and component): voter
// inputs, outputs (all with ";") and "      Err" S "_out : OUT std_logic\n".
void voterWithErrPortList(VhdlText& t, const std::string& S);
// Port list of the fault decoder: voter inputs, then Err S 1..3 and Err S
// (last, without ";").
void fdecPortList(VhdlText& t, const std::string& S);
// Port list of the comparator: pair inputs, then "      ERR_cmp : OUT std_logic\n".
void cmpPortList(VhdlText& t, const std::string& S);

}  // namespace velmorn
