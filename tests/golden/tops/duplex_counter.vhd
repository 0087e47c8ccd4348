-- **********************************************************************
-- ** This file was generated automatically by Velmorn...
-- ** Module (part) of FT architecture DUPLEX-CMP
-- ** VHDL file: cnt/cnt_dupl_prm.vhd
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
      RST : IN  std_logic;
       ERR : OUT std_logic;
      Q : OUT std_logic_vector(W-1 downto 0);
      Z : OUT  std_logic
   );
end entity CNT;


architecture CNT_BEHAV of CNT is

component CNT_fu1 is 
   generic(
      W :  integer := 4
   );
   port(
      CLK_fu1 : IN  std_logic;
      RST_fu1 : IN  std_logic;
      Q_fu1 : OUT std_logic_vector(W-1 downto 0);
      Z_fu1 : OUT  std_logic
   );
end component;

component CNT_fu2 is 
   generic(
      W :  integer := 4
   );
   port(
      CLK_fu2 : IN  std_logic;
      RST_fu2 : IN  std_logic;
      Q_fu2 : OUT std_logic_vector(W-1 downto 0);
      Z_fu2 : OUT  std_logic
   );
end component;

component CNT_cmp is 
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
end component;

signal Q_fu1_sig :  std_logic_vector(W-1 downto 0);
signal Z_fu1_sig :   std_logic;
signal Q_fu2_sig :  std_logic_vector(W-1 downto 0);
signal Z_fu2_sig :   std_logic;

begin
CNT1_fu : CNT_fu1
   generic map(
      W => W
   )
   port map(
      CLK_fu1 => CLK,
      RST_fu1 => RST,
      Q_fu1 => Q_fu1_sig,
      Z_fu1 => Z_fu1_sig
   );

CNT2_fu : CNT_fu2
   generic map(
      W => W
   )
   port map(
      CLK_fu2 => CLK,
      RST_fu2 => RST,
      Q_fu2 => Q_fu2_sig,
      Z_fu2 => Z_fu2_sig
   );

CNT_cmp1 : CNT_cmp
   generic map(
      W => W
   )
   port map(
      Q_cmp1_in => Q_fu1_sig,
      Q_cmp2_in => Q_fu2_sig,
      Z_cmp1_in => Z_fu1_sig,
      Z_cmp2_in => Z_fu2_sig,
      ERR_cmp => ERR
   );

   Q <= Q_fu1_sig;
   Z <= Z_fu1_sig;

end CNT_BEHAV;