-- **********************************************************************
-- ** This file was generated automatically by Velmorn...
-- ** Module (part) of FT architecture 3FU-3V
-- ** VHDL file: cnt/modules/cnt_fdec_prm.vhd
-- ** Copyright (C) 2026 Velmorn contributors
-- ** Fault-tolerant design tools
-- ** Velmorn project <velmorn@localhost>
-- **********************************************************************

LIBRARY IEEE;
 USE IEEE.STD_LOGIC_1164.ALL;
  

entity CNT_fdec_prm is
   generic(
      W :  integer := 4
   );
   port(
      Q_fdec_prm1_in : IN std_logic_vector(W-1 downto 0);
      Q_fdec_prm2_in : IN std_logic_vector(W-1 downto 0);
      Q_fdec_prm3_in : IN std_logic_vector(W-1 downto 0);
      Z_fdec_prm1_in : IN  std_logic;
      Z_fdec_prm2_in : IN  std_logic;
      Z_fdec_prm3_in : IN  std_logic;
      Err_fdec_prm1 : OUT std_logic;
      Err_fdec_prm2 : OUT std_logic;
      Err_fdec_prm3 : OUT std_logic;
      Err_fdec_prm : OUT std_logic
   );
end entity CNT_fdec_prm;


architecture CNT_fdec_prm_BEHAV of CNT_fdec_prm is
   signal Q_fdec_prm1_siga : std_logic;
   signal Q_fdec_prm1_sigb : std_logic;
   signal Z_fdec_prm2_siga : std_logic;
   signal Z_fdec_prm2_sigb : std_logic;
   signal cmp13_sig, cmp23_sig : std_logic;
   signal err1_sig, err2_sig, err3_sig, errfdec_sig : std_logic;

begin

   Q_fdec_prm1_siga <= '0' when Q_fdec_prm1_in = Q_fdec_prm3_in else '1';
   Z_fdec_prm2_siga <= '0' when Z_fdec_prm1_in = Z_fdec_prm3_in else '1';

   cmp13_sig <= Q_fdec_prm1_siga or Z_fdec_prm2_siga;

   Q_fdec_prm1_sigb <= '0' when Q_fdec_prm2_in = Q_fdec_prm3_in else '1';
   Z_fdec_prm2_sigb <= '0' when Z_fdec_prm2_in = Z_fdec_prm3_in else '1';

   cmp23_sig <= Q_fdec_prm1_sigb or Z_fdec_prm2_sigb;

  err3_sig <= cmp13_sig and cmp23_sig;
  err1_sig <= cmp13_sig and not err3_sig;
  err2_sig <= cmp23_sig and not err3_sig;
  errfdec_sig <= err1_sig or err2_sig or err3_sig;
   Err_fdec_prm1 <= err1_sig;
   Err_fdec_prm2 <= err2_sig;
   Err_fdec_prm3 <= err3_sig;
   Err_fdec_prm <= errfdec_sig;
end CNT_fdec_prm_BEHAV;