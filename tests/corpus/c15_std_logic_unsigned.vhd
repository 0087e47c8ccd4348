library ieee;
use ieee.std_logic_1164.all;
use ieee.std_logic_arith.all;
use ieee.std_logic_unsigned.all;

entity acc is
   port(
      clk : in std_logic;
      inc : in std_logic_vector(3 downto 0);
      total : out std_logic_vector(7 downto 0)
   );
end acc;

architecture rtl of acc is
   signal sum : std_logic_vector(7 downto 0) := x"00";
begin
   process(clk)
   begin
      if clk'event and clk = '1' then
         sum <= sum + inc;
      end if;
   end process;
   total <= sum;
end rtl;
