// The real PakOrder.exe, copied into a temporary game folder and started as
// a player starts it, and killed as a crash or a power cut would stop it.

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cwchar>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "unit/TestFiles.h"

using namespace testing_files;

namespace {

struct FindByCaption {
    DWORD process;
    HWND found;
};

HWND WaitForMainWindow(DWORD process)
{
    for (int i = 0; i < 400; ++i) {
        FindByCaption search{process, nullptr};
        EnumWindows([](HWND window, LPARAM l) -> BOOL {
            auto* s = reinterpret_cast<FindByCaption*>(l);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t caption[64] = {};
            GetWindowTextW(window, caption, 64);
            if (owner == s->process && IsWindowVisible(window) && std::wstring(caption).rfind(L"PakOrder          (Ctrl", 0) == 0) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        }, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(25);
    }
    return nullptr;
}

// The top-level window of the process with that caption, once it shows.
HWND WaitForWindowOf(DWORD process, const std::wstring& caption, int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs; waited += 25) {
        FindByCaption search{process, nullptr};
        for (HWND window = FindWindowW(L"#32770", caption.c_str()); window;
             window = FindWindowExW(nullptr, window, L"#32770", caption.c_str())) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == process && IsWindowVisible(window))
                return window;
        }
        Sleep(25);
    }
    return nullptr;
}

std::wstring Text(HWND window)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);  // marshalled across processes
    return text;
}

TEST(Program, StartedInTheGameFolderListsItsMods)
{
    TempFolder game;
    const std::wstring paks = game / L"PAKS";
    MakeFolder(paks);
    WriteFileWithTime(platform::JoinPath(paks, L"DATA.PAK"), Time(2012, 9, 20));
    WriteFileWithTime(platform::JoinPath(paks, L"a.PAK"), Time(2014, 1, 1));
    WriteFileWithTime(platform::JoinPath(paks, L"b.G1O"), Time(2013, 1, 1));
    WriteFileWithTime(platform::JoinPath(paks, L"模组.pak"), Time(2015, 1, 1));
    const std::wstring program = game / L"PakOrder.exe";
    ASSERT_TRUE(platform::SystemFileSystem().CopyNoReplace(BuiltProgram(L"PakOrder.exe"), program).ok());
    ASSERT_TRUE(platform::SystemFileSystem().CopyNoReplace(BuiltProgram(L"Torchlight2.exe"), game / L"Torchlight2.exe").ok());

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring command = L"\"" + program + L"\"";
    ASSERT_TRUE(CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               paks.c_str(), &startup, &process));
    HWND window = WaitForMainWindow(process.dwProcessId);
    EXPECT_NE(window, nullptr);
    if (window) {
        EXPECT_EQ(Text(GetDlgItem(window, 1009)), L"总共 3 个MOD");
        EXPECT_EQ(SendMessageW(GetDlgItem(window, 1005), LVM_GETITEMCOUNT, 0, 0), 3);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, 1008)));
        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);  // Escape ends the program
    }
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// What pakorder.com writes to stdout.
std::string ConsoleOutput(const std::wstring& program, const std::wstring& arguments)
{
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, &inherited, 0))
        return {};
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write;
    startup.hStdError = write;
    PROCESS_INFORMATION process{};
    std::wstring command = L"\"" + program + L"\" " + arguments;
    const bool started = CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, nullptr, &startup, &process);
    CloseHandle(write);
    std::string output;
    char buffer[256];
    for (DWORD got = 0; started && ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got > 0;)
        output.append(buffer, got);
    CloseHandle(read);
    if (started) {
        WaitForSingleObject(process.hProcess, 10000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    return output;
}

TEST(Program, TheWindowAndTheCommandLineShowOneVersion)
{
    const std::wstring window = BuiltProgram(L"PakOrder.exe");
    std::vector<char> information(GetFileVersionInfoSizeW(window.c_str(), nullptr));
    ASSERT_FALSE(information.empty());
    ASSERT_TRUE(GetFileVersionInfoW(window.c_str(), 0, static_cast<DWORD>(information.size()), information.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(information.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    wchar_t* product = nullptr;
    ASSERT_TRUE(VerQueryValueW(information.data(), L"\\StringFileInfo\\080404B0\\ProductVersion",
                               reinterpret_cast<void**>(&product), &length));
    const std::wstring numbers = std::to_wstring(HIWORD(fixed->dwProductVersionMS)) + L"." +
                                 std::to_wstring(LOWORD(fixed->dwProductVersionMS)) + L"." +
                                 std::to_wstring(HIWORD(fixed->dwProductVersionLS));
    EXPECT_EQ(std::wstring(product), numbers + L".0");
    const std::string said = ConsoleOutput(BuiltProgram(L"pakorder.com"), L"--version");
    const std::string line = "pakorder " + std::string(numbers.begin(), numbers.end());
    EXPECT_TRUE(said == line + "\n" || said.rfind(line + " (commit ", 0) == 0) << said;
}

// A game folder with the program and the game in it.
struct Game {
    TempFolder root;
    std::wstring paks = root / L"PAKS";
    std::wstring program = root / L"PakOrder.exe";
    Game()
    {
        MakeFolder(paks);
        platform::SystemFileSystem().CopyNoReplace(BuiltProgram(L"PakOrder.exe"), program);
        platform::SystemFileSystem().CopyNoReplace(BuiltProgram(L"Torchlight2.exe"), root / L"Torchlight2.exe");
    }
    std::wstring Pak(const std::wstring& name) const { return platform::JoinPath(paks, name); }
    PROCESS_INFORMATION Start() const
    {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        std::wstring command = L"\"" + program + L"\"";
        CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, paks.c_str(), &startup,
                       &process);
        return process;
    }
};

void Close(const PROCESS_INFORMATION& process)
{
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

mods::FileTime DiskTime(const std::wstring& path)
{
    mods::FileTime time = 0;
    platform::SystemFileSystem().ReadLastWriteTime(path, time);
    return time;
}

TEST(Program, KilledHalfWayThroughASmartSortItOffersTheFolderBackAndGivesEveryTimeBack)
{
    // Mods from before the base year, in order: the smart sort re-times every one.
    constexpr int kMods = 4000;
    Game game;
    std::vector<std::wstring> files;
    for (int i = 0; i < kMods; ++i) {
        wchar_t name[32];
        swprintf(name, 32, L"mod%05d.pak", i);
        files.push_back(name);
        files.push_back(std::wstring(name) + L".MAN");
    }
    std::vector<mods::FileTime> before;
    for (std::size_t i = 0; i < files.size(); ++i) {
        before.push_back(Time(2015, 1, 1) + static_cast<mods::FileTime>(i / 2) * 20000000 + i % 2 * 1234567);
        WriteFileWithTime(game.Pak(files[i]), before.back());
    }

    PROCESS_INFORMATION first = game.Start();
    HWND window = WaitForMainWindow(first.dwProcessId);
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_COMMAND, IDOK, 0);
    // Killed once the sort has begun writing and before it has finished.
    for (int i = 0; i < 20000 && DiskTime(game.Pak(files.front())) == before.front(); ++i)
        Sleep(1);
    TerminateProcess(first.hProcess, 9);
    Close(first);
    ASSERT_NE(DiskTime(game.Pak(files.front())), before.front());
    ASSERT_EQ(DiskTime(game.Pak(files.back())), before.back()) << "the sort ended before the kill";

    PROCESS_INFORMATION second = game.Start();
    HWND question = WaitForWindowOf(second.dwProcessId, L"上次的操作没有完成", 20000);
    ASSERT_NE(question, nullptr);
    EXPECT_NE(Text(GetDlgItem(question, 0xFFFF)).find(L"智能排序"), std::wstring::npos);
    PostMessageW(question, WM_COMMAND, IDYES, 0);
    window = WaitForMainWindow(second.dwProcessId);
    ASSERT_NE(window, nullptr);
    std::vector<mods::FileTime> after;
    for (int i = 0; i < 400 && after != before; ++i, Sleep(25)) {
        after.clear();
        for (const std::wstring& file : files)
            after.push_back(DiskTime(game.Pak(file)));
    }
    EXPECT_EQ(after, before);
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    Close(second);
}

}  // namespace
