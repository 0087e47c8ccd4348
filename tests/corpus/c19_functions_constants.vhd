library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity popcount is
   generic(
      N : integer := 8
   );
   port(
      v : in std_logic_vector(N-1 downto 0);
      count : out unsigned(3 downto 0);
      all_ones : out std_logic
   );
end popcount;

architecture rtl of popcount is
   constant ZERO : unsigned(3 downto 0) := (others => '0');
   constant ONES : std_logic_vector(N-1 downto 0) := (others => '1');

   function ones_in(x : std_logic_vector) return natural is
      variable n_ones : natural := 0;
   begin
      for i in x'range loop
         if x(i) = '1' then
            n_ones := n_ones + 1;
         end if;
      end loop;
      return n_ones;
   end function ones_in;

   procedure check(signal s : in std_logic_vector; variable r : out boolean) is
   begin
      r := s = ONES;
   end procedure;
begin
   count <= ZERO + to_unsigned(ones_in(v), 4);
   all_ones <= '1' when v = ONES else '0';
end rtl;
