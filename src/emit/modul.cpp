#include "emit/modul.h"

#include "emit/blocks.h"

namespace velmorn {

VhdlText GenerateModul(const Design& d, const std::string& module, const std::string& arch)
{
    VhdlText t(d, moduleFilePath(d, module), arch);
    const std::string E = d.entity_name + module;
    entityHead(t, E);
    unitPortList(t, module, kLowerModes);
    entityTail(t, E);
    architectureLine(t, E);
    t << NL;
    for (const auto* list : {&d.InportList, &d.OutportList, &d.InoutportList})
        for (const auto& p : *list) t << "   " << "signal " << p.name << " :" << p.type << ";\n";
    t.appendRef(d.obsah2);
    for (const auto& p : d.InportList) t << "   " << p.name << " <= " << p.name << module << ";\n";
    for (const auto* list : {&d.OutportList, &d.InoutportList})
        for (const auto& p : *list) t << "   " << p.name << module << " <= " << p.name << ";\n";
    t << NL;
    t.closeArchitecture(E);
    return t;
}

}  // namespace velmorn
