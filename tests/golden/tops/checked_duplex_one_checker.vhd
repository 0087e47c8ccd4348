-- **********************************************************************
-- ** This file was generated automatically by Velmorn...
-- ** Module (part) of FT architecture DUPLEX+1CH
-- ** VHDL file: cnt/cnt_dupl1ch.vhd
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
      Err_prm_m : OUT std_logic
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
       ERR_prm1 : OUT std_logic;
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

component CNT_m_prm is 
   generic(
      W :  integer := 4
   );
   port(
      Err_prm1_in : IN std_logic;
      Q_m_prm1_in : IN  std_logic_vector(3 downto 0);
      Q_m_prm2_in : IN  std_logic_vector(3 downto 0);
      IO_m_prm1_in : IN  std_logic;
      IO_m_prm2_in : IN  std_logic;
      Q_m_prm_out : OUT  std_logic_vector(3 downto 0);
      IO_m_prm_out : OUT  std_logic;
      Err_m_prm1 : OUT std_logic;
      Err_m_prm2 : OUT std_logic;
      Err_m_prm : OUT std_logic
   );
end component;

signal Q_prm1_sig :   std_logic_vector(3 downto 0);
signal IO_prm1_sig :   std_logic;
signal Q_prm2_sig :   std_logic_vector(3 downto 0);
signal IO_prm2_sig :   std_logic;
signal err1_sig : std_logic;

begin
CNT1_prm : CNT_prm1
   generic map(
      W => W
   )
   port map(
      CLK_prm1 => CLK,
      IO_prm1 => IO_prm1_sig,
      Err_prm1 => err1_sig,
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

CNT_m_prm1 : CNT_m_prm
   generic map(
      W => W
   )
   port map(
      ERR_prm1_in => err1_sig,
      Q_m_prm1_in => Q_prm1_sig,
      Q_m_prm2_in => Q_prm2_sig,
      IO_m_prm1_in => IO_prm1_sig,
      IO_m_prm2_in => IO_prm2_sig,
      Q_m_prm_out => Q,
      IO_m_prm_out => IO,
      Err_m_prm1 => Err_prm1,
      Err_m_prm2 => Err_prm2,
      Err_m_prm => Err_prm_m
   );

end CNT_BEHAV;