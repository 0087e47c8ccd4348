-- **********************************************************************
-- ** This file was generated automatically by Velmorn...
-- ** Module (part) of FT architecture TMR
-- ** VHDL file: counter/modules/counter_prm1.vhd
-- ** Copyright (C) 2026 Velmorn contributors
-- ** Fault-tolerant design tools
-- ** Velmorn project <velmorn@localhost>
-- **********************************************************************

LIBRARY IEEE;
 USE IEEE.STD_LOGIC_1164.ALL;
  

entity COUNTER_prm1 is
   generic(
      N :   integer := 8
   );
   port(
      CLK_prm1 : in  std_logic;
      RST_prm1 : in  std_logic;
      Q_prm1 : out  std_logic_vector(3 downto 0)
   );
end entity COUNTER_prm1;


architecture COUNTER_prm1_BEHAV of COUNTER_prm1 is

   signal CLK :  std_logic;
   signal RST :  std_logic;
   signal Q :  std_logic_vector(3 downto 0);

   signal c : integer;
begin
   q <= (others => '0');
               CLK <= CLK_prm1;
   RST <= RST_prm1;
   Q_prm1 <= Q;

end COUNTER_prm1_BEHAV;