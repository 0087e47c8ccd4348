#include "tops/top_common.h"

#include <string>

#include "modules/unit_copy.h"
#include "vhdl/blocks.h"

namespace velmorn {

Interface topInterface(const Design& d, std::initializer_list<std::string_view> errorOutputs)
{
    Interface top{d.entityName, {}};
    top.add(unitInputs(d, ""));
    top.add(unitOutputs(d, ""));
    int k = 0;
    for (std::string_view e : errorOutputs) top.add(logicPort({e}, PortMode::Out, PortRole::ErrorFlag, ++k));
    return top;
}

void topHead(VhdlOut& out, const Design& d, Interface top, const GenerationOptions& options)
{
    if (options.sourceNames) {
        top.entity = entityAsSpelled(d);
        top.sourceSpelling = true;
        entityDeclaration(out, d, top);
        out << "architecture " << architectureAsSpelled(d) << " of " << top.entity << " is" << NL;
    } else {
        entityDeclaration(out, d, top);
        architectureLine(out, top.entity);
    }
    out << NL;
}

void topEnd(VhdlOut& out, const Design& d, const GenerationOptions& options)
{
    if (options.sourceNames) out << "end " << architectureAsSpelled(d) << ";";
    else architectureEnd(out, d.entityName);
}

std::string copyLabel(const Design& d, std::string_view stem, int c)
{
    return d.entityName + std::to_string(c) + std::string(stem);
}

void copyInstance(Instances& instances, const Design& d, const Interface& copy, std::string_view stem, int c,
                  const ActualOf& other, bool perCopyInputs)
{
    instances.add(copyLabel(d, stem, c), copy, [&](const InterfacePort& p) -> DerivedName {
        if (p.role != PortRole::UnitPort) return other(p);
        if (p.source->mode != PortMode::In) return copySignal(*p.source, stem, c);  // its value, to be voted
        return {p.source->name, "", perCopyInputs ? static_cast<size_t>(c) : 0};
    });
}

void copyComponents(VhdlOut& out, const Design& d, std::string_view stem, int count)
{
    for (int c = 1; c <= count; ++c)
        componentDeclaration(out, d, unitCopyInterface(d, std::string(stem) + std::to_string(c)));
}

void copyInstances(Instances& instances, const Design& d, std::string_view stem, int count, bool perCopyInputs)
{
    for (int c = 1; c <= count; ++c) {
        const std::string suffix = std::string(stem) + std::to_string(c);
        copyInstance(instances, d, unitCopyInterface(d, suffix), stem, c, {}, perCopyInputs);
    }
}

DerivedName votingActual(const InterfacePort& p, std::string_view copyStem, std::initializer_list<std::string_view> errors,
                         size_t resultNumber)
{
    switch (p.role) {
    case PortRole::CopyValue: return copySignal(*p.source, copyStem, p.index);
    case PortRole::Result: return {p.source->name, "", resultNumber};
    default: {
        // Flags 1, 2, ... then the module's own alarm (flag 0), in the order of `errors`.
        const size_t i = p.index > 0 ? static_cast<size_t>(p.index) - 1 : errors.size() - 1;
        return {errors.begin()[i]};
    }
    }
}

}  // namespace velmorn
