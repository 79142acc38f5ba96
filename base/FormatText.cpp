#include "base/FormatText.h"

namespace fw {

std::wstring FillText(std::wstring_view format, const std::vector<std::wstring>& values)
{
    std::wstring text;
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const wchar_t c = format[i];
        if (c == L'%' && i + 1 < format.size()) {
            const wchar_t kind = format[i + 1];
            if (kind == L'%') {
                text += L'%';
                ++i;
                continue;
            }
            if (kind == L's' || kind == L'd') {
                if (next < values.size())
                    text += values[next++];
                ++i;
                continue;
            }
        }
        text += c;
    }
    return text;
}

}  // namespace fw
