-- Comments everywhere: before the library clause, after and between
-- declarations, and after the final END.
library ieee; -- the standard library
use ieee.std_logic_1164.all; -- std_logic
-- a comment between the clauses and the entity

entity parity is -- odd parity of a byte
  generic (
    -- the width of the data
    N : integer := 8 -- bits
  );
  port (
    -- inputs first
    data : in std_logic_vector(N-1 downto 0); -- the byte
    -- then the result
    odd  : out std_logic -- '1' when the number of ones is odd
  );
end parity; -- end of the entity

-- the architecture
architecture rtl of parity is
begin
  process (data) -- combinational
    variable p : std_logic;
  begin
    p := '0';
    for i in data'range loop
      p := p xor data(i); -- accumulate
    end loop;
    odd <= p;
  end process;
end rtl; -- end of the architecture
-- trailing comment that says end
