// The system's texts carry printf formats ("Are you sure you want to remove %s..."); this
// fills one in with std::string arguments, whatever their length.
#pragma once

#include <cstdio>
#include <string>
#include <type_traits>

namespace orbel {

namespace detail {
inline const char* PrintfArg(const std::string& s) {
    return s.c_str();
}
template <class T>
requires std::is_arithmetic_v<T> T PrintfArg(T value) {
    return value;
}
}  // namespace detail

template <class... Args>
std::string Sprintf(const char* format, const Args&... args) {
    const int size = std::snprintf(nullptr, 0, format, detail::PrintfArg(args)...);
    if (size <= 0) return std::string();
    std::string out(static_cast<std::size_t>(size), '\0');
    std::snprintf(out.data(), out.size() + 1, format, detail::PrintfArg(args)...);
    return out;
}

}  // namespace orbel
