#include "platform/Win.h"

#include <cstdio>

namespace orbel {

std::string ToString(const RECT& r) {
    char buf[80];
    std::snprintf(buf, sizeof buf, "(%d,%d)-(%d,%d)", r.left, r.top, r.right, r.bottom);
    return buf;
}

std::string HResultText(HRESULT hr) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(hr));
    return buf;
}

}  // namespace orbel
