' On Error Resume Next, Err and Raise, errors that leave a procedure, On Error GoTo 0.
On Error Resume Next
x = 1 / 0
MsgBox Err.Number & ": " & Err.Description
Err.Clear
MsgBox Err.Number
Err.Raise 1000, "mine", "custom failure"
MsgBox Err.Number & " " & Err.Description & " " & Err.Source
Err.Raise 13
MsgBox Err.Description
Sub Inner()
  Dim z: z = CInt("abc")
  MsgBox "not reached"
End Sub
Err.Clear
Inner
MsgBox "after inner " & Err.Number
Sub Guarded()
  On Error Resume Next
  Dim z: z = 1 / 0
  MsgBox "guarded " & Err.Number
End Sub
Guarded
If Err Then MsgBox "Err is its number"
Err.Number = 0
MsgBox Err.Number
Function Risky(n)
  Risky = 10 \ n
End Function
MsgBox Risky(0) & "|" & Err.Number
On Error GoTo 0
MsgBox Err.Number
x = CLng("zz")
MsgBox "never"
