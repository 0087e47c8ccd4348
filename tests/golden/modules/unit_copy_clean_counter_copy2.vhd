-- **********************************************************************
-- ** This file was generated automatically by Velmorn...
-- ** Module (part) of FT architecture TMR
-- ** VHDL file: counter/modules/counter_prm2.vhd
-- ** Copyright (C) 2026 Velmorn contributors
-- ** Fault-tolerant design tools
-- ** Velmorn project <velmorn@localhost>
-- **********************************************************************

LIBRARY IEEE;
 USE IEEE.STD_LOGIC_1164.ALL;
  

entity COUNTER_prm2 is
   port(
      CLK_prm2 : in  std_logic;
      Q_prm2 : out  std_logic
   );
end entity COUNTER_prm2;


architecture COUNTER_prm2_BEHAV of COUNTER_prm2 is

   signal CLK :  std_logic;
   signal Q :  std_logic;

   signal t : std_logic := '0';
begin
   process(clk) begin if rising_edge(clk) then t <= not t; end if; end process;
   q <= t;
            CLK <= CLK_prm2;
   Q_prm2 <= Q;

end COUNTER_prm2_BEHAV;