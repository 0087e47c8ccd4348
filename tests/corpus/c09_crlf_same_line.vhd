library ieee;
use ieee.std_logic_1164.all;

entity crlf_gate is
  port (a : in std_logic_vector(1 downto 0); -- two inputs
        en : in std_logic;
        y : out std_logic);
end;

architecture a of crlf_gate is
begin
  y <= (a(0) xor a(1)) and en;
end;
