-- **********************************************************************
-- ** This file was generated automatically by Velmorn...
-- ** Module (part) of FT architecture TMR
-- ** VHDL file: cnt/modules/cnt_voter.vhd
-- ** Copyright (C) 2026 Velmorn contributors
-- ** Fault-tolerant design tools
-- ** Velmorn project <velmorn@localhost>
-- **********************************************************************

LIBRARY IEEE;
 USE IEEE.STD_LOGIC_1164.ALL;
  

entity CNT_voter is
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
end entity CNT_voter;


architecture CNT_voter_BEHAV of CNT_voter is
begin
   process(Q_voter1_in,Q_voter2_in,Q_voter3_in,Z_voter1_in,Z_voter2_in,Z_voter3_in)
    begin
      Q_voter_out <= (Q_voter1_in and Q_voter2_in) or (Q_voter2_in and Q_voter3_in) or (Q_voter1_in and Q_voter3_in);
      Z_voter_out <= (Z_voter1_in and Z_voter2_in) or (Z_voter2_in and Z_voter3_in) or (Z_voter1_in and Z_voter3_in);
   end process;
end CNT_voter_BEHAV;