-- Eight-bit adder, combinational and without generics: synthesis merges its
-- copies unless they are kept.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity adder is
   port(
      a : in std_logic_vector(7 downto 0);
      b : in std_logic_vector(7 downto 0);
      s : out std_logic_vector(7 downto 0)
   );
end adder;

architecture rtl of adder is
begin
   s <= std_logic_vector(unsigned(a) + unsigned(b));
end rtl;
