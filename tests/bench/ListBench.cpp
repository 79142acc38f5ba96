// Drives PakOrder.exe and the bare reference (BareList.exe) side by side in
// one generated PAKS folder and prints, per figure, the median time of each
// and their ratio, with the spread of the ratios run by run. Both programs
// are used only from outside: started, their status line read, their
// buttons' commands sent and waited for (the paint that follows included),
// their rows selected through the list view.
//
//   list_bench <work folder> <mods> <repetitions> <PakOrder.exe> <BareList.exe> figure...
//   figures: startup restore top down sort memory marks
// "marks" moves every fifth of 500 rows to the top once the conflict marks
// of 500 mods x 2,000 files are shown, against the same move in the same
// mods without manifests (PakOrder on both sides; <mods> is not used).
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/ConflictFolders.h"
#include "res/resource.h"

namespace {

constexpr DWORD kWaitLimitMs = 900'000;

double Seconds()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

ULONGLONG Ticks(const SYSTEMTIME& fields)
{
    FILETIME time{};
    SystemTimeToFileTime(&fields, &time);
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

void WriteTime(const std::wstring& path, ULONGLONG ticks)
{
    const HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    const FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
}

// The generated folder: mods with companions, every seventh one disabled,
// their times after 2021 in an order unrelated to their names.
class ModFolder {
public:
    ModFolder(const std::wstring& work, int mods) : path_(work + L"\\" + std::to_wstring(mods) + L"\\")
    {
        const ULONGLONG start = Ticks(SYSTEMTIME{2021, 1, 0, 1, 0, 0, 0, 0});
        for (int i = 0; i < mods; ++i) {
            wchar_t name[32];
            swprintf(name, 32, L"mod%05d.%ls", i, i % 7 == 3 ? L"G1O" : i % 2 ? L"pak" : L"PAK");
            const ULONGLONG shuffled = static_cast<ULONGLONG>((static_cast<long long>(i) * 7919) % mods);
            names_.push_back(name);
            times_.push_back(start + shuffled * 600 * 10'000'000ull + static_cast<ULONGLONG>(i) * 10'000'000ull);
        }
        CreateDirectoryW(work.c_str(), nullptr);
        const std::wstring stamp = path_ + L"generated.txt";
        if (GetFileAttributesW(stamp.c_str()) != INVALID_FILE_ATTRIBUTES)
            return;
        CreateDirectoryW(path_.c_str(), nullptr);
        for (const std::wstring& name : names_) {
            for (const std::wstring& file : {name, name + L".MAN"}) {
                CloseHandle(CreateFileW((path_ + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
            }
        }
        ResetTimes();
        CloseHandle(CreateFileW(stamp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }

    void ResetTimes() const
    {
        for (std::size_t i = 0; i < names_.size(); ++i) {
            WriteTime(path_ + names_[i], times_[i]);
            WriteTime(path_ + names_[i] + L".MAN", times_[i]);
        }
    }

    std::wstring Install(const std::wstring& program, const wchar_t* as) const
    {
        const std::wstring copy = path_ + as;
        if (!CopyFileW(program.c_str(), copy.c_str(), FALSE))
            std::fwprintf(stderr, L"cannot copy %ls to %ls\n", program.c_str(), copy.c_str());
        return copy;
    }

    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
    std::vector<std::wstring> names_;
    std::vector<ULONGLONG> times_;
};

// The marks' folders: 500 mods, each a second apart, with the conflict
// bench's manifests or none.
std::wstring MarksFolder(const std::wstring& work, bool manifests)
{
    const std::wstring path = work + (manifests ? L"\\marks500\\" : L"\\nomarks500\\");
    const std::wstring stamp = path + L"generated.txt";
    if (GetFileAttributesW(stamp.c_str()) != INVALID_FILE_ATTRIBUTES)
        return path;
    CreateDirectoryW(work.c_str(), nullptr);
    CreateDirectoryW(path.c_str(), nullptr);
    const ULONGLONG start = Ticks(SYSTEMTIME{2021, 1, 0, 1, 0, 0, 0, 0});
    for (int m = 0; m < bench::kMods; ++m) {
        wchar_t name[32];
        swprintf(name, 32, L"mod%05d.pak", m);
        CloseHandle(CreateFileW((path + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        WriteTime(path + name, start + static_cast<ULONGLONG>(m) * 10'000'000ull);
        if (!manifests)
            continue;
        const std::vector<unsigned char> bytes = testing_files::ManifestBytes(bench::SharedNamesManifest(m));
        const HANDLE file = CreateFileW((path + name + L".MAN").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    CloseHandle(CreateFileW(stamp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    return path;
}

struct FindWindowOf {
    DWORD process;
    HWND found;
};

HWND MainWindowOf(DWORD process)
{
    FindWindowOf search{process, nullptr};
    EnumWindows([](HWND window, LPARAM l) -> BOOL {
        auto* s = reinterpret_cast<FindWindowOf*>(l);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s->process && GetDlgItem(window, IDC_MOD_LIST)) {
            s->found = window;
            return FALSE;
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// One running program, PakOrder or the bare one.
class Program {
public:
    // Starts the program and waits until its status line shows the count
    // and it is idle.
    Program(const std::wstring& path, const std::wstring& folder, int mods)
    {
        wchar_t expected[64];
        swprintf(expected, 64, L"总共 %d 个MOD", mods);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring command = L"\"" + path + L"\"";
        const double start = Seconds();
        if (!CreateProcessW(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                            &process_)) {
            std::fwprintf(stderr, L"cannot start %ls\n", path.c_str());
            return;
        }
        for (DWORD waited = 0; waited < kWaitLimitMs; ++waited) {
            if (!window_)
                window_ = MainWindowOf(process_.dwProcessId);
            if (window_) {
                wchar_t text[64] = {};
                GetWindowTextW(GetDlgItem(window_, IDC_STATUS), text, 64);  // read without a message
                if (std::wcscmp(text, expected) == 0)
                    break;
            }
            Sleep(1);
        }
        // Then until it has drawn the list and done all it queued for itself
        // (a second read of the folder would show here, not in the count).
        WaitForInputIdle(process_.hProcess, kWaitLimitMs);
        if (window_)
            RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        startupSeconds_ = Seconds() - start;
        list_ = GetDlgItem(window_, IDC_MOD_LIST);
        remoteItem_ = VirtualAllocEx(process_.hProcess, nullptr, sizeof(LVITEMW) + kTextUnits * sizeof(wchar_t),
                                     MEM_COMMIT, PAGE_READWRITE);
    }

    ~Program()
    {
        if (window_) {
            PostMessageW(window_, WM_COMMAND, IDCANCEL, 0);
            AnswerDiscardQuestion();
        }
        if (WaitForSingleObject(process_.hProcess, 30'000) != WAIT_OBJECT_0)
            TerminateProcess(process_.hProcess, 1);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }

    double startupSeconds() const { return startupSeconds_; }

    // Runs a button's command and waits for it and for the paint after it.
    double Command(int id) const
    {
        const double start = Seconds();
        SendMessageW(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window_, id)));
        RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        return Seconds() - start;
    }

    // "还原" untimed, between measures: PakOrder asks before it drops moves
    // not yet written, and the question is answered.
    void Reread() const
    {
        PostMessageW(window_, WM_COMMAND, MAKEWPARAM(IDC_RESTORE, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window_, IDC_RESTORE)));
        AnswerDiscardQuestion();
        SendMessageW(window_, WM_NULL, 0, 0);
        RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }

    void SelectEveryFifthRow(int rows) const
    {
        SetState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (int row = 4; row < rows; row += 5)
            SetState(row, LVIS_SELECTED, LVIS_SELECTED);
        // The selection's own paint is not part of what is measured next.
        RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }

    // Waits until the first row's conflicts cell (the list's last column) has its words.
    void WaitForMarks() const
    {
        for (DWORD waited = 0; waited < kWaitLimitMs; waited += 5) {
            if (!ItemText(0, kConflictsColumn).empty())
                return;
            Sleep(5);
        }
    }

    // What the process has committed for itself: PrivateUsage where the
    // system reports it, else the sum of its committed private regions.
    SIZE_T PrivateBytes() const
    {
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof counters;
        GetProcessMemoryInfo(process_.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
        if (counters.PrivateUsage)
            return counters.PrivateUsage;
        SIZE_T total = 0;
        MEMORY_BASIC_INFORMATION region{};
        for (char* address = nullptr;
             VirtualQueryEx(process_.hProcess, address, &region, sizeof region) == sizeof region;
             address = static_cast<char*>(region.BaseAddress) + region.RegionSize) {
            if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
                total += region.RegionSize;
        }
        return total;
    }

private:
    // The question shows only after a move; the bare program never asks.
    void AnswerDiscardQuestion() const
    {
        for (int waited = 0; waited < 300; waited += 5) {
            DWORD owner = 0;
            HWND box = FindWindowW(L"#32770", L"请确认");
            if (box && GetWindowThreadProcessId(box, &owner) && owner == process_.dwProcessId) {
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                return;
            }
            if (WaitForSingleObject(process_.hProcess, 5) == WAIT_OBJECT_0)
                return;
        }
    }

    void SetState(int row, UINT state, UINT mask) const
    {
        LVITEMW item{};
        item.state = state;
        item.stateMask = mask;
        WriteProcessMemory(process_.hProcess, remoteItem_, &item, sizeof item, nullptr);
        SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remoteItem_));
    }

    std::wstring ItemText(int row, int column) const
    {
        LVITEMW item{};
        item.iSubItem = column;
        item.cchTextMax = kTextUnits;
        item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(remoteItem_) + sizeof(LVITEMW));
        WriteProcessMemory(process_.hProcess, remoteItem_, &item, sizeof item, nullptr);
        const auto units = SendMessageW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remoteItem_));
        std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(units, 0)), L'\0');
        if (!text.empty())
            ReadProcessMemory(process_.hProcess, item.pszText, text.data(), text.size() * sizeof(wchar_t), nullptr);
        return text;
    }

    static constexpr int kTextUnits = 512;
    static constexpr int kConflictsColumn = 4;
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
    HWND list_ = nullptr;
    void* remoteItem_ = nullptr;
    double startupSeconds_ = 0;
};

// The value a quarter (or three quarters) of the way up.
double Quartile(std::vector<double> values, int quarter)
{
    std::sort(values.begin(), values.end());
    return values[(values.size() - 1) * static_cast<std::size_t>(quarter) / 4];
}

// Medians and their ratio; then, so that the noise can be judged, the middle
// half of the ratios of the runs made side by side, and how many there were.
void Report(const std::wstring& figure, const std::vector<double>& ours, const std::vector<double>& bare)
{
    const double a = Median(ours), b = Median(bare);
    std::vector<double> ratios;
    for (std::size_t i = 0; i < ours.size(); ++i)
        ratios.push_back(ours[i] / bare[i]);
    std::wprintf(L"%-36ls ours %9.1f ms   bare %9.1f ms   ratio %5.2f   runs %4.2f-%4.2f of %zu\n", figure.c_str(),
                 a * 1000, b * 1000, a / b, Quartile(ratios, 1), Quartile(ratios, 3), ratios.size());
    std::fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 7) {
        std::fwprintf(stderr, L"usage: list_bench work mods repetitions PakOrder.exe BareList.exe figure...\n");
        return 2;
    }
    const int mods = _wtoi(argv[2]);
    const int repetitions = std::max(1, _wtoi(argv[3]));
    const ModFolder folder(argv[1], mods);
    const std::wstring ours = folder.Install(argv[4], L"PakOrder.exe");
    const std::wstring bare = folder.Install(argv[5], L"BareList.exe");
    const std::wstring count = std::to_wstring(mods) + L" mods";

    for (int f = 6; f < argc; ++f) {
        const std::wstring figure = argv[f];
        std::vector<double> oursTimes, bareTimes;
        if (figure == L"startup") {
            for (int i = 0; i < repetitions; ++i) {
                oursTimes.push_back(Program(ours, folder.path(), mods).startupSeconds());
                bareTimes.push_back(Program(bare, folder.path(), mods).startupSeconds());
            }
            Report(L"start-up until shown and idle, " + count, oursTimes, bareTimes);
        } else if (figure == L"marks") {
            // The program looks in its own folder first.
            std::wstring programs[2];
            for (const bool manifests : {true, false}) {
                programs[manifests ? 0 : 1] = MarksFolder(argv[1], manifests) + L"PakOrder.exe";
                CopyFileW(argv[4], programs[manifests ? 0 : 1].c_str(), FALSE);
            }
            const Program a(programs[0], MarksFolder(argv[1], true), bench::kMods);
            const Program b(programs[1], MarksFolder(argv[1], false), bench::kMods);
            for (int i = 0; i < 4 * repetitions; ++i) {
                for (const Program* program : {&a, &b}) {
                    program->Reread();
                    program->WaitForMarks();
                    program->SelectEveryFifthRow(bench::kMods);
                    (program == &a ? oursTimes : bareTimes).push_back(program->Command(IDC_MOVE_TOP));
                }
            }
            Report(L"every fifth of 500 to the top, marks of 2,000 files each vs none", oursTimes, bareTimes);
        } else if (figure == L"memory") {
            const Program a(ours, folder.path(), mods), b(bare, folder.path(), mods);
            Sleep(500);
            std::wprintf(L"%-36ls ours %9.1f MB   bare %9.1f MB\n", (L"private bytes, " + count).c_str(),
                         static_cast<double>(a.PrivateBytes()) / (1 << 20), static_cast<double>(b.PrivateBytes()) / (1 << 20));
        } else {
            const Program a(ours, folder.path(), mods), b(bare, folder.path(), mods);
            // A move takes some 60 ms, where the noise of a shared machine shows most.
            const bool move = figure == L"top" || figure == L"down";
            for (int i = 0; i < (move ? 4 * repetitions : repetitions); ++i) {
                for (const Program* program : {&a, &b}) {
                    std::vector<double>& times = program == &a ? oursTimes : bareTimes;
                    if (figure == L"restore") {
                        times.push_back(program->Command(IDC_RESTORE));
                    } else if (move) {
                        program->Reread();
                        program->SelectEveryFifthRow(mods);
                        times.push_back(program->Command(figure == L"top" ? IDC_MOVE_TOP : IDC_MOVE_DOWN));
                    } else if (figure == L"sort") {
                        folder.ResetTimes();
                        program->Reread();
                        program->SelectEveryFifthRow(mods);
                        program->Command(IDC_MOVE_TOP);
                        times.push_back(program->Command(IDOK));
                    }
                }
            }
            folder.ResetTimes();
            const wchar_t* what = figure == L"restore" ? L"restore, "
                                  : figure == L"top"   ? L"every fifth row to the top, "
                                  : figure == L"down"  ? L"every fifth row down, "
                                                       : L"smart sort, 1/5 marked, ";
            if (!oursTimes.empty())
                Report(what + count, oursTimes, bareTimes);
        }
    }
    return 0;
}
