#include "arch/checker.h"

#include <cctype>

#include "arch/names.h"
#include "modules/checked_unit.h"
#include "modules/checker_template.h"
#include "support/text.h"

namespace velmorn {

namespace {

// A type text without blanks, in lower case, without its default value.
std::string typeOf(std::string_view type)
{
    if (const size_t def = type.find(":="); def != std::string_view::npos) type = type.substr(0, def);
    std::string s;
    for (char c : type)
        if (!std::isspace(static_cast<unsigned char>(c))) s += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// A type text as a message shows it: without its default value and the blanks around it.
std::string typeShown(std::string_view s)
{
    if (const size_t def = s.find(":="); def != std::string_view::npos) s = s.substr(0, def);
    return std::string(trimmed(s));
}

const char* modeName(PortMode m) { return m == PortMode::In ? "IN" : m == PortMode::Out ? "OUT" : "INOUT"; }

struct Expected {
    std::string name;
    PortMode mode;
    std::string type;
};

const Port* findPort(const Design& d, const std::string& name)
{
    for (const auto* list : {&d.inputs, &d.outputs, &d.inouts})
        for (const Port& p : *list)
            if (p.name == name) return &p;
    return nullptr;
}

}  // namespace

std::vector<std::string> checkerDifferences(const Design& unit, const Design& checker)
{
    std::vector<std::string> diffs;
    const Interface iface = checkerInterface(unit, names::kChecker);
    if (upperCase(iface.entity) != checker.entityName)
        diffs.push_back("entity " + checker.entityName + ", expected " + iface.entity);

    for (const Generic& g : unit.generics) {
        const Generic* found = nullptr;
        for (const Generic& c : checker.generics)
            if (c.name == g.name) found = &c;
        if (!found) diffs.push_back("generic " + g.name + " is missing");
        else if (typeOf(found->type) != typeOf(g.type))
            diffs.push_back("generic " + g.name + " has type " + typeShown(found->type) + ", expected " + typeShown(g.type));
    }
    for (const Generic& c : checker.generics) {
        bool known = false;
        for (const Generic& g : unit.generics) known = known || g.name == c.name;
        if (!known) diffs.push_back("generic " + c.name + " is not one of the unit's");
    }

    std::vector<Expected> expected;
    forEachPort(iface, [&](const InterfacePort& p, bool) {
        expected.push_back({upperCase(p.name.text()), p.mode, std::string(p.type)});
    });
    for (const Expected& e : expected) {
        const Port* p = findPort(checker, e.name);
        if (!p) {
            diffs.push_back("port " + e.name + " is missing");
            continue;
        }
        if (p->mode != e.mode)
            diffs.push_back("port " + e.name + " has mode " + modeName(p->mode) + ", expected " + modeName(e.mode));
        if (typeOf(p->type) != typeOf(e.type))
            diffs.push_back("port " + e.name + " has type " + typeShown(p->type) + ", expected " + typeShown(e.type));
    }
    for (const auto* list : {&checker.inputs, &checker.outputs, &checker.inouts})
        for (const Port& p : *list) {
            bool known = false;
            for (const Expected& e : expected) known = known || e.name == p.name;
            if (!known) diffs.push_back("port " + p.name + " is not in the interface the tree instantiates");
        }
    return diffs;
}

bool writeCheckerTemplate(const Design& unit, const std::string& file, TreeWriter& writer)
{
    return writer.writeNew(file, [&](VhdlOut& out) { emitCheckerTemplate(unit, names::kChecker, out); });
}

}  // namespace velmorn
