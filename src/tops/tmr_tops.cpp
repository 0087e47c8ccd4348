// The three-copy top levels with majority voters: TMR, 3FU-3V and TMR+3CH.
#include <array>
#include <string>

#include "modules/checked_unit.h"
#include "modules/fault_decoder.h"
#include "modules/voter.h"
#include "tops/top_common.h"
#include "tops/tops.h"
#include "vhdl/blocks.h"

namespace velmorn {

namespace {

std::string numbered(std::string_view stem, int n) { return std::string(stem) + std::to_string(n); }

}  // namespace

Interface topEntity(const Design& d, const TmrTopNames&) { return topInterface(d, {}); }

void emitTmrTop(const Design& d, const TmrTopNames& names, const GenerationOptions& options, VhdlOut& out)
{
    topHead(out, d, topEntity(d, names), options);
    copyComponents(out, d, names.copy, 3);
    const Interface voter = voterInterface(d, names.voter);
    componentDeclaration(out, d, voter);
    copySignals(out, d, names.copy, 3);
    Instances instances(out, d, options);
    copyInstances(instances, d, names.copy, 3);
    instances.add(voter.entity + "1", voter, [&](const InterfacePort& p) { return votingActual(p, names.copy, {}); });
    instances.finish();
    topEnd(out, d, options);
}

Interface topEntity(const Design& d, const ThreeVoterTopNames&)
{
    Interface top{d.entityName, {}};
    for (size_t c = 1; c <= 3; ++c) {
        top.add(unitInputs(d, "", c));
        top.add(unitOutputs(d, "", PortMode::Out, c));
    }
    for (const char* e : {"Err_prm1", "Err_prm2", "Err_prm3", "Err_v_prm1", "Err_v_prm2", "Err_v_prm3", "Err_prm_d"})
        top.add(logicPort({e}, PortMode::Out, PortRole::ErrorFlag));
    return top;
}

void emitThreeVoterTop(const Design& d, const ThreeVoterTopNames& names, const GenerationOptions& options, VhdlOut& out)
{
    topHead(out, d, topEntity(d, names), options);

    const std::array<std::string, 3> voterSuffix{numbered(names.voter, 1), numbered(names.voter, 2),
                                                 numbered(names.voter, 3)};
    copyComponents(out, d, names.copy, 3);
    for (const auto& v : voterSuffix) componentDeclaration(out, d, voterWithErrorInterface(d, v));
    const Interface decoder = faultDecoderInterface(d, names.decoder);
    componentDeclaration(out, d, decoder);
    copySignals(out, d, names.copy, 3);
    Instances instances(out, d, options);
    copyInstances(instances, d, names.copy, 3, true);
    instances.add(decoder.entity + "1", decoder, [&](const InterfacePort& p) {
        return votingActual(p, names.copy, {"Err_prm1", "Err_prm2", "Err_prm3", "Err_prm_d"});
    });
    // Voter v drives the top's outputs numbered v and the error output Err_v_prm<v>.
    for (int v = 1; v <= 3; ++v) {
        const Interface voter = voterWithErrorInterface(d, voterSuffix[v - 1]);
        instances.add(voter.entity + "1", voter, [&](const InterfacePort& p) {
            if (p.role == PortRole::ErrorFlag) return DerivedName{"Err_v_prm", "", static_cast<size_t>(v)};
            return votingActual(p, names.copy, {}, static_cast<size_t>(v));
        });
    }
    instances.finish();
    topEnd(out, d, options);
}

Interface topEntity(const Design& d, const CheckedTmrTopNames&)
{
    return topInterface(d, {"Err_prm1", "Err_prm2", "Err_prm3", "Err_prm_v"});
}

void emitCheckedTmrTop(const Design& d, const CheckedTmrTopNames& names, const GenerationOptions& options, VhdlOut& out)
{
    topHead(out, d, topEntity(d, names), options);
    // The top lists each module's error output last, spelled as in its port map.
    auto moduleAsSeenByTop = [&](const std::string& suffix) {
        Interface m = checkedUnitInterface(d, suffix);
        for (auto it = m.groups.begin(); it != m.groups.end(); ++it)
            if (it->port.role == PortRole::CheckerError) {
                PortGroup err = *it;
                m.groups.erase(it);
                err.port.name.base = err.port.mapBase;
                err.port.wideIndent = false;
                m.add(err);
                break;
            }
        return m;
    };
    for (int c = 1; c <= 3; ++c) componentDeclaration(out, d, moduleAsSeenByTop(numbered(names.checkedCopy, c)));
    const Interface voter = voterWithErrorInterface(d, names.voter);
    componentDeclaration(out, d, voter);
    copySignals(out, d, names.checkedCopy, 3);
    Instances instances(out, d, options);
    for (int c = 1; c <= 3; ++c) {
        const std::string suffix = numbered(names.checkedCopy, c);
        copyInstance(instances, d, moduleAsSeenByTop(suffix), names.checkedCopy, c, [&](const InterfacePort&) {
            return DerivedName{"Err", names.checkedCopy, static_cast<size_t>(c)};
        });
    }
    instances.add(voter.entity + "1", voter,
                  [&](const InterfacePort& p) { return votingActual(p, names.checkedCopy, {"Err_prm_v"}); });
    instances.finish();
    topEnd(out, d, options);
}

}  // namespace velmorn
