#include "mods/ModFile.h"

namespace mods {
namespace {

bool ListContains(std::wstring_view list, wchar_t separator, std::wstring_view item)
{
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(separator, start);
        if (end == std::wstring_view::npos)
            end = list.size();
        if (list.substr(start, end - start) == item)
            return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

std::wstring_view FileExtension(std::wstring_view name)
{
    const std::size_t dot = name.rfind(L'.');
    if (dot == std::wstring_view::npos || dot == 0)
        return {};
    return name.substr(dot + 1);
}

bool HasExtensionIn(std::wstring_view name, std::wstring_view extensionList)
{
    const std::wstring_view extension = FileExtension(name);
    return !extension.empty() && ListContains(extensionList, L',', extension);
}

bool IsOneOfNames(std::wstring_view name, std::wstring_view nameList)
{
    return !name.empty() && ListContains(nameList, L'|', name);
}

bool IsModFileName(std::wstring_view name)
{
    return HasExtensionIn(name, kModExtensions) && !IsOneOfNames(name, kGameDataNames);
}

bool IsDisabledModName(std::wstring_view name)
{
    return name.size() >= kDisabledSuffix.size() &&
           name.substr(name.size() - kDisabledSuffix.size()) == kDisabledSuffix;
}

std::wstring CompanionName(std::wstring_view modName)
{
    std::wstring companion(modName);
    companion += kCompanionSuffix;
    return companion;
}

}  // namespace mods
