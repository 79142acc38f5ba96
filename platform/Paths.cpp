#include "platform/Paths.h"

namespace platform {
namespace {

// Length of the root that must keep its separator: "/" or "C:\".
std::size_t RootLength(std::wstring_view path)
{
#ifdef _WIN32
    if (path.size() >= 3 && path[1] == L':' && IsPathSeparator(path[2]))
        return 3;
#endif
    if (!path.empty() && IsPathSeparator(path[0]))
        return 1;
    return 0;
}

}  // namespace

bool IsPathSeparator(wchar_t c)
{
#ifdef _WIN32
    return c == L'\\' || c == L'/';
#else
    return c == L'/';
#endif
}

std::wstring StripTrailingSeparators(std::wstring_view path)
{
    const std::size_t root = RootLength(path);
    std::size_t end = path.size();
    while (end > root && IsPathSeparator(path[end - 1]))
        --end;
    return std::wstring(path.substr(0, end));
}

std::wstring WithTrailingSeparator(std::wstring_view path)
{
    std::wstring result = StripTrailingSeparators(path);
    if (result.empty() || !IsPathSeparator(result.back()))
        result += kPathSeparator;
    return result;
}

std::wstring JoinPath(std::wstring_view folder, std::wstring_view name)
{
    return WithTrailingSeparator(folder) + std::wstring(name);
}

std::wstring FileNameOf(std::wstring_view path)
{
    std::size_t start = path.size();
    while (start > 0 && !IsPathSeparator(path[start - 1]))
        --start;
    return std::wstring(path.substr(start));
}

std::wstring GetFolderOfPath(std::wstring_view path)
{
    std::size_t end = path.size();
    while (end > 0 && !IsPathSeparator(path[end - 1]))
        --end;
    return std::wstring(path.substr(0, end));
}

}  // namespace platform
