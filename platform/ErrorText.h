#pragma once
// Chinese reasons for the failures a user meets with mod files. Each
// platform maps its own error codes onto these.

namespace platform::error_text {

inline constexpr const wchar_t* kNotFound = L"找不到该文件";
inline constexpr const wchar_t* kPathNotFound = L"找不到该路径";
inline constexpr const wchar_t* kAlreadyExists = L"已存在同名文件";
inline constexpr const wchar_t* kAccessDenied = L"拒绝访问";
inline constexpr const wchar_t* kInUse = L"文件正被另一个程序使用";
inline constexpr const wchar_t* kDiskFull = L"磁盘空间不足";
inline constexpr const wchar_t* kWriteProtected = L"磁盘被写保护";
inline constexpr const wchar_t* kNameInvalid = L"文件名无效";
inline constexpr const wchar_t* kOtherFormat = L"系统错误 %lu";

}  // namespace platform::error_text
