// The top level of the three-unit architectures (TMR-2V-CMP, 3FU-2MUX,
// 3FU-1MUX, 3FU-2MUX-CMP): three copies and one voting module, with the
// unit's interface and four error outputs.
#include "modules/voting_module.h"
#include "tops/top_common.h"
#include "tops/tops.h"
#include "vhdl/blocks.h"

namespace velmorn {

Interface topEntity(const Design& d, const ThreeUnitTopNames&)
{
    return topInterface(d, {"Err_prm1", "Err_prm2", "Err_prm3", "Err_prm_d"});
}

void emitThreeUnitTop(const Design& d, const ThreeUnitTopNames& names, const GenerationOptions& options,
                      VhdlOut& out)
{
    topHead(out, d, topEntity(d, names), options);
    copyComponents(out, d, names.copy, 3);
    const Interface voting = votingModuleInterface(d, names.votingModule);
    componentDeclaration(out, d, voting);
    copySignals(out, d, names.copy, 3);
    Instances instances(out, d, options);
    copyInstances(instances, d, names.copy, 3);
    instances.add(voting.entity + "1", voting, [&](const InterfacePort& p) {
        return votingActual(p, names.copy, {"Err_prm1", "Err_prm2", "Err_prm3", "Err_prm_d"});
    });
    instances.finish();
    topEnd(out, d, options);
}

}  // namespace velmorn
