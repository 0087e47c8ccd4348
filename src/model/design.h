// The design of one run: the unit's entity interface, its context clause and
// its architecture body. The analysis fills one Design; every later stage only
// reads it.
#pragma once

#include <string>
#include <vector>

#include "model/source_text.h"

namespace velmorn {

struct Generic {
    std::string name;  // upper case
    std::string type;  // the text after the colon, default value included; begins with a blank
    std::string spelling = {};  // the name as the source spells it; empty when not read from a source
};

enum class PortMode { In, Out, Inout };

struct Port {
    std::string name;  // upper case
    PortMode mode;
    std::string type;  // the text after the mode word; begins with a blank
    std::string spelling = {};  // the name as the source spells it; empty when not read from a source
};

// The ports whose values the copies produce, which every module that votes,
// selects or compares takes: the OUT ports, then the INOUT ports (a copy's
// drive of them).
class ProducedPorts {
public:
    ProducedPorts(const std::vector<Port>& outputs, const std::vector<Port>& inouts) : a_(outputs), b_(inouts) {}

    class iterator {
    public:
        iterator(const ProducedPorts& r, size_t i) : r_(&r), i_(i) {}
        const Port& operator*() const { return i_ < r_->a_.size() ? r_->a_[i_] : r_->b_[i_ - r_->a_.size()]; }
        const Port* operator->() const { return &**this; }
        iterator& operator++()
        {
            ++i_;
            return *this;
        }
        bool operator!=(const iterator& o) const { return i_ != o.i_; }

    private:
        const ProducedPorts* r_;
        size_t i_;
    };
    iterator begin() const { return {*this, 0}; }
    iterator end() const { return {*this, size()}; }
    size_t size() const { return a_.size() + b_.size(); }

private:
    const std::vector<Port>& a_;
    const std::vector<Port>& b_;
};

// True when the port is voted bit by bit with "and" and "or": an OUT port of
// a bit type (std_logic, std_ulogic, bit, boolean, their vectors, signed,
// unsigned). Every other port is voted with equality, which every type has,
// and which keeps a released bus ('Z') as it is.
bool votesBitwise(const Port& p);
// True when the port's type is one of the standard array types without a
// constraint (std_logic_vector, unsigned, string, ...): no signal of it can be declared.
bool hasUnconstrainedType(const Port& p);


struct Design {
    std::string outputName;     // the source's base name: names the output tree and its files
    std::string contextClause;  // the library and use clauses, rebuilt; every generated file repeats it
    std::string entityName;     // upper case
    std::string entitySpelling;        // the entity's name as the source spells it
    std::string architectureSpelling;  // the architecture's name as the source spells it
    ArchitectureBody body;      // the architecture after its IS, the closing END clause blanked
    // Declarations of the entity's declarative part (constants, types, ...),
    // one per line, that the body may use: the copies declare them in their
    // architecture.
    std::string entityDeclarations;
    // The source's architecture name when the body names it; the copies'
    // architectures keep it. Empty otherwise.
    std::string architectureName;
    // The entities and components that the body uses (upper case): no
    // generated module may take their names.
    std::vector<std::string> usedUnits;

    std::vector<Generic> generics;
    std::vector<Port> inputs;   // in declaration order, per mode
    std::vector<Port> outputs;
    std::vector<Port> inouts;

    ProducedPorts produced() const { return {outputs, inouts}; }
};

// A name as the source spells it, or its upper-case name.
template <class Named>
const std::string& spelled(const Named& n)
{
    return n.spelling.empty() ? n.name : n.spelling;
}

// How many names the unit's entity declares: its ports and generics.
inline size_t entityNameCount(const Design& d)
{
    return d.inputs.size() + d.outputs.size() + d.inouts.size() + d.generics.size();
}

// The entity's and the architecture's names as the source spells them, or
// their generated names for a design not read from a source.
inline std::string entityAsSpelled(const Design& d) { return d.entitySpelling.empty() ? d.entityName : d.entitySpelling; }
inline std::string architectureAsSpelled(const Design& d)
{
    return d.architectureSpelling.empty() ? d.entityName + "_BEHAV" : d.architectureSpelling;
}

// True when the design's context clause makes ieee.std_logic_1164 visible.
bool seesStdLogic(const Design& d);

}  // namespace velmorn
