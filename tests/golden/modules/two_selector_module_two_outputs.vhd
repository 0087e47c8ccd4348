-- **********************************************************************
-- ** This file was generated automatically by Velmorn...
-- ** Module (part) of FT architecture 3FU-2MUX
-- ** VHDL file: cnt/modules/cnt_d_prm.vhd
-- ** Copyright (C) 2026 Velmorn contributors
-- ** Fault-tolerant design tools
-- ** Velmorn project <velmorn@localhost>
-- **********************************************************************

LIBRARY IEEE;
 USE IEEE.STD_LOGIC_1164.ALL;
  

entity CNT_d_prm is
   generic(
      W :  integer := 4
   );
   port(
      Q_d_prm1_in : IN  std_logic;
      Q_d_prm2_in : IN  std_logic;
      Q_d_prm3_in : IN  std_logic;
      R_d_prm1_in : IN  std_logic_vector(3 downto 0);
      R_d_prm2_in : IN  std_logic_vector(3 downto 0);
      R_d_prm3_in : IN  std_logic_vector(3 downto 0);
      Q_d_prm_out : OUT  std_logic;
      R_d_prm_out : OUT  std_logic_vector(3 downto 0);
      Err_d_prm1 : OUT std_logic;
      Err_d_prm2 : OUT std_logic;
      Err_d_prm3 : OUT std_logic;
      Err_d_prm : OUT std_logic
   );
end entity CNT_d_prm;


architecture CNT_d_prm_BEHAV of CNT_d_prm is
   signal errcmp_sig1 : std_logic;
   signal Q_d_prm1_siga : std_logic;
   signal errcmp_sig2 : std_logic;
   signal R_d_prm2_siga : std_logic;
   signal Q_d_prm1_sigb : std_logic;
   signal Q_d_prm1_sigbouta :   std_logic;
   signal Q_d_prm1_sigboutb :   std_logic;
   signal R_d_prm2_sigb : std_logic;
   signal R_d_prm2_sigbouta :   std_logic_vector(3 downto 0);
   signal R_d_prm2_sigboutb :   std_logic_vector(3 downto 0);
   signal cmp13_sig, cmp23_sig : std_logic;
   signal err1_sig, err2_sig, err3_sig, errfdec_sig : std_logic;

begin

   Q_d_prm1_siga <= '0' when Q_d_prm1_in = Q_d_prm3_in else '1';
   R_d_prm2_siga <= '0' when R_d_prm1_in = R_d_prm3_in else '1';

   cmp13_sig <= Q_d_prm1_siga or R_d_prm2_siga;

   Q_d_prm1_sigb <= '0' when Q_d_prm2_in = Q_d_prm3_in else '1';
   R_d_prm2_sigb <= '0' when R_d_prm2_in = R_d_prm3_in else '1';

   cmp23_sig <= Q_d_prm1_sigb or R_d_prm2_sigb;

  err3_sig <= cmp13_sig and cmp23_sig;
  err1_sig <= cmp13_sig and not err3_sig;
  err2_sig <= cmp23_sig and not err3_sig;

   Q_d_prm1_sigboutb <= Q_d_prm1_in when (err1_sig = '0') else Q_d_prm2_in;
   R_d_prm2_sigboutb <= R_d_prm1_in when (err1_sig = '0') else R_d_prm2_in;

   Q_d_prm1_sigbouta <= Q_d_prm1_in when (err1_sig = '0') else Q_d_prm2_in;
   R_d_prm2_sigbouta <= R_d_prm1_in when (err1_sig = '0') else R_d_prm2_in;

   errcmp_sig1 <= '0' when Q_d_prm1_sigbouta = Q_d_prm1_sigboutb else '1';
   errcmp_sig2 <= '0' when R_d_prm2_sigbouta = R_d_prm2_sigboutb else '1';

   Err_d_prm <= errcmp_sig1 or errcmp_sig2;

   Q_d_prm_out <= Q_d_prm1_sigboutb;
   R_d_prm_out <= R_d_prm2_sigboutb;

   Err_d_prm1 <= err1_sig;
   Err_d_prm2 <= err2_sig;
   Err_d_prm3 <= err3_sig;

end CNT_d_prm_BEHAV;