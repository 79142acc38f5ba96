#pragma once
// pakorder run in the test's process on real files in a temporary folder,
// with its environment, current folder and clock chosen by the test.

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "cli/Session.h"
#include "cli/System.h"
#include "unit/FaultyFileSystem.h"
#include "unit/TestFiles.h"

namespace cli_testing {

class TestSystem final : public cli::System {
public:
    std::map<std::wstring, std::wstring> variables;
    std::wstring current, program;
    std::string input;
    bool terminal = false;  // stdin and stderr
    // Whether Ctrl+C has been pressed, asked while it is caught.
    std::function<bool()> ctrlC;
    bool catching = false;


    std::optional<std::wstring> Variable(const std::wstring& name) override;
    std::wstring CurrentFolder() override { return current; }
    std::wstring ProgramFolder() override { return program; }
    // Absolute from the current folder; links are left as they are.
    std::wstring FullPath(const std::wstring& path) override;
    platform::FsStatus ReadInput(std::size_t maxBytes, std::vector<unsigned char>& bytes) override;
    bool IsTerminal(cli::StandardStream) override { return terminal; }
    // The next line of `input`, taken from it.
    std::optional<std::wstring> ReadLine() override;
    void CatchInterrupts(bool on) override { catching = on; }
    bool Interrupted() override { return catching && ctrlC && ctrlC(); }
};

struct Result {
    int status = -1;
    std::string out, err;
};

std::ostream& operator<<(std::ostream& stream, const Result& result);

// A game folder (PAKS holds the game's DATA.PAK), a place for the records,
// and pakorder run from the game's folder.
struct Cli {
    testing_files::TempFolder root;
    std::wstring game = root / L"game";
    std::wstring paks = platform::JoinPath(game, L"PAKS");
    TestSystem system;
    testing_files::FaultyFileSystem files{platform::SystemFileSystem()};

    Cli();
    std::wstring Pak(const std::wstring& name) const { return platform::JoinPath(paks, name); }
    // Mods loaded in the order given, two days apart from 2021-01-02 on.
    void AddMods(std::initializer_list<std::wstring> names, bool withManifests = false);
    Result Run(const std::vector<std::wstring>& arguments);
    // The mods as pakorder list shows them: "a.pak b.G1O".
    std::wstring Order();
    mods::FileTime DiskTime(const std::wstring& name) const;
};

}  // namespace cli_testing
