-- Reference design of the fault-injection tests: a combinational 4-bit ALU
-- with a result and a flag output (carry of add and subtract, zero of and/xor).
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity alu is
   port(
      a : in std_logic_vector(3 downto 0);
      b : in std_logic_vector(3 downto 0);
      op : in std_logic_vector(1 downto 0);
      y : out std_logic_vector(3 downto 0);
      f : out std_logic
   );
end alu;

architecture behav of alu is
   signal sum : unsigned(4 downto 0);
   signal dif : unsigned(4 downto 0);
   signal res : std_logic_vector(3 downto 0);
begin
   sum <= unsigned('0' & a) + unsigned('0' & b);
   dif <= unsigned('0' & a) - unsigned('0' & b);
   with op select res <=
      std_logic_vector(sum(3 downto 0)) when "00",
      std_logic_vector(dif(3 downto 0)) when "01",
      a and b when "10",
      a xor b when others;
   y <= res;
   f <= sum(4) when op = "00" else
        dif(4) when op = "01" else
        '1' when res = "0000" else
        '0';
end behav;
