#include "prove/promises.h"

#include <algorithm>
#include <map>

#include "modules/checked_mux.h"
#include "modules/comparator.h"
#include "modules/fault_decoder.h"
#include "modules/selector.h"
#include "modules/two_channel.h"
#include "modules/voter.h"
#include "modules/voting_module.h"

namespace velmorn {

namespace {

Interface oneCheckerMux(const Design& d, std::string_view s) { return checkedMuxInterface(d, s, 1); }
Interface twoCheckerMux(const Design& d, std::string_view s) { return checkedMuxInterface(d, s, 2); }

using enum DataRule;
using enum FlagRule;

const ModuleKind kModuleKinds[] = {
    {emitVoter, voterInterface, Majority, Quiet, Quiet},
    {emitVoterWithError, voterWithErrorInterface, Majority, Quiet, Quiet},
    {emitFaultDecoder, faultDecoderInterface, None, Blame, AnyDiff},
    {emitTwoVoterModule, votingModuleInterface, Majority, Blame, AnyDiff},
    // Its alarm reports only a disagreement of its own two selections.
    {emitTwoSelectorModule, votingModuleInterface, Majority, Blame, Quiet},
    {emitOneSelectorModule, votingModuleInterface, Majority, Blame, AnyDiff},
    {emitCheckedTwoSelectorModule, votingModuleInterface, Majority, Blame, AnyDiff},
    {emitComparator, comparatorInterface, None, Quiet, AnyDiff},
    // Copy 2 has no checker: it is blamed when the copies differ while checker 1 is silent.
    {emitOneCheckerMux, oneCheckerMux, Selected, UnlessReported, Quiet},
    {emitTwoCheckerMux, twoCheckerMux, Selected, Quiet, Quiet},
};

TopFlag blames(int copy) { return {Blame, copy}; }

const std::vector<TopPromise>& topPromises()
{
    static const std::vector<TopPromise> list = {
        {"-tmr0", true, {}},
        {"-tmr1", true, {blames(1), blames(2), blames(3), {Quiet}, {Quiet}, {Quiet}, {AnyDiff}}},
        {"-tmr2", true, {blames(1), blames(2), blames(3), {AnyDiff}}},
        {"-dpl4", true, {blames(1), blames(2), blames(3), {Quiet}}},
        {"-dpl5", true, {blames(1), blames(2), blames(3), {AnyDiff}}},
        {"-dpl6", true, {blames(1), blames(2), blames(3), {AnyDiff}}},
        {"-dpl0", false, {{AnyDiff}}},
        {"-fuch", false, {{AnyDiff}}},
        {"-tmr3", true, {blames(1), blames(2), blames(3), {Quiet}}},
        {"-dpl1", true, {blames(1), blames(2), {Quiet}}},
        {"-dpl2", true, {blames(1), blames(2), {Quiet}}},
    };
    return list;
}

// The module's ports by what they carry.
struct Roles {
    struct Data {
        const Port* source;
        std::vector<std::string> copy;  // copy[k], k = 1..copies
        std::string result;             // empty when the module has no result
    };
    std::vector<Data> data;
    std::vector<std::pair<int, std::string>> flags;  // index and name, in the interface's order
    std::map<int, std::string> lines;                // by index
    int copies = 0;
};

Roles rolesOf(const Interface& iface)
{
    Roles r;
    auto dataOf = [&](const Port* source) -> Roles::Data& {
        for (auto& d : r.data)
            if (d.source == source) return d;
        r.data.push_back({source, {}, {}});
        return r.data.back();
    };
    forEachPort(iface, [&](const InterfacePort& p, bool) {
        switch (p.role) {
        case PortRole::CopyValue: {
            auto& d = dataOf(p.source);
            if (d.copy.size() <= static_cast<size_t>(p.index)) d.copy.resize(static_cast<size_t>(p.index) + 1);
            d.copy[static_cast<size_t>(p.index)] = p.name.text();
            r.copies = std::max(r.copies, p.index);
            break;
        }
        case PortRole::Result: dataOf(p.source).result = p.name.text(); break;
        case PortRole::ErrorFlag: r.flags.emplace_back(p.index, p.name.text()); break;
        case PortRole::CheckerErrorInput: r.lines[p.index] = p.name.text(); break;
        default: break;
        }
    });
    return r;
}

// Builds the checks of one module over its netlist's port names.
class CheckBuilder {
public:
    explicit CheckBuilder(const std::vector<std::string>& ports) : ports_(ports) {}
    std::string problem;

    // a = b, field by field.
    void equal(std::vector<Equality>& into, const std::string& a, const std::string& b)
    {
        const auto fa = fields(a), fb = fields(b);
        if (fa.size() != fb.size()) {
            fail("the netlist ports of " + a + " and " + b + " do not pair");
            return;
        }
        for (size_t i = 0; i < fa.size(); ++i) {
            if (fa[i].first != fb[i].first) fail("the netlist ports of " + a + " and " + b + " do not pair");
            into.push_back({fa[i].second, fb[i].second});
        }
    }
    void constant(std::vector<Equality>& into, const std::string& flag, char value)
    {
        if (!fields(flag).empty()) into.push_back({flag, std::string(1, value)});
    }

private:
    const std::vector<std::string>& ports_;

    void fail(std::string why)
    {
        if (problem.empty()) problem = std::move(why);
    }
    // (field, netlist port) of one interface port: itself, or one per record field.
    std::vector<std::pair<std::string, std::string>> fields(const std::string& name)
    {
        std::vector<std::pair<std::string, std::string>> f;
        for (const auto& p : ports_)
            if (p == name) return {{"", p}};
        for (const auto& p : ports_)
            if (p.size() > name.size() + 1 && p.compare(0, name.size(), name) == 0 && p[name.size()] == '_')
                f.push_back({p.substr(name.size()), p});
        if (f.empty()) fail("the module's netlist has no port " + name);
        return f;
    }
};

std::string quoted(char v) { return std::string("'") + v + "'"; }

}  // namespace

std::string nameList(const std::vector<std::string>& names)
{
    constexpr size_t shown = 6;
    std::string s;
    const size_t n = std::min(names.size(), names.size() > shown + 1 ? shown : names.size());
    for (size_t i = 0; i < n; ++i) {
        if (i > 0) s += (i + 1 == n && n == names.size()) ? " and " : ", ";
        s += names[i];
    }
    if (n < names.size()) s += " and " + std::to_string(names.size() - n) + " more";
    return s;
}

const ModuleKind* moduleKind(PlanRecord::ModuleEmitter emit)
{
    for (const ModuleKind& k : kModuleKinds)
        if (k.emit == emit) return &k;
    return nullptr;
}

const TopPromise* topPromise(std::string_view sw)
{
    for (const TopPromise& p : topPromises())
        if (p.sw == sw) return &p;
    return nullptr;
}

bool moduleProperties(const Interface& iface, const ModuleKind& kind, const std::vector<std::string>& netlistPorts,
                      std::vector<Property>& properties, std::string& problem)
{
    const Roles r = rolesOf(iface);
    CheckBuilder b(netlistPorts);
    std::vector<std::string> units, lineNames;
    for (const auto& d : r.data) units.push_back(d.source->name);
    for (const auto& [k, name] : r.lines) lineNames.push_back(name);
    const std::string firstLine = r.lines.count(1) ? r.lines.at(1) : "";

    // The rule of each flag: a copy with a checker has its line; the others the kind's rule.
    auto ruleOf = [&](int index) {
        if (index == 0) return kind.alarm;
        return r.lines.count(index) ? Line : kind.copyFlags;
    };

    // One scenario: copy `free` (0: none) free, the others equal, the lines at `lines`.
    auto scenario = [&](int free, unsigned lines, Property& into) {
        const int good = free == 1 ? 2 : 1;
        std::string label = free == 0 ? "no fault" : "copy " + std::to_string(free) + " free";
        Check c;
        size_t bit = 0;
        bool anyLine = false;
        for (const auto& [k, name] : r.lines) {
            const char v = (lines >> bit++) & 1 ? '1' : '0';
            anyLine = anyLine || v == '1';
            b.constant(c.sets, name, v);
            label += ", " + name + " = " + quoted(v);
        }
        for (const auto& d : r.data)
            for (int k = 1; k <= r.copies; ++k)
                if (k != free && k != good) b.equal(c.sets, d.copy[static_cast<size_t>(k)], d.copy[static_cast<size_t>(good)]);
        c.scenario = label;
        const bool selectsCopy2 = r.lines.count(1) && (lines & 1);
        for (const auto& d : r.data) {
            if (d.result.empty()) continue;
            if (kind.data == Majority) b.equal(c.proves, d.result, d.copy[static_cast<size_t>(good)]);
            if (kind.data == Selected) b.equal(c.proves, d.result, d.copy[selectsCopy2 ? 2 : 1]);
        }
        std::vector<Check> differs;
        for (const auto& [index, name] : r.flags) {
            FlagRule rule = ruleOf(index);
            if (rule == UnlessReported) rule = anyLine ? Quiet : AnyDiff;
            if (rule == Blame) rule = index == free ? AnyDiff : Quiet;
            if (rule == AnyDiff && free == 0) rule = Quiet;
            switch (rule) {
            case Line: b.equal(c.proves, name, r.lines.at(index)); break;
            case Quiet: b.constant(c.proves, name, '0'); break;
            case AnyDiff: {
                // '1' exactly when the free copy differs: with all copies equal it is
                // '0' (the scenario without a fault), and while it is '0' they are equal.
                Check d{label + ", " + name + " = '0'", c.sets, {}};
                b.constant(d.sets, name, '0');
                for (const auto& data : r.data)
                    b.equal(d.proves, data.copy[static_cast<size_t>(free)], data.copy[static_cast<size_t>(good)]);
                differs.push_back(std::move(d));
                break;
            }
            default: break;
            }
        }
        if (!c.proves.empty()) into.checks.push_back(std::move(c));
        for (auto& d : differs) into.checks.push_back(std::move(d));
    };

    // The statement of a property from the rules.
    auto statement = [&](bool faulty) {
        std::string s = iface.entity + (faulty ? ", any one faulty copy (its values free)" : ", no fault");
        if (!lineNames.empty()) s += ", every value of " + nameList(lineNames);
        std::vector<std::string> parts;
        if (kind.data == Majority)
            parts.push_back(faulty ? "masks it in " + nameList(units) : nameList(units) + " equal the copies' value");
        if (kind.data == Selected)
            parts.push_back(nameList(units) + " follow copy 1 while " + firstLine + " is '0', else copy 2");
        std::map<std::string, std::vector<std::string>> byPhrase;
        std::vector<std::string> order;
        for (const auto& [index, name] : r.flags) {
            const FlagRule rule = ruleOf(index);
            std::string phrase;
            if (rule == Line) phrase = "= " + r.lines.at(index);
            else if (!faulty || rule == Quiet) phrase = "'0'";
            else if (rule == Blame) phrase = "'1' for the faulty copy alone, exactly when it differs";
            else if (rule == AnyDiff) phrase = "'1' exactly when it differs";
            else phrase = "'1' exactly when the copies differ while every checker error line is '0'";
            if (!byPhrase.count(phrase)) order.push_back(phrase);
            byPhrase[phrase].push_back(name);
        }
        for (const auto& phrase : order) parts.push_back(nameList(byPhrase[phrase]) + " " + phrase);
        for (size_t i = 0; i < parts.size(); ++i) s += (i ? "; " : ": ") + parts[i];
        return s;
    };

    const unsigned combos = 1u << r.lines.size();
    Property none{statement(false), {}}, faulty{statement(true), {}};
    for (unsigned l = 0; l < combos; ++l) scenario(0, l, none);
    for (int k = 1; k <= r.copies; ++k)
        for (unsigned l = 0; l < combos; ++l) scenario(k, l, faulty);
    if (!b.problem.empty()) {
        problem = b.problem;
        return false;
    }
    properties.push_back(std::move(none));
    properties.push_back(std::move(faulty));
    return true;
}

}  // namespace velmorn
