' Automation objects: created by ProgID, properties read and written, methods, default member.
Set c = CreateObject("Orbel.TestCounter")
c.Name = "first"
MsgBox c.Name
c.Value = 42
MsgBox c
MsgBox c.Add(2, 3)
c.Bump: c.Bump
MsgBox c.Count
MsgBox c.Child.Count
MsgBox TypeName(c) & " " & IsObject(c)
Set d = c
d.Bump
MsgBox c.Count
MsgBox (c Is d) & " " & (c Is Nothing)
Set d = Nothing
MsgBox d Is Nothing
v = c
MsgBox v + 1
On Error Resume Next
c.Missing
MsgBox Err.Number
Err.Clear
c.Broken
MsgBox Err.Number <> 0
Err.Clear
Set z = CreateObject("No.Such.Object")
MsgBox Err.Number & " " & Err.Description
Err.Clear
Set n = 5
MsgBox Err.Number
Err.Clear
n = Nothing
MsgBox Err.Number
