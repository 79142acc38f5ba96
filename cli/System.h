#pragma once
// What the command line needs from the system besides the file system:
// its environment, its folders, standard input and output. One
// implementation per system; the tests have theirs.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "mods/GameDiscovery.h"
#include "platform/FileSystem.h"

namespace cli {

class Output;

enum class StandardStream { Input, Error };

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
    // Whether the stream is a terminal, where a person reads and types.
    virtual bool IsTerminal(StandardStream stream) = 0;
    // One line typed on standard input, without its line break; empty at
    // the end of the input.
    virtual std::optional<std::wstring> ReadLine() = 0;
    // While catching, Ctrl+C does not end the program: it is only noted,
    // for long work to stop where it can stop whole.
    virtual void CatchInterrupts(bool catching) = 0;
    virtual bool Interrupted() = 0;
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

// Where this system has the game, for the search after the current folder:
// on Windows, the program's folder, the installations Steam's and GOG's
// registry entries name, then the folder last chosen in the window's folder
// picker; elsewhere, Steam's libraries.
mods::GamePlaces SystemGamePlaces(System& system, platform::FileSystem& fileSystem);

}  // namespace cli
