library ieee;
use ieee.std_logic_1164.all;

entity reporter is
   port(
      clk : in std_logic;
      err_in : in std_logic;
      flag : out std_logic
   );
end reporter;

architecture sim of reporter is
   constant MSG : string := "-- not a comment";
   constant TAIL : string := "this is the end";
   signal send : std_logic := '0';
begin
   process(clk)
   begin
      if rising_edge(clk) then
         if err_in = '1' then
            report "error seen -- end of story" severity note;
            report TAIL & " end;" severity note;
         end if;
         send <= err_in;
      end if;
   end process;
   flag <= send;
end sim; -- closes here, not at "end" in a string
