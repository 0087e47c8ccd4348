-- A loadable up-counter: the example design of the README.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity counter is
   generic(
      WIDTH : integer := 4
   );
   port(
      clk, rst : in std_logic;
      en : in std_logic;
      q : out std_logic_vector(WIDTH-1 downto 0);
      carry : out std_logic
   );
end counter;

architecture rtl of counter is
   signal cnt : unsigned(WIDTH-1 downto 0);
begin
   process(clk)
   begin
      if rising_edge(clk) then
         if rst = '1' then
            cnt <= (others => '0');
         elsif en = '1' then
            cnt <= cnt + 1;
         end if;
      end if;
   end process;
   q <= std_logic_vector(cnt);
   carry <= '1' when cnt = (cnt'range => '1') else '0';
end rtl;
