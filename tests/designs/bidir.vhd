-- A register on a bidirectional data bus: loads the bus while oe is low,
-- drives it while oe is high; reports the value, its parity and a valid flag.
library ieee;
use ieee.std_logic_1164.all;

entity bidir is
   port(
      clk : in std_logic;
      oe : in std_logic;
      data : inout std_logic_vector(7 downto 0);
      q : out std_logic_vector(7 downto 0);
      valid : out std_logic;
      parity : out std_logic
   );
end bidir;

architecture rtl of bidir is
   signal reg : std_logic_vector(7 downto 0) := (others => '0');
   signal loaded : std_logic := '0';
begin
   process(clk)
   begin
      if rising_edge(clk) then
         if oe = '0' then
            reg <= data;
            loaded <= '1';
         end if;
      end if;
   end process;
   data <= reg when oe = '1' else (others => 'Z');
   q <= reg;
   valid <= loaded;
   parity <= reg(0) xor reg(1) xor reg(2) xor reg(3) xor reg(4) xor reg(5) xor reg(6) xor reg(7);
end rtl;
