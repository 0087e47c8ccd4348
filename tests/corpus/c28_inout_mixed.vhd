library ieee;
use ieee.std_logic_1164.all;

entity i2c_pins is
   generic(
      DEFAULT_LEVEL : std_logic := 'H'
   );
   port(
      sda, scl : inout std_logic := DEFAULT_LEVEL;
      drive_sda : in std_logic;
      seen : out std_logic_vector(1 downto 0)
   );
end i2c_pins;

architecture rtl of i2c_pins is
begin
   sda <= '0' when drive_sda = '1' else 'Z';
   scl <= 'Z';
   seen <= sda & scl;
end rtl;
