-- **********************************************************************
-- ** This file was generated automatically by Velmorn...
-- ** Module (part) of FT architecture TMR
-- ** VHDL file: cnt/cnt_tmr.vhd
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
      Q : OUT std_logic_vector(W-1 downto 0);
      Z : OUT  std_logic
   );
end entity CNT;


architecture CNT_BEHAV of CNT is

component CNT_prm1 is 
   generic(
      W :  integer := 4
   );
   port(
      CLK_prm1 : IN  std_logic;
      RST_prm1 : IN  std_logic;
      Q_prm1 : OUT std_logic_vector(W-1 downto 0);
      Z_prm1 : OUT  std_logic
   );
end component;

component CNT_prm2 is 
   generic(
      W :  integer := 4
   );
   port(
      CLK_prm2 : IN  std_logic;
      RST_prm2 : IN  std_logic;
      Q_prm2 : OUT std_logic_vector(W-1 downto 0);
      Z_prm2 : OUT  std_logic
   );
end component;

component CNT_prm3 is 
   generic(
      W :  integer := 4
   );
   port(
      CLK_prm3 : IN  std_logic;
      RST_prm3 : IN  std_logic;
      Q_prm3 : OUT std_logic_vector(W-1 downto 0);
      Z_prm3 : OUT  std_logic
   );
end component;

component CNT_voter is 
   generic(
      W :  integer := 4
   );
   port(
      Q_voter1_in : IN std_logic_vector(W-1 downto 0);
      Q_voter2_in : IN std_logic_vector(W-1 downto 0);
      Q_voter3_in : IN std_logic_vector(W-1 downto 0);
      Z_voter1_in : IN  std_logic;
      Z_voter2_in : IN  std_logic;
      Z_voter3_in : IN  std_logic;
      Q_voter_out : OUT std_logic_vector(W-1 downto 0);
      Z_voter_out : OUT  std_logic
   );
end component;

signal Q_prm1_sig :  std_logic_vector(W-1 downto 0);
signal Z_prm1_sig :   std_logic;
signal Q_prm2_sig :  std_logic_vector(W-1 downto 0);
signal Z_prm2_sig :   std_logic;
signal Q_prm3_sig :  std_logic_vector(W-1 downto 0);
signal Z_prm3_sig :   std_logic;

-- velmorn --keep: synthesis keeps every instance of this file as written
attribute keep_hierarchy : string;
attribute DONT_TOUCH : string;
attribute keep_hierarchy of CNT1_prm : label is "yes";
attribute DONT_TOUCH of CNT1_prm : label is "true";
attribute keep_hierarchy of CNT2_prm : label is "yes";
attribute DONT_TOUCH of CNT2_prm : label is "true";
attribute keep_hierarchy of CNT3_prm : label is "yes";
attribute DONT_TOUCH of CNT3_prm : label is "true";
attribute keep_hierarchy of CNT_voter1 : label is "yes";
attribute DONT_TOUCH of CNT_voter1 : label is "true";

begin
CNT1_prm : CNT_prm1
   generic map(
      W => W
   )
   port map(
      CLK_prm1 => CLK,
      RST_prm1 => RST,
      Q_prm1 => Q_prm1_sig,
      Z_prm1 => Z_prm1_sig
   );

CNT2_prm : CNT_prm2
   generic map(
      W => W
   )
   port map(
      CLK_prm2 => CLK,
      RST_prm2 => RST,
      Q_prm2 => Q_prm2_sig,
      Z_prm2 => Z_prm2_sig
   );

CNT3_prm : CNT_prm3
   generic map(
      W => W
   )
   port map(
      CLK_prm3 => CLK,
      RST_prm3 => RST,
      Q_prm3 => Q_prm3_sig,
      Z_prm3 => Z_prm3_sig
   );

CNT_voter1 : CNT_voter
   generic map(
      W => W
   )
   port map(
      Q_voter1_in => Q_prm1_sig,
      Q_voter2_in => Q_prm2_sig,
      Q_voter3_in => Q_prm3_sig,
      Z_voter1_in => Z_prm1_sig,
      Z_voter2_in => Z_prm2_sig,
      Z_voter3_in => Z_prm3_sig,
      Q_voter_out => Q,
      Z_voter_out => Z
   );

end CNT_BEHAV;