#include "prove/harness.h"

#include "modules/checked_unit.h"
#include "vhdl/blocks.h"

namespace velmorn::harness {

namespace {

Interface goldenInterface(const Design& d)
{
    Interface g{goldenEntity(d), {}};
    g.add(unitInputs(d, ""));
    g.add(unitOutputs(d, ""));
    return g;
}

void head(VhdlOut& out, const Design& d, std::string_view what)
{
    out << "-- Written by velmorn --prove: " << what << "\n" << d.contextClause << NL << NL;
}

// "   " lhs " <= " yes " when " a1 = b1 and ... else " no ";"
template <class Pair>
void comparison(VhdlOut& out, const Design& d, std::string_view lhs, std::string_view yes, std::string_view no,
                const Pair& pair)
{
    out << "   " << lhs << " <= " << yes << " when ";
    bool first = true;
    for (const Port& p : d.outputs) {
        if (!first) out << " and ";
        first = false;
        const auto [a, b] = pair(p);
        out << a << " = " << b;
    }
    out << " else " << no << ";" << NL;
}

// The golden unit's instance: its inputs from the signals of the same name,
// its outputs into p<ending>.
void goldenInstance(VhdlOut& out, const Design& d, const Interface& golden, std::string_view ending)
{
    instance(out, d, "gold", golden, [&](const InterfacePort& p) {
        return p.source->mode == PortMode::Out ? DerivedName{p.source->name, ending} : DerivedName{p.source->name};
    });
}

}  // namespace

std::string goldenEntity(const Design& d) { return d.entityName + "_gold"; }
std::string proofTopEntity(const Design& d) { return d.entityName + "_prove"; }
std::string checkerProofEntity(const Design& d) { return d.entityName + "_ch_prove"; }

void emitGolden(const Design& d, VhdlOut& out)
{
    head(out, d, "the unit itself, the reference of the top-level proofs.");
    const Interface g = goldenInterface(d);
    entityDeclaration(out, d, g, ModeCase::Lower);
    architectureLine(out, g.entity);
    out.passThrough(d.body.kept.text);
    out.blanks(d.body.blanks);
    out << NL;
    architectureEnd(out, g.entity);
    out << NL;
}

void emitProofTop(const Design& d, const Interface& top, VhdlOut& out)
{
    head(out, d, "the unit and the generated top side by side, for the top-level proofs.");
    Interface self{proofTopEntity(d), {}};
    self.add(unitInputs(d, ""));
    self.add(unitOutputs(d, "_free", PortMode::In));
    self.add(unitOutputs(d, "_gold"));
    for (const PortGroup& g : top.groups)
        if (g.port.mode == PortMode::Out) {
            PortGroup output = g;
            output.port.wideIndent = false;
            self.add(output);
        }
    for (std::string_view flag : {kEqual, kFollow, kDiffer})
        self.add(logicPort({flag}, PortMode::Out, PortRole::ErrorFlag));
    entityDeclaration(out, d, self);
    out << "architecture prove of " << self.entity << " is" << NL;
    const Interface golden = goldenInterface(d);
    componentDeclaration(out, d, golden);
    componentDeclaration(out, d, top);
    for (const Port& p : d.outputs) signalLine(out, cutSignal(p), p.type);
    out << "begin" << NL;
    for (const Port& p : d.outputs) out << "   " << cutSignal(p) << " <= " << p.name << "_free;" << NL;
    goldenInstance(out, d, golden, "_gold");
    instance(out, d, "dut", top, [&](const InterfacePort& p) {
        if (p.role == PortRole::UnitPort && p.source->mode != PortMode::Out) return DerivedName{p.source->name};
        return p.name;
    });
    // Every output of the top (each of its copies of an OUT port) against the unit's.
    auto allOutputs = [&](std::string_view lhs, std::string_view yes, std::string_view no, std::string_view ending) {
        out << "   " << lhs << " <= " << yes << " when ";
        bool first = true;
        forEachPort(top, [&](const InterfacePort& p, bool) {
            if (p.role != PortRole::UnitPort || p.source->mode != PortMode::Out) return;
            if (!first) out << " and ";
            first = false;
            out << p.name << " = " << p.source->name << ending;
        });
        out << " else " << no << ";" << NL;
    };
    allOutputs(kEqual, "'1'", "'0'", "_gold");
    allOutputs(kFollow, "'1'", "'0'", "_cut");
    comparison(out, d, kDiffer, "'0'", "'1'",
               [](const Port& p) { return std::pair{cutSignal(p), DerivedName{p.name, "_gold"}}; });
    out << "end architecture prove;" << NL;
}

void emitCompleteChecker(const Design& d, std::string_view checker, VhdlOut& out)
{
    head(out, d, "a checker that reports every difference from the unit, in place of the user's.");
    const Interface self = checkerInterface(d, checker);
    entityDeclaration(out, d, self);
    out << "architecture complete of " << self.entity << " is" << NL;
    const Interface golden = goldenInterface(d);
    componentDeclaration(out, d, golden);
    for (const Port& p : d.outputs) signalLine(out, {p.name, "_gold"}, p.type);
    out << "begin" << NL;
    goldenInstance(out, d, golden, "_gold");
    comparison(out, d, "ERR", "'0'", "'1'",
               [](const Port& p) { return std::pair{DerivedName{p.name}, DerivedName{p.name, "_gold"}}; });
    out << "end architecture complete;" << NL;
}

void emitCheckerProofTop(const Design& d, std::string_view checker, VhdlOut& out)
{
    head(out, d, "the user's checker on free outputs beside the unit, for the checker proof.");
    Interface self{checkerProofEntity(d), {}};
    self.add(unitInputs(d, ""));
    self.add(unitOutputs(d, "_free", PortMode::In));
    self.add(unitOutputs(d, "_gold"));
    for (std::string_view flag : {kCheckerError, kDiffer}) self.add(logicPort({flag}, PortMode::Out, PortRole::ErrorFlag));
    entityDeclaration(out, d, self);
    out << "architecture prove of " << self.entity << " is" << NL;
    const Interface golden = goldenInterface(d);
    const Interface chk = checkerInterface(d, checker);
    componentDeclaration(out, d, golden);
    componentDeclaration(out, d, chk);
    out << "begin" << NL;
    goldenInstance(out, d, golden, "_gold");
    instance(out, d, "checker", chk, [&](const InterfacePort& p) {
        if (p.role == PortRole::CheckerError) return DerivedName{kCheckerError};
        return p.source->mode == PortMode::Out ? DerivedName{p.source->name, "_free"} : DerivedName{p.source->name};
    });
    comparison(out, d, kDiffer, "'0'", "'1'", [](const Port& p) {
        return std::pair{DerivedName{p.name, "_free"}, DerivedName{p.name, "_gold"}};
    });
    out << "end architecture prove;" << NL;
}

}  // namespace velmorn::harness
