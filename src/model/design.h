// The design of one run: the unit's entity interface, its context clause and
// its architecture body. The analysis fills one Design; every later stage only
// reads it.
#pragma once

#include <string>
#include <vector>

namespace velmorn {

struct Generic {
    std::string name;  // upper case
    std::string type;  // the text after the colon, default value included; begins with a blank
};

enum class PortMode { In, Out, Inout };

struct Port {
    std::string name;  // upper case
    PortMode mode;
    std::string type;  // the text after the mode word; begins with a blank
};

struct Design {
    std::string outputName;     // the source's base name: names the output tree and its files
    std::string contextClause;  // the library and use clauses, rebuilt; every generated file repeats it
    std::string entityName;     // upper case
    std::string body;           // the architecture after its IS, the closing END clause blanked
    // Declarations of the entity's declarative part (constants, types, ...),
    // one per line, that the body may use: the copies declare them in their
    // architecture.
    std::string entityDeclarations;

    std::vector<Generic> generics;
    std::vector<Port> inputs;   // in declaration order, per mode
    std::vector<Port> outputs;
    std::vector<Port> inouts;
};

}  // namespace velmorn
