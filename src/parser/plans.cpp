#include "parser/plans.h"

#include "components/components.h"
#include "emit/modul.h"
#include "top/top.h"

namespace velmorn {

namespace {

struct Plan {
    const Design& d;
    const FileSink& sink;
    bool ok = true;

    void operator()(const VhdlText& file) { ok = sink(file) && ok; }
    void copies(const char* stem, int count, const std::string& arch)
    {
        for (int c = 1; c <= count; ++c) (*this)(GenerateModul(d, stem + std::to_string(c), arch));
    }
    // Copy k and the module that pairs it with the checker.
    void checkedCopy(int k, const std::string& arch)
    {
        const std::string n = std::to_string(k);
        (*this)(GenerateModul(d, "_fu" + n, arch));
        (*this)(GeneratePRMFUCH(d, "_fu" + n, "_ch", "_prm" + n, arch));
    }
    // Three copies, the voting module "_d_prm" and the three-unit top level.
    using VotingModule = VhdlText (*)(const Design&, const std::string&, const std::string&);
    void threeUnits(VotingModule voting, const std::string& top, const std::string& arch)
    {
        copies("_prm", 3, arch);
        (*this)(voting(d, "_d_prm", arch));
        (*this)(GenerateTopTMR3FU(d, "_prm", "_d_prm", top, arch));
    }
};

}  // namespace

bool runPlan(const Design& d, short arch, const FileSink& sink, std::ostream& out)
{
    Plan p{d, sink};
    switch (arch) {
    case _TMR:
        out << "Generating TMR architecture ...";
        p.copies("_prm", 3, "TMR");
        p(GenerateVoter(d, "_voter", "TMR"));
        p(GenerateTopTMR(d, "_prm", "_voter", "_tmr", "TMR"));
        break;
    case _3FU_3V:
        out << "Generating of 3FU-3V architecture ...";
        p.copies("_prm", 3, "3FU-3V");
        for (int v = 1; v <= 3; ++v) p(GenerateVoterWithErr(d, "_vot_prm" + std::to_string(v), "3FU-3V"));
        p(GenerateFDEC(d, "_fdec_prm", "3FU-3V"));
        p(GenerateTopTMR3FU3V(d, "_prm", "_vot_prm", "_fdec_prm", "_3fu_3v", "3FU-3V"));
        break;
    case _TMR_2V_CMP:
        out << "Generating of TMR-2V-CMP architecture ...";
        p.threeUnits(GenerateVoterTMR2V, "_tmr_2v_cmp", "TMR-2V-CMP");
        break;
    case _3FU_2MUX_:
        out << "Generating of 3FU-2MUX architecture ...";
        p.threeUnits(GenerateMPRM3FUA, "_3fu_2mux", "3FU-2MUX");
        break;
    case _3FU_1MUX:
        out << "Generating of 3FU-1MUX architecture ...";
        p.threeUnits(GenerateMPRM3FUC, "_3fu_1mux", "3FU-1MUX");
        break;
    case _3FU_2MUX_CMP:
        out << "Generating of 3FU-2MUX-CMP architecture ...";
        p.threeUnits(GenerateMPRM3FUB, "_3fu_2mux_cmp", "3FU-2MUX-CMP");
        break;
    case _DUPL_CMP:
        out << "Generating of DUPLEX-CMP modules ...";
        p.copies("_fu", 2, "DUPLEX-CMP");
        p(GenerateCmp(d, "_cmp", "DUPLEX-CMP"));
        p(GenerateTopDuplex(d, "_fu", "_cmp", "_dupl_prm", "DUPLEX-CMP"));
        break;
    case _FUCH:
        out << "Generating of FU+CH modules ...";
        p(GenerateModul(d, "_fu", "FU+CH"));
        p(GeneratePRMFUCH(d, "_fu", "_ch", "", "FU+CH"));
        break;
    case _TMR_3CH:
        out << "Generating of TMR+3CH modules ...";
        for (int k = 1; k <= 3; ++k) p.checkedCopy(k, "TMR+3CH");
        p(GenerateVoterWithErr(d, "_v_prm", "TMR+3CH"));
        p(GenerateTopTMR3(d, "_prm", "_v_prm", "_tmr3ch", "TMR+3CH"));
        break;
    case _DLP_1CH:
        out << "Generating of DUPLEX+1CH modules ...";
        p.checkedCopy(1, "DUPLEX+1CH");
        p(GenerateModul(d, "_prm2", "DUPLEX+1CH"));
        p(GenerateMuxWithErrCMP(d, "_m_prm", "DUPLEX+1CH"));
        p(GenerateTopDPL1(d, "_prm", "_m_prm", "_prm", "_dupl1ch", "DUPLEX+1CH"));
        break;
    case _DLP_2CH:
        out << "Generating of DUPLEX+2CH modules ...";
        for (int k = 1; k <= 2; ++k) p.checkedCopy(k, "DUPLEX+2CH");
        p(GenerateMuxWithErr(d, "_m_prm", "DUPLEX+2CH"));
        p(GenerateTopDPL2(d, "_prm", "_m_prm", "_prm", "_dupl2ch", "DUPLEX+2CH"));
        break;
    default:
        return false;
    }
    out << " Done\n";
    return p.ok;
}

}  // namespace velmorn
