-- Saved with CRLF line ends.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity crlf_counter is
   generic(
      W : integer := 4
   );
   port(
      clk : in std_logic;
      rst : in std_logic;
      q : out unsigned(W-1 downto 0)
   );
end crlf_counter;

architecture rtl of crlf_counter is
   signal c : unsigned(W-1 downto 0);
begin
   process(clk)
   begin
      if rising_edge(clk) then
         if rst = '1' then
            c <= (others => '0');
         else
            c <= c + 1;
         end if;
      end if;
   end process;
   q <= c;
end rtl;
