-- **********************************************************************
-- ** This file was generated automatically by Velmorn...
-- ** Module (part) of FT architecture DUPLEX-CMP
-- ** VHDL file: cnt/modules/cnt_cmp.vhd
-- ** Copyright (C) 2026 Velmorn contributors
-- ** Fault-tolerant design tools
-- ** Velmorn project <velmorn@localhost>
-- **********************************************************************

LIBRARY IEEE;
 USE IEEE.STD_LOGIC_1164.ALL;
  

entity CNT_cmp is
   generic(
      W :  integer := 4
   );
   port(
      Q_cmp1_in : IN std_logic_vector(W-1 downto 0);
      Q_cmp2_in : IN std_logic_vector(W-1 downto 0);
      Z_cmp1_in : IN  std_logic;
      Z_cmp2_in : IN  std_logic;
      ERR_cmp : OUT std_logic
   );
end entity CNT_cmp;


architecture CNT_cmp_BEHAV of CNT_cmp is

   signal Q_cmp1_sig : std_logic;
   signal Z_cmp2_sig : std_logic;

begin

   Q_cmp1_sig <= '0' when Q_cmp1_in = Q_cmp2_in else '1';
   Z_cmp2_sig <= '0' when Z_cmp1_in = Z_cmp2_in else '1';

   ERR_cmp <= Q_cmp1_sig or Z_cmp2_sig;

end CNT_cmp_BEHAV;