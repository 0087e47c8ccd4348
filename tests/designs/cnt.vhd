-- Up-counter with a generic width, reset and enable; z flags the all-ones state.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity cnt is
   generic(
      WIDTH : integer := 4
   );
   port(
      clk, rst : in std_logic;
      en : in std_logic;
      q : out std_logic_vector(WIDTH-1 downto 0);
      z : out std_logic
   );
end cnt;

architecture rtl of cnt is
   signal count : unsigned(WIDTH-1 downto 0);
begin
   process(clk)
   begin
      if rising_edge(clk) then
         if rst = '1' then
            count <= (others => '0');
         elsif en = '1' then
            count <= count + 1;
         end if;
      end if;
   end process;
   q <= std_logic_vector(count);
   z <= '1' when count = (count'range => '1') else '0';
end rtl;
