-- Types of the port-kinds design: an enumeration, a record and an array.
library ieee;
use ieee.std_logic_1164.all;

package kinds_pkg is
   type state_t is (IDLE, RUN, DONE);
   type pair_t is record
      flag : std_logic;
      level : integer range 0 to 7;
   end record;
   type bytes_t is array (0 to 3) of std_logic_vector(7 downto 0);
end package kinds_pkg;
