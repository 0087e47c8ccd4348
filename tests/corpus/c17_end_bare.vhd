library ieee;
use ieee.std_logic_1164.all;

entity toggler is
   port(
      clk : in std_logic;
      t : out std_logic
   );
end;

architecture rtl of toggler is
   signal s : std_logic := '0';
begin
   process(clk)
   begin
      if rising_edge(clk) then
         s <= not s;
      end if;
   end process;
   t <= s;
end;
