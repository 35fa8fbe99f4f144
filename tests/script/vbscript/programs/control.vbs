' Loops, branches and Exit.
Dim i, s
For i = 1 To 10 Step 3
  s = s & i & " "
Next
MsgBox s
s = ""
For i = 5 To 1 Step -2: s = s & i: Next
MsgBox s
MsgBox i
For i = 1 To 0
  MsgBox "never"
Next
MsgBox i
i = 0
Do While i < 3
  i = i + 1
Loop
MsgBox i
Do
  i = i - 1
Loop Until i = 0
MsgBox i
Do Until i >= 2: i = i + 1: Loop
MsgBox i
Do
  i = i + 1
  If i = 5 Then Exit Do
Loop
MsgBox i
While i > 0
  i = i - 2
Wend
MsgBox i
Dim n: n = 0
Do
  n = n + 1
Loop While n < 0
MsgBox n
s = ""
For Each x In Array("a", "b", "c")
  s = x & s
Next
MsgBox s

Function Grade(n)
  If n >= 90 Then
    Grade = "A"
  ElseIf n >= 80 Then
    Grade = "B"
  Else
    Grade = "C"
  End If
End Function
MsgBox Grade(95) & Grade(85) & Grade(10)
If 1 > 2 Then MsgBox "no" Else MsgBox "yes"
If True Then MsgBox "one" : MsgBox "two"
If False Then MsgBox "x" : MsgBox "y"
If Null Then MsgBox "null true" Else MsgBox "null false"
Select Case 7
  Case 1, 2
    MsgBox "small"
  Case 3 To 6
    MsgBox "mid"
  Case Is > 6
    MsgBox "big"
  Case Else
    MsgBox "else"
End Select
Select Case "b"
  Case "a": MsgBox "is a"
  Case Else: MsgBox "not a"
End Select
s = ""
For i = 1 To 3
  For j = 1 To 3
    If j = 2 Then Exit For
    s = s & i & j & ","
  Next
Next
MsgBox s
For i = 1 To 3
  i = i + 1
Next
MsgBox i
