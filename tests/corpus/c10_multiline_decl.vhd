library ieee;
use ieee.std_logic_1164.all;

entity wide_and is
   generic(
      N : integer := 4
   );
   port(
      a : in std_logic_vector(
             N-1 downto 0
          );
      b : in std_logic_vector(N-1
                              downto 0);
      y : out std_logic_vector(N-1 downto
                               0)
   );
end wide_and;

architecture rtl of wide_and is
begin
   y <= a and b;
end rtl;
