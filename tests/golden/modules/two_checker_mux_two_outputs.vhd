-- **********************************************************************
-- ** This file was generated automatically by Velmorn...
-- ** Module (part) of FT architecture DUPLEX+2CH
-- ** VHDL file: cnt/modules/cnt_m_prm.vhd
-- ** Copyright (C) 2026 Velmorn contributors
-- ** Fault-tolerant design tools
-- ** Velmorn project <velmorn@localhost>
-- **********************************************************************

LIBRARY IEEE;
 USE IEEE.STD_LOGIC_1164.ALL;
  

entity CNT_m_prm is
   generic(
      W :  integer := 4
   );
   port(
      Err_prm1_in : IN std_logic;
      Err_prm2_in : IN std_logic;
      Q_m_prm1_in : IN  std_logic;
      Q_m_prm2_in : IN  std_logic;
      Z_m_prm1_in : IN  std_logic_vector(3 downto 0);
      Z_m_prm2_in : IN  std_logic_vector(3 downto 0);
      Q_m_prm_out : OUT  std_logic;
      Z_m_prm_out : OUT  std_logic_vector(3 downto 0);
      Err_m_prm1 : OUT std_logic;
      Err_m_prm2 : OUT std_logic;
      Err_m_prm : OUT std_logic
   );
end entity CNT_m_prm;


architecture CNT_m_prm_BEHAV of CNT_m_prm is
   signal errcmp_sig1 : std_logic;
   signal errcmp_sig2 : std_logic;
   signal Q_m_prm1_sigbouta :   std_logic;
   signal Q_m_prm1_sigboutb :   std_logic;
   signal Z_m_prm2_sigbouta :   std_logic_vector(3 downto 0);
   signal Z_m_prm2_sigboutb :   std_logic_vector(3 downto 0);
   signal err1_sig, err2_sig : std_logic;

begin

  err1_sig <= Err_prm1_in;
  err2_sig <= Err_prm2_in;

   Q_m_prm1_sigboutb <= Q_m_prm1_in when (err1_sig = '0') else Q_m_prm2_in;
   Z_m_prm2_sigboutb <= Z_m_prm1_in when (err1_sig = '0') else Z_m_prm2_in;

   Q_m_prm1_sigbouta <= Q_m_prm1_in when (err1_sig = '0') else Q_m_prm2_in;
   Z_m_prm2_sigbouta <= Z_m_prm1_in when (err1_sig = '0') else Z_m_prm2_in;

   errcmp_sig1 <= '0' when Q_m_prm1_sigbouta = Q_m_prm1_sigboutb else '1';
   errcmp_sig2 <= '0' when Z_m_prm2_sigbouta = Z_m_prm2_sigboutb else '1';

   Err_m_prm <= errcmp_sig1 or errcmp_sig2;

   Q_m_prm_out <= Q_m_prm1_sigboutb;
   Z_m_prm_out <= Z_m_prm2_sigboutb;

   Err_m_prm1 <= err1_sig;
   Err_m_prm2 <= err2_sig;

end CNT_m_prm_BEHAV;