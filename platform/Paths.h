#pragma once
// Path text helpers. Windows paths use '\' (and accept '/'); POSIX paths '/'.

#include <string>
#include <string_view>

namespace platform {

#ifdef _WIN32
inline constexpr wchar_t kPathSeparator = L'\\';
#else
inline constexpr wchar_t kPathSeparator = L'/';
#endif

bool IsPathSeparator(wchar_t c);

// Removes trailing separators, but never the one of a root ("C:\", "/").
std::wstring StripTrailingSeparators(std::wstring_view path);

// The path with exactly one trailing separator.
std::wstring WithTrailingSeparator(std::wstring_view path);

// folder + one separator + name, whatever separators the folder ends with.
std::wstring JoinPath(std::wstring_view folder, std::wstring_view name);

// The last component of a path: C:\Mods\a.PAK -> a.PAK.
std::wstring FileNameOf(std::wstring_view path);

// The folder part of a file's path, ending with a separator:
// C:\Games\Game\tool.exe -> C:\Games\Game\ .
std::wstring GetFolderOfPath(std::wstring_view path);

}  // namespace platform
