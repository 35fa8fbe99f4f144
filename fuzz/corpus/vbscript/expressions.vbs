' Precedence, associativity and the result of each operator.
MsgBox 1 + 2 * 3
MsgBox (1 + 2) * 3
MsgBox 2 ^ 3 ^ 2
MsgBox -2 ^ 2
MsgBox 7 \ 2
MsgBox 7 Mod 3
MsgBox -7 Mod 3
MsgBox 7.5 \ 2
MsgBox 6.5 \ 1
MsgBox 10 / 4
MsgBox "a" & 1 & True
MsgBox 1 + "2"
MsgBox "1" + "2"
MsgBox 1 < 2 And 3 > 2
MsgBox Not 0
MsgBox Not True
MsgBox 5 And 3
MsgBox 5 Or 3
MsgBox 5 Xor 3
MsgBox True Eqv False
MsgBox False Imp True
MsgBox 2 + 3 & 4
MsgBox 1 = 1 = True
MsgBox "abc" < "abd"
MsgBox "B" < "a"
MsgBox 0.1 + 0.2
MsgBox 1E+20 * 10
MsgBox 3 * -2
MsgBox 2 ^ -1
MsgBox &HFF + &O10
MsgBox &HFFFF
MsgBox 1 / 3
MsgBox 10 \ 4 * 2
MsgBox Not 1 = 2
MsgBox 2 * 3 Mod 4
MsgBox 1 + _
  2
