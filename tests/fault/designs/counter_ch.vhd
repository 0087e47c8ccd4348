-- Checker of the reference counter: keeps its own model of the count, driven
-- by the unit's clock, reset and enable, and raises ERR whenever the unit's
-- outputs differ from what the model says they must be.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity COUNTER_ch is
   generic(
      WIDTH : integer := 8
   );
   port(
      CLK : in std_logic;
      RST : in std_logic;
      EN : in std_logic;
      Q : in std_logic_vector(WIDTH-1 downto 0);
      TC : in std_logic;
      ERR : out std_logic
   );
end COUNTER_ch;

architecture model of COUNTER_ch is
   signal expected : natural range 0 to 2**WIDTH - 1 := 0;
   signal expected_tc : std_logic;
begin
   process(CLK)
   begin
      if rising_edge(CLK) then
         if RST = '1' then
            expected <= 0;
         elsif EN = '1' then
            expected <= (expected + 1) mod 2**WIDTH;
         end if;
      end if;
   end process;
   expected_tc <= '1' when expected = 2**WIDTH - 1 else '0';
   ERR <= '0' when Q = std_logic_vector(to_unsigned(expected, WIDTH)) and TC = expected_tc else '1';
end model;
