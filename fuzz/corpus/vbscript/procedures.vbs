' Subs and Functions: ByRef by default, ByVal, parentheses that make a copy, recursion, scope.
Sub Twice(ByRef n)
  n = n * 2
End Sub
Sub Keep(ByVal n)
  n = n * 2
End Sub
Dim a: a = 5
Twice a: MsgBox a
Keep a: MsgBox a
Twice (a): MsgBox a
Call Twice(a): MsgBox a
Function Fact(n)
  If n <= 1 Then
    Fact = 1
  Else
    Fact = n * Fact(n - 1)
  End If
End Function
MsgBox Fact(10)
Function NoValue()
End Function
MsgBox IsEmpty(NoValue())
Sub Early(x)
  If x Then Exit Sub
  MsgBox "not early"
End Sub
Early True
Early False
Function Swap(p, q)
  Dim t: t = p: p = q: q = t
  Swap = p & q
End Function
Dim u, v: u = "1": v = "2"
MsgBox Swap(u, v) & u & v
Dim g: g = "global"
Sub Shadow()
  Dim g: g = "local"
  MsgBox g
End Sub
Shadow: MsgBox g
Sub SetGlobal()
  g = "changed"
End Sub
SetGlobal: MsgBox g
Sub MakeImplicit()
  implicitLocal = 3
End Sub
MakeImplicit: MsgBox IsEmpty(implicitLocal)
Const Pi2 = 6.28
MsgBox Pi2
Function UsesConst()
  UsesConst = Pi2 * 2
End Function
MsgBox UsesConst()
MsgBox Fact(3) + Fact(4)
Function Later()
  Later = "defined below its first use"
End Function
Sub Outer()
  Const Local = "local const"
  MsgBox Local & " " & Later
End Sub
Outer
On Error Resume Next
Pi2 = 1
MsgBox Err.Number & " " & Pi2
