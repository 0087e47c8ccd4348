-- **********************************************************************
-- ** This file was generated automatically by Velmorn...
-- ** Module (part) of FT architecture TMR
-- ** VHDL file: and2/modules/and2_voter.vhd
-- ** Copyright (C) 2026 Velmorn contributors
-- ** Fault-tolerant design tools
-- ** Velmorn project <velmorn@localhost>
-- **********************************************************************

LIBRARY IEEE;
 USE IEEE.STD_LOGIC_1164.ALL;
  

entity AND2_voter is
   port(
      Y_voter1_in : IN  std_logic;
      Y_voter2_in : IN  std_logic;
      Y_voter3_in : IN  std_logic;
      Y_voter_out : OUT  std_logic
   );
end entity AND2_voter;


architecture AND2_voter_BEHAV of AND2_voter is
begin
   process(Y_voter1_in,Y_voter2_in,Y_voter3_in)
    begin
      Y_voter_out <= (Y_voter1_in and Y_voter2_in) or (Y_voter2_in and Y_voter3_in) or (Y_voter1_in and Y_voter3_in);
   end process;
end AND2_voter_BEHAV;