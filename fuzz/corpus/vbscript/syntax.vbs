MsgBox "before"
If x Then
  MsgBox "x"
End Sub
