-- Reference design of the fault-injection tests: outputs of types that have
-- no bitwise operators. On GO the sequencer leaves IDLE and counts ten cycles
-- in RUN, adding each input byte to a running total, then passes DONE back to
-- IDLE; PAIR holds the parity of the last byte and the count modulo 8, BYTES
-- the last four input bytes.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;
library common;
use common.fault_types.all;

entity sequencer is
   port(
      clk : in std_logic;
      rst : in std_logic;
      go : in std_logic;
      din : in std_logic_vector(7 downto 0);
      count : out integer range 0 to 15;
      total : out natural;
      state : out state_t;
      pair : out pair_t;
      bytes : out bytes_t
   );
end sequencer;

architecture rtl of sequencer is
   signal st : state_t := IDLE;
   signal cnt : integer range 0 to 15 := 0;
   signal sum : natural := 0;
   signal last : bytes_t := (others => (others => '0'));
begin
   process(clk)
   begin
      if rising_edge(clk) then
         if rst = '1' then
            st <= IDLE;
            cnt <= 0;
            sum <= 0;
            last <= (others => (others => '0'));
         else
            last <= din & last(0 to 2);
            case st is
               when IDLE =>
                  if go = '1' then
                     st <= RUN;
                  end if;
               when RUN =>
                  sum <= (sum + to_integer(unsigned(din))) mod 1000;
                  if cnt = 9 then
                     st <= DONE;
                  else
                     cnt <= cnt + 1;
                  end if;
               when DONE =>
                  cnt <= 0;
                  st <= IDLE;
            end case;
         end if;
      end if;
   end process;
   count <= cnt;
   total <= sum;
   state <= st;
   pair <= (a => xor last(0), b => cnt mod 8);
   bytes <= last;
end rtl;
