library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity scaler is
   generic(
      BASE : integer := 2;
      WIDTH : integer := BASE * 4;
      HALF : integer := (BASE * 4) / 2;
      LIMIT : integer := 2**(BASE+1) - 1
   );
   port(
      x : in unsigned(WIDTH-1 downto 0);
      lo : out unsigned(HALF-1 downto 0);
      hi : out unsigned(WIDTH-HALF-1 downto 0);
      over : out std_logic
   );
end scaler;

architecture rtl of scaler is
begin
   lo <= x(HALF-1 downto 0);
   hi <= x(WIDTH-1 downto HALF);
   over <= '1' when to_integer(x) > LIMIT else '0';
end rtl;
