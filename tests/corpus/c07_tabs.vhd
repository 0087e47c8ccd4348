library ieee;
use ieee.std_logic_1164.all;

entity tabbed is
	generic(
		DEPTH	:	integer	:= 3
	);
	port(
		clk	:	in	std_logic;
		din	:	in	std_logic;
		dout	:	out	std_logic
	);
end tabbed;

architecture rtl of tabbed is
	signal sr	: std_logic_vector(DEPTH-1 downto 0) := (others => '0');
begin
	process(clk)
	begin
		if rising_edge(clk) then
			sr <= sr(DEPTH-2 downto 0) & din;
		end if;
	end process;
	dout <= sr(DEPTH-1);
end	rtl;
