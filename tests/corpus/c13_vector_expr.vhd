library ieee;
use ieee.std_logic_1164.all;

entity shifter is
  generic (WIDTH : integer := 8; SHIFT : integer := 2);
  port (din  : in  std_logic_vector(WIDTH-1 downto 0);
        dout : out std_logic_vector((WIDTH-1) downto 0);
        lost : out std_logic_vector(SHIFT-1 downto 0));
end shifter;

architecture rtl of shifter is
begin
  dout <= din(WIDTH-SHIFT-1 downto 0) & (SHIFT-1 downto 0 => '0');
  lost <= din(WIDTH-1 downto WIDTH-SHIFT);
end rtl;
