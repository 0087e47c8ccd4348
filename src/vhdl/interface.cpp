#include "vhdl/interface.h"

#include "vhdl/blocks.h"
#include "vhdl/declarations.h"
#include "vhdl/keep.h"

namespace velmorn {

std::string DerivedName::text() const
{
    std::string s;
    s.append(base).append(suffix);
    if (n > 0) s += std::to_string(n);
    s.append(ending);
    return s;
}

VhdlOut& operator<<(VhdlOut& out, const DerivedName& name) { return out.put(name); }

PortGroup unitInputs(const Design& d, std::string_view suffix, size_t n)
{
    PortGroup g{{{"", suffix, n}, PortMode::In, "", PortRole::UnitPort}, {&d.inputs, &d.inouts}};
    g.sourceMode = true;
    return g;
}

PortGroup unitOutputs(const Design& d, std::string_view suffix, PortMode as, size_t n)
{
    return {{{"", suffix, n}, as, "", PortRole::UnitPort}, {&d.outputs, nullptr}};
}

PortGroup copyValues(const Design& d, std::string_view suffix, int copies)
{
    return {{{"", suffix, 0, "_in"}, PortMode::In, "", PortRole::CopyValue}, {&d.outputs, &d.inouts}, copies};
}

PortGroup results(const Design& d, std::string_view suffix)
{
    return {{{"", suffix, 0, "_out"}, PortMode::Out, "", PortRole::Result}, {&d.outputs, &d.inouts}};
}

PortGroup logicPort(DerivedName name, PortMode mode, PortRole role, int index)
{
    return {{name, mode, " std_logic", role, nullptr, index}};
}

namespace {

std::string_view modeWord(PortMode mode, ModeCase modes)
{
    const bool upper = modes == ModeCase::Upper;
    switch (mode) {
    case PortMode::In: return upper ? " : IN" : " : in";
    case PortMode::Out: return upper ? " : OUT" : " : out";
    case PortMode::Inout: return upper ? " : INOUT" : " : inout";
    }
    return "";
}

}  // namespace

void portLines(VhdlOut& out, const Interface& iface, ModeCase modes)
{
    if (out.skipsText(iface.size())) return;  // a dry run: this declares nothing
    forEachPort(iface, [&](const InterfacePort& p, bool last) {
        const std::string_view indent = p.wideIndent ? "       " : "      ", end = last ? "\n" : ";\n";
        out.put(indent, p.name, modeWord(p.mode, modes), p.type, end);
    });
}

void entityDeclaration(VhdlOut& out, const Design& d, const Interface& iface, ModeCase modes)
{
    if (out.logsDeclarations()) {
        out.declare(DeclarationKind::Entity, {iface.entity});
        for (const Generic& g : d.generics)
            out.declare(DeclarationKind::Generic, {g.name}, PortRole::UnitPort, nullptr, true);
        forEachPort(iface, [&](const InterfacePort& p, bool) {
            const bool own = p.source && p.name.suffix.empty() && p.name.n == 0 && p.name.ending.empty();
            out.declare(DeclarationKind::Port, p.name, p.role, p.source, own);
        });
    }
    entityHead(out, d, iface.entity, iface.sourceSpelling);
    portLines(out, iface, modes);
    entityTail(out, iface.entity);
}

void componentDeclaration(VhdlOut& out, const Design& d, const Interface& iface)
{
    out.declare(DeclarationKind::Component, {iface.entity});
    componentHead(out, d, iface.entity);
    portLines(out, iface);
    componentTail(out);
}

void instance(VhdlOut& out, const Design& d, std::string_view label, const Interface& iface, const ActualOf& actual)
{
    out.declare(DeclarationKind::Label, {label});
    if (out.skipsText(iface.size())) return;  // a dry run: the associations declare nothing
    instanceHead(out, d, label, iface.entity);
    forEachPort(iface, [&](const InterfacePort& p, bool last) {
        const std::string_view end = last ? "\n" : ",\n";
        out.put("      ", p.nameInMaps(), " => ", actual(p), end);
    });
    instanceTail(out);
}

void Instances::begin()
{
    out_ << NL << "begin" << NL;
    begun_ = true;
}

void Instances::add(std::string label, const Interface& iface, const ActualOf& actual)
{
    if (keep_) {
        out_.declare(DeclarationKind::Label, {label});
        instance(held_, d_, label, iface, actual);
        labels_.push_back(std::move(label));
        return;
    }
    if (!begun_) begin();
    instance(out_, d_, label, iface, actual);
}

void Instances::finish()
{
    if (begun_) return;
    if (keep_) keepAttributes(out_, labels_);
    begin();
    held_.flush();
    out_.passThrough(heldText_.text);
}

}  // namespace velmorn
