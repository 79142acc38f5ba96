// What recording costs, beside the bare work it guards, in one run:
//   - a record of 5,000 mods written durably, against writing the same
//     bytes to a file and flushing it;
//   - the undo of a smart sort of 5,000 mods (the state read, the undo's own
//     record, the plan and the writes), against a bare loop setting the same
//     times back, pak and companion.
// The two sides alternate; the medians are compared. Built natively and for
// Windows (run under Wine); run by tools/bench.sh, or by hand with a count
// of repetitions.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "mods/ChangeHistory.h"
#include "mods/ChangeRecord.h"
#include "mods/FolderWriter.h"
#include "mods/FolderState.h"
#include "mods/ModFile.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Utf8.h"
#include "unit/TestFiles.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

using namespace testing_files;

namespace {

constexpr int kMods = 5000;
constexpr int kEarlierRecords = 20;  // a history in use, not an empty one

platform::FileSystem& Fs() { return platform::SystemFileSystem(); }

double MillisecondsOf(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Print(const char* what, const std::vector<double>& ours, const std::vector<double>& bare)
{
    const double o = Median(ours), b = Median(bare);
    std::printf("%-44s ours %9.1f ms   bare %9.1f ms   ratio %5.2f\n", what, o, b, o / b);
    std::fflush(stdout);
}

// The least a durable write of these bytes can be: one file, written and flushed.
void WriteAndFlush(const std::wstring& path, const std::string& bytes)
{
#ifdef _WIN32
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    FlushFileBuffers(file);
    CloseHandle(file);
#else
    const int fd = ::open(platform::ToUtf8(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (::write(fd, bytes.data(), bytes.size()) < 0)
        std::perror("write");
    ::fsync(fd);
    ::close(fd);
#endif
}

struct Mods {
    TempFolder paks;
    std::vector<mods::RecordedMod> state;  // as made: the state before the sort
    std::vector<mods::RecordedMod> sorted;

    Mods()
    {
        for (int i = 0; i < kMods; ++i) {
            const std::wstring name = L"mod" + std::to_wstring(i) + L".PAK";
            const mods::FileTime before = Time(2015, 1, 1) + static_cast<mods::FileTime>(i) * 10000000;
            const mods::FileTime after = Time(2024, 1, 1) + static_cast<mods::FileTime>(kMods - i) * 10000000;
            WriteFileWithTime(paks / name, before);
            WriteFileWithTime(paks / mods::CompanionName(name), before, "man");
            state.push_back({{name, before}, mods::RecordedFile{mods::CompanionName(name), before}});
            sorted.push_back({{name, after}, mods::RecordedFile{mods::CompanionName(name), after}});
        }
    }

    void WriteTimes(const std::vector<mods::RecordedMod>& times)
    {
        for (const mods::RecordedMod& mod : times) {
            Fs().WriteLastWriteTime(paks / mod.pak.name, mod.pak.time);
            Fs().WriteLastWriteTime(paks / mod.companion->name, mod.companion->time);
        }
    }
};

void RecordWrite(int repetitions)
{
    Mods mods;
    TempFolder root, bareFolder;
    mods::ChangeHistory history(Fs(), root.path(), mods.paks.path());
    mods::ChangeRecord sample;
    sample.paksFolder = mods.paks.path();
    sample.action = mods::RecordedAction::SmartSort;
    sample.before = mods.state;
    const std::string bytes = mods::FormatRecord(sample);

    std::vector<double> ours, bare;
    for (int i = 0; i < repetitions; ++i) {
        ours.push_back(MillisecondsOf([&] {
            std::uint64_t sequence = 0;
            if (!history.Begin(mods::RecordedAction::SmartSort, {}, std::nullopt, mods.state, sequence).ok())
                std::fprintf(stderr, "the record could not be written\n");
        }));
        bare.push_back(MillisecondsOf([&] { WriteAndFlush(bareFolder / (L"bare" + std::to_wstring(i)), bytes); }));
    }
    Print("record of 5,000 mods, written and flushed", ours, bare);
}

void UndoOfASmartSort(int repetitions)
{
    Mods mods;
    TempFolder root;
    mods::ChangeHistory history(Fs(), root.path(), mods.paks.path());
    const auto sortRecorded = [&] {
        std::uint64_t sequence = 0;
        history.Begin(mods::RecordedAction::SmartSort, {}, std::nullopt, mods.state, sequence);
        mods.WriteTimes(mods.sorted);
        history.Complete(sequence);
    };
    for (int i = 0; i < kEarlierRecords; ++i)
        sortRecorded();

    std::vector<double> ours, bare;
    for (int i = 0; i < repetitions; ++i) {
        sortRecorded();
        ours.push_back(MillisecondsOf([&] {
            const mods::RestoreOutcome undone = mods::FolderWriter(Fs(), &history).Undo();
            if (undone.filesChanged != 2 * kMods)
                std::fprintf(stderr, "the undo changed %d files\n", undone.filesChanged);
        }));
        mods.WriteTimes(mods.sorted);
        bare.push_back(MillisecondsOf([&] { mods.WriteTimes(mods.state); }));
    }
    Print("undo of a smart sort of 5,000 mods", ours, bare);
}

}  // namespace

int main(int argc, char** argv)
{
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    RecordWrite(repetitions);
    UndoOfASmartSort(repetitions);
    return 0;
}
