// The real PakOrder.exe, copied into a temporary game folder and started as
// a player starts it.

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

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
            if (owner == s->process && IsWindowVisible(window) && std::wstring(caption).rfind(L"zave2", 0) == 0) {
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

}  // namespace
