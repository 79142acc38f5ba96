#pragma once
// What the command line needs from the system besides the file system:
// its environment, its folders, standard input and output. One
// implementation per system; the tests have theirs.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace cli {

class Output;

class System {
public:
    virtual ~System() = default;
    virtual std::optional<std::wstring> Variable(const std::wstring& name) = 0;
    virtual std::wstring CurrentFolder() = 0;
    // The folder of the running program.
    virtual std::wstring ProgramFolder() = 0;
    // The path made absolute from the current folder, with links resolved
    // where the system has them and the path is there.
    virtual std::wstring FullPath(const std::wstring& path) = 0;
    // Standard input to its end; fails when it holds more than maxBytes.
    virtual platform::FsStatus ReadInput(std::size_t maxBytes, std::vector<unsigned char>& bytes) = 0;
};

// The running program's, for the system it was built for.
System& RealSystem();
Output& StandardOutput();
Output& StandardError();

// The words for a failure: ours for what only this program means (a time
// not kept, not a regular file), the system's otherwise (cli/SystemReason.cpp).
std::wstring SystemReason(platform::FsStatus status);

// Where the records of every write live: beside the window's on Windows
// (%APPDATA%\PakOrder\History), under $XDG_STATE_HOME/pakorder elsewhere.
// Empty when there is no such place.
std::wstring RecordsRoot(System& system);

// The PAKS folder of the game installed where this system keeps it, when
// one qualifies: on Windows, the program's folder or its PAKS subfolder,
// then the folder last chosen in the window's folder picker; elsewhere,
// Steam's libraries.
std::optional<std::wstring> FindInstalledGame(System& system, platform::FileSystem& fileSystem);

}  // namespace cli
