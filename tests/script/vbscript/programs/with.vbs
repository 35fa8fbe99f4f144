' With blocks name an object once for the members written with a leading dot.
Set c = CreateObject("Orbel.TestCounter")
With c
  .Name = "within"
  .Bump
  .Bump
  MsgBox .Name & " " & .Count
  With .Child
    .Bump
    MsgBox .Count
  End With
  MsgBox .Add(.Count, 10)
End With
Public Const Greeting = "hi"
MsgBox Greeting
On Error Resume Next
With Nothing
  MsgBox "never"
End With
MsgBox Err.Number
