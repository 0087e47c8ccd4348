// Reading and repairing the Verilog netlists that GHDL's synthesis writes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmorn {

// The port names of module `module` in a Verilog netlist, in order; empty
// when the netlist has no such module.
std::vector<std::string> verilogPorts(std::string_view verilog, std::string_view module);

// True when the netlist holds a case statement.
bool hasCaseStatement(std::string_view verilog);

// GHDL 2.0 writes every case statement of its Verilog netlist (a VHDL case or
// selected assignment with "others") without its default branch, so that a
// reader infers a latch. The VHDL netlist of the same synthesis keeps the
// default ("with S select N <= ... X when others;"); this puts it back into
// each case of `verilog`. `top` is the synthesised entity (whose ports the
// VHDL netlist calls wrap_<port>). False, with the reason in `problem`, when a
// case could not be restored.
bool restoreCaseDefaults(std::string& verilog, std::string_view vhdlNetlist, std::string_view top, std::string& problem);

// The names that the netlist declares (nets, ports, instances, modules) and
// that are Verilog keywords: GHDL 2.0 writes them unescaped, and no Verilog
// reader accepts them.
std::vector<std::string> keywordNames(std::string_view verilog);

}  // namespace velmorn
