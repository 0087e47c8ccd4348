#include "prove/prove.h"

#include <unistd.h>

#include <cctype>
#include <fstream>
#include <sstream>

#include "arch/names.h"
#include "modules/unit_copy.h"
#include "prove/harness.h"
#include "prove/netlist.h"
#include "prove/promises.h"
#include "prove/tools.h"
#include "prove/yosys.h"
#include "support/text.h"

namespace velmorn {

namespace {

// The first line of a tool's message that says what is wrong.
std::string firstProblem(const ToolRun& run)
{
    std::istringstream in(run.errors + run.output);
    std::string line, first;
    while (std::getline(in, line)) {
        if (first.empty() && !line.empty()) first = line;
        if (line.find("error") != std::string::npos || line.find("ERROR") != std::string::npos) return line;
    }
    return first.empty() ? "exit status " + std::to_string(run.status) : first;
}

std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

const std::vector<std::string> kGhdlOptions = {"--std=08", "-fsynopsys"};
// GHDL's libraries in the proof directory: the tree's, and the user's checker's
// (whose entity has the name of the complete checker in the other).
const std::string kWork = "work", kCheckerWork = "work_checker";

class Prover {
public:
    Prover(const ProofRequest& r, FileWriter& writer, Diagnostics& diag)
        : r_(r), d_(r.design), writer_(writer), diag_(diag), dir_(d_.outputName + "/" + std::string(kProofDirectory)), cwd_(r.root + dir_)
    {
    }

    bool run();

private:
    const ProofRequest& r_;
    const Design& d_;
    FileWriter& writer_;
    Diagnostics& diag_;
    const std::string dir_, cwd_;
    bool held_ = true;

    void refuse(const std::string& why)
    {
        diag_.problem("Can't prove the architecture", why);
        held_ = false;
    }
    void verdict(const std::string& statement, const std::string& outcome)
    {
        diag_.progress("Proof: " + statement + " ... " + outcome + "\n");
    }
    void notProved(const std::string& statement, const std::string& why)
    {
        verdict(statement, "not proved: " + why);
        held_ = false;
    }

    bool writeText(const std::string& name, const std::string& text)
    {
        return writer_.write(dir_ + "/" + name, [&](VhdlOut& out) { out << text; });
    }
    bool writeVhdl(const std::string& name, const std::function<void(VhdlOut&)>& emit)
    {
        return writer_.write(dir_ + "/" + name, emit);
    }

    ToolRun ghdl(const std::string& command, const std::string& work, const std::vector<std::string>& rest)
    {
        std::vector<std::string> argv = {"ghdl", command};
        argv.insert(argv.end(), kGhdlOptions.begin(), kGhdlOptions.end());
        argv.push_back("--workdir=" + work);
        argv.insert(argv.end(), rest.begin(), rest.end());
        return runTool(argv, cwd_);
    }

    // Synthesises `unit` into the Verilog file `file`, the case defaults restored.
    bool synthesize(const std::string& unit, const std::string& work, const std::string& file, std::string& verilog,
                    std::string& problem)
    {
        const ToolRun v = ghdl("--synth", work, {"--no-formal", "--out=verilog", unit});
        if (v.status != 0) {
            problem = "GHDL's synthesis of " + unit + " fails: " + firstProblem(v);
            return false;
        }
        verilog = v.output;
        if (hasCaseStatement(verilog)) {
            const ToolRun net = ghdl("--synth", work, {"--no-formal", "--out=vhdl", unit});
            if (net.status != 0) {
                problem = "GHDL's synthesis of " + unit + " fails: " + firstProblem(net);
                return false;
            }
            std::string why;
            if (!restoreCaseDefaults(verilog, net.output, unit, why)) {
                problem = "GHDL 2.0 writes the Verilog of a case statement without its default branch, and velmorn "
                          "cannot restore it here (" + why + ")";
                return false;
            }
        }
        if (!writeText(file, verilog)) {
            problem = "the netlist could not be written";
            return false;
        }
        return true;
    }

    // Runs one script and reports each property; `netlist` explains a failure to read it.
    void prove(const std::string& name, const ScriptFrame& frame, const std::vector<Property>& properties,
               const std::string& netlist)
    {
        const ProofScript script = proofScript(frame, properties);
        // The log starts empty, so that a run that does not start leaves no old verdicts.
        if (!writeText(name + ".ys", script.text) || !writeText(name + ".log", "")) {
            for (const auto& p : properties) notProved(p.statement, "its script could not be written");
            return;
        }
        const ToolRun y = runTool({"yosys", "-q", "-l", name + ".log", name + ".ys"}, cwd_);
        const ScriptOutcome outcome = readLog(readText(cwd_ + "/" + name + ".log"), script.checks);
        std::string why = outcome.error;
        if (why.find("t:$dlatch") != std::string::npos)
            why = "the netlist holds a latch, which GHDL's synthesis does not make: its Verilog lost a default branch";
        else if (why.find("syntax error") != std::string::npos && !keywordNames(netlist).empty())
            why = "the unit uses " + nameList(keywordNames(netlist)) +
                  " as a name, a Verilog keyword that GHDL 2.0 writes unescaped into its netlist - rename it to "
                  "prove this";
        else if (why.empty() && y.status != 0)
            why = "yosys fails: " + firstProblem(y);
        else if (!why.empty())
            why = "yosys stops in " + dir_ + "/" + name + ".ys: " + why;
        size_t at = 0;
        for (const Property& p : properties) {
            const CheckOutcome* failed = nullptr;
            size_t failedAt = 0;
            bool all = true;
            for (size_t i = 0; i < p.checks.size(); ++i, ++at) {
                const CheckOutcome& c = outcome.checks[at];
                if (c.state == CheckOutcome::State::Failed && !failed) {
                    failed = &c;
                    failedAt = i;
                }
                all = all && c.state == CheckOutcome::State::Proved;
            }
            if (failed) {
                verdict(p.statement, "FAILED");
                diag_.progress("   counterexample (" + p.checks[failedAt].scenario + "):\n" + failed->counterexample);
                if (!p.whenFailed.empty()) diag_.progress("   " + p.whenFailed + "\n");
                held_ = false;
            } else if (all) {
                verdict(p.statement, "proved");
            } else {
                notProved(p.statement, why.empty() ? "yosys did not report it" : why);
            }
        }
    }

    void moduleProofs();
    void checkerProof();
    void topProofs();
    std::vector<std::string> treeFiles() const;
};

std::vector<std::string> Prover::treeFiles() const
{
    std::vector<std::string> files;
    for (const std::string& f : r_.tree.files) files.push_back("../" + f.substr(d_.outputName.size() + 1));
    return files;
}

void Prover::moduleProofs()
{
    for (const auto& m : r_.tree.modules) {
        const ModuleKind* kind = moduleKind(m.emit);
        if (!kind) continue;
        const Interface iface = kind->iface(d_, m.suffix);
        const std::string subject = iface.entity;
        std::string verilog, problem;
        if (!synthesize(iface.entity, kWork, iface.entity + ".v", verilog, problem)) {
            notProved(subject, problem);
            continue;
        }
        std::vector<Property> properties;
        if (!moduleProperties(iface, *kind, verilogPorts(verilog, iface.entity), properties, problem)) {
            notProved(subject, problem);
            continue;
        }
        ScriptFrame frame{"The promises of " + iface.entity + " over all values of its inputs.", iface.entity + ".v",
                          iface.entity, {}, {}, {}, false};
        prove(iface.entity, frame, properties, verilog);
    }
}

void Prover::checkerProof()
{
    const std::string checkerEntity = d_.entityName + std::string(names::kChecker);
    const std::string subject = "checker " + checkerEntity + ", " + std::to_string(kProofCycles) +
                                " cycles from the initial state: ERR '1' exactly when the outputs it checks differ "
                                "from the unit's";
    std::string checker = r_.checker;
    if (!checker.empty() && checker[0] != '/') {
        char buf[4096];
        if (getcwd(buf, sizeof buf)) checker = std::string(buf) + "/" + checker;
    }
    const std::string top = harness::checkerProofEntity(d_);
    if (!writer_.makeDirectory(dir_ + "/" + kCheckerWork) ||
        !writeVhdl(lowerCase(top) + ".vhd", [&](VhdlOut& out) { harness::emitCheckerProofTop(d_, names::kChecker, out); })) {
        notProved(subject, "its files could not be written");
        return;
    }
    const std::string golden = lowerCase(harness::goldenEntity(d_)) + ".vhd";
    const ToolRun a = ghdl("-a", kCheckerWork, {golden, checker, lowerCase(top) + ".vhd"});
    if (a.status != 0) {
        notProved(subject, "GHDL cannot analyse the checker: " + firstProblem(a));
        return;
    }
    std::string verilog, problem;
    if (!synthesize(top, kCheckerWork, "checker.v", verilog, problem)) {
        notProved(subject, problem);
        return;
    }
    Property p{subject,
               {{"the checker's inputs and the outputs it checks free", {},
                 {{std::string(harness::kCheckerError), std::string(harness::kDiffer)}}}},
               "The gap is the checker's: it misses a wrong output, and the promises of " +
                   std::string(r_.architecture.flag) + " that rest on its verdict fail with it. Make " + checkerEntity +
                   " compare every output with a model of the unit."};
    ScriptFrame frame{"The user's checker: ERR exactly when the outputs differ from the unit's.", "checker.v", top,
                      {}, {}, {}, true};
    prove("checker", frame, {p}, verilog);
}

void Prover::topProofs()
{
    const Architecture& a = r_.architecture;
    const std::string subject = "top level " + d_.entityName + " (" + std::string(a.flag) + ")";
    const TopPromise* promise = topPromise(a.flag);
    std::vector<std::string> errors, outputs;
    forEachPort(r_.tree.top, [&](const InterfacePort& p, bool) {
        if (p.mode != PortMode::Out) return;
        (p.role == PortRole::UnitPort ? outputs : errors).push_back(p.name.text());
    });
    if (!promise || promise->errors.size() != errors.size()) {
        notProved(subject, "velmorn holds no promise for the error outputs of this top");
        return;
    }
    std::string verilog, problem;
    const std::string top = harness::proofTopEntity(d_);
    if (!synthesize(top, kWork, "prove.v", verilog, problem)) {
        notProved(subject, problem);
        return;
    }
    const std::string cycles = std::to_string(kProofCycles) + " cycles from the initial state";
    const std::string checkers = a.takesChecker ? " (checkers that report every difference, as the checker proof states)" : "";
    const int copies = static_cast<int>(r_.tree.copies.size());
    for (int k = 0; k <= copies; ++k) {
        Check check;
        std::string statement = subject;
        ScriptFrame frame{"", "prove.v", top, {}, {}, {}, true};
        const bool follows = k == 1 && !promise->masks;
        check.proves.push_back({std::string(follows ? harness::kFollow : harness::kEqual), "1"});
        std::vector<std::string> quiet, blamed;
        for (size_t i = 0; i < errors.size(); ++i) {
            const TopFlag& f = promise->errors[i];
            const bool raised = k > 0 && (f.rule == FlagRule::AnyDiff || (f.rule == FlagRule::Blame && f.copy == k));
            check.proves.push_back({errors[i], raised ? std::string(harness::kDiffer) : "0"});
            (raised ? blamed : quiet).push_back(errors[i]);
        }
        if (k == 0) {
            statement += ", no fault, " + cycles + ": " + nameList(outputs) + " equal the unit's";
            frame.comment = "The whole top level without a fault, bounded.";
            check.scenario = "no fault";
        } else {
            const CopySite& site = r_.tree.copies[static_cast<size_t>(k - 1)];
            const std::string where = site.holder.empty() ? site.label : site.holder + "/" + site.label;
            statement += ", copy " + std::to_string(k) + " (" + where + ") free, " + cycles + ": " +
                         nameList(outputs) + (follows ? " follow copy 1" : " equal the unit's");
            frame.comment = "The whole top level with the outputs of copy " + std::to_string(k) + " cut and free, bounded.";
            check.scenario = "copy " + std::to_string(k) + " free";
            const std::string label = lowerCase(site.label);
            frame.beforeFlatten = {"select -assert-count 1 */c:" + label, "delete */c:" + label};
            const std::string path = "dut." + (site.holder.empty() ? "" : lowerCase(site.holder) + ".");
            for (const Port& p : d_.outputs) {
                const std::string wire = path + lowerCase(copyOutputSignal(p, site.copy).text());
                frame.afterFlatten.push_back("select -assert-count 1 w:" + wire);
                frame.afterFlatten.push_back("connect -nounset -set " + wire + " " + lowerCase(harness::cutSignal(p).text()));
            }
            frame.afterCheck = {"sat -falsify -seq 1 -set-init-zero -prove " + std::string(harness::kDiffer) + " 0"};
        }
        if (!blamed.empty())
            statement += "; " + nameList(blamed) + " '1' exactly when copy " + std::to_string(k) + " differs from the unit";
        if (!quiet.empty()) statement += "; " + nameList(quiet) + " '0'";
        statement += checkers;
        prove(k == 0 ? "top_nofault" : "top_cut" + std::to_string(k), frame, {{statement, {check}}}, verilog);
    }
}

bool Prover::run()
{
    std::string missing;
    for (const char* tool : kProofTools)
        if (!onPath(tool)) missing += std::string(missing.empty() ? "" : " and ") + tool;
    if (!missing.empty()) {
        refuse(missing + " not found on PATH - install with: " + kInstallTools);
        return false;
    }
    for (const Generic& g : d_.generics)
        if (g.type.find(":=") == std::string::npos) {
            refuse("generic " + g.name + " has no default value, which GHDL's synthesis needs - give it one");
            return false;
        }
    if (!writer_.makeDirectory(dir_) || !writer_.makeDirectory(dir_ + "/" + kWork)) return false;

    // The tree, the unit as the reference and the proof top, in one library;
    // a complete checker in place of the user's.
    // The top-level proofs leave out a design with INOUT ports.
    const bool inouts = !d_.inouts.empty();
    std::vector<std::string> files = treeFiles();
    if (!inouts) {
        const std::string golden = lowerCase(harness::goldenEntity(d_)) + ".vhd";
        const std::string proofTop = lowerCase(harness::proofTopEntity(d_)) + ".vhd";
        bool written = writeVhdl(golden, [&](VhdlOut& out) { harness::emitGolden(d_, out); });
        if (r_.architecture.takesChecker)
            written = written && writeVhdl("complete_checker.vhd", [&](VhdlOut& out) {
                          harness::emitCompleteChecker(d_, names::kChecker, out);
                      });
        written = written && writeVhdl(proofTop, [&](VhdlOut& out) { harness::emitProofTop(d_, r_.tree.top, out); });
        if (!written) return false;
        if (r_.architecture.takesChecker) files.push_back("complete_checker.vhd");
        files.push_back(golden);
        files.push_back(proofTop);
    }
    const ToolRun analysis = ghdl("-a", kWork, files);
    if (analysis.status != 0) {
        refuse("GHDL cannot analyse the tree: " + firstProblem(analysis));
        return false;
    }

    moduleProofs();
    if (inouts) {
        std::vector<std::string> names;
        for (const Port& p : d_.inouts) names.push_back(p.name);
        notProved("top level " + d_.entityName + " (" + std::string(r_.architecture.flag) + ")",
                  "the copies never read the INOUT port" + std::string(names.size() > 1 ? "s " : " ") +
                      nameList(names) + " (see the README); the module proofs stand");
        return held_;
    }
    if (r_.architecture.takesChecker) checkerProof();
    topProofs();
    return held_;
}

}  // namespace

bool proveTree(const ProofRequest& request, FileWriter& writer, Diagnostics& diagnostics)
{
    Prover prover(request, writer, diagnostics);
    return prover.run();
}

}  // namespace velmorn
