-- A comparator of the user's own that the timer instantiates by name.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity timer_cmp is
   port(
      a, b : in unsigned(3 downto 0);
      eq : out std_logic
   );
end timer_cmp;

architecture rtl of timer_cmp is
begin
   eq <= '1' when a = b else '0';
end rtl;
