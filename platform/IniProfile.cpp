#include "platform/IniProfile.h"

#include <windows.h>

#include "base/UniqueHandle.h"
#include "platform/Paths.h"

namespace platform {
namespace {

// The profile functions create a file in the system's code page, which
// loses every character outside it; a file that starts as UTF-16LE with
// its byte-order mark stays Unicode. An existing file is left as it is.
void CreateUnicodeFile(const std::wstring& path)
{
    fw::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return;
    static constexpr unsigned char kByteOrderMark[] = {0xFF, 0xFE};
    DWORD written = 0;
    WriteFile(file.get(), kByteOrderMark, sizeof kByteOrderMark, &written, nullptr);
}

}  // namespace

std::wstring IniProfile::Read(const std::wstring& section, const std::wstring& key)
{
    std::wstring value(256, L'\0');
    for (;;) {
        const DWORD length = GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", value.data(),
                                                      static_cast<DWORD>(value.size()), path_.c_str());
        if (length + 1 < value.size()) {
            value.resize(length);
            return value;
        }
        value.resize(value.size() * 2);  // cut short: read again with more room
    }
}

void IniProfile::Write(const std::wstring& section, const std::wstring& key, const std::wstring& value)
{
    CreateDirectoryW(StripTrailingSeparators(GetFolderOfPath(path_)).c_str(), nullptr);
    CreateUnicodeFile(path_);
    WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path_.c_str());
}

void IniProfile::Delete(const std::wstring& section, const std::wstring& key)
{
    WritePrivateProfileStringW(section.c_str(), key.c_str(), nullptr, path_.c_str());
}

}  // namespace platform
