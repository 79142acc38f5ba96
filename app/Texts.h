#pragma once
// Every text the program shows, in one place.

namespace texts {

inline constexpr const wchar_t* kProgramName = L"PakOrder";

// Main window
inline constexpr const wchar_t* kColumnEnabled = L"启用";
inline constexpr const wchar_t* kColumnName = L"                     MOD 名称";
inline constexpr const wchar_t* kColumnDate = L"修改时间";
inline constexpr const wchar_t* kColumnOrderChanged = L"OrderChanged";
inline constexpr const wchar_t* kModCount = L"总共 %d 个MOD";

// Start-up
inline constexpr const wchar_t* kNoGameFolder =
    L"把RORud放在 火炬之光2安装目录 或者\r\n\r\n放在PAKS目录里面   或者\r\n\r\n 拽PAKS目录到助手窗口";

}  // namespace texts
