library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity alu is
   generic(
      W : positive := 8
   );
   port(
      op : in std_logic_vector(1 downto 0);
      a, b : in signed(W-1 downto 0);
      r : out signed(W-1 downto 0);
      zero : out std_logic
   );
end alu;

architecture rtl of alu is
   signal res : signed(W-1 downto 0);
begin
   process(op, a, b)
   begin
      case op is
         when "00" => res <= a + b;
         when "01" => res <= a - b;
         when "10" => res <= a and b;
         when others => res <= a or b;
      end case;
   end process;
   r <= res;
   zero <= '1' when res = 0 else '0';
end rtl;
