-- Types of the reference designs' outputs, in a library of their own
-- ("common") that the designs name, so that the golden unit (library golden)
-- and the generated tree (library work) see the same package and their ports
-- have the same types.
library ieee;
use ieee.std_logic_1164.all;

package fault_types is
   type state_t is (IDLE, RUN, DONE);
   type pair_t is record
      a : std_logic;
      b : integer range 0 to 7;
   end record;
   type bytes_t is array (0 to 3) of std_logic_vector(7 downto 0);
end package fault_types;
