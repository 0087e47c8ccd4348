-- Checker of the reference ALU: recomputes the result and the flag with
-- integer arithmetic and bit loops, and raises ERR when the unit's outputs
-- differ from them.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity ALU_ch is
   port(
      A : in std_logic_vector(3 downto 0);
      B : in std_logic_vector(3 downto 0);
      OP : in std_logic_vector(1 downto 0);
      Y : in std_logic_vector(3 downto 0);
      F : in std_logic;
      ERR : out std_logic
   );
end ALU_ch;

architecture model of ALU_ch is
begin
   process(A, B, OP, Y, F)
      variable x, z, r : integer;
      variable ry : std_logic_vector(3 downto 0);
      variable rf : std_logic;
   begin
      ERR <= '1';
      if not (is_x(A) or is_x(B) or is_x(OP)) then
         x := to_integer(unsigned(A));
         z := to_integer(unsigned(B));
         if OP = "00" then
            r := x + z;
            ry := std_logic_vector(to_unsigned(r mod 16, 4));
            if r > 15 then rf := '1'; else rf := '0'; end if;
         elsif OP = "01" then
            r := x - z;
            ry := std_logic_vector(to_unsigned((r + 16) mod 16, 4));
            if r < 0 then rf := '1'; else rf := '0'; end if;
         else
            for i in 0 to 3 loop
               if OP = "10" then
                  ry(i) := A(i) and B(i);
               else
                  ry(i) := A(i) xor B(i);
               end if;
            end loop;
            if ry = "0000" then rf := '1'; else rf := '0'; end if;
         end if;
         if Y = ry and F = rf then
            ERR <= '0';
         end if;
      end if;
   end process;
end model;
