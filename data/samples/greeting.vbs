' A greeting: asks for a name and answers with it, then writes it into the host's first field.
Sub Main
    Dim name
    name = InputBox("Who is there?", "Greeting", "World")
    If name = "" Then Exit Sub
    MsgBox "Hello, " & name & "! Your name has " & Len(name) & " letters."
    SetField 1, "Greeted " & name
End Sub

Function Initials(text)
    Dim word, result
    For Each word In Split(Trim(text), " ")
        If Len(word) > 0 Then result = result & UCase(Left(word, 1))
    Next
    Initials = result
End Function
