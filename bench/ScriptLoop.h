// The work the script benchmarks time, in each language: a loop of 1,000,000 iterations of
// string and arithmetic work, and a 5,000-line script of procedures to list.
#pragma once

#include <string>

namespace orbel::bench {

inline constexpr const char* kScriptLoop =
    "function Loop() {\n"
    "  var total = 0, s = '', names = 0;\n"
    "  for (var i = 0; i < 1000000; i++) {\n"
    "    total = (total + i * 3) % 1000003;\n"
    "    s = 'item' + (i % 100);\n"
    "    if (s.length > 5) names++;\n"
    "  }\n"
    "  return total + names;\n"
    "}\n";

inline std::string ManyProcedures() {
    std::string code;
    for (int i = 0; i < 1000; ++i) {
        const std::string n = std::to_string(i);
        code += "function Step" + n + "(a) {\n  var b = a + " + n + ";\n  b = b * 2;\n" +
                "  return b;\n}\n";
    }
    return code;
}

inline constexpr const char* kVbScriptLoop =
    "Function Work()\n"
    "  Dim i, total, s, n\n"
    "  For i = 1 To 1000000\n"
    "    total = total + i Mod 7 * 3 - 1\n"
    "    s = Left(\"item\" & i, 6)\n"
    "    If Len(s) > 5 Then n = n + 1\n"
    "  Next\n"
    "  Work = total & \" \" & n\n"
    "End Function\n";

// 500 procedures of ten lines each.
inline std::string VbScriptProcedures() {
    std::string text;
    for (int p = 0; p < 500; ++p) {
        std::string n = std::to_string(p);
        text += (p % 2 ? "Function F" : "Sub S") + n + "(a, ByVal b)\n";
        text +=
            "  Dim x, y(3)\n  x = a * 2 + b\n  If x > 10 Then\n    y(0) = \"big\" & x\n"
            "  Else\n    y(1) = Mid(\"small\", 2, 3)\n  End If\n";
        text += p % 2 ? "  F" + n + " = x\nEnd Function\n" : "  x = Empty\nEnd Sub\n";
    }
    return text;
}

}  // namespace orbel::bench
