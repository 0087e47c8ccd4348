-- Reference design of the fault-injection tests: an up-counter with a
-- synchronous reset and an enable, a vector output and a one-bit output.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity counter is
   generic(
      width : integer := 8
   );
   port(
      clk : in std_logic;
      rst : in std_logic;
      en : in std_logic;
      q : out std_logic_vector(width-1 downto 0);
      tc : out std_logic
   );
end counter;

architecture behav of counter is
   signal cnt : unsigned(width-1 downto 0);
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
   tc <= '1' when cnt = (cnt'range => '1') else '0';
end behav;
