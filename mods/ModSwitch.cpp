#include "mods/ModSwitch.h"

#include "mods/ModFile.h"
#include "platform/Paths.h"

namespace mods {
namespace {

constexpr std::size_t kExtensionLength = 4;  // ".PAK", ".pak", ".G1O"

std::wstring Stem(std::wstring_view name)
{
    return std::wstring(name.substr(0, name.size() > kExtensionLength ? name.size() - kExtensionLength : 0));
}

}  // namespace

std::wstring EnabledModName(std::wstring_view name) { return Stem(name) + L".PAK"; }

std::wstring DisabledModName(std::wstring_view name) { return Stem(name) + L".G1O"; }

SwitchResult SwitchMod(platform::FileSystem& fileSystem, const std::wstring& folder, const std::wstring& name,
                       bool enable)
{
    const std::wstring newName = enable ? EnabledModName(name) : DisabledModName(name);
    if (newName == name)
        return SwitchResult{name, std::nullopt};

    const platform::FsStatus pak =
        fileSystem.RenameNoReplace(platform::JoinPath(folder, name), platform::JoinPath(folder, newName));
    if (!pak.ok())
        return SwitchResult{name, FileFailure{name, pak}};

    const std::wstring companion = CompanionName(name);
    const platform::FsStatus man = fileSystem.RenameNoReplace(platform::JoinPath(folder, companion),
                                                              platform::JoinPath(folder, CompanionName(newName)));
    if (!man.ok() && !platform::IsNotFound(man))
        return SwitchResult{newName, FileFailure{companion, man}};
    return SwitchResult{newName, std::nullopt};
}

std::optional<FileFailure> DeleteMod(platform::FileSystem& fileSystem, const std::wstring& folder,
                                     const std::wstring& name)
{
    const platform::FsStatus pak = fileSystem.RemoveFile(platform::JoinPath(folder, name));
    if (!pak.ok() && !platform::IsNotFound(pak))
        return FileFailure{name, pak};

    const std::wstring companion = CompanionName(name);
    const platform::FsStatus man = fileSystem.RemoveFile(platform::JoinPath(folder, companion));
    if (!man.ok() && !platform::IsNotFound(man))
        return FileFailure{companion, man};
    return std::nullopt;
}

}  // namespace mods
