-- **********************************************************************
-- ** This file was generated automatically by Velmorn...
-- ** Module (part) of FT architecture FU+CH
-- ** VHDL file: iob/modules/iob.vhd
-- ** Copyright (C) 2026 Velmorn contributors
-- ** Fault-tolerant design tools
-- ** Velmorn project <velmorn@localhost>
-- **********************************************************************

LIBRARY IEEE;
 USE IEEE.STD_LOGIC_1164.ALL;
  

entity IOB is
   port(
      A : IN  std_logic;
      D : INOUT std_logic_vector(7 downto 0);
       ERR : OUT std_logic;
      Q : OUT  std_logic
   );
end entity IOB;


architecture IOB_BEHAV of IOB is

component IOB_fu is 
   port(
      A_fu : IN  std_logic;
      D_fu : INOUT std_logic_vector(7 downto 0);
      Q_fu : OUT  std_logic
   );
end component;

component IOB_ch is 
   port(
      A : IN  std_logic;
      D : INOUT std_logic_vector(7 downto 0);
      Q : IN  std_logic;
       ERR : OUT std_logic
   );
end component;

signal Q_fu_sig :   std_logic;

begin
IOB_fux : IOB_fu
   port map(
      A_fu => A,
      D_fu => D,
      Q_fu => Q_fu_sig
   );

IOB_ch1 : IOB_ch
   port map(
      A => A,
      D => D,
      Q => Q_fu_sig,
      ERR => ERR
   );

   Q <= Q_fu_sig;

end IOB_BEHAV;