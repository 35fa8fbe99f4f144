// The JScript work both script benchmarks time: a loop of 1,000,000 iterations of string and
// arithmetic work, and a 5,000-line script of 1,000 procedures to list.
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

}  // namespace orbel::bench
