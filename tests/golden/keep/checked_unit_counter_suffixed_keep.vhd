-- **********************************************************************
-- ** This file was generated automatically by Velmorn...
-- ** Module (part) of FT architecture TMR+3CH
-- ** VHDL file: cnt/modules/cnt_prm1.vhd
-- ** Copyright (C) 2026 Velmorn contributors
-- ** Fault-tolerant design tools
-- ** Velmorn project <velmorn@localhost>
-- **********************************************************************

LIBRARY IEEE;
 USE IEEE.STD_LOGIC_1164.ALL;
  

entity CNT_prm1 is
   generic(
      W :  integer := 4
   );
   port(
      CLK_prm1 : IN  std_logic;
      RST_prm1 : IN  std_logic;
       ERR_prm1 : OUT std_logic;
      Q_prm1 : OUT std_logic_vector(W-1 downto 0);
      Z_prm1 : OUT  std_logic
   );
end entity CNT_prm1;


architecture CNT_BEHAV of CNT_prm1 is

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

component CNT_ch is 
   generic(
      W :  integer := 4
   );
   port(
      CLK : IN  std_logic;
      RST : IN  std_logic;
      Q : IN std_logic_vector(W-1 downto 0);
      Z : IN  std_logic;
       ERR : OUT std_logic
   );
end component;

signal Q_fu1_sig :  std_logic_vector(W-1 downto 0);
signal Z_fu1_sig :   std_logic;

-- velmorn --keep: synthesis keeps every instance of this file as written
attribute keep_hierarchy : string;
attribute DONT_TOUCH : string;
attribute keep_hierarchy of CNT_fu1x : label is "yes";
attribute DONT_TOUCH of CNT_fu1x : label is "true";
attribute keep_hierarchy of CNT_ch1 : label is "yes";
attribute DONT_TOUCH of CNT_ch1 : label is "true";

begin
CNT_fu1x : CNT_fu1
   generic map(
      W => W
   )
   port map(
      CLK_fu1 => CLK_prm1,
      RST_fu1 => RST_prm1,
      Q_fu1 => Q_fu1_sig,
      Z_fu1 => Z_fu1_sig
   );

CNT_ch1 : CNT_ch
   generic map(
      W => W
   )
   port map(
      CLK => CLK_prm1,
      RST => RST_prm1,
      Q => Q_fu1_sig,
      Z => Z_fu1_sig,
      ERR => ERR_prm1
   );

   Q_prm1 <= Q_fu1_sig;
   Z_prm1 <= Z_fu1_sig;

end CNT_BEHAV;