-- Checker of the reference bus register: keeps its own copy of the register,
-- loaded from the unit's inputs, and raises ERR when Q or the drive on DATA
-- (the value while OE is high, all 'Z' while it is low) differs from it. It
-- never drives DATA itself: its drive is all 'Z', so it reads the unit's.
library ieee;
use ieee.std_logic_1164.all;

entity BUSREG_ch is
   port(
      CLK : in std_logic;
      LD : in std_logic;
      OE : in std_logic;
      DIN : in std_logic_vector(7 downto 0);
      DATA : inout std_logic_vector(7 downto 0);
      Q : in std_logic_vector(7 downto 0);
      ERR : out std_logic
   );
end BUSREG_ch;

architecture model of BUSREG_ch is
   signal m_reg : std_logic_vector(7 downto 0) := (others => '0');
   signal m_drive : std_logic_vector(7 downto 0);
begin
   process(CLK)
   begin
      if rising_edge(CLK) then
         if LD = '1' then
            m_reg <= DIN;
         end if;
      end if;
   end process;
   m_drive <= m_reg when OE = '1' else "ZZZZZZZZ";
   DATA <= (others => 'Z');
   ERR <= '0' when Q = m_reg and DATA = m_drive else '1';
end model;
