// How long a refill's catalogue read takes on real files: the scan, one time
// read per mod and the ordering. Run by hand: build/native/tests/catalogue_bench
#include <benchmark/benchmark.h>

#include "mods/ModCatalogue.h"
#include "platform/FileSystem.h"
#include "unit/TestFiles.h"

using namespace testing_files;

static void ReadCatalogue(benchmark::State& state)
{
    TempFolder folder;
    const int mods = static_cast<int>(state.range(0));
    for (int i = 0; i < mods; ++i) {
        const std::wstring name = L"mod" + std::to_wstring(i) + (i % 3 ? L".pak" : L".G1O");
        WriteFileWithTime(folder / name, Time(2010 + i % 15, 1 + i % 12, 1 + i % 28));
        WriteFile(folder / (name + L".MAN"));
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(mods::ReadModCatalogue(platform::SystemFileSystem(), folder.path()));
    state.SetItemsProcessed(state.iterations() * mods);
}
BENCHMARK(ReadCatalogue)->Arg(20)->Arg(200)->Arg(2000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
