-- **********************************************************************
-- ** This file was generated automatically by Velmorn...
-- ** Module (part) of FT architecture 3FU-3V
-- ** VHDL file: cnt/cnt_3fu_3v.vhd
-- ** Copyright (C) 2026 Velmorn contributors
-- ** Fault-tolerant design tools
-- ** Velmorn project <velmorn@localhost>
-- **********************************************************************

LIBRARY IEEE;
 USE IEEE.STD_LOGIC_1164.ALL;
  

entity CNT is
   generic(
      W :  integer := 4
   );
   port(
      CLK1 : IN  std_logic;
      Q1 : OUT std_logic_vector(W-1 downto 0);
      CLK2 : IN  std_logic;
      Q2 : OUT std_logic_vector(W-1 downto 0);
      CLK3 : IN  std_logic;
      Q3 : OUT std_logic_vector(W-1 downto 0);
      Err_prm1 : OUT std_logic;
      Err_prm2 : OUT std_logic;
      Err_prm3 : OUT std_logic;
      Err_v_prm1 : OUT std_logic;
      Err_v_prm2 : OUT std_logic;
      Err_v_prm3 : OUT std_logic;
      Err_prm_d : OUT std_logic
   );
end entity CNT;


architecture CNT_BEHAV of CNT is

component CNT_prm1 is 
   generic(
      W :  integer := 4
   );
   port(
      CLK_prm1 : IN  std_logic;
      Q_prm1 : OUT std_logic_vector(W-1 downto 0)
   );
end component;

component CNT_prm2 is 
   generic(
      W :  integer := 4
   );
   port(
      CLK_prm2 : IN  std_logic;
      Q_prm2 : OUT std_logic_vector(W-1 downto 0)
   );
end component;

component CNT_prm3 is 
   generic(
      W :  integer := 4
   );
   port(
      CLK_prm3 : IN  std_logic;
      Q_prm3 : OUT std_logic_vector(W-1 downto 0)
   );
end component;

component CNT_vot_prm1 is 
   generic(
      W :  integer := 4
   );
   port(
      Q_vot_prm11_in : IN std_logic_vector(W-1 downto 0);
      Q_vot_prm12_in : IN std_logic_vector(W-1 downto 0);
      Q_vot_prm13_in : IN std_logic_vector(W-1 downto 0);
      Q_vot_prm1_out : OUT std_logic_vector(W-1 downto 0);
      Err_vot_prm1_out : OUT std_logic
   );
end component;

component CNT_vot_prm2 is 
   generic(
      W :  integer := 4
   );
   port(
      Q_vot_prm21_in : IN std_logic_vector(W-1 downto 0);
      Q_vot_prm22_in : IN std_logic_vector(W-1 downto 0);
      Q_vot_prm23_in : IN std_logic_vector(W-1 downto 0);
      Q_vot_prm2_out : OUT std_logic_vector(W-1 downto 0);
      Err_vot_prm2_out : OUT std_logic
   );
end component;

component CNT_vot_prm3 is 
   generic(
      W :  integer := 4
   );
   port(
      Q_vot_prm31_in : IN std_logic_vector(W-1 downto 0);
      Q_vot_prm32_in : IN std_logic_vector(W-1 downto 0);
      Q_vot_prm33_in : IN std_logic_vector(W-1 downto 0);
      Q_vot_prm3_out : OUT std_logic_vector(W-1 downto 0);
      Err_vot_prm3_out : OUT std_logic
   );
end component;

component CNT_fdec_prm is 
   generic(
      W :  integer := 4
   );
   port(
      Q_fdec_prm1_in : IN std_logic_vector(W-1 downto 0);
      Q_fdec_prm2_in : IN std_logic_vector(W-1 downto 0);
      Q_fdec_prm3_in : IN std_logic_vector(W-1 downto 0);
      Err_fdec_prm1 : OUT std_logic;
      Err_fdec_prm2 : OUT std_logic;
      Err_fdec_prm3 : OUT std_logic;
      Err_fdec_prm : OUT std_logic
   );
end component;

signal Q_prm1_sig :  std_logic_vector(W-1 downto 0);
signal Q_prm2_sig :  std_logic_vector(W-1 downto 0);
signal Q_prm3_sig :  std_logic_vector(W-1 downto 0);

begin
CNT1_prm : CNT_prm1
   generic map(
      W => W
   )
   port map(
      CLK_prm1 => CLK1,
      Q_prm1 => Q_prm1_sig
   );

CNT2_prm : CNT_prm2
   generic map(
      W => W
   )
   port map(
      CLK_prm2 => CLK2,
      Q_prm2 => Q_prm2_sig
   );

CNT3_prm : CNT_prm3
   generic map(
      W => W
   )
   port map(
      CLK_prm3 => CLK3,
      Q_prm3 => Q_prm3_sig
   );

CNT_fdec_prm1 : CNT_fdec_prm
   generic map(
      W => W
   )
   port map(
      Q_fdec_prm1_in => Q_prm1_sig,
      Q_fdec_prm2_in => Q_prm2_sig,
      Q_fdec_prm3_in => Q_prm3_sig,
      Err_fdec_prm1 => Err_prm1,
      Err_fdec_prm2 => Err_prm2,
      Err_fdec_prm3 => Err_prm3,
      Err_fdec_prm => Err_prm_d
   );

CNT_vot_prm11 : CNT_vot_prm1
   generic map(
      W => W
   )
   port map(
      Q_vot_prm11_in => Q_prm1_sig,
      Q_vot_prm12_in => Q_prm2_sig,
      Q_vot_prm13_in => Q_prm3_sig,
      Q_vot_prm1_out => Q1,
      Err_vot_prm1_out => Err_v_prm1
   );

CNT_vot_prm21 : CNT_vot_prm2
   generic map(
      W => W
   )
   port map(
      Q_vot_prm21_in => Q_prm1_sig,
      Q_vot_prm22_in => Q_prm2_sig,
      Q_vot_prm23_in => Q_prm3_sig,
      Q_vot_prm2_out => Q2,
      Err_vot_prm2_out => Err_v_prm2
   );

CNT_vot_prm31 : CNT_vot_prm3
   generic map(
      W => W
   )
   port map(
      Q_vot_prm31_in => Q_prm1_sig,
      Q_vot_prm32_in => Q_prm2_sig,
      Q_vot_prm33_in => Q_prm3_sig,
      Q_vot_prm3_out => Q3,
      Err_vot_prm3_out => Err_v_prm3
   );

end CNT_BEHAV;