#pragma once
// The PAKS folder the main window manages: its path, the game that loads
// it, the records of its writes with the writer that keeps them, and the
// watch that tells of changes other programs make to it.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/UniqueHandle.h"
#include "mods/ChangeHistory.h"
#include "mods/FolderWriter.h"
#include "mods/ModCatalogue.h"
#include "platform/FileSystem.h"

class ReusedListing;

class ManagedFolder {
public:
    // The player's pick of a folder: the picker opened at `start`, the
    // installations found on top of its history; empty when cancelled.
    using AskForFolder =
        std::function<std::wstring(const std::wstring& start, const std::vector<std::wstring>& suggestions)>;

    // `settingsFile`: the window's INI; the records live beside it, and
    // without it there are none (every write is refused).
    ManagedFolder(platform::FileSystem& files, std::wstring settingsFile);

    // The folder at start-up: the program's own or its PAKS, else the one
    // installation Windows knows of, else the one the player picks; the game
    // beside the program, or beside an installation found. `files` keeps the
    // listing of the folder chosen for the first read. False when no folder
    // qualifies: none is managed until one is dropped.
    bool FindAtStartUp(ReusedListing& files, const std::wstring& programPath, const AskForFolder& ask);
    // Manages `paksFolder` from now on (empty: none), with its records and its watch.
    void Manage(const std::wstring& paksFolder);

    bool IsManaged() const { return !paks_.empty(); }
    // Ends with exactly one separator after start-up; empty when none is managed.
    const std::wstring& Paks() const { return paks_; }
    std::wstring PathOf(const std::wstring& modName) const;
    const std::wstring& GameProgram() const { return gameProgram_; }
    bool GameFound() const { return files_.FileExists(gameProgram_); }
    // Starts the game in its own folder, as Explorer does: the system's error, or ok.
    platform::FsStatus LaunchGame() const;

    // The mods in load order; none when no folder is managed.
    std::vector<mods::ModEntry> ReadCatalogue(platform::FileSystem& files);
    // False when the folder's listing is the one of the last read: nothing
    // came, went or was re-timed, and the folder need not be read again.
    bool MayHaveChanged();

    // The records of the folder's writes: null when there is no place for them.
    mods::ChangeHistory* History() const { return history_.get(); }
    // The one way to write to the folder; over no records it refuses every write.
    mods::FolderWriter& Writer() const { return *writer_; }

    // True when the watch has seen a change since it was last asked; it
    // watches on for the next one.
    bool TakeChange();
    // Lets the changes seen so far go, before the folder is read: the read
    // sees them (our own writes above all), a later change is seen anew.
    void ForgetChanges();

private:
    platform::FileSystem& files_;
    std::wstring settingsFile_;
    std::wstring paks_;
    std::wstring gameProgram_;
    std::vector<mods::ScannedFile> lastListing_;  // of the last ReadCatalogue
    std::unique_ptr<mods::ChangeHistory> history_;
    std::unique_ptr<mods::FolderWriter> writer_;  // over history_: made and dropped with it
    fw::UniqueChangeNotification watch_;
};
