// Each command of pakorder on real files: its effect on disk, what it says
// on stdout and stderr, and its exit status; --json against the schema the
// README documents.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <tuple>

#include "base/Version.h"
#include "cli/System.h"
#include "commandline/CliHarness.h"
#include "commandline/JsonSchema.h"
#include "mods/Arrangement.h"
#include "mods/ChangeHistory.h"
#include "mods/IntendedOverlaps.h"
#include "mods/ModTime.h"
#include "platform/Utf8.h"
#include "unit/ManifestBytes.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace cli_testing;
using namespace testing_files;

namespace {

// The document, after checking it against its part of the schema.
Json Document(const Result& result)
{
    std::optional<Json> document = ParseJson(result.out);
    EXPECT_TRUE(document) << result;
    if (!document)
        return {};
    const Json& schema = PakorderSchema();
    const Json* part = schema["$defs"].Member((*document)["format"].text);
    EXPECT_NE(part, nullptr) << result;
    if (part)
        for (const std::string& violation : SchemaViolations(*document, *part, schema))
            ADD_FAILURE() << violation << "\n" << result;
    return *document;
}

std::string Utf8(const std::wstring& text) { return platform::ToUtf8(text); }

TEST(Commands, ListShowsTheLoadOrderAsTheWindowDoes)
{
    Cli cli;
    cli.AddMods({L"b.pak", L"火炬.G1O", L"a.PAK"});
    const Result text = cli.Run({L"list"});
    EXPECT_EQ(text.status, 0) << text;
    EXPECT_EQ(text.out, "   1  [x]  ?   2021-1-2    b.pak\n"  // no manifest: not checked
                        "   2  [ ]      2021-1-4    火炬.G1O\n"
                        "   3  [x]  ?   2021-1-6    a.PAK\n"
                        "3 mods, 2 enabled\n");
    EXPECT_EQ(text.err, "");

    const Result json = cli.Run({L"list", L"--json"});
    EXPECT_EQ(json.status, 0) << json;
    const Json document = Document(json);
    EXPECT_EQ(document["folder"].text, Utf8(platform::WithTrailingSeparator(cli.paks)));
    ASSERT_EQ(document["mods"].items.size(), 3u);
    const Json& second = document["mods"][1];
    EXPECT_EQ(second["position"].number, 2);
    EXPECT_EQ(second["file"].text, "火炬.G1O");
    EXPECT_EQ(second["name"].text, "火炬");
    EXPECT_FALSE(second["enabled"].boolean);
    EXPECT_EQ(second["date"].text, "2021-1-4");
    EXPECT_EQ(second["modified"].text, "2021-01-04T00:00:00.0000000Z");
}

TEST(Commands, EnableAndDisableSwitchThePakAndItsManifestTogether)
{
    Cli cli;
    cli.AddMods({L"a.pak", L"b.G1O", L"c.pak", L"d.pak"}, true);
    WriteFile(cli.Pak(L"d.G1O.MAN"), "stray");  // d's manifest cannot take its disabled name

    const Result disabled = cli.Run({L"disable", L"A", L"d", L"nosuch", L"b"});
    EXPECT_EQ(disabled.status, 1) << disabled;
    EXPECT_EQ(disabled.out, "b.G1O is already disabled\ndisabled a.G1O\n");
    EXPECT_NE(disabled.err.find("pakorder: nosuch: no mod of that name\n"), std::string::npos) << disabled;
    EXPECT_NE(disabled.err.find("pakorder: d.pak: cannot rename d.pak.MAN: "), std::string::npos) << disabled;
    EXPECT_TRUE(Exists(cli.Pak(L"a.G1O.MAN")));
    EXPECT_TRUE(Exists(cli.Pak(L"d.pak")) && Exists(cli.Pak(L"d.pak.MAN")));  // neither renamed
    EXPECT_EQ(cli.Order(), L"a.G1O b.G1O c.pak d.pak");

    const Result enabled = cli.Run({L"enable", L"b.g1o", L"c"});
    EXPECT_EQ(enabled.status, 0) << enabled;
    EXPECT_EQ(enabled.out, "c.pak is already enabled\nenabled b.PAK\n");
    EXPECT_TRUE(Exists(cli.Pak(L"b.PAK.MAN")));

    // Each write recorded: undone, the names come back.
    EXPECT_EQ(cli.Run({L"undo"}).out, "undid enable (record 2)\n");
    EXPECT_EQ(cli.Run({L"undo"}).out, "undid disable (record 1)\n");
    EXPECT_EQ(cli.Order(), L"a.pak b.G1O c.pak d.pak");
    EXPECT_TRUE(Exists(cli.Pak(L"a.pak.MAN")));
}

TEST(Commands, MoveWritesWhatTheWindowsSmartSortWrites)
{
    using C = mods::ReorderCommand;
    struct Case {
        int line;
        std::vector<std::wstring> arguments;
        // In the window: the rows selected, and the button pressed so many times.
        std::vector<int> rows;
        mods::ReorderCommand command;
        int presses;
        std::wstring order;
    };
    const Case cases[] = {
        {__LINE__, {L"move", L"e", L"--top"}, {4}, C::Top, 1, L"e.pak a.pak b.pak c.pak d.pak f.pak"},
        {__LINE__, {L"move", L"B.PAK", L"--bottom"}, {1}, C::Bottom, 1, L"a.pak c.pak d.pak e.pak f.pak b.pak"},
        {__LINE__, {L"move", L"c", L"a", L"--before", L"f"}, {0, 2}, C::Down, 2, L"b.pak d.pak e.pak a.pak c.pak f.pak"},
        {__LINE__, {L"move", L"f", L"--after", L"a"}, {5}, C::Up, 4, L"a.pak f.pak b.pak c.pak d.pak e.pak"},
        {__LINE__, {L"move", L"b", L"d", L"--top"}, {1, 3}, C::Top, 1, L"b.pak d.pak a.pak c.pak e.pak f.pak"},
    };
    const mods::FileTime now = Time(2026, 5, 6, 7, 8, 9);
    for (const Case& c : cases) {
        Cli cli, window;
        for (Cli* folder : {&cli, &window})
            folder->AddMods({L"a.pak", L"b.pak", L"c.pak", L"d.pak", L"e.pak", L"f.pak"}, true);
        cli.files.stoppedClock = now;
        const Result moved = cli.Run(c.arguments);
        EXPECT_EQ(moved.status, 0) << "line " << c.line << "\n" << moved;
        EXPECT_EQ(cli.Order(), c.order) << "line " << c.line;

        // The window: the rows read, the buttons pressed, "智能排序".
        mods::Arrangement arrangement;
        arrangement.Reset(mods::ReadModCatalogue(platform::SystemFileSystem(), window.paks));
        std::vector<int> rows = c.rows;
        for (int i = 0; i < c.presses; ++i) {
            const std::optional<int> target = arrangement.Move(rows, c.command);
            ASSERT_TRUE(target) << "line " << c.line;
            for (std::size_t k = 0; k < rows.size(); ++k)
                rows[k] = *target + static_cast<int>(k);
        }
        EXPECT_TRUE(mods::WriteLoadOrder(platform::SystemFileSystem(), window.paks, arrangement.Listed(), now).empty());
        for (const wchar_t* name : {L"a.pak", L"b.pak", L"c.pak", L"d.pak", L"e.pak", L"f.pak"}) {
            EXPECT_EQ(cli.DiskTime(name), window.DiskTime(name)) << "line " << c.line << " " << Utf8(name);
            EXPECT_EQ(cli.DiskTime(std::wstring(name) + L".MAN"), window.DiskTime(name)) << "line " << c.line;
        }
    }

    Cli cli;
    cli.AddMods({L"a.pak", L"b.pak", L"c.pak"});
    const mods::FileTime before = cli.DiskTime(L"a.pak");
    const std::vector<std::pair<std::vector<std::wstring>, std::string>> refused = {
        {{L"move", L"a", L"x", L"--top"}, "pakorder: x: no mod of that name\n"},
        {{L"move", L"a", L"b", L"--after", L"b"}, "pakorder: b: cannot place mods next to one of themselves\n"},
        {{L"move", L"a", L"--before", L"zz"}, "pakorder: zz: no mod of that name\n"},
    };
    for (const auto& [arguments, error] : refused) {
        const Result result = cli.Run(arguments);
        EXPECT_EQ(result.status, 1) << result;
        EXPECT_EQ(result.err, error);
    }
    const Result already = cli.Run({L"move", L"a", L"--top"});
    EXPECT_EQ(already.out, "the mods are already in that order\n");
    EXPECT_EQ(cli.DiskTime(L"a.pak"), before);  // nothing written
    EXPECT_EQ(cli.Run({L"history"}).out, "no recorded actions for this folder\n");
}

TEST(Commands, SetTimeKeepsTheTimeOfDayAndWarnsBefore2020)
{
    Cli cli;
    cli.AddMods({L"a.pak", L"b.pak"}, true);
    WriteFileWithTime(cli.Pak(L"a.pak"), Time(2021, 1, 2, 13, 14, 15) + 1234567);
    const Result later = cli.Run({L"set-time", L"a", L"2030-02-03"});
    EXPECT_EQ(later.status, 0) << later;
    EXPECT_EQ(later.out, "a.pak: 2030-2-3\n");
    EXPECT_EQ(later.err, "");
    // To the millisecond, as the date dialog keeps it.
    EXPECT_EQ(cli.DiskTime(L"a.pak"), Time(2030, 2, 3, 13, 14, 15) + 1230000);
    EXPECT_EQ(cli.DiskTime(L"a.pak.MAN"), cli.DiskTime(L"a.pak"));
    EXPECT_EQ(cli.Order(), L"b.pak a.pak");

    const Result early = cli.Run({L"set-time", L"a", L"2019-1-5"});
    EXPECT_EQ(early.status, 0) << early;
    EXPECT_EQ(early.err, "pakorder: warning: the year is before 2020; it was written all the same\n");
    EXPECT_EQ(cli.Order(), L"a.pak b.pak");

    for (const wchar_t* date : {L"2021-2-30", L"2021/01/02", L"01-02-2021", L"2021-1-2x", L"1600-12-31"}) {
        const Result bad = cli.Run({L"set-time", L"a", date});
        EXPECT_EQ(bad.status, 2) << bad;
        EXPECT_NE(bad.err.find("is not a date"), std::string::npos) << bad;
    }
}

TEST(Commands, DeleteNeedsYesAndInstallFollowsTheDropRules)
{
    Cli cli;
    cli.AddMods({L"a.pak", L"b.pak"}, true);
    TempFolder downloads;
    WriteFile(downloads / L"new.pak");
    WriteFile(downloads / L"new.pak.MAN", "manifest");
    WriteFile(downloads / L"b.G1O");  // b is there, enabled
    WriteFile(downloads / L"notes.txt");

    const Result refused = cli.Run({L"delete", L"a"});
    EXPECT_EQ(refused.status, 2) << refused;
    EXPECT_TRUE(Exists(cli.Pak(L"a.pak")));
    const Result deleted = cli.Run({L"delete", L"a", L"--yes"});
    EXPECT_EQ(deleted.status, 0) << deleted;
    EXPECT_EQ(deleted.out, "deleted a.pak\n");
    EXPECT_FALSE(Exists(cli.Pak(L"a.pak")) || Exists(cli.Pak(L"a.pak.MAN")));

    const Result installed = cli.Run({L"install", downloads / L"new.pak", downloads / L"b.G1O", downloads / L"notes.txt",
                                      downloads / L"gone.pak", downloads.path()});
    EXPECT_EQ(installed.status, 1) << installed;
    EXPECT_EQ(installed.out, "installed new.pak\n");
    EXPECT_NE(installed.err.find(": b.G1O: not installed: the same mod is in PAKS, enabled\n"), std::string::npos) << installed;
    EXPECT_NE(installed.err.find("notes.txt: not a mod file"), std::string::npos) << installed;
    EXPECT_NE(installed.err.find("gone.pak: no such file"), std::string::npos) << installed;
    EXPECT_EQ(ReadFile(cli.Pak(L"new.pak.MAN")), "manifest");
    EXPECT_FALSE(Exists(cli.Pak(L"b.G1O")));

    // Undone: the install goes; a deleted mod cannot come back, and says so.
    EXPECT_EQ(cli.Run({L"undo"}).status, 0);
    EXPECT_FALSE(Exists(cli.Pak(L"new.pak")));
    const Result gone = cli.Run({L"undo"});
    EXPECT_EQ(gone.status, 1) << gone;
    EXPECT_NE(gone.err.find("a.pak: not restored: deleted since, it cannot come back"), std::string::npos) << gone;
}

#ifndef _WIN32
TEST(Commands, CtrlCStopsAnInstallAsTheWindowsCancelDoesAndATerminalSeesHowFar)
{
    Cli cli;
    cli.AddMods({L"x.pak"});
    TempFolder downloads;
    for (const wchar_t* name : {L"a.pak", L"b.pak", L"c.pak"}) {
        WriteFile(downloads / name, std::string(3 << 20, 'm'));
        WriteFile(downloads / name + L".MAN", "manifest");
    }
    // Pressed as b's copy begins.
    cli.system.ctrlC = [&] { return Exists(cli.Pak(L"b.pak")); };
    cli.system.terminal = true;
    const Result stopped = cli.Run({L"install", downloads / L"a.pak", downloads / L"b.pak", downloads / L"c.pak"});
    EXPECT_EQ(stopped.status, 1);
    EXPECT_EQ(stopped.out, "installed a.pak\n");
    // The line drawn for each mod, then taken away before what is said.
    const std::size_t drawn = stopped.err.find("\rinstalling b.pak (2 of 3): 0%  Ctrl+C stops");
    EXPECT_NE(stopped.err.find("\rinstalling a.pak (1 of 3): 0%  Ctrl+C stops"), std::string::npos) << stopped;
    EXPECT_NE(drawn, std::string::npos) << stopped;
    EXPECT_EQ(stopped.err.substr(stopped.err.rfind('\r')),
              "\rpakorder: b.pak: not installed: cancelled\npakorder: c.pak: not installed: cancelled\n");
    EXPECT_EQ(cli.Order(), L"x.pak a.pak");
    EXPECT_FALSE(Exists(cli.Pak(L"b.pak")) || Exists(cli.Pak(L"b.pak.MAN")) || Exists(cli.Pak(L"c.pak")));
    EXPECT_FALSE(cli.system.catching);  // Ctrl+C ends the program again

    // Recorded as the window's cancel: a finished install, undone as one.
    const Json history = Document(cli.Run({L"history", L"--json"}));
    EXPECT_EQ(history["records"][0]["action"].text, "install");
    EXPECT_TRUE(history["records"][0]["complete"].boolean);
    EXPECT_EQ(cli.Run({L"undo"}).out, "undid install (record 1)\n");
    EXPECT_EQ(cli.Order(), L"x.pak");

    // Not at a terminal: no line, and nothing else changes.
    cli.system.terminal = false;
    cli.system.ctrlC = nullptr;
    const Result quiet = cli.Run({L"install", downloads / L"a.pak"});
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.err, "");
    EXPECT_EQ(cli.Run({L"conflicts"}).err, "");
}

TEST(Commands, ALinkOrAPipeInPaksIsNoModAndNothingWaitsForAPipe)
{
    Cli cli;
    cli.AddMods({L"a.pak", L"b.pak"});
    TempFolder outside;
    const mods::FileTime outsideTime = Time(2015, 1, 1);
    WriteFileWithTime(outside / L"target.pak", outsideTime);
    ASSERT_EQ(::symlink(Utf8(outside / L"target.pak").c_str(), Utf8(cli.Pak(L"link.pak")).c_str()), 0);

    const Result setTime = cli.Run({L"set-time", L"link", L"2030-1-1"});
    EXPECT_EQ(setTime.status, 1) << setTime;
    EXPECT_NE(setTime.err.find("link: no mod of that name"), std::string::npos) << setTime;
    const Result moved = cli.Run({L"move", L"a", L"--bottom"});
    EXPECT_EQ(moved.status, 0) << moved;
    EXPECT_EQ(cli.Run({L"undo"}).status, 0);
    EXPECT_EQ(cli.Order(), L"a.pak b.pak");
    mods::FileTime time = 0;
    ASSERT_TRUE(platform::SystemFileSystem().ReadLastWriteTime(outside / L"target.pak", time).ok());
    EXPECT_EQ(time, outsideTime);

    // Pipes without a writer: an open to read them would wait for ever.
    ASSERT_EQ(::mkfifo(Utf8(cli.Pak(L"a.pak.MAN")).c_str(), 0644), 0);
    ASSERT_EQ(::mkfifo(Utf8(outside / L"fifo.pak").c_str(), 0644), 0);
    const Result installed = cli.Run({L"install", outside / L"fifo.pak"});
    EXPECT_EQ(installed.status, 1) << installed;
    EXPECT_NE(installed.err.find("fifo.pak: not a mod file"), std::string::npos) << installed;
    EXPECT_FALSE(Exists(cli.Pak(L"fifo.pak")));
    const Result conflicts = cli.Run({L"conflicts"});
    EXPECT_NE(conflicts.out.find("a.pak: its manifest cannot be read: not a regular file (a link, a pipe or a device)"),
              std::string::npos) << conflicts;
    const Result stuck = cli.Run({L"set-time", L"a", L"2030-1-1"});
    EXPECT_EQ(stuck.status, 1) << stuck;
    EXPECT_NE(stuck.err.find("cannot write the time of a.pak.MAN: not a regular file"), std::string::npos) << stuck;
}
#endif

TEST(Commands, ConflictsReportWhichModWins)
{
    Cli cli;
    cli.AddMods({L"a.pak", L"b.pak", L"c.pak"}, true);
    WriteFile(cli.Pak(L"d.pak"));  // no manifest
    WriteFile(cli.Pak(L"e.G1O.MAN"), "not read: disabled");
    WriteFile(cli.Pak(L"e.G1O"));

    const Result all = cli.Run({L"conflicts"});
    EXPECT_EQ(all.status, 0) << all;
    EXPECT_EQ(all.out, "MEDIA/SHARED.DAT\n    in effect: c.pak\n    overridden: a.pak, b.pak\n"
                       "1 file in conflict among 3 mods\nnot checked: d.pak: no manifest\n");

    const Json document = Document(cli.Run({L"conflicts", L"--json", L"B"}));
    ASSERT_EQ(document["conflicts"].items.size(), 1u);
    EXPECT_EQ(document["selected"][0].text, "b.pak");
    EXPECT_EQ(document["conflicts"][0]["winner"].text, "c.pak");
    EXPECT_EQ(document["conflicts"][0]["overridden"][1].text, "b.pak");
    EXPECT_EQ(document["modsInConflict"].number, 3);
    EXPECT_EQ(document["unchecked"][0]["reason"].text, "no-manifest");

    const Result unknown = cli.Run({L"conflicts", L"x"});
    EXPECT_EQ(unknown.status, 1) << unknown;
    EXPECT_EQ(unknown.out, "");
}

// A mod a day from 2021-01-02 on, its manifest holding MEDIA/<file> with
// each CRC given ("A:1 X:2"); no manifest for "-". Mods given the same day
// have the same time.
void AddModsWithFiles(Cli& cli, const std::vector<std::tuple<std::wstring, int, std::string>>& mods)
{
    for (const auto& [name, day, files] : mods) {
        const mods::FileTime time = Time(2021, 1, 2 + day);
        WriteFileWithTime(cli.Pak(name), time);
        if (files == "-")
            continue;
        ManifestFolderToWrite folder{u"MEDIA/", {}};
        std::istringstream words(files);
        for (std::string word; words >> word;)
            folder.entries.push_back({std::u16string(1, static_cast<char16_t>(word[0])) + u".DAT",
                                      static_cast<std::uint32_t>(std::stoul(word.substr(2)))});
        const std::vector<unsigned char> bytes = ManifestBytes({folder});
        WriteFileWithTime(cli.Pak(name + L".MAN"), time, std::string(bytes.begin(), bytes.end()));
    }
}

// a overrides b and is overridden by d, which also overrides every file of
// c; e and f hold identical copies; g has no manifest; h and i share a time.
void AddMarkedMods(Cli& cli)
{
    AddModsWithFiles(cli, {{L"b.pak", 0, "A:1 B:1"}, {L"a.pak", 1, "A:2 X:1"}, {L"c.pak", 2, "C:1"},
                           {L"d.pak", 3, "C:2 X:2"}, {L"e.pak", 4, "E:5"}, {L"f.pak", 5, "E:5"}, {L"g.pak", 6, "-"},
                           {L"h.pak", 7, "H:1"}, {L"i.pak", 7, "I:1"}, {L"j.G1O", 8, "A:9"}});
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

// A mod of the list's document by file name.
const Json& ModOf(const Json& document, const std::string& file)
{
    for (const Json& mod : document["mods"].items)
        if (mod["file"].text == file)
            return mod;
    static const Json none;
    ADD_FAILURE() << file << " not listed";
    return none;
}

std::vector<std::string> Texts(const Json& array)
{
    std::vector<std::string> texts;
    for (const Json& item : array.items)
        texts.push_back(item.text);
    return texts;
}

using Names = std::vector<std::string>;

TEST(Commands, ListMarksWhatEachModsFilesDoInThisOrderAndTiedTimes)
{
    Cli cli;
    AddMarkedMods(cli);
    const Result text = cli.Run({L"list"});
    EXPECT_EQ(text.status, 0) << text;
    EXPECT_EQ(text.err, "");
    std::vector<std::string> lines = Lines(text.out);
    ASSERT_EQ(lines.size(), 11u) << text;
    // The tie rule lists h and i in the order the folder gives them.
    const std::set<std::string> tied{lines[7].substr(4), lines[8].substr(4)};
    EXPECT_EQ(tied, (std::set<std::string>{"  [x]   =  2021-1-9    h.pak", "  [x]   =  2021-1-9    i.pak"})) << text;
    lines.erase(lines.begin() + 7, lines.begin() + 9);
    EXPECT_EQ(lines, (std::vector<std::string>{"   1  [x]  <   2021-1-2    b.pak",
                                               "   2  [x]  *   2021-1-3    a.pak",
                                               "   3  [x]  !   2021-1-4    c.pak",
                                               "   4  [x]  >   2021-1-5    d.pak",
                                               "   5  [x]      2021-1-6    e.pak",
                                               "   6  [x]      2021-1-7    f.pak",
                                               "   7  [x]  ?   2021-1-8    g.pak",
                                               "  10  [ ]      2021-1-10   j.G1O",
                                               "10 mods, 9 enabled"}));

    const Json document = Document(cli.Run({L"list", L"--json"}));
    const Json& a = ModOf(document, "a.pak")["conflicts"];
    EXPECT_EQ(Texts(a["overrides"]), Names{"b"});
    EXPECT_EQ(Texts(a["overriddenBy"]), Names{"d"});
    EXPECT_FALSE(a["fullyOverridden"].boolean);
    const Json& c = ModOf(document, "c.pak")["conflicts"];
    EXPECT_TRUE(c["fullyOverridden"].boolean);
    EXPECT_EQ(Texts(ModOf(document, "d.pak")["conflicts"]["overrides"]), (Names{"a", "c"}));
    EXPECT_EQ(Texts(ModOf(document, "e.pak")["conflicts"]["overrides"]), Names{});  // identical copies
    EXPECT_TRUE(ModOf(document, "g.pak")["conflicts"]["unchecked"].boolean);
    EXPECT_FALSE(ModOf(document, "j.G1O")["conflicts"]["unchecked"].boolean);
    EXPECT_EQ(Texts(ModOf(document, "j.G1O")["conflicts"]["overrides"]), Names{});  // disabled: not loaded
    EXPECT_EQ(Texts(ModOf(document, "h.pak")["tiedWith"]), Names{"i"});
    EXPECT_EQ(Texts(ModOf(document, "a.pak")["tiedWith"]), Names{});
}

TEST(Commands, AnIntendedPairRaisesNoMarkAndItsFilesAreListedOnlyWithAll)
{
    Cli cli;
    AddMarkedMods(cli);
    const Result intend = cli.Run({L"intend", L"A", L"b.pak"});
    EXPECT_EQ(intend.status, 0) << intend;
    EXPECT_EQ(intend.out, "a is meant to override b: the files it wins from it raise no mark\n");
    EXPECT_EQ(cli.Run({L"intend", L"a", L"B"}).out, "a is already meant to override b\n");

    const std::vector<std::string> lines = Lines(cli.Run({L"list"}).out);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "   1  [x]      2021-1-2    b.pak");
    EXPECT_EQ(lines[1], "   2  [x]  <   2021-1-3    a.pak");  // d still wins X from it
    EXPECT_EQ(Texts(ModOf(Document(cli.Run({L"list", L"--json"})), "a.pak")["conflicts"]["overrides"]), Names{});

    const Result real = cli.Run({L"conflicts"});
    EXPECT_EQ(real.status, 0) << real;
    EXPECT_EQ(real.out, "MEDIA/C.DAT\n    in effect: d.pak\n    overridden: c.pak\n"
                        "MEDIA/X.DAT\n    in effect: d.pak\n    overridden: a.pak\n"
                        "MEDIA/E.DAT (identical copies)\n    in: e.pak, f.pak\n"
                        "2 files in conflict among 3 mods; 1 file of intended overlaps left out (--all lists them); "
                        "identical copies: 1 file\nnot checked: g.pak: no manifest\n");
    const Result all = cli.Run({L"conflicts", L"--all"});
    EXPECT_NE(all.out.find("MEDIA/X.DAT\n    in effect: d.pak\n    overridden: a.pak\n"
                           "MEDIA/A.DAT (intended)\n    in effect: a.pak\n    overridden: b.pak\n"
                           "MEDIA/E.DAT"), std::string::npos) << all;
    EXPECT_NE(all.out.find("2 files in conflict among 3 mods; intended: 1 file;"), std::string::npos) << all;
    const Json listed = Document(cli.Run({L"conflicts", L"--json"}));
    const Json withAll = Document(cli.Run({L"conflicts", L"--json", L"--all"}));
    ASSERT_EQ(listed["conflicts"].items.size(), 3u);
    ASSERT_EQ(withAll["conflicts"].items.size(), 4u);
    EXPECT_EQ(withAll["conflicts"][2]["path"].text, "MEDIA/A.DAT");
    EXPECT_TRUE(withAll["conflicts"][2]["intended"].boolean);
    EXPECT_FALSE(withAll["conflicts"][0]["intended"].boolean);

    // Taken back, by a name with its extension; a pair can name a mod deleted since.
    EXPECT_EQ(cli.Run({L"intend", L"--remove", L"a.pak", L"b"}).out, "a is no longer meant to override b\n");
    EXPECT_EQ(Lines(cli.Run({L"list"}).out)[0], "   1  [x]  <   2021-1-2    b.pak");
    EXPECT_EQ(cli.Run({L"intend", L"--remove", L"a", L"b"}).out, "a was not marked as meant to override b\n");
    EXPECT_EQ(cli.Run({L"intend", L"d", L"c"}).status, 0);
    ASSERT_TRUE(platform::SystemFileSystem().RemoveFile(cli.Pak(L"c.pak")).ok());
    EXPECT_EQ(cli.Run({L"intend", L"--remove", L"d", L"c.pak"}).out, "d is no longer meant to override c\n");

    const Result unknown = cli.Run({L"intend", L"a", L"zz"});
    EXPECT_EQ(unknown.status, 1) << unknown;
    EXPECT_EQ(unknown.err, "pakorder: zz: no mod of that name\n");
    EXPECT_EQ(cli.Run({L"intend", L"a", L"a.pak"}).err, "pakorder: a: a mod cannot be meant to override itself\n");
    EXPECT_EQ(cli.Run({L"intend", L"a"}).status, 2);
    EXPECT_EQ(cli.Run({L"list", L"--all"}).status, 2);

    // Another PakOrder holding the folder's lock: the file is not written under it.
    mods::ChangeHistory records(platform::SystemFileSystem(), cli::RecordsRoot(cli.system), cli.paks);
    std::unique_ptr<platform::FileLock> lock;
    ASSERT_TRUE(records.TryLock(lock).ok());
    const Result locked = cli.Run({L"intend", L"a", L"b"});
    EXPECT_EQ(locked.status, 1) << locked;
    EXPECT_NE(locked.err.find("another PakOrder is writing to this folder"), std::string::npos) << locked;
    lock.reset();
    EXPECT_EQ(cli.Run({L"intend", L"--remove", L"a", L"b"}).out, "a was not marked as meant to override b\n");
}

TEST(Commands, ABadIntendedFileIsNamedLineByLineAndIntendKeepsEveryOtherLine)
{
    Cli cli;
    AddMarkedMods(cli);
    const mods::ChangeHistory records(platform::SystemFileSystem(), cli::RecordsRoot(cli.system), cli.paks);
    ASSERT_TRUE(platform::SystemFileSystem().CreateFolders(records.RecordsFolder()).ok());
    const std::wstring file = mods::IntendedOverlapsPath(records.RecordsFolder());
    const std::string path = platform::ToUtf8(file);
    const std::string kept = "# PakOrder intended overlaps 1\r\n"
                             "# my patches\r\n"
                             "d>c\r\n"
                             "d > c\r\n"
                             "x > x\r\n";
    WriteFile(file, kept);

    const Result list = cli.Run({L"list"});
    EXPECT_EQ(list.status, 0) << list;
    EXPECT_EQ(list.err, "pakorder: " + path + ", line 3: not \"NAME > NAME\" nor a comment; skipped\n"
                        "pakorder: " + path + ", line 5: \"x\" is meant to override itself; skipped\n");
    EXPECT_EQ(Lines(list.out)[2], "   3  [x]      2021-1-4    c.pak");  // the good pair counts
    EXPECT_EQ(cli.Run({L"conflicts"}).err, list.err);

    const Result intend = cli.Run({L"intend", L"a", L"b"});
    EXPECT_EQ(intend.status, 0) << intend;
    EXPECT_EQ(intend.err, list.err);
    EXPECT_EQ(ReadFile(file), kept + "a > b\r\n");
    EXPECT_EQ(cli.Run({L"intend", L"--remove", L"d", L"c"}).status, 0);
    EXPECT_EQ(ReadFile(file), "# PakOrder intended overlaps 1\r\n# my patches\r\nd>c\r\nx > x\r\na > b\r\n");

    // A file that is not one is read for nothing, and not written over.
    WriteFile(file, "a > b\n");
    const Result other = cli.Run({L"list"});
    EXPECT_EQ(other.status, 0);
    EXPECT_EQ(other.err, "pakorder: " + path + " is not a file of intended overlaps: its first line is not "
                         "\"# PakOrder intended overlaps 1\"; none of it is read\n");
    const Result refused = cli.Run({L"intend", L"d", L"c"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("nothing was changed: mend or remove " + path + " first"), std::string::npos) << refused;
    EXPECT_EQ(ReadFile(file), "a > b\n");
}

TEST(Commands, AnImportOfAnExportReproducesOrderAndStatesOnAFreshCopy)
{
    Cli mine, friends;
    for (Cli* folder : {&mine, &friends})
        folder->AddMods({L"a.pak", L"b.pak", L"c.G1O", L"d.pak", L"e.pak"}, true);
    WriteFile(friends.Pak(L"extra.pak"));  // only the friend has it: it keeps its place
    ASSERT_EQ(mine.Run({L"move", L"e", L"c", L"--top"}).status, 0);
    ASSERT_EQ(mine.Run({L"disable", L"a"}).status, 0);
    ASSERT_EQ(mine.Run({L"enable", L"c"}).status, 0);
    WriteFile(mine.Pak(L"mine-only.pak"));  // not at the friend's
    ASSERT_EQ(mine.Run({L"move", L"mine-only", L"--after", L"b"}).status, 0);
    const std::wstring list = mine.root / L"shared.txt";
    const Result exported = mine.Run({L"export", list});
    EXPECT_EQ(exported.status, 0) << exported;
    EXPECT_EQ(ReadFile(list), "# PakOrder mod list 1\n# + enabled, - disabled; in load order, the first loaded first\n"
                              "+ c\n+ e\n- a\n+ b\n+ mine-only\n+ d\n");
    EXPECT_EQ(mine.Run({L"export"}).out, ReadFile(list));  // to stdout without a file

    WriteFile(friends.root / L"shared.txt", ReadFile(list));
    friends.system.current = friends.root.path();
    const Result imported = friends.Run({L"--folder", L"game", L"import", L"shared.txt"});
    EXPECT_EQ(imported.status, 1) << imported;  // one name is missing
    EXPECT_EQ(imported.out, "imported shared.txt: 5 mods moved, 1 enabled, 1 disabled\n");
    EXPECT_EQ(imported.err, "pakorder: mine-only: named in the list, not in the folder\n");
    EXPECT_EQ(friends.Order(), L"c.PAK e.pak a.G1O b.pak d.pak extra.pak");
    EXPECT_TRUE(Exists(friends.Pak(L"a.G1O.MAN")) && Exists(friends.Pak(L"c.PAK.MAN")));

    // One recorded action: one undo puts the friend's folder back.
    const Result undone = friends.Run({L"--folder", L"game", L"undo"});
    EXPECT_EQ(undone.out, "undid import (record 1)\n");
    EXPECT_EQ(friends.Order().find(L"a.pak b.pak c.G1O d.pak e.pak"), 0u) << Utf8(friends.Order());
}

TEST(Commands, ExportWritesNoListItsImportWouldRefuse)
{
    Cli cli;
    cli.AddMods({L"a.pak", L"b.pak", L"a.G1O", L"B.G1O", L"c.pak"});
    const std::wstring list = cli.root / L"list.txt";
    for (const std::vector<std::wstring>& arguments : {std::vector<std::wstring>{L"export", list}, {L"export"}}) {
        const Result refused = cli.Run(arguments);
        EXPECT_EQ(refused.status, 1) << refused;
        EXPECT_EQ(refused.out, "");
        EXPECT_EQ(refused.err, "pakorder: nothing exported: a list names each mod once, but more than one mod here goes "
                               "by a, b (as a.pak and a.G1O go by a)\n");
    }
    EXPECT_FALSE(Exists(list));
}

TEST(Commands, WithoutAPlaceForRecordsTheHistoryIsNotEmptyAndNothingIsWritten)
{
    Cli cli;
    cli.AddMods({L"a.pak", L"b.pak", L"c.G1O"});
    cli.system.variables.clear();  // no HOME, no XDG_STATE_HOME (on Windows, no APPDATA)
    for (const std::vector<std::wstring>& arguments : {std::vector<std::wstring>{L"history"}, {L"history", L"--json"}}) {
        const Result history = cli.Run(arguments);
        EXPECT_EQ(history.status, 1) << history;
        EXPECT_EQ(history.out, "");
        EXPECT_EQ(history.err.find("pakorder: cannot find where the records are kept: set "), 0u) << history;
    }
    const std::vector<std::vector<std::wstring>> writes = {
        {L"enable", L"c"}, {L"disable", L"a"}, {L"move", L"a", L"--bottom"}, {L"set-time", L"b", L"2024-01-01"},
        {L"delete", L"b", L"--yes"}, {L"undo"}, {L"redo"}, {L"recover"}, {L"recover", L"--keep"},
    };
    for (const std::vector<std::wstring>& arguments : writes) {
        const Result refused = cli.Run(arguments);
        EXPECT_EQ(refused.status, 1) << refused;
        EXPECT_EQ(refused.err.find("pakorder: cannot find where the records are kept: set "), 0u) << refused;
    }
    EXPECT_EQ(cli.Order(), L"a.pak b.pak c.G1O");
    EXPECT_EQ(cli.DiskTime(L"b.pak"), Time(2021, 1, 4));
}

TEST(Commands, ABadListChangesNothing)
{
    struct Case {
        int line;
        std::string bytes;
        std::string error;
    };
    const std::string head = "# PakOrder mod list 1\n";
    const Case cases[] = {
        {__LINE__, "BetterLoot\nMorePets\n", "list.txt is not a mod list: its first line is not \"# PakOrder mod list 1\""},
        {__LINE__, "# PakOrder mod list 7\n+ a\n", "list.txt is a mod list of a version this program does not read"},
        {__LINE__, "\x89PNG\r\n\x1A\n\0\0\0", "list.txt is not a mod list: it is not UTF-8 text"},
        {__LINE__, head + "+ b\n- ..\\a\n", "list.txt, line 3: \"..\\a\" cannot be the name of a mod's file"},
        {__LINE__, head + "+ b\n+ NUL\n", "list.txt, line 3: \"NUL\" cannot be the name of a mod's file"},
        {__LINE__, head + "+ b\nb\n", "list.txt, line 3: not \"+ NAME\", \"- NAME\" or a comment"},
        {__LINE__, head + "+ b\n- B\n", "list.txt, line 3: \"B\" is named twice"},
        {__LINE__, head + std::string(5u << 20, '#'), "list.txt is not a mod list: it is larger than 4 MB"},
    };
    for (const Case& c : cases) {
        Cli cli;
        cli.AddMods({L"a.pak", L"b.pak"});
        WriteFile(platform::JoinPath(cli.game, L"list.txt"), c.bytes);
        const Result result = cli.Run({L"import", L"list.txt"});
        EXPECT_EQ(result.status, 1) << "line " << c.line;
        EXPECT_EQ(result.err, "pakorder: " + c.error + "\n") << "line " << c.line;
        EXPECT_EQ(cli.Order(), L"a.pak b.pak") << "line " << c.line;
        EXPECT_EQ(cli.DiskTime(L"b.pak"), Time(2021, 1, 4)) << "line " << c.line;
        EXPECT_EQ(cli.Run({L"history"}).out, "no recorded actions for this folder\n") << "line " << c.line;
    }
    Cli cli;
    cli.AddMods({L"a.pak", L"b.pak"});
    cli.system.input = "# PakOrder mod list 1\n+ b\n+ a\n";
    EXPECT_EQ(cli.Run({L"import", L"-"}).status, 0);
    EXPECT_EQ(cli.Order(), L"b.pak a.pak");
    const Result missing = cli.Run({L"import", L"nothing.txt"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err.find("pakorder: cannot read nothing.txt: "), 0u) << missing;
}

TEST(Commands, HistoryUndoRedoAndRecoveryWalkTheRecords)
{
    Cli cli;
    cli.AddMods({L"a.pak", L"b.pak", L"c.pak"}, true);
    const mods::FileTime aBefore = cli.DiskTime(L"a.pak");
    ASSERT_EQ(cli.Run({L"move", L"a", L"--bottom"}).status, 0);
    ASSERT_EQ(cli.Run({L"disable", L"b"}).status, 0);
    EXPECT_EQ(cli.Run({L"redo"}).err, "pakorder: nothing to redo\n");
    EXPECT_EQ(cli.Run({L"undo"}).status, 0);
    EXPECT_EQ(cli.Run({L"undo"}).status, 0);
    EXPECT_EQ(cli.DiskTime(L"a.pak"), aBefore);
    EXPECT_EQ(cli.DiskTime(L"a.pak.MAN"), aBefore);
    EXPECT_EQ(cli.Run({L"redo"}).out, "redid smart-sort (record 1)\n");
    EXPECT_EQ(cli.Order(), L"b.pak c.pak a.pak");

    const Result text = cli.Run({L"history"});
    EXPECT_NE(text.out.find("    5  "), std::string::npos) << text;
    EXPECT_NE(text.out.find("  redo        1 mod changed: a.pak\n"), std::string::npos) << text;
    const Json history = Document(cli.Run({L"history", L"--json"}));
    ASSERT_EQ(history["records"].items.size(), 5u);
    EXPECT_EQ(history["records"][0]["action"].text, "redo");
    EXPECT_EQ(history["records"][0]["stepOf"].number, 1);
    EXPECT_EQ(history["records"][4]["action"].text, "smart-sort");
    EXPECT_EQ(history["records"][4]["mods"][0].text, "a.pak");
    EXPECT_EQ(history["nextUndo"].number, 1);
    EXPECT_EQ(history["nextRedo"].number, 2);

    // A sort that stopped half way (recorded, a time written, never
    // completed): nothing more is done until it is recovered.
    mods::ChangeHistory records(platform::SystemFileSystem(), cli::RecordsRoot(cli.system), cli.paks);
    std::uint64_t sequence = 0;
    ASSERT_TRUE(records.Begin(mods::RecordedAction::SmartSort, {L"c.pak"}, std::nullopt, sequence).ok());
    WriteFileWithTime(cli.Pak(L"c.pak"), Time(2020, 12, 1));
    const Result blocked = cli.Run({L"disable", L"b"});
    EXPECT_EQ(blocked.status, 1);
    EXPECT_NE(blocked.err.find("the last action (smart-sort, record 6) did not finish"), std::string::npos) << blocked;
    EXPECT_TRUE(Exists(cli.Pak(L"b.pak")));
    EXPECT_EQ(Document(cli.Run({L"history", L"--json"}))["records"][0]["complete"].boolean, false);
    EXPECT_EQ(cli.Run({L"recover"}).out, "put the folder back as it was before smart-sort (record 6)\n");
    EXPECT_EQ(cli.Order(), L"b.pak c.pak a.pak");
    EXPECT_EQ(cli.Run({L"recover"}).out, "the last action finished: nothing to recover\n");

    // A damaged record is named, and skipped.
    WriteFile(platform::JoinPath(records.RecordsFolder(), L"change-00000099.txt"), "PakOrder change record 1\nsequence\t12x\n");
    const Result damaged = cli.Run({L"history"});
    EXPECT_EQ(damaged.status, 0);
    EXPECT_EQ(damaged.err, "pakorder: damaged record skipped: change-00000099.txt (truncated)\n");
    EXPECT_EQ(Document(cli.Run({L"history", L"--json"}))["damaged"][0]["problem"].text, "truncated");
}

TEST(Commands, HistoryShowsRecordNumbersToTheEndOfTheirRange)
{
    Cli cli;
    cli.AddMods({L"a.pak", L"b.pak"});
    const mods::ChangeHistory records(platform::SystemFileSystem(), cli::RecordsRoot(cli.system), cli.paks);
    ASSERT_TRUE(platform::SystemFileSystem().CreateFolders(records.RecordsFolder()).ok());
    WriteFile(platform::JoinPath(records.RecordsFolder(), L"change-18446744073709551613.txt"), "not a record");
    ASSERT_EQ(cli.Run({L"disable", L"a"}).status, 0);
    EXPECT_NE(cli.Run({L"history"}).out.find("18446744073709551614  "), std::string::npos);
    const Result json = cli.Run({L"history", L"--json"});
    EXPECT_NE(json.out.find("\"sequence\": 18446744073709551614,"), std::string::npos) << json;
    EXPECT_NE(json.out.find("\"nextUndo\": 18446744073709551614"), std::string::npos) << json;
    ASSERT_EQ(cli.Run({L"enable", L"a"}).status, 0);  // the last number
    const Result refused = cli.Run({L"disable", L"b"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err.find("pakorder: cannot write the change record, so nothing was changed: "), 0u) << refused;
    EXPECT_EQ(cli.Order(), L"a.PAK b.pak");
}

TEST(Commands, RestoreAsksOnATerminalThenPutsTheWholeFolderBack)
{
    Cli cli;
    cli.AddMods({L"a.pak", L"b.pak", L"c.pak"}, true);
    const mods::FileTime aBefore = cli.DiskTime(L"a.pak");
    ASSERT_EQ(cli.Run({L"disable", L"b"}).status, 0);
    ASSERT_EQ(cli.Run({L"move", L"a", L"--bottom"}).status, 0);
    ASSERT_EQ(cli.Order(), L"b.G1O c.pak a.pak");

    // No one to ask: a usage error, and nothing done.
    const Result unasked = cli.Run({L"restore", L"1"});
    EXPECT_EQ(unasked.status, 2);
    EXPECT_EQ(unasked.err.substr(0, unasked.err.find('\n')),
              "pakorder: 'restore' asks first, and there is no terminal to ask on: add --yes");
    cli.system.terminal = true;
    cli.system.input = "n\n";
    const Result declined = cli.Run({L"restore", L"1"});
    EXPECT_EQ(declined.status, 1);
    EXPECT_EQ(declined.err.find("pakorder: put the folder back as it was at "), 0u) << declined;
    // The pak and the manifest of each: b's names, a's times.
    EXPECT_NE(declined.err.find(", before disable (record 1)? 4 files will change; mods added since stay as they are. "
                                "[y/N] pakorder: nothing was changed\n"),
              std::string::npos) << declined;
    EXPECT_EQ(cli.Order(), L"b.G1O c.pak a.pak");

    cli.system.input = "y\n";
    const Result restored = cli.Run({L"restore", L"1"});
    EXPECT_EQ(restored.status, 0) << restored;
    EXPECT_EQ(restored.out, "put the folder back as it was before disable (record 1): 4 files changed\n");
    EXPECT_EQ(cli.Order(), L"a.pak b.pak c.pak");
    EXPECT_EQ(cli.DiskTime(L"a.pak.MAN"), aBefore);
    const Json history = Document(cli.Run({L"history", L"--json"}));
    EXPECT_EQ(history["records"][0]["action"].text, "restore");
    EXPECT_EQ(history["records"][0]["stepOf"].number, 1);
    EXPECT_EQ(cli.Run({L"restore", L"1", L"--yes"}).out,
              "the folder is already as it was before disable (record 1): no file needs to change\n");

    // Recorded as any write: undone, the folder is as the move left it.
    cli.system.terminal = false;
    EXPECT_EQ(cli.Run({L"undo"}).out, "undid restore (record 3)\n");
    EXPECT_EQ(cli.Order(), L"b.G1O c.pak a.pak");
    EXPECT_EQ(cli.Run({L"restore", L"2", L"--yes"}).out, "put the folder back as it was before smart-sort (record 2): 2 files changed\n");
    EXPECT_EQ(cli.Order(), L"a.pak b.G1O c.pak");

    for (const wchar_t* number : {L"x", L"-1", L"1.5", L"18446744073709551616"}) {
        const Result bad = cli.Run({L"restore", L"--yes", L"--", number});
        EXPECT_EQ(bad.status, 2) << bad;
        EXPECT_EQ(bad.err, "pakorder: '" + Utf8(number) + "' is not a record number: 'pakorder history' numbers them\n");
    }
    const Result missing = cli.Run({L"restore", L"99", L"--yes"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "pakorder: there is no record 99 of this folder\n");
    EXPECT_EQ(cli.Order(), L"a.pak b.G1O c.pak");
}

TEST(Commands, VersionNeedsNoFolder)
{
    Cli cli;
    TempFolder elsewhere;
    cli.system.current = elsewhere.path();  // no game anywhere
    const Result version = cli.Run({L"--version"});
    EXPECT_EQ(version.status, 0);
    const std::string commit = PAKORDER_COMMIT;
    EXPECT_EQ(version.out, "pakorder " PAKORDER_VERSION + (commit.empty() ? "" : " (commit " + commit + ")") + "\n");
    EXPECT_EQ(cli.Run({L"version"}).out, version.out);
    EXPECT_EQ(cli.Run({L"list", L"--version"}).out, version.out);
    EXPECT_EQ(cli.Run({L"version", L"x"}).status, 2);
}

TEST(Commands, UsageErrorsExitWith2AndHelpWith0)
{
    Cli cli;
    cli.AddMods({L"a.pak", L"b.pak"});
    struct Case {
        int line;
        std::vector<std::wstring> arguments;
        std::string error;
    };
    const Case cases[] = {
        {__LINE__, {}, "no command given"},
        {__LINE__, {L"sort"}, "unknown command 'sort'"},
        {__LINE__, {L"list", L"--colour"}, "unknown option '--colour'"},
        {__LINE__, {L"list", L"--yes"}, "'list' has no option '--yes'"},
        {__LINE__, {L"list", L"extra"}, "'list' takes fewer arguments"},
        {__LINE__, {L"enable"}, "'enable' needs more arguments"},
        {__LINE__, {L"move", L"a"}, "say where: --top, --bottom, --before NAME or --after NAME"},
        {__LINE__, {L"move", L"a", L"--top", L"--after", L"b"}, "say one place only: --top, --bottom, --before NAME or --after NAME"},
        {__LINE__, {L"move", L"a", L"--before"}, "option '--before' needs a value"},
        {__LINE__, {L"set-time", L"a"}, "'set-time' needs more arguments"},
        {__LINE__, {L"list", L"--json", L"--json"}, "option '--json' given twice"},
        {__LINE__, {L"list", L"--json=yes"}, "unknown option '--json=yes'"},
        {__LINE__, {L"--folder"}, "option '--folder' needs a value"},
        {__LINE__, {L"delete", L"a", L"b"}, "delete removes the files for good: add --yes"},
    };
    for (const Case& c : cases) {
        const Result result = cli.Run(c.arguments);
        EXPECT_EQ(result.status, 2) << "line " << c.line;
        EXPECT_EQ(result.err.substr(0, result.err.find('\n')), "pakorder: " + c.error) << "line " << c.line;
        EXPECT_EQ(result.out, "") << "line " << c.line;
    }
    EXPECT_EQ(cli.Order(), L"a.pak b.pak");

    const Result help = cli.Run({L"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.find("usage: pakorder [--folder PATH] COMMAND"), 0u);
    for (const wchar_t* command : {L"list", L"enable", L"disable", L"move", L"set-time", L"delete", L"install",
                                   L"conflicts", L"export", L"import", L"undo", L"redo", L"history", L"recover",
                                   L"restore", L"version"}) {
        EXPECT_NE(help.out.find("  " + Utf8(command) + " "), std::string::npos) << Utf8(command);
        for (const std::vector<std::wstring>& asked : {std::vector<std::wstring>{command, L"--help"},
                                                       std::vector<std::wstring>{L"help", command}}) {
            const Result one = cli.Run(asked);
            EXPECT_EQ(one.status, 0) << Utf8(command);
            EXPECT_EQ(one.out.find("usage: pakorder " + Utf8(command)), 0u) << one;
        }
    }
    // Options anywhere, and "--" before a name that starts with a dash.
    WriteFile(cli.Pak(L"-x.pak"));
    EXPECT_EQ(cli.Run({L"disable", L"--", L"-x"}).out, "disabled -x.G1O\n");
    EXPECT_EQ(cli.Run({L"--json", L"list"}).status, 0);
}

TEST(Commands, NamesMatchAsWindowsComparesThem)
{
    Cli cli;
    cli.AddMods({L"Straße.pak", L"Мод.PAK", L"twin.pak", L"twin.G1O"});
    EXPECT_EQ(cli.Run({L"disable", L"STRASSE"}).status, 1);  // no folding beyond one letter to one letter
    EXPECT_EQ(cli.Run({L"disable", L"straße"}).out, "disabled Straße.G1O\n");
    EXPECT_EQ(cli.Run({L"disable", L"мод.pak"}).out, "disabled Мод.G1O\n");
    const Result twins = cli.Run({L"enable", L"twin"});
    EXPECT_EQ(twins.status, 1);
    EXPECT_EQ(twins.err, "pakorder: twin: more than one mod of that name: twin.pak, twin.G1O\n");
}

}  // namespace
