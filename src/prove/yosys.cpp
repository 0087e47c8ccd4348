#include "prove/yosys.h"

#include <map>
#include <sstream>

namespace velmorn {

namespace {

// GHDL's synthesis never makes a latch: one in the netlist is a lost case default.
constexpr std::string_view kLatchGuard = "select -assert-none t:$dlatch t:$adlatch t:$dlatchsr t:$sr";

std::vector<std::string> words(std::string_view line)
{
    std::vector<std::string> w;
    std::istringstream in{std::string(line)};
    std::string s;
    while (in >> s) w.push_back(s);
    return w;
}

// The model that a failed sat call printed: "name = bits" per signal, per step
// for a sequential one.
std::string model(std::string_view table)
{
    std::map<std::string, std::vector<std::string>> steps;
    std::vector<std::string> order;
    bool timed = false, rows = false;
    std::istringstream in{std::string(table)};
    std::string line;
    while (std::getline(in, line)) {
        const auto w = words(line);
        if (!rows) {
            if (!w.empty() && (w[0] == "Signal" || w[0] == "Time")) timed = w[0] == "Time";
            if (!w.empty() && w[0].find("----") == 0) rows = true;
            continue;
        }
        if (w.empty()) break;
        // The registers' initial values are the declared ones or zero, as the proof states.
        if (w.size() < (timed ? 5u : 4u) || w[0] == "init" || w[0].compare(0, 2, "--") == 0) continue;
        std::string name = w[timed ? 1 : 0];
        if (!name.empty() && name[0] == '\\') name.erase(0, 1);
        const std::string step = timed ? w[0] : "";
        if (!steps.count(step)) order.push_back(step);
        steps[step].push_back(name + " = " + w.back());
    }
    std::string s;
    for (const auto& step : order) {
        const std::string head = step.empty() ? "" : "cycle " + step + ": ";
        std::string joined;
        for (const auto& v : steps[step]) joined += (joined.empty() ? "" : ", ") + v;
        s += "      " + head + joined + "\n";
    }
    return s;
}

}  // namespace

ProofScript proofScript(const ScriptFrame& frame, const std::vector<Property>& properties)
{
    ProofScript script;
    std::string& s = script.text;
    s += "# " + frame.comment + "\n";
    s += "# Written by velmorn --prove. Rerun: yosys -l <this name>.log <this name>.ys\n";
    s += "# Each check after a \"PROPERTY <n>\" line of the log ends in SUCCESS! or FAIL!, a failure with\n";
    s += "# the values that break it.\n";
    s += "read_verilog " + frame.netlist + "\n";
    s += "hierarchy -check -top " + frame.top + "\n";
    s += "proc\n";
    s += std::string(kLatchGuard) + "\n";
    for (const auto& c : frame.beforeFlatten) s += c + "\n";
    s += "flatten\n";
    for (const auto& c : frame.afterFlatten) s += c + "\n";
    if (frame.sequential) s += "async2sync\n";
    s += "check -assert\n";
    for (const auto& c : frame.afterCheck) s += c + "\n";
    for (const Property& p : properties) {
        s += "# " + p.statement + "\n";
        for (const Check& c : p.checks) {
            s += "log PROPERTY " + std::to_string(++script.checks) + "\n";
            s += frame.sequential ? "sat -tempinduct-baseonly -maxsteps " + std::to_string(kProofCycles) +
                                        " -set-init-zero -show-ports"
                                  : std::string("sat -show-ports");
            for (const auto& [a, b] : c.sets) s += " -set " + a + " " + b;
            for (const auto& [a, b] : c.proves) s += " -prove " + a + " " + b;
            s += "\n";
        }
    }
    return script;
}

ScriptOutcome readLog(std::string_view log, size_t checks)
{
    ScriptOutcome outcome;
    outcome.checks.resize(checks);
    size_t current = 0;  // the check whose section is being read, 1-based
    std::string section;
    auto close = [&] {
        if (current == 0 || current > checks) return;
        CheckOutcome& c = outcome.checks[current - 1];
        if (section.find("SUCCESS!") != std::string::npos) {
            c.state = CheckOutcome::State::Proved;
        } else if (section.find("FAIL!") != std::string::npos) {
            c.state = CheckOutcome::State::Failed;
            c.counterexample = model(section.substr(section.find("FAIL!")));
        }
    };
    std::istringstream in{std::string(log)};
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, 9, "PROPERTY ") == 0) {
            close();
            current = std::stoul(line.substr(9));
            section.clear();
            continue;
        }
        if (outcome.error.empty() && line.find("ERROR:") != std::string::npos) outcome.error = line;
        section += line + "\n";
    }
    if (outcome.error.empty()) close();
    return outcome;
}

}  // namespace velmorn
