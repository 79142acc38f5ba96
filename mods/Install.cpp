#include "mods/Install.h"

#include "mods/GameFolder.h"
#include "mods/ModFile.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace mods {

DropPlan PlanDrop(platform::FileSystem& fileSystem, const std::vector<std::wstring>& paths)
{
    DropPlan plan;
    for (const std::wstring& path : paths) {
        if (fileSystem.FolderExists(path)) {
            if (FolderHoldsPaks(fileSystem, path)) {
                plan.paksFolder = platform::WithTrailingSeparator(path);
                break;
            }
            continue;
        }
        if (IsModFileName(platform::FileNameOf(path)))
            plan.files.push_back(path);
    }
    return plan;
}

namespace {

// Why the mod cannot go into the folder as it stands, if it cannot.
std::optional<NotInstalledReason> Obstacle(platform::FileSystem& fileSystem, const std::wstring& folder,
                                           const std::wstring& name)
{
    if (platform::NameTaken(fileSystem, platform::JoinPath(folder, name)))
        return NotInstalledReason::AlreadyThere;
    // The same mod under its other names: one folder must not hold it twice.
    const std::wstring stem = name.substr(0, name.size() - FileExtension(name).size());
    for (const std::wstring_view extension : {L"PAK", L"pak", L"G1O"}) {
        const std::wstring sibling = stem + std::wstring(extension);
        if (sibling == name || !platform::NameTaken(fileSystem, platform::JoinPath(folder, sibling)))
            continue;
        if (IsDisabledModName(sibling) == IsDisabledModName(name))
            return NotInstalledReason::AlreadyThere;
        return IsDisabledModName(sibling) ? NotInstalledReason::AlreadyThereDisabled
                                          : NotInstalledReason::AlreadyThereEnabled;
    }
    if (platform::NameTaken(fileSystem, platform::JoinPath(folder, CompanionName(name))))
        return NotInstalledReason::ManifestTaken;
    return std::nullopt;
}

}  // namespace

InstallResult InstallMods(platform::FileSystem& fileSystem, const std::wstring& folder,
                          const std::vector<std::wstring>& files, InstallProgress* progress)
{
    InstallResult result;
    bool stopped = false;
    const platform::CopyProgress copied = [&](std::uint64_t bytes, std::uint64_t total) {
        return !(stopped = stopped || !progress->Copied(bytes, total));
    };
    const auto copy = [&](const std::wstring& from, const std::wstring& to) {
        return progress ? fileSystem.CopyWithProgress(from, to, copied) : fileSystem.CopyNoReplace(from, to);
    };
    for (std::size_t index = 0; index < files.size(); ++index) {
        const std::wstring& path = files[index];
        const std::wstring name = platform::FileNameOf(path);
        if (stopped) {
            result.notCopied.push_back(NotInstalled{name, NotInstalledReason::Cancelled, {}, {}});
            continue;
        }
        if (progress)
            progress->CopyingMod(name, index, files.size());
        if (const auto obstacle = Obstacle(fileSystem, folder, name)) {
            result.notCopied.push_back(NotInstalled{name, *obstacle, platform::AlreadyExistsStatus(), {}});
            continue;
        }
        const std::wstring target = platform::JoinPath(folder, name);
        const platform::FsStatus pak = copy(path, target);
        if (!pak.ok()) {
            const auto reason = platform::IsAlreadyExists(pak) ? NotInstalledReason::AlreadyThere
                                : platform::IsCancelled(pak)   ? NotInstalledReason::Cancelled
                                                               : NotInstalledReason::CopyFailed;
            result.notCopied.push_back(NotInstalled{name, reason, pak, {}});
            continue;
        }
        platform::FsStatus man;
        std::wstring companion;
        try {
            companion = CompanionName(name);
            man = copy(CompanionName(path), platform::JoinPath(folder, companion));
        } catch (...) {  // memory ran out: no half mod stays behind
            fileSystem.RemoveFile(target);
            throw;
        }
        if (man.ok() || platform::IsNotFound(man)) {
            result.copied.push_back(name);
            continue;
        }
        // Half a mod is worse than none: the pak goes again, and if it cannot,
        // the report says it is there.
        const platform::FsStatus removed = fileSystem.RemoveFile(target);
        if (removed.ok() && platform::IsCancelled(man))
            result.notCopied.push_back(NotInstalled{name, NotInstalledReason::Cancelled, man, {}});
        else if (removed.ok())
            result.notCopied.push_back(NotInstalled{companion, NotInstalledReason::CopyFailed, man, {}});
        else
            result.notCopied.push_back(NotInstalled{name, NotInstalledReason::PakLeftBehind, man, removed});
    }
    return result;
}

}  // namespace mods
