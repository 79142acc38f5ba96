#include "app/ManagedFolder.h"

#include <shellapi.h>

#include "app/InstalledGames.h"
#include "mods/GameDiscovery.h"
#include "mods/GameFolder.h"
#include "mods/SettingsPlace.h"
#include "platform/Paths.h"
#include "platform/ReusedListing.h"

namespace {

constexpr const wchar_t* kPickerStartFolder = L"D:\\";

// The shell's old result codes are the system's error codes, but for these.
DWORD ShellResultAsError(INT_PTR result)
{
    switch (result) {
    case 0: return ERROR_NOT_ENOUGH_MEMORY;
    case SE_ERR_SHARE: return ERROR_SHARING_VIOLATION;
    case SE_ERR_ASSOCINCOMPLETE:
    case SE_ERR_NOASSOC: return ERROR_NO_ASSOCIATION;
    case SE_ERR_DDETIMEOUT:
    case SE_ERR_DDEFAIL:
    case SE_ERR_DDEBUSY: return ERROR_DDE_FAIL;
    case SE_ERR_DLLNOTFOUND: return ERROR_DLL_NOT_FOUND;
    default: return static_cast<DWORD>(result);
    }
}

}  // namespace

ManagedFolder::ManagedFolder(platform::FileSystem& files, std::wstring settingsFile)
    : files_(files),
      settingsFile_(std::move(settingsFile)),
      writer_(std::make_unique<mods::FolderWriter>(files_, nullptr))
{
}

bool ManagedFolder::FindAtStartUp(ReusedListing& files, const std::wstring& programPath, const AskForFolder& ask)
{
    const std::wstring programFolder = platform::GetFolderOfPath(programPath);
    gameProgram_ = programFolder + std::wstring(mods::kGameProgram);
    bool discovered = false;
    const mods::PaksFolderChoice choice =
        mods::FindPaksFolder(files, programFolder, [this, &files, &discovered, &ask] {
            files.Forget();  // the player may change the folders while picking
            // Not beside the game: where Windows says it is installed.
            const mods::DiscoveredGames found = mods::DiscoverGames(files_, InstalledGameFolders(files_));
            if (found.paksFolders.size() == 1) {
                discovered = true;
                return found.paksFolders.front();
            }
            if (!found.paksFolders.empty())
                return ask(found.paksFolders.front(), found.paksFolders);
            return ask(found.gameFolder.value_or(kPickerStartFolder), {});
        });
    if (discovered && choice.qualifies) {
        // As if the program stood in the game's folder: the game is beside PAKS.
        const std::wstring game = platform::GetFolderOfPath(platform::StripTrailingSeparators(choice.folder));
        gameProgram_ = platform::JoinPath(game, std::wstring(mods::kGameProgram));
    }
    // A folder the player did not choose is never managed: nothing is
    // listed, renamed or copied until a PAKS folder is dropped.
    if (!choice.qualifies)
        files.Forget();
    Manage(choice.qualifies ? choice.folder : std::wstring());
    return choice.qualifies;
}

void ManagedFolder::Manage(const std::wstring& paksFolder)
{
    paks_ = paksFolder;
    writer_.reset();
    history_.reset();
    if (!paks_.empty() && !settingsFile_.empty())
        history_ = std::make_unique<mods::ChangeHistory>(files_, mods::RecordsBeside(settingsFile_), paks_);
    writer_ = std::make_unique<mods::FolderWriter>(files_, history_.get());
    watch_.reset();
    if (!paks_.empty())
        watch_.reset(FindFirstChangeNotificationW(paks_.c_str(), FALSE,
                                                  FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE));
}

std::wstring ManagedFolder::PathOf(const std::wstring& modName) const { return platform::JoinPath(paks_, modName); }

platform::FsStatus ManagedFolder::LaunchGame() const
{
    const std::wstring gameFolder = platform::GetFolderOfPath(gameProgram_);
    SetLastError(0);  // an error an earlier call left is not the shell's
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", gameProgram_.c_str(), nullptr, gameFolder.c_str(), SW_SHOWNORMAL));
    if (result > 32)
        return {};
    const DWORD error = GetLastError();
    return platform::FsStatus{error != 0 ? error : ShellResultAsError(result)};
}

std::vector<mods::ModEntry> ManagedFolder::ReadCatalogue(platform::FileSystem& files)
{
    lastListing_.clear();
    return paks_.empty() ? std::vector<mods::ModEntry>{} : mods::ReadModCatalogue(files, paks_, &lastListing_);
}

bool ManagedFolder::MayHaveChanged()
{
    // A listing is one pass over the folder; the catalogue opens every mod.
    return paks_.empty() || mods::ListMods(files_, paks_) != lastListing_;
}

bool ManagedFolder::TakeChange()
{
    if (!watch_ || WaitForSingleObject(watch_.get(), 0) != WAIT_OBJECT_0)
        return false;
    FindNextChangeNotification(watch_.get());
    return true;
}

void ManagedFolder::ForgetChanges()
{
    // Were they not let go, our own writes would make the timer list the
    // folder again for nothing.
    for (int pending = 0; pending < 64 && TakeChange(); ++pending) {
    }
}
