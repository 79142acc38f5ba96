#include "mods/SettingsPlace.h"

#include "platform/Paths.h"

namespace mods {

SettingsPlace SettingsPlaceOf(std::wstring_view appData, std::wstring_view programBaseName)
{
    if (appData.empty())
        return {};
    const std::wstring folder = platform::JoinPath(appData, kWindowName);
    SettingsPlace place;
    place.settingsFile = platform::JoinPath(folder, std::wstring(programBaseName) + L".INI");
    place.recordsFolder = RecordsBeside(place.settingsFile);
    return place;
}

std::wstring RecordsBeside(std::wstring_view settingsFile)
{
    return platform::JoinPath(platform::GetFolderOfPath(settingsFile), L"History");
}

std::wstring ProgramBaseName(std::wstring_view programPath)
{
    std::wstring name = platform::FileNameOf(programPath);
    const std::size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.erase(dot);
    return name;
}

}  // namespace mods
