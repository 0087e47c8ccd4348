library ieee;
use ieee.std_logic_1164.all;

entity edge_detect is
   port(
      clk : in std_logic;
      sig : in std_logic;
      rise : out std_logic;
      fall : out std_logic
   );
end entity edge_detect;

architecture rtl of edge_detect is
   signal prev : std_logic := '0';
begin
   process(clk)
   begin
      if rising_edge(clk) then
         prev <= sig;
      end if;
   end process;
   rise <= sig and not prev;
   fall <= prev and not sig;
end architecture rtl;
