-- **********************************************************************
-- ** This file was generated automatically by Velmorn...
-- ** Module (part) of FT architecture TMR-2V-CMP
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
   signal Q_d_prm1_sigb : std_logic;
   signal Q_d_prm1_sigc : std_logic;
   signal Q_d_prm1_sigd : std_logic;
   signal Q_d_prm1_sigbouta :   std_logic;
   signal Q_d_prm1_sigboutb :   std_logic;
   signal errcmp_sig2 : std_logic;
   signal R_d_prm2_siga : std_logic;
   signal R_d_prm2_sigb : std_logic;
   signal R_d_prm2_sigc : std_logic;
   signal R_d_prm2_sigd : std_logic;
   signal R_d_prm2_sigbouta :   std_logic_vector(3 downto 0);
   signal R_d_prm2_sigboutb :   std_logic_vector(3 downto 0);
   signal cmp13_siga, cmp23_siga, cmp13_sigb, cmp23_sigb : std_logic;
   signal err1_siga, err2_siga, err3_siga, err1_sigb, err2_sigb, err3_sigb, err_sig_mux : std_logic;
   signal err_sig_cmp1, err_sig_cmp2, err_sig_cmp3, err_sig_cmp : std_logic;

begin

   Q_d_prm1_siga <= '0' when Q_d_prm1_in = Q_d_prm3_in else '1';
   R_d_prm2_siga <= '0' when R_d_prm1_in = R_d_prm3_in else '1';

   cmp13_siga <= Q_d_prm1_siga or R_d_prm2_siga;

   Q_d_prm1_sigb <= '0' when Q_d_prm2_in = Q_d_prm3_in else '1';
   R_d_prm2_sigb <= '0' when R_d_prm2_in = R_d_prm3_in else '1';

   cmp23_siga <= Q_d_prm1_sigb or R_d_prm2_sigb;

  err3_siga <= cmp13_siga and cmp23_siga;
  err1_siga <= cmp13_siga and not err3_siga;
  err2_siga <= cmp23_siga and not err3_siga;

   Q_d_prm1_sigc <= '0' when Q_d_prm1_in = Q_d_prm3_in else '1';
   R_d_prm2_sigc <= '0' when R_d_prm1_in = R_d_prm3_in else '1';

   cmp13_sigb <= Q_d_prm1_sigc or R_d_prm2_sigc;

   Q_d_prm1_sigd <= '0' when Q_d_prm2_in = Q_d_prm3_in else '1';
   R_d_prm2_sigd <= '0' when R_d_prm2_in = R_d_prm3_in else '1';

   cmp23_sigb <= Q_d_prm1_sigd or R_d_prm2_sigd;

  err3_sigb <= cmp13_sigb and cmp23_sigb;
  err1_sigb <= cmp13_sigb and not err3_sigb;
  err2_sigb <= cmp23_sigb and not err3_sigb;

  err_sig_cmp1 <= err1_siga and err1_sigb;
  err_sig_cmp2 <= err2_siga and err2_sigb;
  err_sig_cmp3 <= err3_siga and err3_sigb;
  err_sig_cmp <= err_sig_cmp1 or err_sig_cmp2 or err_sig_cmp3;

  Q_d_prm1_sigboutb <= (Q_d_prm1_in and Q_d_prm2_in) or (Q_d_prm2_in and Q_d_prm3_in) or (Q_d_prm1_in and Q_d_prm3_in);
  R_d_prm2_sigboutb <= (R_d_prm1_in and R_d_prm2_in) or (R_d_prm2_in and R_d_prm3_in) or (R_d_prm1_in and R_d_prm3_in);

  Q_d_prm1_sigbouta <= (Q_d_prm1_in and Q_d_prm2_in) or (Q_d_prm2_in and Q_d_prm3_in) or (Q_d_prm1_in and Q_d_prm3_in);
  R_d_prm2_sigbouta <= (R_d_prm1_in and R_d_prm2_in) or (R_d_prm2_in and R_d_prm3_in) or (R_d_prm1_in and R_d_prm3_in);

   errcmp_sig1 <= '0' when Q_d_prm1_sigbouta = Q_d_prm1_sigboutb else '1';
   errcmp_sig2 <= '0' when R_d_prm2_sigbouta = R_d_prm2_sigboutb else '1';


   Q_d_prm_out <= Q_d_prm1_sigboutb;
   R_d_prm_out <= R_d_prm2_sigboutb;

   err_sig_mux <= errcmp_sig1 or errcmp_sig2;

   Err_d_prm1 <= err1_siga;
   Err_d_prm2 <= err2_siga;
   Err_d_prm3 <= err3_siga;
   Err_d_prm <= err_sig_mux or err_sig_cmp;

end CNT_d_prm_BEHAV;