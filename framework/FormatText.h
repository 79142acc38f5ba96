#pragma once
// printf-style formatting into a wide string of any length.

#include <cstdarg>
#include <cwchar>
#include <string>

namespace fw {

inline std::wstring FormatText(const wchar_t* format, ...)
{
    std::wstring text(128, L'\0');
    for (;;) {
        va_list args;
        va_start(args, format);
        const int length = std::vswprintf(text.data(), text.size(), format, args);
        va_end(args);
        if (length >= 0 && static_cast<std::size_t>(length) < text.size()) {
            text.resize(static_cast<std::size_t>(length));
            return text;
        }
        text.resize(text.size() * 2);  // too small (vswprintf reports no length)
        if (text.size() > (1u << 20))
            return {};
    }
}

}  // namespace fw
