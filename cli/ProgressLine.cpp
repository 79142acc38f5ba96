#include "cli/ProgressLine.h"

#include "cli/Output.h"
#include "platform/Utf8.h"

namespace cli {
namespace {

// The width a terminal gives the letter: two for the wide letters of East
// Asia, which the names of mods are often written in.
std::size_t Columns(wchar_t c) { return c >= 0x1100 && !(c >= 0xD800 && c <= 0xDFFF) ? 2 : 1; }

std::size_t Columns(const std::wstring& text)
{
    std::size_t columns = 0;
    for (const wchar_t c : text)
        columns += Columns(c);
    return columns;
}

}  // namespace

std::wstring Shortened(const std::wstring& name, std::size_t columns)
{
    if (Columns(name) <= columns)
        return name;
    std::wstring cut;
    std::size_t used = 3;
    for (const wchar_t c : name) {
        if (used + Columns(c) > columns)
            break;
        used += Columns(c);
        cut += c;
    }
    if (!cut.empty() && cut.back() >= 0xD800 && cut.back() <= 0xDBFF)
        cut.pop_back();  // not half a letter
    return cut + L"...";
}

void ProgressLine::Show(const std::wstring& text, bool now)
{
    if (!shown_)
        return;
    const auto time = std::chrono::steady_clock::now();
    if (!now && columns_ != 0 && time - drawn_ < std::chrono::milliseconds(100))
        return;
    drawn_ = time;
    const std::size_t columns = Columns(text);
    // What is left of a longer line before is covered with spaces.
    std::wstring line = L"\r" + text;
    if (columns < columns_)
        line.append(columns_ - columns, L' ');
    columns_ = columns;
    err_.Write(platform::ToUtf8(line));
}

void ProgressLine::Clear()
{
    if (!shown_ || columns_ == 0)
        return;
    err_.Write(platform::ToUtf8(L"\r" + std::wstring(columns_, L' ') + L"\r"));
    columns_ = 0;
}

}  // namespace cli
