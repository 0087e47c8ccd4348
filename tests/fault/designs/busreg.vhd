-- Reference design of the fault-injection tests: a register on a
-- bidirectional bus. It loads DIN while LD is high, drives its value on DATA
-- while OE is high and releases the bus ('Z') otherwise; Q shows the value.
library ieee;
use ieee.std_logic_1164.all;

entity busreg is
   port(
      clk : in std_logic;
      ld : in std_logic;
      oe : in std_logic;
      din : in std_logic_vector(7 downto 0);
      data : inout std_logic_vector(7 downto 0);
      q : out std_logic_vector(7 downto 0)
   );
end busreg;

architecture rtl of busreg is
   signal reg : std_logic_vector(7 downto 0) := (others => '0');
begin
   process(clk)
   begin
      if rising_edge(clk) then
         if ld = '1' then
            reg <= din;
         end if;
      end if;
   end process;
   data <= reg when oe = '1' else (others => 'Z');
   q <= reg;
end rtl;
