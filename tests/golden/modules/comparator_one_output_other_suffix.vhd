-- **********************************************************************
-- ** This file was generated automatically by Velmorn...
-- ** Module (part) of FT architecture DUPLEX-CMP
-- ** VHDL file: and2/modules/and2_c.vhd
-- ** Copyright (C) 2026 Velmorn contributors
-- ** Fault-tolerant design tools
-- ** Velmorn project <velmorn@localhost>
-- **********************************************************************

LIBRARY IEEE;
 USE IEEE.STD_LOGIC_1164.ALL;
  

entity AND2_c is
   port(
      Q_c1_in : IN  std_logic;
      Q_c2_in : IN  std_logic;
      ERR_cmp : OUT std_logic
   );
end entity AND2_c;


architecture AND2_c_BEHAV of AND2_c is

   signal Q_c1_sig : std_logic;

begin

   Q_c1_sig <= '0' when Q_c1_in = Q_c2_in else '1';

   ERR_cmp <= Q_c1_sig;

end AND2_c_BEHAV;