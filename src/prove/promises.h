// What each kind of generated module and each architecture's top level
// promises, as data, and the properties that state it: each property a set of
// SAT checks over the module's ports, found by their roles in its interface.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "arch/plan.h"
#include "model/design.h"
#include "vhdl/interface.h"

namespace velmorn {

// What a module's data outputs (its Result ports) carry.
enum class DataRule {
    None,      // the module has none
    Majority,  // the good copies' value while at most one copy is faulty
    Selected,  // copy 1 while the error line of checker 1 is '0', else copy 2
};

// What an error output carries, with one copy free (or none).
enum class FlagRule {
    Quiet,           // always '0'
    Blame,           // the flag of copy k: '1' exactly when copy k is the free one and differs
    AnyDiff,         // '1' exactly when the free copy differs from the others
    Line,            // the error line of the same copy's checker
    UnlessReported,  // AnyDiff while every checker error line is '0', else '0'
};

// A kind of module that votes, selects, compares or decodes.
struct ModuleKind {
    PlanRecord::ModuleEmitter emit;
    Interface (*iface)(const Design&, std::string_view suffix);
    DataRule data;
    FlagRule copyFlags;  // the flags of the copies that have no checker error line
    FlagRule alarm;      // the module's own alarm (error flag 0)
};
// The kind of the module that `emit` writes; nullptr for the unit copies and
// the checked units.
const ModuleKind* moduleKind(PlanRecord::ModuleEmitter emit);

// What a top level promises with one copy's outputs free.
struct TopFlag {
    FlagRule rule;  // Blame, AnyDiff or Quiet
    int copy = 0;   // for Blame
};
struct TopPromise {
    std::string_view sw;   // the architecture's switch
    bool masks;            // its outputs equal the unit's; else they follow copy 1
    std::vector<TopFlag> errors;  // the top's error outputs, in the order of its entity
};
const TopPromise* topPromise(std::string_view sw);

// One SAT check: the assumptions and the equalities it proves, each a pair of
// signals or a signal and a constant.
using Equality = std::pair<std::string, std::string>;
struct Check {
    std::string scenario;  // what it assumes, for the report of a counterexample
    std::vector<Equality> sets, proves;
};
// One property: what it states and the checks that together prove it.
struct Property {
    std::string statement;
    std::vector<Check> checks;
    std::string whenFailed = {};  // what a failure means, when it is not the generator's fault
};

// The properties of one module, over the ports of its netlist (a record port
// is one netlist port per field: <port>_<field>). False with the reason in
// `problem` when a port of the interface is not in the netlist.
bool moduleProperties(const Interface& iface, const ModuleKind& kind, const std::vector<std::string>& netlistPorts,
                      std::vector<Property>& properties, std::string& problem);

// The names of a list for a message: "A, B and C", the first few of a long one.
std::string nameList(const std::vector<std::string>& names);

}  // namespace velmorn
