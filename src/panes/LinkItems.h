// Items that link to web addresses, and the names given to addresses dropped as text.
#pragma once

#include <string>
#include <string_view>

namespace orbel {

// The text, lower-cased, begins with "http" (a secure address too, which is not linked).
bool StartsWithHttp(std::string_view text);
// The name of a dropped address: what follows its first "http://", without trailing blanks and
// without one final "/".
std::string LinkNameFromText(std::string_view text);

}  // namespace orbel
