-- Port list closed on the line of the last port, the most common style.
library ieee;
use ieee.std_logic_1164.all;

entity and_or is
    port (a, b : in std_logic;
          c    : in std_logic;
          y    : out std_logic);
end and_or;

architecture rtl of and_or is
begin
    y <= (a and b) or c;
end rtl;
