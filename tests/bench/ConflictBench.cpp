// The analysis of 500 mods with 2,000 files each (their manifests read into
// an index, and the marks of their order), beside the bare cost of reading
// the same manifests' bytes, in one run; prints the ratio. And the whole
// conflict check with its report, and what the window pays after a move:
// the marks of a new order worked out from the index, read once.
// Run: build/native-release/tests/conflict_bench (see tools/bench.sh).
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <map>

#include "bench/ConflictFolders.h"
#include "mods/ConflictIndex.h"
#include "mods/Conflicts.h"
#include "mods/ModFile.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Utf8.h"
#include "unit/ManifestBytes.h"
#include "unit/TestFiles.h"

using namespace testing_files;

namespace {

using bench::kFilesPerMod;
using bench::kMods;

struct Folder {
    TempFolder paks;
    std::vector<mods::ListedModToCheck> rows;
    std::vector<std::string> manifests;  // paths, for the bare read

    Folder()
    {
        for (int m = 0; m < kMods; ++m) {
            const std::vector<ManifestFolderToWrite> folders = bench::SharedNamesManifest(m);
            const std::wstring name = L"mod" + std::to_wstring(m) + L".PAK";
            const std::vector<unsigned char> bytes = ManifestBytes(folders);
            WriteFile(paks / mods::CompanionName(name), std::string(bytes.begin(), bytes.end()));
            rows.push_back(mods::ListedModToCheck{name, true, false});
            manifests.push_back(platform::ToUtf8(paks / mods::CompanionName(name)));
        }
    }
};

Folder& TheFolder()
{
    static Folder folder;
    return folder;
}

void ConflictAnalysis(benchmark::State& state)
{
    Folder& folder = TheFolder();
    std::vector<std::wstring> names;
    for (const mods::ListedModToCheck& row : folder.rows)
        names.push_back(row.name);
    for (auto _ : state) {
        mods::ConflictIndex index;
        index.Read(platform::SystemFileSystem(), folder.paks.path(), names);
        const mods::ConflictAnalysis analysis = index.Analyse(folder.rows);
        benchmark::DoNotOptimize(analysis.Rows().data());
    }
}

void ConflictCheck(benchmark::State& state)
{
    Folder& folder = TheFolder();
    for (auto _ : state) {
        const mods::ConflictReport report = mods::CheckConflicts(platform::SystemFileSystem(), folder.paks.path(), folder.rows);
        benchmark::DoNotOptimize(report.conflicts.data());
    }
}

// Every fifth row moved to the top, then the marks of the new order.
void MarksAfterMove(benchmark::State& state)
{
    Folder& folder = TheFolder();
    std::vector<std::wstring> names;
    for (const mods::ListedModToCheck& row : folder.rows)
        names.push_back(row.name);
    mods::ConflictIndex index;
    index.Read(platform::SystemFileSystem(), folder.paks.path(), names);
    std::vector<mods::ListedModToCheck> rows = folder.rows;
    for (auto _ : state) {
        std::vector<mods::ListedModToCheck> moved, rest;
        for (std::size_t r = 0; r < rows.size(); ++r)
            (r % 5 == 0 ? moved : rest).push_back(rows[r]);
        moved.insert(moved.end(), rest.begin(), rest.end());
        rows = std::move(moved);
        const mods::ConflictAnalysis analysis = index.Analyse(rows);
        benchmark::DoNotOptimize(analysis.Rows().data());
    }
}

// The least the check must do: open each manifest and read its bytes.
void BareRead(benchmark::State& state)
{
    Folder& folder = TheFolder();
    std::vector<unsigned char> buffer(1 << 20);
    for (auto _ : state) {
        std::size_t total = 0;
        for (const std::string& path : folder.manifests) {
            const int fd = ::open(path.c_str(), O_RDONLY);
            for (ssize_t got; (got = ::read(fd, buffer.data(), buffer.size())) > 0;)
                total += static_cast<std::size_t>(got);
            ::close(fd);
        }
        benchmark::DoNotOptimize(total);
    }
}

BENCHMARK(ConflictAnalysis)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(ConflictCheck)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BareRead)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(MarksAfterMove)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.aggregate_name == "median")
                medians_[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintRatio() const
    {
        const double ours = medians_.at("ConflictAnalysis"), bare = medians_.at("BareRead");
        std::printf("conflict analysis, %d mods x %d files: ours %.1f ms, bare read %.1f ms, ratio %.2f\n", kMods,
                    kFilesPerMod, ours, bare, ours / bare);
        if (medians_.count("ConflictCheck"))
            std::printf("conflict check with its report: %.1f ms, ratio %.2f\n", medians_.at("ConflictCheck"),
                        medians_.at("ConflictCheck") / bare);
        if (medians_.count("MarksAfterMove"))
            std::printf("marks after moving every fifth row to the top, from the index: %.1f ms\n", medians_.at("MarksAfterMove"));
    }

private:
    std::map<std::string, double> medians_;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio();
    return 0;
}
