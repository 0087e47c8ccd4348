-- Combinational and-or gate without generics.
library ieee;
use ieee.std_logic_1164.all;

entity andor is
   port(
      a, b, c : in std_logic;
      y : out std_logic
   );
end andor;

architecture rtl of andor is
begin
   y <= (a and b) or c;
end rtl;
