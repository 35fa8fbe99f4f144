' Math functions, rounding half to even, overflow into wider types.
MsgBox Abs(-5) & " " & Abs(-2.5)
MsgBox Sgn(-3) & Sgn(0) & Sgn(9)
MsgBox Int(-2.5) & " " & Fix(-2.5)
MsgBox Int(2.7) & " " & Fix(2.7)
MsgBox Round(2.5) & " " & Round(3.5) & " " & Round(2.567, 2)
MsgBox Sqr(16) & " " & Exp(0) & " " & Log(1)
MsgBox Round(Atn(1) * 4, 5)
MsgBox 32767 + 1
MsgBox TypeName(CInt(1) * 40000)
MsgBox 2147483647 + 1
On Error Resume Next
x = CInt(40000)
MsgBox Err.Number
Err.Clear
x = Sqr(-1)
MsgBox Err.Number
Err.Clear
Randomize 1
r = Rnd
MsgBox r >= 0 And r < 1
Rnd -1: a = Rnd: Rnd -1: b = Rnd
MsgBox a = b
MsgBox FormatNumber(1234567.891) & " " & FormatNumber(-0.5, 1) & " " & FormatNumber(0.25, 2, 0)
MsgBox FormatNumber(-1234.4, 0, , -1, 0) & " " & FormatPercent(0.256, 1)
