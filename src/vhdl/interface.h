// A generated module's interface as data: its entity name and its ports, each
// with its name, mode, type and what it carries. The module's entity, and the
// component and port map of the top that instantiates it, are all written from
// the same Interface.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/design.h"
#include "vhdl/options.h"
#include "vhdl/out.h"

namespace velmorn {

// A generated name: a base, a suffix, a number unless it is 0 and an ending,
// with nothing between them (Q + "_vot_prm2" + 1 + "_in"). The parts are views:
// a name lives no longer than the design and the suffixes it was made from.
struct DerivedName {
    std::string_view base = {}, suffix = {};
    size_t n = 0;
    std::string_view ending = {};

    std::string text() const;
};
VhdlOut& operator<<(VhdlOut& out, const DerivedName& name);
inline size_t maxTextSize(const DerivedName& name)
{
    return name.base.size() + name.suffix.size() + (name.n > 0 ? maxTextSize(name.n) : 0) + name.ending.size();
}
inline char* placeText(char* at, const DerivedName& name)
{
    at = placeText(placeText(at, name.base), name.suffix);
    if (name.n > 0) at = placeText(at, name.n);
    return placeText(at, name.ending);
}

// What a port of a generated module carries, for the top that connects it.
enum class PortRole {
    UnitPort,           // the unit's port `source`, under a derived name
    CopyValue,          // copy `index` of the unit's OUT port `source`
    Result,             // the module's value of the unit's OUT port `source`
    ErrorFlag,          // error output `index` of the module (0: its own alarm)
    CheckerError,       // the checker's verdict on a checked copy
    CheckerErrorInput,  // the verdict of the checker of copy `index`
};

struct InterfacePort {
    DerivedName name;
    PortMode mode;
    std::string_view type;  // begins with a blank
    PortRole role = PortRole::UnitPort;
    const Port* source = nullptr;
    int index = 0;
    // The tops that instantiate some modules spell a few names with a base of
    // other case ("ERR_prm1_in" for "Err_prm1_in"); VHDL ignores case, the
    // files keep the spelling.
    std::string_view mapBase = {};
    // The checker's error output is declared with one blank more before its name.
    bool wideIndent = false;

    DerivedName nameInMaps() const { return {mapBase.empty() ? name.base : mapBase, name.suffix, name.n, name.ending}; }
};

// A run of ports in an interface: one port per port of some of the unit's
// lists, named and typed after it (and one per copy of it when `copies` is
// set), or one port of a fixed name.
struct PortGroup {
    // The fixed port, or the pattern of the per-port ones: their base, type,
    // source and (with `copies`) number and index come from the unit's port.
    InterfacePort port;
    std::array<const std::vector<Port>*, 2> sources{};
    int copies = 0;           // one port per copy 1..copies of each source port
    bool sourceMode = false;  // each port keeps the mode of its source port

    size_t size() const
    {
        if (!sources[0]) return 1;
        size_t n = 0;
        for (const auto* list : sources)
            if (list) n += list->size();
        return copies > 0 ? n * static_cast<size_t>(copies) : n;
    }
};

// The entity of a generated module: the unit's name followed by the module's suffix.
inline std::string moduleEntity(const Design& d, std::string_view suffix) { return d.entityName + std::string(suffix); }

// The ports are held as groups, so that an interface of thousands of ports
// takes a few words of memory; forEachPort() lists them one by one.
struct Interface {
    std::string entity;
    std::vector<PortGroup> groups;
    // The unit's generics and the names taken from the unit's ports as the
    // source spells them (the top level with --source-names).
    bool sourceSpelling = false;

    void add(const PortGroup& g) { groups.push_back(g); }
    size_t size() const
    {
        size_t n = 0;
        for (const auto& g : groups) n += g.size();
        return n;
    }
};

// Calls f(port, last) for every port of the interface, in order.
template <class F>
void forEachPort(const Interface& iface, F&& f)
{
    const size_t count = iface.size();
    size_t i = 0;
    for (const PortGroup& g : iface.groups) {
        if (!g.sources[0]) {
            f(g.port, ++i == count);
            continue;
        }
        InterfacePort port = g.port;  // the fields that come from the unit's port change per port
        for (const auto* list : g.sources) {
            if (!list) continue;
            for (const Port& p : *list) {
                port.name.base = iface.sourceSpelling ? spelled(p) : p.name;
                port.type = p.type;
                port.source = &p;
                if (g.sourceMode) port.mode = p.mode;
                if (g.copies == 0) {
                    f(port, ++i == count);
                    continue;
                }
                for (int k = 1; k <= g.copies; ++k) {
                    port.name.n = static_cast<size_t>(k);
                    port.index = k;
                    f(port, ++i == count);
                }
            }
        }
    }
}

// The unit's IN and INOUT ports with a suffix (and the number n unless 0).
PortGroup unitInputs(const Design& d, std::string_view suffix, size_t n = 0);
// The unit's OUT ports with a suffix, as ports of mode `as` (the checker
// reads them as IN ports).
PortGroup unitOutputs(const Design& d, std::string_view suffix, PortMode as = PortMode::Out, size_t n = 0);
// The copies' values of each OUT and INOUT port: p<suffix>k_in, k = 1..copies, as IN ports.
PortGroup copyValues(const Design& d, std::string_view suffix, int copies);
// The results of each OUT and INOUT port: p<suffix>_out, as OUT ports.
PortGroup results(const Design& d, std::string_view suffix);
// A std_logic port with a fixed name and role.
PortGroup logicPort(DerivedName name, PortMode mode, PortRole role, int index = 0);

// How mode words are spelled in a port list: " : IN" or, in the unit copies, " : in".
enum class ModeCase { Upper, Lower };

// The port lines: "      " name mode type, ";" after all but the last.
void portLines(VhdlOut& out, const Interface& iface, ModeCase modes = ModeCase::Upper);
// "entity <E> is", the generics, the port lines and the entity's end.
void entityDeclaration(VhdlOut& out, const Design& d, const Interface& iface, ModeCase modes = ModeCase::Upper);
// "component <E> is ", the generics, the port lines and "end component;".
void componentDeclaration(VhdlOut& out, const Design& d, const Interface& iface);
// The actual that a top connects to a port of an instance.
using ActualOf = std::function<DerivedName(const InterfacePort&)>;
// An instance "<label> : <E>" with the generic map and one association per
// port of the interface, in its order.
void instance(VhdlOut& out, const Design& d, std::string_view label, const Interface& iface, const ActualOf& actual);

// The instances that open an architecture's statement part, and the end of its
// declarative part: NL "begin" NL, before which --keep puts the attributes
// that name every instance's label. What `out` holds before the first add()
// is the declarative part; finish() comes after the last add(), before
// anything else is written to `out`.
class Instances {
public:
    Instances(VhdlOut& out, const Design& d, const GenerationOptions& options)
        : out_(out), d_(d), keep_(options.keep), held_(heldText_)
    {
    }

    // An instance as instance() writes it: to `out` (after "begin" the first
    // time), or with --keep held back until finish() has named its label.
    void add(std::string label, const Interface& iface, const ActualOf& actual);
    // With --keep, the attributes of every label, "begin" and the instances;
    // without, "begin" if no instance wrote it.
    void finish();

private:
    VhdlOut& out_;
    const Design& d_;
    bool keep_;
    bool begun_ = false;
    std::vector<std::string> labels_;
    TextSink heldText_;
    VhdlOut held_;

    void begin();
};

}  // namespace velmorn
