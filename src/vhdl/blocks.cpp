#include "vhdl/blocks.h"

#include "vhdl/declarations.h"

namespace velmorn {

std::string banner(std::string_view path, std::string_view label)
{
    const std::string rule = "-- **********************************************************************\n";
    std::string s = rule;
    s += "-- ** This file was generated automatically by Velmorn...\n";
    s.append("-- ** Module (part) of FT architecture ").append(label).append("\n");
    s.append("-- ** VHDL file: ").append(path).append("\n");
    s += "-- ** Copyright (C) 2026 Velmorn contributors\n";
    s += "-- ** Fault-tolerant design tools\n";
    s += "-- ** Velmorn project <velmorn@localhost>\n";
    s += rule + "\n";
    return s;
}

void prologue(VhdlOut& out, const Design& d, std::string_view path, std::string_view label, bool withStdLogic)
{
    out << banner(path, label) << d.contextClause;
    if (withStdLogic && !seesStdLogic(d)) out << "library ieee;\nuse ieee.std_logic_1164.all;\n";
    out << NL << NL;
}

void genericDeclaration(VhdlOut& out, const Design& d, bool sourceSpelling)
{
    if (out.skipsText(d.generics.size())) return;  // a dry run: this declares nothing
    if (d.generics.empty()) return;
    out << "   generic(" << NL;
    eachLast(d.generics, [&](const Generic& g, bool last) {
        out << "      " << (sourceSpelling ? spelled(g) : g.name) << " : " << g.type << (last ? "\n" : ";\n");
    });
    out << "   );\n";
}

void genericMap(VhdlOut& out, const Design& d)
{
    if (out.skipsText(d.generics.size())) return;  // a dry run: this declares nothing
    if (d.generics.empty()) return;
    out << "   generic map(" << NL;
    eachLast(d.generics, [&](const Generic& g, bool last) {
        out << "      " << g.name << " => " << g.name << (last ? "\n" : ",\n");
    });
    out << "   )\n";
}

void entityHead(VhdlOut& out, const Design& d, std::string_view name, bool sourceSpelling)
{
    out << "entity " << name << " is" << NL;
    genericDeclaration(out, d, sourceSpelling);
    out << "   port(" << NL;
}

void entityTail(VhdlOut& out, std::string_view name)
{
    out << "   );\n" << "end entity " << name << ";" << NL << NL << "\n";
}

void componentHead(VhdlOut& out, const Design& d, std::string_view name)
{
    out << "component " << name << " is " << NL;
    genericDeclaration(out, d);
    out << "   port(" << NL;
}

void componentTail(VhdlOut& out) { out << "   );\n" << "end component;" << NL << NL; }

void instanceHead(VhdlOut& out, const Design& d, std::string_view label, std::string_view entity)
{
    out << label << " : " << entity << NL;
    genericMap(out, d);
    out << "   port map(" << NL;
}

void instanceTail(VhdlOut& out) { out << "   );\n" << NL; }

void architectureLine(VhdlOut& out, std::string_view name, std::string_view of)
{
    out << "architecture " << name << "_BEHAV" << " of " << of << " is" << NL;
}

void architectureEnd(VhdlOut& out, std::string_view owner) { out << "end " << owner << "_BEHAV;"; }

void moduleHead(VhdlOut& out, const Design& d, const Interface& iface)
{
    entityDeclaration(out, d, iface);
    architectureLine(out, iface.entity);
}

void signalLine(VhdlOut& out, const DerivedName& name, std::string_view type, const Port* source)
{
    out.declare(DeclarationKind::Signal, name, PortRole::UnitPort, source, false);
    out.put("   signal ", name, " : ", type, ";\n");
}

void signalList(VhdlOut& out, std::string_view names, std::string_view type)
{
    if (out.logsDeclarations())
        for (size_t a = 0; a < names.size();) {
            const size_t b = std::min(names.find(", ", a), names.size());
            out.declare(DeclarationKind::Signal, {names.substr(a, b - a)});
            a = b + 2;
        }
    out << "   signal " << names << " : " << type << ";\n";
}

void topSignalLine(VhdlOut& out, const DerivedName& name, std::string_view type, const Port* source)
{
    out.declare(DeclarationKind::Signal, name, PortRole::UnitPort, source, false);
    out.put("signal ", name, " : ", type, ";\n");
}

void copySignals(VhdlOut& out, const Design& d, std::string_view stem, int copies)
{
    for (int k = 1; k <= copies; ++k)
        for (const Port& p : d.produced()) topSignalLine(out, {p.name, stem, static_cast<size_t>(k), "_sig"}, p.type, &p);
}

VhdlOut& operator<<(VhdlOut& out, const Majority& m)
{
    const std::string_view a = m.name, s = m.suffix;
    return out.put("(", a, s, "1_in and ", a, s, "2_in) or (", a, s, "2_in and ", a, s, "3_in) or (", a, s, "1_in and ", a,
                   s, "3_in);");
}

void voteLine(VhdlOut& out, const Port& p, std::string_view suffix, const DerivedName& target, std::string_view indent,
              StatementKind kind)
{
    if (out.skipsText(3)) return;  // a dry run: a vote is about three lines of text, and declares nothing
    out << indent;
    if (votesBitwise(p)) {
        out.put(target, " <= ") << Majority{p.name, suffix} << NL;
        return;
    }
    const DerivedName c1{p.name, suffix, 1, "_in"}, c2{p.name, suffix, 2, "_in"}, c3{p.name, suffix, 3, "_in"};
    if (kind == StatementKind::Sequential)
        out.put("if ", c1, " = ", c2, " or ", c1, " = ", c3, " then ", target, " <= ", c1, "; else ", target, " <= ", c2,
                "; end if;\n");
    else
        out.put(target, " <= ", c1, " when ", c1, " = ", c2, " or ", c1, " = ", c3, " else ", c2, ";\n");
}

void sensitivityList(VhdlOut& out, const Design& d, std::string_view suffix)
{
    if (out.skipsText(d.produced().size())) return;  // a dry run: this declares nothing
    out << "   process(";
    bool first = true;
    for (const Port& p : d.produced())
        for (int k = 1; k <= 3; ++k) {
            if (!first) out << ",";
            first = false;
            out.put(p.name, suffix, static_cast<size_t>(k), "_in");
        }
    out << ")" << NL;
}

VhdlOut& operator<<(VhdlOut& out, const Selection& s)
{
    return out.put(s.name, s.suffix, "1_in when (", s.flag, " = '0') else ", s.name, s.suffix, "2_in;");
}

void differenceLines(VhdlOut& out, const Design& d, const PortName& lhs, const PortName& a, const PortName& b)
{
    if (out.skipsText(d.produced().size())) return;  // a dry run: this declares nothing
    size_t n = 0;
    for (const Port& p : d.produced()) {
        ++n;
        out.put("   ", lhs(p, n), " <= '0' when ", a(p, n), " = ", b(p, n), " else '1';\n");
    }
}

void orChain(VhdlOut& out, const Design& d, std::string_view head, const PortName& name)
{
    if (out.skipsText(d.produced().size() / 2)) return;  // a dry run: half a line per port, and declares nothing
    out << head << " <= ";
    size_t n = 0;
    for (const Port& p : d.produced()) {
        ++n;
        if (n > 1)
            out.put(" or ", name(p, n));
        else
            out << name(p, n);
    }
    out << ";" << NL << NL;
}

void mismatchBlock(VhdlOut& out, const Design& d, std::string_view S, std::string_view s, std::string_view u,
                   std::string_view w, std::string_view head)
{
    auto flag = [&](const Port& p, size_t n) { return DerivedName{p.name, S, n, s}; };
    differenceLines(
        out, d, flag, [&](const Port& p, size_t) { return DerivedName{p.name, S, 0, u}; },
        [&](const Port& p, size_t) { return DerivedName{p.name, S, 0, w}; });
    out << NL;
    orChain(out, d, head, flag);
}

void pathComparison(VhdlOut& out, const Design& d, std::string_view S)
{
    differenceLines(
        out, d, [](const Port&, size_t n) { return DerivedName{"errcmp_sig", "", n, ""}; },
        [&](const Port& p, size_t n) { return DerivedName{p.name, S, n, "_sigbouta"}; },
        [&](const Port& p, size_t n) { return DerivedName{p.name, S, n, "_sigboutb"}; });
}

void pathComparisonChain(VhdlOut& out, const Design& d, std::string_view head)
{
    orChain(out, d, head, [](const Port&, size_t k) { return DerivedName{"errcmp_sig", "", k, ""}; });
}

void selectorLines(VhdlOut& out, const Design& d, std::string_view S, std::string_view ending, std::string_view flag)
{
    if (out.skipsText(2 * d.produced().size())) return;  // a dry run: two lines per port, and declares nothing
    size_t n = 0;
    for (const Port& p : d.produced())
        out.put("   ", p.name, S, ++n, ending, " <= ") << Selection{p.name, S, flag} << NL;
}

void outputsFromPathB(VhdlOut& out, const Design& d, std::string_view S)
{
    if (out.skipsText(d.produced().size())) return;  // a dry run: this declares nothing
    size_t n = 0;
    for (const Port& p : d.produced())
        out.put("   ", p.name, S, "_out <= ", p.name, S, ++n, "_sigboutb;\n");
}

void checkedSelection(VhdlOut& out, const Design& d, std::string_view S, std::string_view flag)
{
    selectorLines(out, d, S, "_sigboutb", flag);
    out << NL;
    selectorLines(out, d, S, "_sigbouta", flag);
    out << NL;
    pathComparison(out, d, S);
    out << NL;
    pathComparisonChain(out, d, std::string("   Err").append(S));
    outputsFromPathB(out, d, S);
}

}  // namespace velmorn
