#pragma once
// UTF-8 <-> wide text, for file names on POSIX systems and for test output.
// Works for both 16-bit (UTF-16) and 32-bit (UTF-32) wchar_t.

#include <string>
#include <string_view>

namespace platform {

std::string ToUtf8(std::wstring_view text);
// The same at the end of `out`, for text built in one piece.
void AppendUtf8(std::string& out, std::wstring_view text);
// One character (a Unicode scalar value) at the end of `out`.
void AppendUtf8(std::string& out, char32_t c);
// Invalid sequences become U+FFFD.
std::wstring FromUtf8(std::string_view text);

}  // namespace platform
