// The conflict check on the real main window: real manifests on disk, the
// report dialog read as the user sees it.

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include "app/FailureTexts.h"
#include "gui/MainWindowFixture.h"
#include "mods/ChangeHistory.h"
#include "mods/Conflicts.h"
#include "mods/IntendedOverlaps.h"
#include "platform/FileSystem.h"
#include "res/resource.h"
#include "unit/ManifestBytes.h"

using namespace testing_files;
using namespace gui;

namespace {

// While armed, every allocation of more than a megabyte on the armed thread
// fails, as when memory runs out.
std::atomic<DWORD> g_starvedThread{0};
constexpr std::size_t kStarvedAbove = 1u << 20;

}  // namespace

void* operator new(std::size_t size)
{
    const DWORD starved = g_starvedThread.load();
    if (size > kStarvedAbove && starved != 0 && starved == GetCurrentThreadId())
        throw std::bad_alloc();
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}

namespace {

// A manifest file's content, as WriteFile takes it.
std::string Manifest(const std::vector<ManifestFolderToWrite>& folders)
{
    const std::vector<unsigned char> bytes = ManifestBytes(folders);
    return std::string(bytes.begin(), bytes.end());
}

struct ReportRow {
    std::wstring path, winner, overridden, identical;
    bool operator==(const ReportRow& o) const
    {
        return path == o.path && winner == o.winner && overridden == o.overridden && identical == o.identical;
    }
};
std::ostream& operator<<(std::ostream& out, const ReportRow& row)
{
    return out << testing::PrintToString(row.path) << " " << testing::PrintToString(row.winner) << " "
               << testing::PrintToString(row.overridden) << " " << testing::PrintToString(row.identical);
}

struct Report {
    std::vector<ReportRow> rows;
    std::wstring summary, note, unchecked;
};

// Presses the button, reads the report dialog and closes it.
Report RunCheck(HWND window)
{
    Report report;
    PostMessageW(GetDlgItem(window, IDC_CONFLICT_CHECK), BM_CLICK, 0, 0);
    HWND dialog = WaitForDialogTitled(L"冲突检测");
    EXPECT_NE(dialog, nullptr);
    if (!dialog)
        return report;
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), window);
    HWND list = GetDlgItem(dialog, IDC_CONFLICT_LIST);
    for (int row = 0; row < ListCount(list); ++row)
        report.rows.push_back(
            ReportRow{ListText(list, row, 0), ListText(list, row, 1), ListText(list, row, 2), ListText(list, row, 3)});
    report.summary = WindowText(GetDlgItem(dialog, IDC_CONFLICT_SUMMARY));
    report.note = WindowText(GetDlgItem(dialog, IDC_CONFLICT_NOTE));
    report.unchecked = WindowText(GetDlgItem(dialog, IDC_UNCHECKED_MODS));
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDCANCEL)), L"关闭");

    // A larger window: the list takes the room, the close button keeps to the corner.
    auto rectOf = [](HWND control) {
        RECT r{};
        GetWindowRect(control, &r);
        return r;
    };
    const RECT window0 = rectOf(dialog), list0 = rectOf(list), close0 = rectOf(GetDlgItem(dialog, IDCANCEL));
    SetWindowPos(dialog, nullptr, 0, 0, window0.right - window0.left + 120, window0.bottom - window0.top + 80,
                 SWP_NOMOVE | SWP_NOZORDER);
    const RECT list1 = rectOf(list), close1 = rectOf(GetDlgItem(dialog, IDCANCEL));
    EXPECT_EQ(list1.right - list1.left, list0.right - list0.left + 120);
    EXPECT_EQ(list1.bottom - list1.top, list0.bottom - list0.top + 80);
    EXPECT_EQ(close1.left - close0.left, 120);
    EXPECT_EQ(close1.top - close0.top, 80);
    PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    for (int i = 0; i < 200 && IsWindow(dialog); ++i)
        Sleep(25);
    EXPECT_FALSE(IsWindow(dialog));
    return report;
}

const std::wstring kIdenticalNote = L"同一文件在各MOD中内容完全相同的（相同副本）列在最后，它们不是真正的冲突。";

TEST(ConflictCheck, ReportsWinnersInTheOrderShown)
{
    GameFolder game;
    const std::u16string items = u"MEDIA/UNITS/ITEMS/";
    const std::pair<const wchar_t*, std::vector<ManifestFolderToWrite>> mods[] = {
        {L"a.pak", {{items, {{u"sword.dat", 1}, {u"shield.dat", 2}}}, {u"MEDIA/", {{u"技能.dat", 5}}}}},
        {L"b.pak", {{u"media\\units\\items\\", {{u"SWORD.DAT", 3}}}, {u"MEDIA/", {{u"技能.dat", 5}}}}},
        {L"c.pak", {{items, {{u"shield.dat", 4}, {u"sword.dat", 6}}}}},
        {L"f.G1O", {{items, {{u"sword.dat", 9}}}}},  // disabled: not loaded, not checked
    };
    int day = 1;
    for (const auto& [name, folders] : mods) {
        WriteFileWithTime(game.Pak(name), Time(2021, 1, day++));
        WriteFile(game.Pak(std::wstring(name) + L".MAN"), Manifest(folders));
    }
    WriteFileWithTime(game.Pak(L"d.pak"), Time(2021, 1, 10));
    WriteFileWithTime(game.Pak(L"e.pak"), Time(2021, 1, 11));
    WriteFile(game.Pak(L"e.pak.MAN"), Manifest({{items, {{u"sword.dat", 7}}}}).substr(0, 40));
    WriteFileWithTime(game.Pak(L"g.pak"), Time(2021, 1, 12));
    WriteFile(game.Pak(L"g.pak.MAN"), Manifest({{items, {{u"sword.dat", 8}}}}));
    // Another program holds g's manifest open: it cannot be read.
    HANDLE held = CreateFileW(game.Pak(L"g.pak.MAN").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const std::wstring sharing = DescribeError(platform::FsStatus{ERROR_SHARING_VIOLATION});

    RunMainWindow(game.Program(), [&](HWND window) {
        ASSERT_EQ(Rows(window).size(), 7u);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_CONFLICT_CHECK)));
        const Report all = RunCheck(window);
        EXPECT_EQ(all.rows, (std::vector<ReportRow>{{L"MEDIA/UNITS/ITEMS/shield.dat", L"c.pak", L"a.pak", L""},
                                                    {L"MEDIA/UNITS/ITEMS/sword.dat", L"c.pak", L"a.pak, b.pak", L""},
                                                    {L"MEDIA/技能.dat", L"b.pak", L"a.pak", L"是"}}));
        EXPECT_EQ(all.summary, L"2 个文件冲突，涉及 3 个MOD；另有 1 个文件是相同副本");
        EXPECT_EQ(all.note, kIdenticalNote);
        EXPECT_EQ(all.unchecked, L"以下MOD无法检查：\r\nd.pak：没有清单文件\r\ne.pak：清单文件格式错误\r\ng.pak：清单文件无法读取：" + sharing);

        // c moved above b, not written: b now wins the sword; only c's files are listed.
        OnUiThread([&] {
            ModList(window)->SetItemState(-1, 0, LVIS_SELECTED);
            ModList(window)->SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
        });
        ClickButton(window, IDC_MOVE_UP);
        const Report moved = RunCheck(window);
        EXPECT_EQ(moved.rows, (std::vector<ReportRow>{{L"MEDIA/UNITS/ITEMS/shield.dat", L"c.pak", L"a.pak", L""},
                                                      {L"media\\units\\items\\SWORD.DAT", L"b.pak", L"a.pak, c.pak", L""}}));
        EXPECT_EQ(moved.summary, L"2 个文件冲突，涉及 3 个MOD");
        EXPECT_EQ(moved.note, kIdenticalNote + L"\r\n只列出涉及所选MOD的文件。");
        EXPECT_EQ(Rows(window)[1].mark, kMovedMark);  // the check wrote nothing

        // A refill down to one mod leaves nothing to compare.
        for (const wchar_t* name : {L"a.pak", L"b.pak", L"c.pak", L"d.pak", L"e.pak", L"f.G1O"})
            ASSERT_TRUE(platform::SystemFileSystem().RemoveFile(game.Pak(name)).ok());
        RestoreList(window);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_CONFLICT_CHECK)));
    });
    CloseHandle(held);
}

// The files of an overlap the player means are folded under a heading of
// their own, which a click opens and Space closes.
TEST(ConflictCheck, OverlapsMeantAreFoldedUnderTheirHeading)
{
    GameFolder game;
    const std::u16string items = u"MEDIA/UNITS/ITEMS/";
    const std::pair<const wchar_t*, std::vector<ManifestFolderToWrite>> mods[] = {
        {L"a.pak", {{items, {{u"sword.dat", 1}, {u"shield.dat", 2}}}}},
        {L"b.pak", {{items, {{u"sword.dat", 3}}}}},
        {L"c.pak", {{items, {{u"shield.dat", 4}}}}},
    };
    int day = 1;
    for (const auto& [name, folders] : mods) {
        WriteFileWithTime(game.Pak(name), Time(2021, 1, day++));
        WriteFile(game.Pak(std::wstring(name) + L".MAN"), Manifest(folders));
    }
    const std::wstring records =
        mods::ChangeHistory(platform::SystemFileSystem(), HistoryRoot(), game.paks).RecordsFolder();
    ASSERT_TRUE(mods::WriteIntendedOverlaps(platform::SystemFileSystem(), mods::IntendedOverlapsPath(records),
                                            {{L"b", L"a"}}).ok());

    RunMainWindow(game.Program(), [&](HWND window) {
        PostMessageW(GetDlgItem(window, IDC_CONFLICT_CHECK), BM_CLICK, 0, 0);
        HWND dialog = WaitForDialogTitled(L"冲突检测");
        ASSERT_NE(dialog, nullptr);
        HWND list = GetDlgItem(dialog, IDC_CONFLICT_LIST);
        auto rows = [&] {
            std::vector<std::wstring> shown;
            for (int row = 0; row < ListCount(list); ++row)
                shown.push_back(ListText(list, row, 0) + L" | " + ListText(list, row, 1));
            return shown;
        };
        EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_CONFLICT_SUMMARY)),
                  L"1 个文件冲突，涉及 2 个MOD；另有 1 个文件是有意的覆盖");
        EXPECT_EQ(rows(), (std::vector<std::wstring>{L"MEDIA/UNITS/ITEMS/shield.dat | c.pak",
                                                     L"[+] 有意的覆盖：1 个文件（单击展开） | "}));

        RECT heading{LVIR_BOUNDS, 0, 0, 0};
        SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&heading));
        PostClick(list, POINT{heading.left + 20, (heading.top + heading.bottom) / 2});
        Settle();
        EXPECT_EQ(rows(), (std::vector<std::wstring>{L"MEDIA/UNITS/ITEMS/shield.dat | c.pak",
                                                     L"[-] 有意的覆盖：1 个文件 | ",
                                                     L"MEDIA/UNITS/ITEMS/sword.dat | b.pak"}));
        PostMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
        Settle();
        EXPECT_EQ(rows().size(), 2u);

        PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
        for (int i = 0; i < 200 && IsWindow(dialog); ++i)
            Sleep(25);
    });
}

// The review's cases on the real program: one file however its path is split
// or its letters are cased, and a manifest past the size limit named while
// the others are checked.
TEST(ConflictCheck, AFileIsItsWholePathAndAManifestTooLargeIsNamed)
{
    GameFolder game;
    const std::pair<const wchar_t*, std::vector<ManifestFolderToWrite>> mods[] = {
        {L"a.pak", {{u"MEDIA/", {{u"UNITS/X.DAT", 1}, {u"ÜBER.DAT", 2}, {u"UNITSX.DAT", 3}}}}},
        {L"b.pak", {{u"MEDIA/UNITS", {{u"X.DAT", 4}}}, {u"media/", {{u"über.dat", 5}}}}},
    };
    int day = 1;
    for (const auto& [name, folders] : mods) {
        WriteFileWithTime(game.Pak(name), Time(2021, 1, day++));
        WriteFile(game.Pak(std::wstring(name) + L".MAN"), Manifest(folders));
    }
    WriteFileWithTime(game.Pak(L"c.pak"), Time(2021, 1, day++));
    WriteFile(game.Pak(L"c.pak.MAN"), "");
    std::filesystem::resize_file(FsPath(game.Pak(L"c.pak.MAN")), mods::kMaxManifestBytes + 1);

    RunMainWindow(game.Program(), [&](HWND window) {
        const Report report = RunCheck(window);
        EXPECT_EQ(report.rows, (std::vector<ReportRow>{{L"MEDIA/UNITS/X.DAT", L"b.pak", L"a.pak", L""},
                                                       {L"media/über.dat", L"b.pak", L"a.pak", L""}}));
        EXPECT_EQ(report.summary, L"2 个文件冲突，涉及 2 个MOD");
        EXPECT_EQ(report.unchecked, L"以下MOD无法检查：\r\nc.pak：清单文件过大");
    });
}

TEST(ConflictCheck, ACheckThatRunsOutOfMemorySaysSoAndTheWindowGoesOn)
{
    GameFolder game;
    // Some megabytes of manifest: its read needs a block larger than the starved thread may have.
    std::vector<ManifestFolderToWrite> large(20);
    for (int f = 0; f < 20; ++f) {
        large[f].path = u"MEDIA/SET" + std::u16string(1, static_cast<char16_t>(u'A' + f)) + u"/";
        for (int e = 0; e < 1500; ++e) {
            const std::string number = std::to_string(e);
            large[f].entries.push_back({u"ITEM_" + std::u16string(number.begin(), number.end()) + u".DAT"});
        }
    }
    WriteFileWithTime(game.Pak(L"a.pak"), Time(2021, 1, 1));
    WriteFile(game.Pak(L"a.pak.MAN"), Manifest(large));
    WriteFileWithTime(game.Pak(L"b.pak"), Time(2021, 1, 2));
    WriteFile(game.Pak(L"b.pak.MAN"), Manifest({{u"MEDIA/SETA/", {{u"ITEM_7.DAT", 9}}}}));

    RunMainWindow(game.Program(), [&](HWND window) {
        // The pointer off every window, so that no window sets the cursor but the check.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
        OnUiThread([] { g_starvedThread = GetCurrentThreadId(); });
        PostMessageW(GetDlgItem(window, IDC_CONFLICT_CHECK), BM_CLICK, 0, 0);
        const MessageBoxSeen box = WaitForMessageBox(L"PakOrder");
        g_starvedThread = 0;
        EXPECT_EQ(box.text, L"手动冲突检测没有完成：内存不足");
        EXPECT_EQ(box.owner, window);
        HCURSOR cursor = nullptr;
        OnUiThread([&] { cursor = GetCursor(); });
        EXPECT_NE(cursor, LoadCursorW(nullptr, IDC_WAIT));
        Answer(box, IDOK);
        EXPECT_EQ(WaitForDialogTitled(L"冲突检测", 500), nullptr);

        // The window still answers: the same check, with memory, gives its report.
        const Report report = RunCheck(window);
        EXPECT_EQ(report.rows, (std::vector<ReportRow>{{L"MEDIA/SETA/ITEM_7.DAT", L"b.pak", L"a.pak", L""}}));
        EXPECT_EQ(report.unchecked, L"所有启用的MOD都已检查。");
    });
}

}  // namespace
