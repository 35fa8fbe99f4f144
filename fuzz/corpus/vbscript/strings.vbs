' String functions; positions count from 1.
s = "Hello, World"
MsgBox Len(s)
MsgBox Left(s, 5) & "|" & Right(s, 5) & "|" & Mid(s, 8) & "|" & Mid(s, 8, 3)
MsgBox InStr(s, "o") & " " & InStr(6, s, "o") & " " & InStr(s, "z") & " " & InStrRev(s, "o")
MsgBox InStr(1, s, "WORLD", vbTextCompare)
MsgBox UCase(s) & " " & LCase("ABC")
MsgBox "[" & Trim("  a b  ") & "][" & LTrim("  a") & "][" & RTrim("a  ") & "]"
MsgBox Replace("a-b-c", "-", "+")
MsgBox Replace("a-b-c", "-", "+", 1, 1)
MsgBox Replace("aXbxc", "x", "_", 1, -1, vbTextCompare)
MsgBox Replace("abcabc", "b", "", 3)
MsgBox StrReverse("abc") & String(3, "z") & Space(2) & "|"
MsgBox Asc("A") & " " & Chr(66) & " " & Chr(233)
MsgBox StrComp("a", "B") & " " & StrComp("a", "B", vbTextCompare) & " " & StrComp("x", "x")
MsgBox Hex(255) & " " & Hex(-1) & " " & Oct(8)
MsgBox Join(Filter(Array("apple", "berry", "grape"), "ap"), ",")
MsgBox "quote "" inside"
MsgBox Len(vbCrLf)
MsgBox UBound(Split("a b c"))
MsgBox Mid("abc", 5) = ""
MsgBox Left("abc", 10)
MsgBox InStr("", "a") & InStr("abc", "")
MsgBox Len(12345)
MsgBox LCase(Null) & "!"
