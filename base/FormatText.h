#pragma once
// Fills the %s and %d of a text with the arguments, in order ("%%" is a
// percent sign). Arguments are wide strings or integers. Unlike the printf
// family it means the same on every compiler (%s is always a wide string)
// and cannot read past its arguments.

#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace fw {

namespace detail {

inline std::wstring ToText(std::wstring_view text) { return std::wstring(text); }
inline std::wstring ToText(const wchar_t* text) { return text ? std::wstring(text) : std::wstring(); }
template <class T, std::enable_if_t<std::is_integral_v<T>, int> = 0>
std::wstring ToText(T value) { return std::to_wstring(value); }

std::wstring FillText(std::wstring_view format, const std::vector<std::wstring>& values);

}  // namespace detail

template <class... Args>
std::wstring FormatText(std::wstring_view format, const Args&... args)
{
    return detail::FillText(format, {detail::ToText(args)...});
}

}  // namespace fw
