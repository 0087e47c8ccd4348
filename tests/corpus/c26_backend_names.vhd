library ieee;
use ieee.std_logic_1164.all;

entity frontend is
   port(
      clk : in std_logic;
      req : in std_logic;
      ack : out std_logic
   );
end frontend;

architecture rtl of frontend is
   signal backend : std_logic := '0';
   signal append_q, end_flag : std_logic := '0';
begin
   p_end : process(clk)
   begin
      if rising_edge(clk) then
         backend <= req;
         append_q <= backend;
         end_flag <= append_q;
      end if;
   end process p_end;
   ack <= end_flag; -- the end flag drives ack; backend 
end rtl;  
