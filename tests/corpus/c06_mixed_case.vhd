Library IEEE;
Use IEEE.Std_Logic_1164.All;
Use IEEE.Numeric_Std.All;

Entity Full_Adder Is
   Generic ( Width : Natural := 4 );
   Port ( A, B : In Std_Logic_Vector(Width-1 DownTo 0);
          Cin  : In Std_Logic;
          Sum  : Out Std_Logic_Vector(Width-1 DownTo 0);
          Cout : Out Std_Logic );
End Entity Full_Adder;

Architecture Rtl Of Full_Adder Is
   Signal Total : Unsigned(Width DownTo 0);
   Signal Cin_U : Unsigned(0 DownTo 0);
Begin
   Total <= Resize(Unsigned(A), Width+1) + Resize(Unsigned(B), Width+1) + Cin_U;
   Cin_U(0) <= Cin;
   Sum   <= Std_Logic_Vector(Total(Width-1 DownTo 0));
   Cout  <= Total(Width);
End Architecture Rtl;
