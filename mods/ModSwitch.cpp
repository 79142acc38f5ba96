#include "mods/ModSwitch.h"

#include "mods/ModFile.h"
#include "platform/LetterCase.h"
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
    return RenameMod(fileSystem, folder, name, enable ? EnabledModName(name) : DisabledModName(name));
}

SwitchResult RenameMod(platform::FileSystem& fileSystem, const std::wstring& folder, const std::wstring& name,
                       const std::wstring& newName)
{
    if (newName == name)
        return SwitchResult{name, std::nullopt};
    const std::wstring companion = CompanionName(name);
    const std::wstring pakPath = platform::JoinPath(folder, name), newPakPath = platform::JoinPath(folder, newName);
    const std::wstring manPath = platform::JoinPath(folder, companion);
    const std::wstring newManPath = platform::JoinPath(folder, CompanionName(newName));

    // A manifest already under the new name would pair with the renamed pak:
    // refuse before anything moves. Where names ignore case, a change of
    // case only finds the mod's own manifest there.
#ifdef _WIN32
    const bool sameManifest = platform::FoldedCase(newManPath) == platform::FoldedCase(manPath);
#else
    const bool sameManifest = false;
#endif
    if (!sameManifest && platform::NameTaken(fileSystem, newManPath)) {
        const bool hasCompanion = platform::NameTaken(fileSystem, manPath);
        return SwitchResult{name, FileFailure{hasCompanion ? companion : name, platform::AlreadyExistsStatus()}};
    }

    const platform::FsStatus pak = fileSystem.RenameNoReplace(pakPath, newPakPath);
    if (!pak.ok())
        return SwitchResult{name, FileFailure{name, pak}};

    platform::FsStatus man;
    try {
        man = fileSystem.RenameNoReplace(manPath, newManPath);
    } catch (...) {  // memory ran out: the pak goes back all the same
        fileSystem.RenameNoReplace(newPakPath, pakPath);
        throw;
    }
    if (man.ok() || platform::IsNotFound(man))
        return SwitchResult{newName, std::nullopt};
    // The companion could not follow: the pak goes back beside it.
    const bool undone = fileSystem.RenameNoReplace(newPakPath, pakPath).ok();
    return SwitchResult{undone ? name : newName, FileFailure{companion, man}};
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
