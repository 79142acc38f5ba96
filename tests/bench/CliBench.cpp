// pakorder as a program, natively:
//   - `pakorder list` on 5,000 mods against bare_listing, the catalogue
//     bench's readdir + stat loop as a program of its own (both include
//     the start of a process);
//   - `pakorder conflicts` on 500 mods x 2,000 files against the core's
//     conflict check of the same folder in this process.
// The runs alternate, each pair in a random order; prints the medians, their
// ratio and the middle half of the pair-by-pair ratios.
// Run by tools/bench.sh: cli_bench <pakorder> <bare_listing> [repetitions]
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "mods/Conflicts.h"
#include "mods/ModCatalogue.h"
#include "mods/ModFile.h"
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

// Runs the program with stdout and stderr to /dev/null, and waits for it.
void RunProgram(const std::vector<std::string>& arguments)
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
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(child, &status, 0);
    }
    posix_spawn_file_actions_destroy(&actions);
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

}  // namespace

int main(int argc, char** argv)
{
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
    Compare("pakorder list --json, 5,000 mods (native)", repetitions,
            [&] { RunProgram({pakorder, "--folder", list, "list", "--json"}); }, [&] { RunProgram({bare, list}); });
    Compare("pakorder conflicts, 500 mods x 2,000 files", repetitions,
            [&] { RunProgram({pakorder, "--folder", conflicts, "conflicts"}); },
            [&] { mods::CheckConflicts(platform::SystemFileSystem(), conflictFolder.path(), rows); });
    Compare("pakorder conflicts --json, the same", repetitions,
            [&] { RunProgram({pakorder, "--folder", conflicts, "conflicts", "--json"}); },
            [&] { mods::CheckConflicts(platform::SystemFileSystem(), conflictFolder.path(), rows); });
    return 0;
}
