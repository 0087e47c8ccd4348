-- Ports of the predefined type bit.
library ieee;
use ieee.std_logic_1164.all;

entity bit_xor is
   port(
      a, b : in bit;
      y : out bit
   );
end bit_xor;

architecture rtl of bit_xor is
begin
   y <= a xor b;
end rtl;
