library ieee;
use ieee.std_logic_1164.all;

entity traffic is
   port(
      clk, rst : in std_logic;
      go : in std_logic;
      red, amber, green : out std_logic
   );
end traffic;

architecture fsm of traffic is
   type state_t is (S_RED, S_AMBER, S_GREEN);
   signal state : state_t := S_RED;
begin
   step : process(clk)
   begin
      if rising_edge(clk) then
         if rst = '1' then
            state <= S_RED;
         else
            case state is
               when S_RED =>
                  if go = '1' then
                     state <= S_AMBER;
                  end if;
               when S_AMBER =>
                  state <= S_GREEN;
               when S_GREEN =>
                  if go = '0' then
                     state <= S_RED;
                  end if;
            end case;
         end if;
      end if;
   end process step;

   red <= '1' when state = S_RED else '0';
   amber <= '1' when state = S_AMBER else '0';
   green <= '1' when state = S_GREEN else '0';
end fsm;
