-- **********************************************************************
-- ** This file was generated automatically by Velmorn...
-- ** Module (part) of FT architecture 3FU-3V
-- ** VHDL file: cnt/modules/cnt_vot_prm2.vhd
-- ** Copyright (C) 2026 Velmorn contributors
-- ** Fault-tolerant design tools
-- ** Velmorn project <velmorn@localhost>
-- **********************************************************************

LIBRARY IEEE;
 USE IEEE.STD_LOGIC_1164.ALL;
  

entity CNT_vot_prm2 is
   generic(
      W :  integer := 4
   );
   port(
      Q_vot_prm21_in : IN std_logic_vector(W-1 downto 0);
      Q_vot_prm22_in : IN std_logic_vector(W-1 downto 0);
      Q_vot_prm23_in : IN std_logic_vector(W-1 downto 0);
      Z_vot_prm21_in : IN  std_logic;
      Z_vot_prm22_in : IN  std_logic;
      Z_vot_prm23_in : IN  std_logic;
      Q_vot_prm2_out : OUT std_logic_vector(W-1 downto 0);
      Z_vot_prm2_out : OUT  std_logic;
      Err_vot_prm2_out : OUT std_logic
   );
end entity CNT_vot_prm2;


architecture CNT_vot_prm2_BEHAV of CNT_vot_prm2 is
   signal Q_vot_prm21_siga :  std_logic_vector(W-1 downto 0);
   signal Q_vot_prm21_sigb :  std_logic_vector(W-1 downto 0);
   signal Q_vot_prm21_sig_cmp :  std_logic;
   signal Z_vot_prm22_siga :   std_logic;
   signal Z_vot_prm22_sigb :   std_logic;
   signal Z_vot_prm22_sig_cmp :  std_logic;
begin
   process(Q_vot_prm21_in,Q_vot_prm22_in,Q_vot_prm23_in,Z_vot_prm21_in,Z_vot_prm22_in,Z_vot_prm23_in)
    begin
      Q_vot_prm21_siga <= (Q_vot_prm21_in and Q_vot_prm22_in) or (Q_vot_prm22_in and Q_vot_prm23_in) or (Q_vot_prm21_in and Q_vot_prm23_in);
      Z_vot_prm22_siga <= (Z_vot_prm21_in and Z_vot_prm22_in) or (Z_vot_prm22_in and Z_vot_prm23_in) or (Z_vot_prm21_in and Z_vot_prm23_in);

      Q_vot_prm21_sigb <= (Q_vot_prm21_in and Q_vot_prm22_in) or (Q_vot_prm22_in and Q_vot_prm23_in) or (Q_vot_prm21_in and Q_vot_prm23_in);
      Z_vot_prm22_sigb <= (Z_vot_prm21_in and Z_vot_prm22_in) or (Z_vot_prm22_in and Z_vot_prm23_in) or (Z_vot_prm21_in and Z_vot_prm23_in);

   end process;

   Q_vot_prm21_sig_cmp <= '0' when Q_vot_prm21_siga = Q_vot_prm21_sigb else '1';
   Z_vot_prm22_sig_cmp <= '0' when Z_vot_prm22_siga = Z_vot_prm22_sigb else '1';

   Err_vot_prm2_out <= Q_vot_prm21_sig_cmp or Z_vot_prm22_sig_cmp;

   Q_vot_prm2_out <= Q_vot_prm21_sigb;
   Z_vot_prm2_out <= Z_vot_prm22_sigb;

end CNT_vot_prm2_BEHAV;