-- Checker of cnt: z must be set exactly when q is all ones.
library ieee;
use ieee.std_logic_1164.all;

entity cnt_ch is
   generic(
      WIDTH : integer := 4
   );
   port(
      clk, rst : in std_logic;
      en : in std_logic;
      q : in std_logic_vector(WIDTH-1 downto 0);
      z : in std_logic;
      ERR : out std_logic
   );
end cnt_ch;

architecture rtl of cnt_ch is
   signal full : std_logic;
begin
   full <= '1' when q = (q'range => '1') else '0';
   ERR <= full xor z;
end rtl;
