-- Checker of the reference sequencer: runs its own model of the state, the
-- count, the total and the last bytes, driven by the unit's inputs, and raises
-- ERR whenever an output differs from what the model says it must be.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;
library common;
use common.fault_types.all;

entity SEQUENCER_ch is
   port(
      CLK : in std_logic;
      RST : in std_logic;
      GO : in std_logic;
      DIN : in std_logic_vector(7 downto 0);
      COUNT : in integer range 0 to 15;
      TOTAL : in natural;
      STATE : in state_t;
      PAIR : in pair_t;
      BYTES : in bytes_t;
      ERR : out std_logic
   );
end SEQUENCER_ch;

architecture model of SEQUENCER_ch is
   signal m_state : state_t := IDLE;
   signal m_count : natural := 0;
   signal m_total : natural := 0;
   signal m_bytes : bytes_t := (others => (others => '0'));
begin
   process(CLK)
   begin
      if rising_edge(CLK) then
         for i in 3 downto 1 loop
            m_bytes(i) <= m_bytes(i - 1);
         end loop;
         m_bytes(0) <= DIN;
         if RST = '1' then
            m_state <= IDLE;
            m_count <= 0;
            m_total <= 0;
            m_bytes <= (others => (others => '0'));
         elsif m_state = IDLE and GO = '1' then
            m_state <= RUN;
         elsif m_state = RUN then
            m_total <= (m_total + to_integer(unsigned(DIN))) mod 1000;
            if m_count < 9 then m_count <= m_count + 1; else m_state <= DONE; end if;
         elsif m_state = DONE then
            m_count <= 0;
            m_state <= IDLE;
         end if;
      end if;
   end process;

   process(COUNT, TOTAL, STATE, PAIR, BYTES, m_state, m_count, m_total, m_bytes)
      variable parity : std_logic;
   begin
      parity := '0';
      for i in 0 to 7 loop
         parity := parity xor m_bytes(0)(i);
      end loop;
      if COUNT = m_count and TOTAL = m_total and STATE = m_state and BYTES = m_bytes
         and PAIR.a = parity and PAIR.b = m_count mod 8 then
         ERR <= '0';
      else
         ERR <= '1';
      end if;
   end process;
end model;
