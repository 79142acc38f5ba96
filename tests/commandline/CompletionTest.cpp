// What pakorder offers the shells' completion scripts for the words typed
// so far, and the scripts it prints (run in their shells by
// tests/scripts/completion_test.py).
#include <gtest/gtest.h>

#include "cli/Arguments.h"
#include "commandline/CliHarness.h"
#include "platform/Utf8.h"

using namespace cli_testing;
using namespace testing_files;

namespace {

// The answer to the words, the last one being typed: its kind, then the candidates.
std::string Offered(Cli& cli, std::vector<std::wstring> words)
{
    words.insert(words.begin(), L"__complete");
    const Result result = cli.Run(words);
    EXPECT_EQ(result.status, 0) << result;
    EXPECT_EQ(result.err, "");
    std::string offered = result.out;
    for (char& c : offered)
        if (c == '\n')
            c = ' ';
    return offered;
}

TEST(Completion, CommandsOptionsAndTheFoldersMods)
{
    Cli cli;
    cli.AddMods({L"Better Loot.pak", L"it's.G1O", L"模组.G1O", L"Zed.PAK"});
    const struct {
        int line;
        std::vector<std::wstring> words;
        std::string offered;
    } cases[] = {
        {__LINE__, {L"en"}, "words enable "},
        {__LINE__, {L""}, "words list enable disable move set-time delete install conflicts intend export import undo redo history "
                          "recover restore completion version help "},
        {__LINE__, {L"help", L"re"}, "words redo recover restore "},
        {__LINE__, {L"--"}, "words --folder --help --version "},
        {__LINE__, {L"delete", L"--"}, "words --folder --help --version --yes "},
        {__LINE__, {L"move", L"a", L"--b"}, "words --bottom --before "},
        // enable offers the disabled mods, disable the enabled ones; names in any letter case.
        {__LINE__, {L"enable", L""}, "words it's.G1O 模组.G1O "},
        {__LINE__, {L"disable", L"b"}, "words Better Loot.pak "},
        {__LINE__, {L"disable", L"Zed", L""}, "words Better Loot.pak Zed.PAK "},  // the game's DATA.PAK is no mod
        {__LINE__, {L"move", L"Zed", L"--after", L"模"}, "words 模组.G1O "},
        {__LINE__, {L"set-time", L"z"}, "words Zed.PAK "},
        {__LINE__, {L"set-time", L"Zed", L"2"}, "words "},
        {__LINE__, {L"install", L"x"}, "files "},
        {__LINE__, {L"export", L""}, "files "},
        {__LINE__, {L"export", L"list.txt", L""}, "words "},
        {__LINE__, {L"--folder", L""}, "folders "},
        {__LINE__, {L"completion", L""}, "words bash zsh fish "},
        {__LINE__, {L"list", L""}, "words "},
        {__LINE__, {L"conflicts", L"--a"}, "words --all "},
        {__LINE__, {L"intend", L"--r"}, "words --remove "},
        {__LINE__, {L"intend", L"--remove", L"Zed", L"b"}, "words Better Loot.pak "},
        {__LINE__, {L"intend", L"Zed", L"Better Loot", L""}, "words "},  // a pair is two mods
        // After "--" a word that starts with a dash is a name.
        {__LINE__, {L"enable", L"--", L"-"}, "words "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Offered(cli, c.words), c.offered) << "line " << c.line;

    // The folder named on the line, not the current one; no folder, no names.
    TempFolder other;
    for (const wchar_t* name : {L"DATA.PAK", L"x.pak", L"other.G1O"})
        WriteFile(other / name);
    EXPECT_EQ(Offered(cli, {L"--folder", other.path(), L"enable", L""}), "words other.G1O ");
    EXPECT_EQ(Offered(cli, {L"--folder=" + other.path(), L"enable", L""}), "words other.G1O ");
    cli.system.current = other / L"nowhere";
    EXPECT_EQ(Offered(cli, {L"enable", L""}), "words ");
}

TEST(Completion, EveryOptionNamedIsOneTheCommandLineTakes)
{
    for (const cli::OptionName& option : cli::OptionNames()) {
        std::vector<std::wstring> arguments{L"list", option.name};
        if (option.takesValue)
            arguments.push_back(L"value");
        std::wstring problem;
        EXPECT_TRUE(cli::ParseArguments(arguments, problem)) << platform::ToUtf8(option.name) << ": " << platform::ToUtf8(problem);
    }
    Cli cli;
    for (const wchar_t* shell : {L"bash", L"zsh", L"fish"})
        EXPECT_NE(cli.Run({L"completion", shell}).out.find("__complete"), std::string::npos);
    const Result unknown = cli.Run({L"completion", L"tcsh"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err, "pakorder: no completion script for 'tcsh': there are scripts for bash, zsh and fish\n");
}

}  // namespace
