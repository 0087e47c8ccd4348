-- Checker of adder: s must be the sum of a and b.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity adder_ch is
   port(
      a : in std_logic_vector(7 downto 0);
      b : in std_logic_vector(7 downto 0);
      s : in std_logic_vector(7 downto 0);
      ERR : out std_logic
   );
end adder_ch;

architecture rtl of adder_ch is
begin
   ERR <= '0' when s = std_logic_vector(unsigned(a) + unsigned(b)) else '1';
end rtl;
