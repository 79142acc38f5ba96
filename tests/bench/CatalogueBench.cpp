// How long a refill's catalogue read takes on real files (the scan, one time
// read per mod and the ordering), against a bare readdir + stat loop over the
// same folder. Run by tools/bench.sh, or by hand: build/native/tests/catalogue_bench
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <map>
#include <memory>
#include <string>

#include "bench/BareLoop.h"
#include "mods/ModCatalogue.h"
#include "platform/FileSystem.h"
#include "platform/Utf8.h"
#include "unit/TestFiles.h"

using namespace testing_files;

namespace {

// One folder per size, made once for both benchmarks.
const TempFolder& ModFolder(int mods)
{
    static std::map<int, std::unique_ptr<TempFolder>> folders;
    std::unique_ptr<TempFolder>& folder = folders[mods];
    if (!folder) {
        folder = std::make_unique<TempFolder>();
        for (int i = 0; i < mods; ++i) {
            const std::wstring name = L"mod" + std::to_wstring(i) + (i % 3 ? L".pak" : L".G1O");
            WriteFileWithTime(*folder / name, Time(2010 + i % 15, 1 + i % 12, 1 + i % 28));
            WriteFile(*folder / (name + L".MAN"));
        }
    }
    return *folder;
}

void ReadCatalogue(benchmark::State& state)
{
    const TempFolder& folder = ModFolder(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(mods::ReadModCatalogue(platform::SystemFileSystem(), folder.path()));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The least the read can do: one pass over the folder, one stat per mod.
void ReaddirAndStat(benchmark::State& state)
{
    const std::string folder = platform::ToUtf8(ModFolder(static_cast<int>(state.range(0))).path());
    for (auto _ : state) {
        long long newest = 0;
        bench::ReaddirAndStat(folder, [&](const char*, const struct stat& info) {
            if (info.st_mtime > newest)
                newest = info.st_mtime;
        });
        benchmark::DoNotOptimize(newest);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(ReadCatalogue)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(ReaddirAndStat)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The folders are made, and written out, before anything is measured: the
// system's writing back of thousands of new files would otherwise slow
// whichever benchmark runs first.
int main(int argc, char** argv)
{
    for (int mods : {1000, 10000})
        ModFolder(mods);
    ::sync();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
