// pakorder as a program, natively:
//   - `pakorder list` on 5,000 mods against bare_listing, the catalogue
//     bench's readdir + stat loop as a program of its own (both include
//     the start of a process), and against the same loop reading each
//     enabled mod's manifest, which the list's marks need;
//   - `pakorder conflicts` on 500 mods x 2,000 files against the core's
//     conflict check of the same folder in this process;
//   - `pakorder history` of 50 records of 20,000 mods against bare_records,
//     reading the same files one at a time into one buffer: the time, and
//     the peak memory of each process;
//   - finding the game through a libraryfolders.vdf of 62,000 libraries
//     against reading the file and looking for each library's manifest and
//     game folder, in this process.
// The runs alternate, each pair in a random order; prints the medians, their
// ratio and the middle half of the pair-by-pair ratios.
// Run by tools/bench.sh: cli_bench <pakorder> <bare_listing> [repetitions]
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "mods/ChangeHistory.h"
#include "mods/Conflicts.h"
#include "mods/GameDiscovery.h"
#include "mods/ModCatalogue.h"
#include "mods/ModFile.h"
#include "mods/SteamGame.h"
#include "platform/FileSystem.h"
#include "platform/Utf8.h"
#include "unit/ManifestBytes.h"
#include "unit/TestFiles.h"

extern char** environ;

using namespace testing_files;

namespace {

double Milliseconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Runs the program with stdout and stderr to /dev/null, and waits for it:
// its peak resident memory, in MB.
double RunProgram(const std::vector<std::string>& arguments)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    rusage usage{};
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        wait4(child, &status, 0, &usage);
    }
    posix_spawn_file_actions_destroy(&actions);
    return static_cast<double>(usage.ru_maxrss) / 1024;
}

// The program's peak memory, in MB, measured from a fresh process of this
// bench: a child shares its parent's memory until it starts the program,
// and the system counts that memory as its own.
double PeakMegabytes(const std::vector<std::string>& arguments)
{
    int output[2];
    if (pipe(output) != 0)
        return 0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], 1);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    std::vector<std::string> measured{"/proc/self/exe", "--peak"};
    measured.insert(measured.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : measured)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    const bool started = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    char text[64] = {};
    const ssize_t got = read(output[0], text, sizeof text - 1);
    close(output[0]);
    if (started)
        waitpid(child, nullptr, 0);
    return got > 0 ? std::atof(text) : 0;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void Compare(const char* label, int repetitions, const std::function<void()>& ours, const std::function<void()>& bare)
{
    ours(), bare();  // caches warm for both
    std::mt19937 random(17);
    std::vector<double> oursTimes, bareTimes, ratios;
    for (int i = 0; i < repetitions; ++i) {
        double o = 0, b = 0;
        if (random() % 2) {
            o = Milliseconds(ours), b = Milliseconds(bare);
        } else {
            b = Milliseconds(bare), o = Milliseconds(ours);
        }
        oursTimes.push_back(o), bareTimes.push_back(b), ratios.push_back(o / b);
    }
    std::sort(ratios.begin(), ratios.end());
    const double o = Median(oursTimes), b = Median(bareTimes);
    std::printf("%-44s ours %8.1f ms   bare %8.1f ms   ratio %5.2f (%.2f-%.2f)\n", label, o, b, o / b,
                ratios[ratios.size() / 4], ratios[ratios.size() * 3 / 4]);
}

void MakeListFolder(const std::wstring& paks)
{
    WriteFile(paks + L"/DATA.PAK");
    for (int i = 0; i < 5000; ++i) {
        const std::wstring name = L"mod" + std::to_wstring(i) + (i % 7 ? L".pak" : L".G1O");
        WriteFileWithTime(paks + L"/" + name, Time(2010 + i % 15, 1 + i % 12, 1 + i % 28));
        WriteFile(paks + L"/" + name + L".MAN");
    }
}

// The conflict bench's folder, with the paks beside their manifests.
std::vector<mods::ListedModToCheck> MakeConflictFolder(const std::wstring& paks)
{
    std::vector<mods::ListedModToCheck> rows;
    for (int m = 0; m < 500; ++m) {
        std::vector<ManifestFolderToWrite> folders(20);
        for (int f = 0; f < 20; ++f) {
            folders[f].path = u"MEDIA/UNITS/ITEMS/SET" + std::u16string(1, static_cast<char16_t>(u'A' + f)) + u"/";
            for (int e = 0; e < 100; ++e) {
                const int n = (m * 7919 + e * 104729 + f) % 2000;
                std::u16string name = u"ITEM_";
                for (char c : std::to_string(n))
                    name.push_back(static_cast<char16_t>(c));
                folders[f].entries.push_back(ManifestFileToWrite{name + u".DAT", static_cast<std::uint32_t>(m), 100});
            }
        }
        const std::wstring name = L"mod" + std::to_wstring(m) + L".PAK";
        const std::vector<unsigned char> bytes = ManifestBytes(folders);
        WriteFileWithTime(paks + L"/" + name, Time(2015, 1, 1) + static_cast<mods::FileTime>(m) * mods::kTicksPerDay);
        WriteFile(paks + L"/" + mods::CompanionName(name), std::string(bytes.begin(), bytes.end()));
        rows.push_back(mods::ListedModToCheck{name, true, false});
    }
    return rows;
}

// A PAKS folder whose history holds 50 records of 20,000 mods: smart sorts
// that re-time every mod, switches of one mod (renamed, so listed in another
// place afterwards) and set-times. The folder itself holds two mods: the
// history reads the records only.
std::wstring MakeHistory(const std::wstring& paks, const std::wstring& stateRoot)
{
    for (const wchar_t* name : {L"DATA.PAK", L"a.pak", L"b.pak"})
        WriteFile(paks + L"/" + name);
    std::vector<mods::RecordedMod> state;
    for (int i = 0; i < 20000; ++i) {
        const std::wstring name = L"SomeonesMod_" + std::to_wstring(i) + (i % 7 ? L".pak" : L".G1O");
        const mods::FileTime time = Time(2015, 1, 1) + static_cast<mods::FileTime>(i) * 2 * mods::kTicksPerSecond;
        state.push_back({{name, time}, mods::RecordedFile{mods::CompanionName(name), time}});
    }
    mods::ChangeHistory history(platform::SystemFileSystem(), stateRoot + L"/pakorder", paks);
    for (std::size_t r = 0; r < 50; ++r) {
        std::vector<mods::RecordedMod> after = state;
        const std::size_t one = r * 397 % after.size();
        mods::RecordedAction action = mods::RecordedAction::SmartSort;
        if (r % 3 == 0) {
            for (mods::RecordedMod& mod : after)
                mod.pak.time = mod.companion->time = mod.pak.time + mods::kTicksPerDay;
        } else if (r % 3 == 1) {
            action = mods::RecordedAction::Enable;
            mods::RecordedMod renamed = after[one];
            renamed.pak.name = renamed.pak.name.substr(0, renamed.pak.name.rfind(L'.')) + L".PAK";
            renamed.companion->name = mods::CompanionName(renamed.pak.name);
            after.erase(after.begin() + static_cast<std::ptrdiff_t>(one));
            after.insert(after.begin() + static_cast<std::ptrdiff_t>(one * 7 % after.size()), renamed);
        } else {
            action = mods::RecordedAction::SetTime;
            after[one].pak.time = after[one].companion->time = Time(2024, 1, 1);
        }
        std::uint64_t sequence = 0;
        history.Begin(action, {after[one].pak.name}, std::nullopt, state, sequence);
        history.Complete(sequence, after);
        state = std::move(after);
    }
    return history.RecordsFolder();
}

// A Steam installation whose libraryfolders.vdf names 62,000 libraries (as
// many as its 1 MB holds), none of them there.
void MakeSteam(const std::wstring& root)
{
    std::string vdf = "\"libraryfolders\"\n{\n";
    for (int i = 0; i < 62000; ++i)
        vdf += std::to_string(i) + " /lib/" + std::to_string(i) + "\n";
    MakeFolder(root + L"/steamapps");
    WriteFile(root + L"/steamapps/libraryfolders.vdf", vdf + "}\n");
}

// What finding the game in those libraries needs at least: the file read,
// and for each library its manifest and its game folder looked for.
void LookInLibraries(const std::wstring& root)
{
    std::ifstream file(platform::ToUtf8(root) + "/steamapps/libraryfolders.vdf");
    for (std::string line; std::getline(file, line);) {
        const std::size_t space = line.find(' ');
        if (space == std::string::npos)
            continue;
        const std::string library = line.substr(space + 1);
        const int manifest = open((library + "/steamapps/appmanifest_200710.acf").c_str(), O_RDONLY);
        if (manifest >= 0)
            close(manifest);
        if (DIR* game = opendir((library + "/steamapps/common/Torchlight II").c_str()))
            closedir(game);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 2 && std::string(argv[1]) == "--peak") {  // see PeakMegabytes
        std::printf("%.1f\n", RunProgram(std::vector<std::string>(argv + 2, argv + argc)));
        return 0;
    }
    if (argc < 3)
        return 2;
    const std::string pakorder = argv[1], bare = argv[2];
    const int repetitions = argc > 3 ? std::max(3, std::atoi(argv[3])) : 11;
    TempFolder listFolder, conflictFolder, state;
    MakeListFolder(listFolder.path());
    const std::vector<mods::ListedModToCheck> rows = MakeConflictFolder(conflictFolder.path());
    ::sync();  // written out before anything is timed
    setenv("XDG_STATE_HOME", platform::ToUtf8(state.path()).c_str(), 1);

    const std::string list = platform::ToUtf8(listFolder.path()), conflicts = platform::ToUtf8(conflictFolder.path());
    Compare("pakorder list, 5,000 mods (native)", repetitions,
            [&] { RunProgram({pakorder, "--folder", list, "list"}); }, [&] { RunProgram({bare, list}); });
    Compare("pakorder list, against reading the manifests too", repetitions,
            [&] { RunProgram({pakorder, "--folder", list, "list"}); },
            [&] { RunProgram({bare, "--manifests", list}); });
    Compare("pakorder list --json, 5,000 mods (native)", repetitions,
            [&] { RunProgram({pakorder, "--folder", list, "list", "--json"}); }, [&] { RunProgram({bare, list}); });
    Compare("pakorder conflicts, 500 mods x 2,000 files", repetitions,
            [&] { RunProgram({pakorder, "--folder", conflicts, "conflicts"}); },
            [&] { mods::CheckConflicts(platform::SystemFileSystem(), conflictFolder.path(), rows); });
    Compare("pakorder conflicts --json, the same", repetitions,
            [&] { RunProgram({pakorder, "--folder", conflicts, "conflicts", "--json"}); },
            [&] { mods::CheckConflicts(platform::SystemFileSystem(), conflictFolder.path(), rows); });

    // The history against reading its records' files one at a time.
    TempFolder historyFolder;
    const std::string records = platform::ToUtf8(MakeHistory(historyFolder.path(), state.path()));
    const std::string paks = platform::ToUtf8(historyFolder.path());
    const std::string bareRecords = bare.substr(0, bare.rfind('/') + 1) + "bare_records";
    ::sync();
    Compare("pakorder history, 20,000 mods x 50 records", repetitions,
            [&] { RunProgram({pakorder, "--folder", paks, "history"}); }, [&] { RunProgram({bareRecords, records}); });
    const double oursPeak = PeakMegabytes({pakorder, "--folder", paks, "history"});
    const double barePeak = PeakMegabytes({bareRecords, records});
    std::printf("%-44s ours %8.1f MB   bare %8.1f MB   ratio %5.2f\n", "  its peak memory", oursPeak, barePeak,
                oursPeak / barePeak);

    // Finding the game through Steam's libraries, in this process.
    TempFolder steam;
    MakeSteam(steam.path());
    Compare("game discovery, 62,000 Steam libraries", std::max(3, repetitions / 4),
            [&] { mods::DiscoverGames(platform::SystemFileSystem(), mods::SteamGameFolders(platform::SystemFileSystem(), {steam.path()})); },
            [&] { LookInLibraries(steam.path()); });
    return 0;
}
