library ieee;
use ieee.std_logic_1164.all;

entity bus_port is
   port(
      clk : in std_logic;
      oe : in std_logic;
      dbus : inout std_logic_vector(7 downto 0);
      last : buffer std_logic_vector(7 downto 0);
      busy : buffer std_logic
   );
end bus_port;

architecture rtl of bus_port is
begin
   dbus <= last when oe = '1' else (others => 'Z');
   process(clk)
   begin
      if rising_edge(clk) then
         last <= dbus;
         busy <= not busy;
      end if;
   end process;
end rtl;
