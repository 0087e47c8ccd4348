library ieee;
use ieee.std_logic_1164.all;

entity mux4 is
  port (
    d0, d1, d2, d3 : in  std_logic_vector(3 downto 0);
    s0, s1         : in  std_logic;
    y, y_n         : out std_logic_vector(3 downto 0)
  );
end entity mux4;

architecture rtl of mux4 is
  signal sel : std_logic_vector(1 downto 0);
  signal r   : std_logic_vector(3 downto 0);
begin
  sel <= s1 & s0;
  with sel select
    r <= d0 when "00",
         d1 when "01",
         d2 when "10",
         d3 when others;
  y   <= r;
  y_n <= not r;
end architecture rtl;
