#!/usr/bin/env bash
# Writes a generated VHDL design for the benchmark and the tree checksums:
#   bash tools/gen_source.sh FILE PORTS GENERICS BODY_BYTES
set -euo pipefail
# gen_source FILE PORTS GENERICS BODY_BYTES: an entity with PORTS ports (CLK,
# RST, then a mix of IN, OUT and INOUT of scalar and vector types) and GENERICS
# generics, and an architecture whose body is at least BODY_BYTES long, made of
# numbered clocked processes, concurrent assignments, comments and literals.
# The file is written in blocks of 1 MiB, as an editor saves a file or cp
# copies one, not in awk's pieces of 4 KiB: the page cache then holds it in
# large pages, like the tree that the benchmark's cp -r copies.
gen_source() {
  awk -v ports="$2" -v generics="$3" -v body="$4" 'BEGIN {
    print "-- benchmark input: " ports " ports, " generics " generics"
    print "library ieee;"
    print "use ieee.std_logic_1164.all;"
    print "use ieee.numeric_std.all;"
    print ""
    print "entity bench_unit is"
    if (generics > 0) {
      print "   generic("
      for (g = 0; g < generics; g++) {
        sep = (g == generics - 1) ? "" : ";"
        k = g % 4
        if (k == 0) print "      WIDTH_" g " : integer := " (g % 24 + 8) sep
        else if (k == 1) print "      DEPTH_" g " : natural := " (g % 7 + 2) sep
        else if (k == 2) print "      USE_PIPE_" g " : boolean := false" sep
        else print "      INIT_" g " : std_logic_vector(7 downto 0) := x\"A5\"" sep
      }
      print "   );"
    }
    print "   port("
    print "      CLK : in std_logic;"
    print "      RST : in std_logic;"
    w = (generics > 0) ? "WIDTH_0" : "16"
    for (p = 2; p < ports; p++) {
      sep = (p == ports - 1) ? "" : ";"
      m = p % 10
      mode = (m < 4) ? "in" : (m < 8) ? "out" : "inout"
      t = p % 5
      if (t == 0) type = "std_logic"
      else if (t == 1) type = "std_logic_vector(7 downto 0)"
      else if (t == 2) type = "std_logic_vector(" w " - 1 downto 0)"
      else if (t == 3) type = "unsigned(15 downto 0)"
      else type = "std_logic_vector(31 downto 0)"
      print "      P" p "_" mode " : " mode " " type sep
    }
    print "   );"
    print "end bench_unit;"
    print ""
    print "architecture rtl of bench_unit is"
    print "   type state_t is (IDLE, LOAD, RUN, FLUSH);"
    print "   signal state : state_t;"
    for (a = 0; a < 16; a++) print "   signal acc_" a " : std_logic_vector(7 downto 0);"
    print "   constant MASK : std_logic_vector(7 downto 0) := \"10100101\";"
    print "begin"
    n = 0
    for (i = 0; n < body; i++) {
      a = i % 16; b = (i + 5) % 16; c = (i + 11) % 16
      s = "   -- stage " i ": registered update of acc_" a "\n"
      s = s "   stage_" i " : process (CLK)\n"
      s = s "   begin\n"
      s = s "      if rising_edge(CLK) then\n"
      s = s "         if RST = '\''1'\'' then\n"
      s = s "            acc_" a " <= (others => '\''0'\'');\n"
      s = s "         elsif state = RUN then\n"
      s = s "            acc_" a " <= std_logic_vector(unsigned(acc_" b ") + unsigned(acc_" c "));\n"
      s = s "         else\n"
      s = s "            acc_" a " <= acc_" b " xor MASK;\n"
      s = s "         end if;\n"
      s = s "      end if;\n"
      s = s "   end process stage_" i ";\n"
      s = s "   acc_" c " <= acc_" a " and acc_" b " when state = LOAD else \"0101" (i % 2) "01" (i % 3 % 2) "\";\n"
      s = s "   assert acc_" a " /= \"XXXXXXXX\" report \"stage " i " undefined\" severity note;\n\n"
      printf "%s", s
      n += length(s)
    }
    print "end rtl;"
  }' | dd of="$1" bs=1M iflag=fullblock status=none
}


gen_source "$@"
