-- Checker of bidir: recomputes the parity of q.
library ieee;
use ieee.std_logic_1164.all;

entity bidir_ch is
   port(
      clk : in std_logic;
      oe : in std_logic;
      data : inout std_logic_vector(7 downto 0);
      q : in std_logic_vector(7 downto 0);
      valid : in std_logic;
      parity : in std_logic;
      ERR : out std_logic
   );
end bidir_ch;

architecture rtl of bidir_ch is
begin
   ERR <= parity xor q(0) xor q(1) xor q(2) xor q(3) xor q(4) xor q(5) xor q(6) xor q(7);
end rtl;
