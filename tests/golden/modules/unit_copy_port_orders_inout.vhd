-- **********************************************************************
-- ** This file was generated automatically by Velmorn...
-- ** Module (part) of FT architecture FU+CH
-- ** VHDL file: u/modules/u_fu2.vhd
-- ** Copyright (C) 2026 Velmorn contributors
-- ** Fault-tolerant design tools
-- ** Velmorn project <velmorn@localhost>
-- **********************************************************************

LIBRARY IEEE;
 USE IEEE.STD_LOGIC_1164.ALL;
  

entity U_fu2 is
   port(
      A_fu2 : in  std_logic;
      IO_fu2 : inout  std_logic;
      Q_fu2 : out  std_logic;
      R_fu2 : out  std_logic
   );
end entity U_fu2;


architecture U_fu2_BEHAV of U_fu2 is

   signal A :  std_logic;
   signal Q :  std_logic;
   signal R :  std_logic;
   signal IO :  std_logic;
BODY
   A <= A_fu2;
   Q_fu2 <= Q;
   R_fu2 <= R;
   IO_fu2 <= IO;

end U_fu2_BEHAV;