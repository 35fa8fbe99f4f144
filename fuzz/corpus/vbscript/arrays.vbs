' Fixed and dynamic arrays, ReDim Preserve, copies on assignment, For Each.
Dim a(2)
a(0) = "x": a(1) = "y": a(2) = "z"
MsgBox UBound(a) & " " & LBound(a)
MsgBox Join(a, "-")
Dim b()
ReDim b(1)
b(0) = 1: b(1) = 2
ReDim Preserve b(3)
b(3) = 4
MsgBox Join(b, ",")
ReDim b(1)
MsgBox IsEmpty(b(0))
Dim c: c = a
c(0) = "changed"
MsgBox a(0) & c(0)
Dim m(1, 2)
m(1, 2) = "corner"
MsgBox UBound(m, 1) & UBound(m, 2) & m(1, 2)
Dim parts: parts = Split("a,b,,c", ",")
MsgBox UBound(parts) & ":" & parts(3)
Sub Fill(arr)
  arr(0) = "filled"
End Sub
Fill a: MsgBox a(0)
Dim total, item: total = 0
For Each item In Array(1, 2, 3, 4)
  total = total + item
Next
MsgBox total
On Error Resume Next
a(5) = 1
MsgBox Err.Number & " " & Err.Description
Err.Clear
ReDim a(3)
MsgBox Err.Number
On Error GoTo 0
Dim e: e = Array()
MsgBox UBound(e)
Erase b
MsgBox IsArray(b)
Function MakeList(n)
  Dim r(): ReDim r(n - 1)
  Dim k
  For k = 0 To n - 1: r(k) = k * k: Next
  MakeList = r
End Function
MsgBox Join(MakeList(4), " ")
