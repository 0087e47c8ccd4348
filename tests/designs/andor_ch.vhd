-- Checker of andor: recomputes y from the inputs.
library ieee;
use ieee.std_logic_1164.all;

entity andor_ch is
   port(
      a, b, c : in std_logic;
      y : in std_logic;
      ERR : out std_logic
   );
end andor_ch;

architecture rtl of andor_ch is
begin
   ERR <= y xor ((a and b) or c);
end rtl;
