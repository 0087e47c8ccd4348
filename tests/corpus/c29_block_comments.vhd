-- Delimited comments of VHDL-2008 in the architecture.
library ieee;
use ieee.std_logic_1164.all;

entity majority3 is
   port(
      a, b, c : in std_logic;
      m : out std_logic
   );
end majority3;

architecture rtl of majority3 is
   /* the vote of three inputs;
      it does not end here */
begin
   m <= (a and b) or (a and c) /* or (b and c) is below */ or (b and c);
end rtl;
/* end of file: end */
