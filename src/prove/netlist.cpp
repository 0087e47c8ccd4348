#include "prove/netlist.h"
#include "support/text.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

namespace velmorn {

namespace {

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

bool identChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$'; }

bool isIdentifier(std::string_view s)
{
    if (s.empty() || !(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_')) return false;
    return std::all_of(s.begin(), s.end(), identChar);
}

// Calls f(line) for every line of a text.
template <class F>
void eachLine(std::string_view text, F f)
{
    while (!text.empty()) {
        const size_t nl = text.find('\n');
        f(text.substr(0, nl));
        if (nl == std::string_view::npos) break;
        text.remove_prefix(nl + 1);
    }
}

// The word after `keyword ` at the start of a trimmed line, up to a blank.
std::string_view wordAfter(std::string_view line, std::string_view keyword)
{
    std::string_view rest = line.substr(keyword.size());
    rest = trimmed(rest);
    size_t end = 0;
    while (end < rest.size() && identChar(rest[end])) ++end;
    return rest.substr(0, end);
}

// The last identifier of a text (the declared name of "wire [3:0] n1_o").
std::string_view lastIdentifier(std::string_view s)
{
    size_t end = s.size();
    while (end > 0 && !identChar(s[end - 1])) --end;
    size_t start = end;
    while (start > 0 && identChar(s[start - 1])) --start;
    return s.substr(start, end - start);
}

struct Default {
    std::string select, value;
};

// Module (lower case) -> net -> its case's selector and default value.
using Defaults = std::map<std::string, std::map<std::string, Default>>;

Defaults vhdlDefaults(std::string_view netlist)
{
    Defaults all;
    std::string module;
    std::string target, select;
    bool inSelect = false;
    eachLine(netlist, [&](std::string_view raw) {
        const std::string_view line = trimmed(raw);
        if (startsWith(line, "architecture ")) {
            const size_t of = line.find(" of ");
            if (of != std::string_view::npos) module = lowerCase(wordAfter(line.substr(of), " of"));
            return;
        }
        if (startsWith(line, "with ") && line.size() > 2 && line.substr(line.size() - 2) == "<=") {
            // with SEL select NET <=
            const size_t sel = line.find(" select ");
            if (sel == std::string_view::npos) return;
            select = std::string(trimmed(line.substr(5, sel - 5)));
            target = std::string(trimmed(line.substr(sel + 8, line.size() - 2 - sel - 8)));
            inSelect = true;
            return;
        }
        if (inSelect && !line.empty() && line.back() == ';') {
            inSelect = false;
            constexpr std::string_view others = " when others;";
            if (line.size() > others.size() && line.substr(line.size() - others.size()) == others)
                all[module][target] = {select, std::string(trimmed(line.substr(0, line.size() - others.size())))};
        }
    });
    return all;
}

// A VHDL netlist value as Verilog: a constant, a net, a bit or a slice.
bool toVerilog(std::string_view v, bool inTop, std::string& out)
{
    auto net = [&](std::string_view n) -> std::string {
        if (inTop && startsWith(n, "wrap_")) n.remove_prefix(5);
        return std::string(n);
    };
    auto bit = [](char c) -> char {
        switch (c) {
        case '0': case 'L': return '0';
        case '1': case 'H': return '1';
        case 'Z': return 'z';
        default: return 'x';
        }
    };
    if (v.size() == 3 && v[0] == '\'' && v[2] == '\'') {
        out = std::string("1'b") + bit(v[1]);
        return true;
    }
    if (v.size() >= 3 && v.front() == '"' && v.back() == '"') {
        out = std::to_string(v.size() - 2) + "'b";
        for (char c : v.substr(1, v.size() - 2)) out += bit(c);
        return true;
    }
    if (isIdentifier(v)) {
        out = net(v);
        return true;
    }
    // name (N) or name (H downto L)
    const size_t open = v.find(" (");
    if (open == std::string_view::npos || v.back() != ')' || !isIdentifier(v.substr(0, open))) return false;
    std::string_view range = v.substr(open + 2, v.size() - open - 3);
    auto number = [](std::string_view s) { return !s.empty() && std::all_of(s.begin(), s.end(), ::isdigit); };
    const size_t downto = range.find(" downto ");
    if (downto == std::string_view::npos) {
        if (!number(range)) return false;
        out = net(v.substr(0, open)) + "[" + std::string(range) + "]";
        return true;
    }
    const std::string_view hi = range.substr(0, downto), lo = range.substr(downto + 8);
    if (!number(hi) || !number(lo)) return false;
    out = net(v.substr(0, open)) + "[" + std::string(hi) + ":" + std::string(lo) + "]";
    return true;
}

const std::set<std::string, std::less<>>& verilogKeywords()
{
    static const std::set<std::string, std::less<>> words = {
        "always", "and", "assign", "automatic", "begin", "buf", "bufif0", "bufif1", "case", "casex", "casez",
        "cmos", "deassign", "default", "defparam", "disable", "edge", "else", "end", "endcase", "endfunction",
        "endgenerate", "endmodule", "endprimitive", "endspecify", "endtable", "endtask", "event", "for",
        "force", "forever", "fork", "function", "generate", "genvar", "highz0", "highz1", "if", "ifnone",
        "initial", "inout", "input", "integer", "join", "large", "localparam", "macromodule", "medium",
        "module", "nand", "negedge", "nmos", "nor", "not", "notif0", "notif1", "or", "output", "parameter",
        "pmos", "posedge", "primitive", "pull0", "pull1", "pulldown", "pullup", "rcmos", "real", "realtime",
        "reg", "release", "repeat", "rnmos", "rpmos", "rtran", "rtranif0", "rtranif1", "scalared", "signed",
        "small", "specify", "specparam", "strong0", "strong1", "supply0", "supply1", "table", "task", "time",
        "tran", "tranif0", "tranif1", "tri", "tri0", "tri1", "triand", "trior", "trireg", "unsigned",
        "vectored", "wait", "wand", "weak0", "weak1", "while", "wire", "wor", "xnor", "xor"};
    return words;
}

}  // namespace

std::vector<std::string> verilogPorts(std::string_view verilog, std::string_view module)
{
    std::vector<std::string> ports;
    bool inHeader = false;
    eachLine(verilog, [&](std::string_view raw) {
        std::string_view line = trimmed(raw);
        if (!inHeader) {
            if (startsWith(line, "module ") && wordAfter(line, "module") == module) inHeader = true;
            line = line.substr(std::min(line.size(), 7 + module.size()));
            if (!inHeader) return;
        }
        const bool last = line.find(");") != std::string_view::npos;
        if (last) line = line.substr(0, line.find(");"));
        while (!line.empty()) {
            const size_t comma = line.find(',');
            const std::string_view name = lastIdentifier(line.substr(0, comma));
            if (!name.empty()) ports.emplace_back(name);
            if (comma == std::string_view::npos) break;
            line.remove_prefix(comma + 1);
        }
        if (last) inHeader = false;
    });
    return ports;
}

bool hasCaseStatement(std::string_view verilog)
{
    bool found = false;
    eachLine(verilog, [&](std::string_view line) { found = found || startsWith(trimmed(line), "case ("); });
    return found;
}

bool restoreCaseDefaults(std::string& verilog, std::string_view vhdlNetlist, std::string_view top, std::string& problem)
{
    const Defaults defaults = vhdlDefaults(vhdlNetlist);
    const std::string topName = lowerCase(top);
    std::string fixed, module, select;
    std::vector<std::string> targets;
    bool inCase = false, hasDefault = false;
    size_t restored = 0;
    bool ok = true;
    eachLine(verilog, [&](std::string_view raw) {
        const std::string_view line = trimmed(raw);
        if (startsWith(line, "module ")) module = lowerCase(wordAfter(line, "module"));
        if (!inCase && startsWith(line, "case (") && line.back() == ')') {
            inCase = true;
            hasDefault = false;
            targets.clear();
            select = std::string(line.substr(6, line.size() - 7));
        } else if (inCase && line == "endcase") {
            inCase = false;
            if (!hasDefault && ok) {
                const auto m = defaults.find(module);
                const Default* d = nullptr;
                if (targets.size() == 1 && m != defaults.end()) {
                    const auto t = m->second.find(targets[0]);
                    if (t != m->second.end() && t->second.select == select) d = &t->second;
                }
                std::string value;
                if (!d) {
                    problem = "no default branch for case (" + select + ") in module " + module;
                    ok = false;
                } else if (!toVerilog(d->value, module == topName, value)) {
                    problem = "the default value '" + d->value + "' of case (" + select + ") in module " + module +
                              " has a form that velmorn does not translate";
                    ok = false;
                } else {
                    fixed.append(raw.substr(0, raw.find_first_not_of(" \t"))).append("  default: ").append(targets[0]);
                    fixed.append(" <= ").append(value).append(";\n");
                    ++restored;
                }
            }
        } else if (inCase) {
            if (startsWith(line, "default")) hasDefault = true;
            const size_t colon = line.find(": "), assign = line.find(" <=");
            if (colon != std::string_view::npos && assign != std::string_view::npos && assign > colon) {
                const std::string target(trimmed(line.substr(colon + 2, assign - colon - 2)));
                if (std::find(targets.begin(), targets.end(), target) == targets.end()) targets.push_back(target);
            }
        }
        fixed.append(raw).append("\n");
    });
    if (!verilog.empty() && verilog.back() != '\n' && !fixed.empty()) fixed.pop_back();
    if (ok) verilog = std::move(fixed);
    return ok;
}

std::vector<std::string> keywordNames(std::string_view verilog)
{
    std::set<std::string> found;
    const auto& keywords = verilogKeywords();
    auto check = [&](std::string_view name) {
        if (keywords.count(name)) found.emplace(name);
    };
    eachLine(verilog, [&](std::string_view raw) {
        std::string_view line = trimmed(raw);
        if (!line.empty() && line.front() == '(') line.remove_prefix(1);
        for (std::string_view decl : {"wire ", "reg ", "input ", "output ", "inout "})
            if (startsWith(line, decl)) {
                std::string_view rest = line.substr(decl.size());
                const size_t end = rest.find_first_of(";,)=");
                check(lastIdentifier(rest.substr(0, end)));
                return;
            }
        if (startsWith(line, "module ")) {
            check(wordAfter(line, "module"));
            return;
        }
        // An instance: "<module> <label> ("
        if (line.size() > 2 && line.substr(line.size() - 2) == " (") {
            const std::string_view head = line.substr(0, line.size() - 2);
            const size_t blank = head.find(' ');
            if (blank != std::string_view::npos && isIdentifier(head.substr(0, blank)) &&
                isIdentifier(head.substr(blank + 1))) {
                check(head.substr(0, blank));
                check(head.substr(blank + 1));
            }
        }
    });
    return {found.begin(), found.end()};
}

}  // namespace velmorn
