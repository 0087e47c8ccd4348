library IEEE;
use IEEE.STD_LOGIC_1164.ALL;

-- A port list with commented-out ports and a blank line in it.
entity debounce is
    Generic ( COUNT_MAX : integer := 3 );
    Port ( clk : in STD_LOGIC;
           -- rst : in STD_LOGIC;
           btn : in STD_LOGIC;

           -- led : out STD_LOGIC;
           clean : out STD_LOGIC );
end debounce;

architecture Behavioral of debounce is
    signal cnt : integer range 0 to COUNT_MAX := 0;
    signal state : STD_LOGIC := '0';
begin
    process(clk)
    begin
        if rising_edge(clk) then
            if btn /= state then
                if cnt = COUNT_MAX then
                    state <= btn;
                    cnt <= 0;
                else
                    cnt <= cnt + 1;
                end if;
            else
                cnt <= 0;
            end if;
        end if;
    end process;
    clean <= state;
end Behavioral;
