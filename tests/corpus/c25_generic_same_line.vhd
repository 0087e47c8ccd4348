library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity pwm is
    generic (BITS : integer := 4;
             START : integer := 0);
    port (
        clk   : in  std_logic;
        duty  : in  unsigned(BITS-1 downto 0);
        pwm_o : out std_logic);
end entity pwm;

architecture rtl of pwm is
    signal cnt : unsigned(BITS-1 downto 0) := to_unsigned(START, BITS);
begin
    tick : process (clk) is
    begin
        if rising_edge(clk) then
            cnt <= cnt + 1;
        end if;
    end process tick;
    pwm_o <= '1' when cnt < duty else '0';
end architecture;
