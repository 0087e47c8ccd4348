library ieee;
use ieee.std_logic_1164.all;

entity defaults is
   generic(
      INIT : std_logic := '1';
      SIZE : positive := 2
   );
   port(
      clk : in std_logic := '0';
      en : in std_logic := '1';
      d : in std_logic_vector(SIZE-1 downto 0) := (others => '0');
      q : out std_logic_vector(SIZE-1 downto 0) := (others => INIT)
   );
end defaults;

architecture rtl of defaults is
begin
   process(clk)
   begin
      if rising_edge(clk) and en = '1' then
         q <= d;
      end if;
   end process;
end rtl;
