#include "platform/IniProfile.h"

#include <windows.h>

#include "platform/Paths.h"

namespace platform {

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
    WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path_.c_str());
}

void IniProfile::Delete(const std::wstring& section, const std::wstring& key)
{
    WritePrivateProfileStringW(section.c_str(), key.c_str(), nullptr, path_.c_str());
}

}  // namespace platform
