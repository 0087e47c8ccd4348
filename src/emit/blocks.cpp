#include "emit/blocks.h"

namespace velmorn {

void entityHead(VhdlText& t, const std::string& name)
{
    t << "entity " << name << " is" << NL;
    t.genericDecl();
    t << "   port(" << NL;
}

void entityTail(VhdlText& t, const std::string& name)
{
    t << "   );\n" << "end entity " << name << ";" << NL << NL << "\n";
}

void architectureLine(VhdlText& t, const std::string& name, const std::string& of)
{
    t << "architecture " << name << "_BEHAV" << " of " << of << " is" << NL;
}

VhdlText moduleHead(const Design& d, const std::string& M, const std::string& arch,
                    const std::function<void(VhdlText&)>& ports)
{
    VhdlText t(d, moduleFilePath(d, M), arch);
    const std::string E = d.entity_name + M;
    entityHead(t, E);
    ports(t);
    entityTail(t, E);
    architectureLine(t, E);
    return t;
}

VhdlText topHead(const Design& d, const std::string& top, const std::string& arch,
                 const std::function<void(VhdlText&)>& ports)
{
    VhdlText t(d, topFilePath(d, top), arch);
    const std::string& T = d.entity_name;
    entityHead(t, T);
    ports(t);
    entityTail(t, T);
    architectureLine(t, T);
    t << NL;
    return t;
}

void portsWithErrorOutputs(VhdlText& t, std::initializer_list<const char*> errors)
{
    inputPortLines(t, "");
    outputPortLines(t, "", true);
    eachLast(errors, [&](const char* name, bool last) {
        t << "      " << name << " : OUT std_logic" << (last ? "\n" : ";\n");
    });
}

void componentHead(VhdlText& t, const std::string& name)
{
    t << "component " << name << " is " << NL;
    t.genericDecl();
    t << "   port(" << NL;
}

void componentTail(VhdlText& t) { t << "   );\n" << "end component;" << NL << NL; }

void moduleComponent(VhdlText& t, const std::string& sfx, const std::function<void(VhdlText&)>& ports)
{
    componentHead(t, t.design().entity_name + sfx);
    ports(t);
    componentTail(t);
}

void inputPortLines(VhdlText& t, const std::string& sfx, const PortModes& m)
{
    for (const auto& p : t.design().InportList) t << "      " << p.name << sfx << m.in << p.type << ";\n";
    for (const auto& p : t.design().InoutportList) t << "      " << p.name << sfx << m.inout << p.type << ";\n";
}

void outputPortLines(VhdlText& t, const std::string& sfx, bool more, const PortModes& m)
{
    eachLast(t.design().OutportList, [&](const Toutport& p, bool last) {
        t << "      " << p.name << sfx << m.out << p.type << (last && !more ? "\n" : ";\n");
    });
}

void unitPortList(VhdlText& t, const std::string& sfx, const PortModes& m)
{
    inputPortLines(t, sfx, m);
    outputPortLines(t, sfx, false, m);
}

void errPortLine(VhdlText& t, const std::string& sfx)
{
    t << "      " << " ERR" << sfx << " : OUT std_logic;" << NL;
}

void unitComponent(VhdlText& t, const std::string& sfx)
{
    moduleComponent(t, sfx, [&](VhdlText& c) { unitPortList(c, sfx); });
}

void instanceFrame(VhdlText& t, const std::string& label, const std::function<void()>& associations)
{
    t << label << NL;
    t.genericMap();
    t << "   port map(" << NL;
    associations();
    t << "   );\n" << NL;
}

void copyInstances(VhdlText& t, const std::string& module, int count, const CopyInstanceOptions& options)
{
    const std::string& T = t.design().entity_name;
    for (int c = 1; c <= count; ++c) {
        const std::string n = std::to_string(c);
        instanceFrame(t, T + n + module + " : " + T + module + n, [&] {
            inputAssocs(t, module + n, options.perCopyInputs ? n : "");
            if (options.beforeOutputs) options.beforeOutputs(c);
            outputSignalAssocs(t, module + n, options.afterOutputs != nullptr);
            if (options.afterOutputs) options.afterOutputs(c);
        });
    }
}

void moduleInstance(VhdlText& t, const std::string& sfx, const std::function<void()>& associations)
{
    const std::string name = t.design().entity_name + sfx;
    instanceFrame(t, name + "1" + " : " + name, associations);
}

void inputAssocs(VhdlText& t, const std::string& formalSfx, const std::string& actualSfx)
{
    for (const auto& p : t.design().InportList)
        t << "      " << p.name << formalSfx << " => " << p.name << actualSfx << ",\n";
    for (const auto& p : t.design().InoutportList)
        t << "      " << p.name << formalSfx << " => " << p.name << actualSfx << ",\n";
}

void outputSignalAssocs(VhdlText& t, const std::string& sfx, bool more)
{
    eachLast(t.design().OutportList, [&](const Toutport& p, bool last) {
        t << "      " << p.name << sfx << " => " << p.name << sfx << "_sig" << (last && !more ? "\n" : ",\n");
    });
}

void copySignals(VhdlText& t, const std::string& stem, int copies)
{
    for (int k = 1; k <= copies; ++k)
        for (const auto& p : t.design().OutportList)
            t << "signal " << p.name << stem << k << "_sig" << " : " << p.type << ";\n";
}

void voterInputLines(VhdlText& t, const std::string& S)
{
    for (const auto& p : t.design().OutportList)
        for (int k = 1; k <= 3; ++k) t << "      " << p.name << S << k << "_in" << " : IN" << p.type << ";\n";
}

void voterOutputLines(VhdlText& t, const std::string& S, bool more)
{
    eachLast(t.design().OutportList, [&](const Toutport& p, bool last) {
        t << "      " << p.name << S << "_out" << " : OUT" << p.type << (last && !more ? "\n" : ";\n");
    });
}

void voterPortList(VhdlText& t, const std::string& S)
{
    voterInputLines(t, S);
    voterOutputLines(t, S, false);
}

void votingModulePortList(VhdlText& t, const std::string& S)
{
    voterInputLines(t, S);
    voterOutputLines(t, S, true);
    t << "      " << "Err" << S << "1" << " : OUT" << " std_logic" << ";\n";
    t << "      " << "Err" << S << "2" << " : OUT" << " std_logic" << ";\n";
    t << "      " << "Err" << S << "3" << " : OUT" << " std_logic" << ";\n";
    t << "      " << "Err" << S << "" << " : OUT" << " std_logic" << "\n";
}

void voterInputAssocs(VhdlText& t, const std::string& S, const std::string& stem)
{
    for (const auto& p : t.design().OutportList)
        for (int k = 1; k <= 3; ++k)
            t << "      " << p.name << S << k << "_in" << " => " << p.name << stem << k << "_sig" << ",\n";
}

void voterOutputAssocs(VhdlText& t, const std::string& S, const std::string& actualSfx, bool more)
{
    eachLast(t.design().OutportList, [&](const Toutport& p, bool last) {
        t << "      " << p.name << S << "_out" << " => " << p.name << actualSfx << (last && !more ? "\n" : ",\n");
    });
}

void pairInputLines(VhdlText& t, const std::string& S)
{
    for (const auto& p : t.design().OutportList)
        for (int i = 1; i <= 2; ++i) t << "      " << p.name << S << i << "_in" << " : IN" << p.type << ";\n";
}

void pairInputAssocs(VhdlText& t, const std::string& S, const std::string& stem)
{
    for (const auto& p : t.design().OutportList)
        for (int i = 1; i <= 2; ++i)
            t << "      " << p.name << S << i << "_in" << " => " << p.name << stem << i << "_sig" << ",\n";
}

void sensitivityList(VhdlText& t, const std::string& S)
{
    t << "   process(";
    bool first = true;
    for (const auto& p : t.design().OutportList)
        for (int k = 1; k <= 3; ++k) {
            if (!first) t << ",";
            first = false;
            t << p.name << S << k << "_in";
        }
    t << ")" << NL;
}

VhdlText& operator<<(VhdlText& t, const Majority& m)
{
    auto N = [&](const char* in) -> VhdlText& { return t << m.name << m.suffix << in; };
    t << "(";
    N("1_in") << " and ";
    N("2_in") << ")" << " or " << "(";
    N("2_in") << " and ";
    N("3_in") << ")" << " or " << "(";
    N("1_in") << " and ";
    return N("3_in") << ");";
}

VhdlText& operator<<(VhdlText& t, const DerivedName& x)
{
    t << x.base << x.suffix;
    if (x.n > 0) t << x.n;
    return t << x.ending;
}

void differenceLines(VhdlText& t, const PortName& lhs, const PortName& a, const PortName& b)
{
    size_t n = 0;
    for (const auto& p : t.design().OutportList) {
        ++n;
        t << "   " << lhs(p, n) << " <= " << "'0'" << " when " << a(p, n) << " = " << b(p, n) << " else " << "'1'"
          << ";" << NL;
    }
}

void orChain(VhdlText& t, const std::string& head, const PortName& name)
{
    t << head << " <= ";
    size_t n = 0;
    for (const auto& p : t.design().OutportList) {
        ++n;
        if (n > 1) t << " or ";
        t << name(p, n);
    }
    t << ";" << NL << NL;
}

void mismatchBlock(VhdlText& t, const std::string& S, const std::string& s, const std::string& u,
                   const std::string& w, const std::string& head)
{
    auto flag = [&](const Toutport& p, size_t n) { return DerivedName{p.name, S, n, s}; };
    differenceLines(
        t, flag, [&](const Toutport& p, size_t) { return DerivedName{p.name, S, 0, u}; },
        [&](const Toutport& p, size_t) { return DerivedName{p.name, S, 0, w}; });
    t << NL;
    orChain(t, head, flag);
}

void voterComparisonBlock(VhdlText& t, const std::string& S)
{
    differenceLines(
        t, [](const Toutport&, size_t n) { return DerivedName{"errcmp_sig", "", n, ""}; },
        [&](const Toutport& p, size_t n) { return DerivedName{p.name, S, n, "_sigbouta"}; },
        [&](const Toutport& p, size_t n) { return DerivedName{p.name, S, n, "_sigboutb"}; });
}

VhdlText& operator<<(VhdlText& t, const Selection& s)
{
    return t << s.name << s.suffix << "1_in" << " when (" << s.flag << " = '0') else " << s.name << s.suffix << "2_in"
             << ";";
}

void selectorLines(VhdlText& t, const std::string& S, const std::string& sfx, const std::string& flag)
{
    size_t n = 0;
    for (const auto& p : t.design().OutportList)
        t << "   " << p.name << S << ++n << sfx << " <= " << selection(p.name, S, flag) << NL;
}

void selectedOutputs(VhdlText& t, const std::string& S)
{
    size_t n = 0;
    for (const auto& p : t.design().OutportList)
        t << "   " << p.name << S << "_out <= " << p.name << S << ++n << "_sigboutb" << ";" << NL;
}

void muxPortList(VhdlText& t, const std::string& S, bool twoCheckers)
{
    t << "      " << "Err_prm1_in : IN std_logic;\n";
    if (twoCheckers) t << "      " << "Err_prm2_in : IN std_logic;\n";
    pairInputLines(t, S);
    voterOutputLines(t, S, true);
    t << "      " << "Err" << S << "1" << " : OUT" << " std_logic" << ";\n";
    t << "      " << "Err" << S << "2" << " : OUT" << " std_logic" << ";\n";
    t << "      " << "Err" << S << " : OUT" << " std_logic" << "\n";
}

void voterWithErrPortList(VhdlText& t, const std::string& S)
{
    voterInputLines(t, S);
    voterOutputLines(t, S, true);
    t << "      " << "Err" << S << "_out" << " : OUT" << " std_logic" << "\n";
}

void fdecPortList(VhdlText& t, const std::string& S)
{
    voterInputLines(t, S);
    t << "      " << "Err" << S << "1" << " : OUT" << " std_logic" << ";\n";
    t << "      " << "Err" << S << "2" << " : OUT" << " std_logic" << ";\n";
    t << "      " << "Err" << S << "3" << " : OUT" << " std_logic" << ";\n";
    t << "      " << "Err" << S << " : OUT" << " std_logic" << "\n";
}

void cmpPortList(VhdlText& t, const std::string& S)
{
    pairInputLines(t, S);
    t << "      " << "ERR_cmp" << " : OUT std_logic\n";
}

void checkedSelection(VhdlText& t, const std::string& S, const std::string& flag)
{
    selectorLines(t, S, "_sigboutb", flag);
    t << NL;
    selectorLines(t, S, "_sigbouta", flag);
    t << NL;
    voterComparisonBlock(t, S);
    t << NL;
    orChain(t, "   Err" + S, [](const Toutport&, size_t k) { return DerivedName{"errcmp_sig", "", k, ""}; });
    selectedOutputs(t, S);
}

}  // namespace velmorn
