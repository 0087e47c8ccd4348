-- **********************************************************************
-- ** This file was generated automatically by Velmorn...
-- ** Module (part) of FT architecture TMR+3CH
-- ** VHDL file: cnt/cnt_tmr3ch.vhd
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
      CLK : IN  std_logic;
      Q : OUT std_logic_vector(W-1 downto 0);
      Err_prm1 : OUT std_logic;
      Err_prm2 : OUT std_logic;
      Err_prm3 : OUT std_logic;
      Err_prm_v : OUT std_logic
   );
end entity CNT;


architecture CNT_BEHAV of CNT is

component CNT_prm1 is 
   generic(
      W :  integer := 4
   );
   port(
      CLK_prm1 : IN  std_logic;
      Q_prm1 : OUT std_logic_vector(W-1 downto 0);
      Err_prm1 : OUT std_logic
   );
end component;

component CNT_prm2 is 
   generic(
      W :  integer := 4
   );
   port(
      CLK_prm2 : IN  std_logic;
      Q_prm2 : OUT std_logic_vector(W-1 downto 0);
      Err_prm2 : OUT std_logic
   );
end component;

component CNT_prm3 is 
   generic(
      W :  integer := 4
   );
   port(
      CLK_prm3 : IN  std_logic;
      Q_prm3 : OUT std_logic_vector(W-1 downto 0);
      Err_prm3 : OUT std_logic
   );
end component;

component CNT_v_prm is 
   generic(
      W :  integer := 4
   );
   port(
      Q_v_prm1_in : IN std_logic_vector(W-1 downto 0);
      Q_v_prm2_in : IN std_logic_vector(W-1 downto 0);
      Q_v_prm3_in : IN std_logic_vector(W-1 downto 0);
      Q_v_prm_out : OUT std_logic_vector(W-1 downto 0);
      Err_v_prm_out : OUT std_logic
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
      CLK_prm1 => CLK,
      Q_prm1 => Q_prm1_sig,
      Err_prm1 => Err_prm1
   );

CNT2_prm : CNT_prm2
   generic map(
      W => W
   )
   port map(
      CLK_prm2 => CLK,
      Q_prm2 => Q_prm2_sig,
      Err_prm2 => Err_prm2
   );

CNT3_prm : CNT_prm3
   generic map(
      W => W
   )
   port map(
      CLK_prm3 => CLK,
      Q_prm3 => Q_prm3_sig,
      Err_prm3 => Err_prm3
   );

CNT_v_prm1 : CNT_v_prm
   generic map(
      W => W
   )
   port map(
      Q_v_prm1_in => Q_prm1_sig,
      Q_v_prm2_in => Q_prm2_sig,
      Q_v_prm3_in => Q_prm3_sig,
      Q_v_prm_out => Q,
      Err_v_prm_out => Err_prm_v
   );

end CNT_BEHAV;