library ieee;
use ieee.std_logic_1164.all;

entity implicit_in is
   port(
      a : std_logic;
      b : std_logic;
      y : out std_logic
   );
end implicit_in;

architecture rtl of implicit_in is
begin
   y <= a nand b;
end rtl;
