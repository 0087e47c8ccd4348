-- **********************************************************************
-- ** This file was generated automatically by Velmorn...
-- ** Module (part) of FT architecture TMR-2V-CMP
-- ** VHDL file: cnt/cnt_tmr_2v_cmp.vhd
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
      IO : INOUT  std_logic;
      Q : OUT  std_logic_vector(3 downto 0);
      Err_prm1 : OUT std_logic;
      Err_prm2 : OUT std_logic;
      Err_prm3 : OUT std_logic;
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
      IO_prm1 : INOUT  std_logic;
      Q_prm1 : OUT  std_logic_vector(3 downto 0)
   );
end component;

component CNT_prm2 is 
   generic(
      W :  integer := 4
   );
   port(
      CLK_prm2 : IN  std_logic;
      IO_prm2 : INOUT  std_logic;
      Q_prm2 : OUT  std_logic_vector(3 downto 0)
   );
end component;

component CNT_prm3 is 
   generic(
      W :  integer := 4
   );
   port(
      CLK_prm3 : IN  std_logic;
      IO_prm3 : INOUT  std_logic;
      Q_prm3 : OUT  std_logic_vector(3 downto 0)
   );
end component;

component CNT_d_prm is 
   generic(
      W :  integer := 4
   );
   port(
      Q_d_prm1_in : IN  std_logic_vector(3 downto 0);
      Q_d_prm2_in : IN  std_logic_vector(3 downto 0);
      Q_d_prm3_in : IN  std_logic_vector(3 downto 0);
      IO_d_prm1_in : IN  std_logic;
      IO_d_prm2_in : IN  std_logic;
      IO_d_prm3_in : IN  std_logic;
      Q_d_prm_out : OUT  std_logic_vector(3 downto 0);
      IO_d_prm_out : OUT  std_logic;
      Err_d_prm1 : OUT std_logic;
      Err_d_prm2 : OUT std_logic;
      Err_d_prm3 : OUT std_logic;
      Err_d_prm : OUT std_logic
   );
end component;

signal Q_prm1_sig :   std_logic_vector(3 downto 0);
signal IO_prm1_sig :   std_logic;
signal Q_prm2_sig :   std_logic_vector(3 downto 0);
signal IO_prm2_sig :   std_logic;
signal Q_prm3_sig :   std_logic_vector(3 downto 0);
signal IO_prm3_sig :   std_logic;

begin
CNT1_prm : CNT_prm1
   generic map(
      W => W
   )
   port map(
      CLK_prm1 => CLK,
      IO_prm1 => IO_prm1_sig,
      Q_prm1 => Q_prm1_sig
   );

CNT2_prm : CNT_prm2
   generic map(
      W => W
   )
   port map(
      CLK_prm2 => CLK,
      IO_prm2 => IO_prm2_sig,
      Q_prm2 => Q_prm2_sig
   );

CNT3_prm : CNT_prm3
   generic map(
      W => W
   )
   port map(
      CLK_prm3 => CLK,
      IO_prm3 => IO_prm3_sig,
      Q_prm3 => Q_prm3_sig
   );

CNT_d_prm1 : CNT_d_prm
   generic map(
      W => W
   )
   port map(
      Q_d_prm1_in => Q_prm1_sig,
      Q_d_prm2_in => Q_prm2_sig,
      Q_d_prm3_in => Q_prm3_sig,
      IO_d_prm1_in => IO_prm1_sig,
      IO_d_prm2_in => IO_prm2_sig,
      IO_d_prm3_in => IO_prm3_sig,
      Q_d_prm_out => Q,
      IO_d_prm_out => IO,
      Err_d_prm1 => Err_prm1,
      Err_d_prm2 => Err_prm2,
      Err_d_prm3 => Err_prm3,
      Err_d_prm => Err_prm_d
   );

end CNT_BEHAV;