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

InstallResult InstallMods(platform::FileSystem& fileSystem, const std::wstring& folder,
                          const std::vector<std::wstring>& files)
{
    InstallResult result;
    for (const std::wstring& path : files) {
        const std::wstring name = platform::FileNameOf(path);
        const platform::FsStatus pak = fileSystem.CopyNoReplace(path, platform::JoinPath(folder, name));
        if (!pak.ok()) {
            result.notCopied.push_back(FileFailure{name, pak});
            continue;
        }
        result.copied.push_back(name);
        const std::wstring companion = CompanionName(name);
        const platform::FsStatus man = fileSystem.CopyNoReplace(CompanionName(path), platform::JoinPath(folder, companion));
        if (!man.ok() && !platform::IsNotFound(man))
            result.notCopied.push_back(FileFailure{companion, man});
    }
    return result;
}

}  // namespace mods
