library ieee; use ieee.std_logic_1164.all;
entity inverter is port (a : in std_logic; y : out std_logic); end inverter;
architecture rtl of inverter is begin y <= not a; end rtl;
