#include "platform/Registry.h"

#include <windows.h>

#include <cwchar>

namespace platform {
namespace {

HKEY Handle(RegistryRoot root) { return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

class Win32Registry final : public Registry {
public:
    std::wstring Text(RegistryRoot root, const std::wstring& key, const std::wstring& name) override
    {
        DWORD bytes = 0;
        if (RegGetValueW(Handle(root), key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS ||
            bytes == 0)
            return {};
        std::wstring text(bytes / sizeof(wchar_t), L'\0');
        if (RegGetValueW(Handle(root), key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, text.data(), &bytes) != ERROR_SUCCESS)
            return {};
        text.resize(wcsnlen(text.c_str(), text.size()));
        return text;
    }

    std::vector<std::wstring> Subkeys(RegistryRoot root, const std::wstring& key) override
    {
        std::vector<std::wstring> names;
        HKEY opened = nullptr;
        if (RegOpenKeyExW(Handle(root), key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
            return names;
        wchar_t name[256];  // the longest key name the registry allows, and its end
        for (DWORD i = 0;; ++i) {
            DWORD length = 256;
            if (RegEnumKeyExW(opened, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            names.emplace_back(name, length);
        }
        RegCloseKey(opened);
        return names;
    }
};

}  // namespace

Registry& SystemRegistry()
{
    static Win32Registry registry;
    return registry;
}

}  // namespace platform
