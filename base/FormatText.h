#pragma once
// Fills the %s and %d of a text with the arguments, in order ("%%" is a
// percent sign). Arguments are wide strings or integers. Unlike the printf
// family it means the same on every compiler (%s is always a wide string)
// and cannot read past its arguments; and a text of the program's takes
// exactly the count of values its names file declares, or the call does
// not compile.

#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "base/Text.h"

namespace fw {

namespace detail {

inline std::wstring ToText(std::wstring_view text) { return std::wstring(text); }
inline std::wstring ToText(const wchar_t* text) { return text ? std::wstring(text) : std::wstring(); }
template <class T, std::enable_if_t<std::is_integral_v<T>, int> = 0>
std::wstring ToText(T value) { return std::to_wstring(value); }

}  // namespace detail

// The words filled with values already made text, as many as the words
// take (the caller has checked the count): a value missing is left out.
std::wstring FillText(std::wstring_view words, const std::vector<std::wstring>& values);

template <int Values, class... Args>
std::wstring FormatText(Text<Values> text, const Args&... args)
{
    static_assert(sizeof...(Args) == Values, "this text takes another count of values: see its names file");
    return FillText(text.Words(), {detail::ToText(args)...});
}

}  // namespace fw
