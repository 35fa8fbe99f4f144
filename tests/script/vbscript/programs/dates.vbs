' Dates: serial numbers, parts, arithmetic and names.
d = DateSerial(2024, 2, 29)
MsgBox d
MsgBox Year(d) & "-" & Month(d) & "-" & Day(d)
MsgBox Weekday(d)
MsgBox WeekdayName(Weekday(d))
MsgBox MonthName(2) & " " & MonthName(2, True)
MsgBox DateAdd("m", 1, #1/31/2024#)
MsgBox DateAdd("yyyy", 1, d)
MsgBox DateAdd("d", 1, d)
MsgBox DateDiff("d", #1/1/2024#, #3/1/2024#)
MsgBox DateDiff("m", #12/31/2023#, #1/1/2024#)
MsgBox DateDiff("yyyy", #12/31/2023#, #1/1/2024#)
MsgBox #1/2/2003 3:04:05 PM#
MsgBox TimeSerial(13, 5, 0)
MsgBox Hour(#13:45:10#) & ":" & Minute(#13:45:10#) & ":" & Second(#13:45:10#)
MsgBox CDate("2024-05-17") = DateSerial(2024, 5, 17)
MsgBox d + 1
MsgBox CDbl(DateSerial(1900, 1, 1))
MsgBox DateSerial(2024, 13, 1)
MsgBox DatePart("q", d)
MsgBox IsDate("2/30/2024") & " " & IsDate("12/25/2024")
MsgBox FormatDateTime(d, vbLongDate)
MsgBox IsDate(Now) And Year(Now) > 2000
MsgBox DateSerial(2024, 3, 0)
On Error Resume Next
MsgBox CDate(1e300)
MsgBox Err.Number
