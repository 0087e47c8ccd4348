#include "arch/architectures.h"

#include "modules/checked_mux.h"
#include "modules/comparator.h"
#include "modules/fault_decoder.h"
#include "modules/selector.h"
#include "modules/two_channel.h"
#include "modules/voter.h"
#include "tops/tops.h"

namespace velmorn {

namespace {

using namespace names;

void tmr(Plan& p)
{
    p.unitCopies(kCopy, 3);
    p.module(emitVoter, kVoter);
    p.top(emitTmrTop, TmrTopNames{kCopy, kVoter}, kTmrTop);
}

void threeVoters(Plan& p)
{
    p.unitCopies(kCopy, 3);
    for (int v = 1; v <= 3; ++v) p.module(emitVoterWithError, kSelfCheckingVoter, v);
    p.module(emitFaultDecoder, kFaultDecoder);
    p.top(emitThreeVoterTop, ThreeVoterTopNames{kCopy, kSelfCheckingVoter, kFaultDecoder}, kThreeVoterTop);
}

// Three copies, one voting module and the three-unit top.
template <Plan::ModuleEmitter votingModule, const std::string_view& topSuffix>
void threeUnits(Plan& p)
{
    p.unitCopies(kCopy, 3);
    p.module(votingModule, kVotingModule);
    p.top(emitThreeUnitTop, ThreeUnitTopNames{kCopy, kVotingModule}, topSuffix);
}

void duplex(Plan& p)
{
    p.unitCopies(kUnit, 2);
    p.module(emitComparator, kComparator);
    p.top(emitDuplexTop, DuplexTopNames{kUnit, kComparator}, kDuplexTop);
}

// The checked unit alone; its module keeps the unit's names.
void checkedUnitOnly(Plan& p)
{
    p.unitCopy(kUnit);
    p.checkedUnit(kUnit, "", true);
}

void checkedTmr(Plan& p)
{
    for (int k = 1; k <= 3; ++k) p.checkedCopy(k);
    p.module(emitVoterWithError, kCheckedVoter);
    p.top(emitCheckedTmrTop, CheckedTmrTopNames{kCopy, kCheckedVoter}, kCheckedTmrTop);
}

// Copy 1 is checked; copy 2 is a plain copy under the name of a checked one.
void oneCheckerDuplex(Plan& p)
{
    p.checkedCopy(1);
    p.unitCopy(kCopy, 2);
    p.module(emitOneCheckerMux, kMultiplexer);
    p.top(emitCheckedDuplexTop, CheckedDuplexTopNames{kCopy, kMultiplexer, 1}, kOneCheckerDuplexTop);
}

void twoCheckerDuplex(Plan& p)
{
    for (int k = 1; k <= 2; ++k) p.checkedCopy(k);
    p.module(emitTwoCheckerMux, kMultiplexer);
    p.top(emitCheckedDuplexTop, CheckedDuplexTopNames{kCopy, kMultiplexer, 2}, kTwoCheckerDuplexTop);
}

constexpr Architecture kArchitectures[] = {
    {"-tmr0", "TMR", "for simple TMR architecture", "Generating TMR architecture ...", false, tmr},
    {"-tmr1", "3FU-3V", "for 3FU-3V architecture", "Generating of 3FU-3V architecture ...", false, threeVoters},
    {"-tmr2", "TMR-2V-CMP", "for TMR-2V-CMP architecture", "Generating of TMR-2V-CMP architecture ...", false,
     threeUnits<emitTwoVoterModule, kTwoVoterTop>},
    {"-dpl0", "DUPLEX-CMP", "for simple Duplex architecture", "Generating of DUPLEX-CMP modules ...", false, duplex},
    {"-dpl4", "3FU-2MUX", "for 3FU-2MUX architecture", "Generating of 3FU-2MUX architecture ...", false,
     threeUnits<emitTwoSelectorModule, kTwoSelectorTop>},
    {"-dpl5", "3FU-1MUX", "for 3FU-1MUX architecture", "Generating of 3FU-1MUX architecture ...", false,
     threeUnits<emitOneSelectorModule, kOneSelectorTop>},
    {"-dpl6", "3FU-2MUX-CMP", "for 3FU-2MUX-CMP architecture", "Generating of 3FU-2MUX-CMP architecture ...", false,
     threeUnits<emitCheckedTwoSelectorModule, kCheckedTwoSelectorTop>},
    {"-fuch", "FU+CH", "for FU with checker only", "Generating of FU+CH modules ...", true, checkedUnitOnly},
    {"-tmr3", "TMR+3CH", "for TMR+3CH architecture", "Generating of TMR+3CH modules ...", true, checkedTmr},
    {"-dpl2", "DUPLEX+2CH", "for DUPLEX+2CH architecture", "Generating of DUPLEX+2CH modules ...", true,
     twoCheckerDuplex},
    {"-dpl1", "DUPLEX+1CH", "for DUPLEX+1CH architecture", "Generating of DUPLEX+1CH modules ...", true,
     oneCheckerDuplex},
};

}  // namespace

std::span<const Architecture> architectures() { return kArchitectures; }

const Architecture* findArchitecture(std::string_view flag)
{
    for (const Architecture& a : kArchitectures)
        if (a.flag == flag) return &a;
    return nullptr;
}

}  // namespace velmorn
