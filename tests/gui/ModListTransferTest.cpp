// Mod lists on the real window: exported through the system's Save As
// dialog from one folder, imported through its Open dialog into another,
// where the order shows as moves and "智能排序" writes it.
#include <windows.h>
#include <gtest/gtest.h>

#include "gui/MainWindowFixture.h"
#include "mods/ModCatalogue.h"
#include "platform/FileSystem.h"
#include "res/resource.h"

using namespace testing_files;
using namespace gui;

namespace {

constexpr UINT kExportCommand = 0x0040;
constexpr UINT kImportCommand = 0x0050;

HWND FindChild(HWND root, const std::function<bool(HWND)>& matches)
{
    struct Search {
        const std::function<bool(HWND)>* matches;
        HWND found;
    } search{&matches, nullptr};
    EnumChildWindows(root, [](HWND child, LPARAM l) -> BOOL {
        auto* s = reinterpret_cast<Search*>(l);
        if (!IsWindowVisible(child) || !(*s->matches)(child))
            return TRUE;
        s->found = child;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool HasClass(HWND window, const wchar_t* name)
{
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    return std::wstring(className) == name;
}

// The system's file dialog, driven as a user does: a path typed into the
// file name box, then OK.
struct FileDialog {
    HWND window;
    explicit FileDialog(const std::wstring& title) : window(WaitForDialogTitled(title)) {}
    HWND NameBox() const
    {
        // The name box is a combo box (1148) holding an edit, or an edit of its own (1152).
        if (HWND combo = FindChild(window, [](HWND w) { return GetDlgCtrlID(w) == 1148; }))
            return FindChild(combo, [](HWND w) { return HasClass(w, L"Edit"); });
        return FindChild(window, [](HWND w) { return GetDlgCtrlID(w) == 1152; });
    }
    void Type(const std::wstring& path) const { SendMessageW(NameBox(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str())); }
    void PressOk() const { PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, IDOK))); }
};

// The rows by first letter, a disabled one in capitals, a moved one followed by '*'.
std::wstring Shown(HWND window)
{
    std::wstring shown;
    for (const Row& row : Rows(window))
        shown += std::wstring(1, row.check ? row.name[0] : static_cast<wchar_t>(towupper(row.name[0]))) + (row.mark.empty() ? L"" : L"*");
    return shown;
}

std::wstring OnDisk(const std::wstring& paks)
{
    std::wstring order;
    for (const mods::ModEntry& mod : mods::ReadModCatalogue(platform::SystemFileSystem(), paks))
        order += (order.empty() ? L"" : L" ") + mod.fileName;
    return order;
}

void AddMods(const GameFolder& game, std::initializer_list<std::pair<const wchar_t*, int>> mods)
{
    for (const auto& [name, day] : mods) {
        WriteFileWithTime(game.Pak(name), Time(2021, 1, day));
        WriteFileWithTime(game.Pak(std::wstring(name) + L".MAN"), Time(2021, 1, day));
    }
}

TEST(ModLists, ExportedFromOneWindowAndImportedIntoAnother)
{
    GameFolder mine, friends;
    AddMods(mine, {{L"a.pak", 2}, {L"b.pak", 4}, {L"c.pak", 6}, {L"d.G1O", 8}, {L"m.pak", 10}});
    AddMods(friends, {{L"a.pak", 2}, {L"b.pak", 4}, {L"x.pak", 5}, {L"c.pak", 6}, {L"d.pak", 8}});
    TempFolder shared;
    const std::wstring list = shared / L"我的 列表.txt";

    RunMainWindow(mine.Program(), [&](HWND window) {
        Select(window, {3});
        ClickButton(window, IDC_MOVE_TOP);  // not written: the list has the order shown
        ASSERT_EQ(Shown(window), L"D*abcm");
        PostMessageW(window, WM_SYSCOMMAND, kExportCommand, 0);
        FileDialog cancelled(L"导出MOD列表");
        ASSERT_NE(cancelled.window, nullptr);
        PostMessageW(cancelled.window, WM_COMMAND, IDCANCEL, 0);
        Settle();
        EXPECT_EQ(Status(window), L"总共 5 个MOD");

        PostMessageW(window, WM_SYSCOMMAND, kExportCommand, 0);
        FileDialog save(L"导出MOD列表");
        ASSERT_NE(save.window, nullptr);
        EXPECT_EQ(WindowText(save.NameBox()), L"MOD列表.txt");
        save.Type(list);
        save.PressOk();
        for (int i = 0; i < 200 && IsWindow(save.window); ++i)
            Sleep(25);
        Settle();
        EXPECT_EQ(Status(window), L"已导出 5 个MOD的顺序和状态：" + list);
    });
    EXPECT_EQ(ReadFile(list), "# PakOrder mod list 1\n# + enabled, - disabled; in load order, the first loaded first\n"
                              "- d\n+ a\n+ b\n+ c\n+ m\n");

    const mods::FileTime dTime = Time(2021, 1, 8);
    RunMainWindow(friends.Program(), [&](HWND window) {
        PostMessageW(window, WM_SYSCOMMAND, kImportCommand, 0);
        FileDialog open(L"导入MOD列表");
        ASSERT_NE(open.window, nullptr);
        open.Type(list);
        open.PressOk();
        const MessageBoxSeen question = WaitForMessageBox(L"请确认");
        ASSERT_NE(question.window, nullptr);
        EXPECT_EQ(question.text, L"列表里有 1 个MOD的启用状态与现在不同，要照列表切换吗？\r\n\r\n禁用\td.pak");
        // The named mods already stand in the list's order among their own
        // rows; x keeps its place; the states wait for the answer.
        EXPECT_EQ(Shown(window), L"d*a*xb*c*");
        EXPECT_TRUE(Exists(friends.Pak(L"d.pak")));
        Answer(question, IDOK);

        const MessageBoxSeen missing = WaitForMessageBox(L"PakOrder");
        ASSERT_NE(missing.window, nullptr);
        EXPECT_EQ(missing.text, L"列表中的 1 个MOD不在 PAKS 目录里：\r\n\r\nm");
        Answer(missing, IDOK);
        EXPECT_EQ(Shown(window), L"D*a*xb*c*");
        EXPECT_TRUE(Exists(friends.Pak(L"d.G1O")) && Exists(friends.Pak(L"d.G1O.MAN")));
        EXPECT_EQ(Status(window), L"已按列表调整 4 个MOD的顺序，用“智能排序”写入磁盘");
        // Nothing is in order on disk until the smart sort.
        mods::FileTime time = 0;
        platform::SystemFileSystem().ReadLastWriteTime(friends.Pak(L"d.G1O"), time);
        EXPECT_EQ(time, dTime);
        EXPECT_EQ(OnDisk(friends.paks), L"a.pak b.pak x.pak c.pak d.G1O");

        ClickButton(window, IDOK);
        EXPECT_EQ(OnDisk(friends.paks), L"d.G1O a.pak x.pak b.pak c.pak");
        EXPECT_EQ(Shown(window), L"Daxbc");
    });
}

TEST(ModLists, AnImportsOrderIsTakenBackUnderTheNamesItsSwitchesGave)
{
    GameFolder game;
    AddMods(game, {{L"a.G1O", 2}, {L"b.pak", 4}, {L"c.pak", 6}, {L"d.pak", 8}});
    TempFolder downloads;
    const std::wstring list = downloads / L"list.txt";
    WriteFile(list, "# PakOrder mod list 1\n+ d\n+ c\n+ b\n+ a\n");
    RunMainWindow(game.Program(), [&](HWND window) {
        // A move of the player's own first, so that a move stays unwritten
        // after the import's is taken back and the list is not read again.
        Select(window, {3});
        ClickButton(window, IDC_MOVE_TOP);
        ASSERT_EQ(Shown(window), L"d*Abc");
        PostMessageW(window, WM_SYSCOMMAND, kImportCommand, 0);
        FileDialog open(L"导入MOD列表");
        ASSERT_NE(open.window, nullptr);
        open.Type(list);
        open.PressOk();
        const MessageBoxSeen question = WaitForMessageBox(L"请确认");
        ASSERT_NE(question.window, nullptr);
        Answer(question, IDOK);
        Settle();
        ASSERT_TRUE(Exists(game.Pak(L"a.PAK")) && Exists(game.Pak(L"a.PAK.MAN")));
        EXPECT_EQ(Shown(window), L"d*c*ba*");

        // Ctrl+Z takes the import's order back; the rows name the mods as they are now.
        FocusList(window);
        PressKeys(window, {VK_CONTROL, 'Z'});
        EXPECT_EQ(OrderOnceItIs(window, L"d*abc"), L"d*abc");
        Sleep(1100);  // the folder watch has seen the import's renames
        const std::vector<Row> rows = Rows(window);
        ASSERT_EQ(rows.size(), 4u);
        EXPECT_EQ(rows[1].name, L"a.PAK");
        EXPECT_EQ(rows[1].check, 1);

        // The smart sort writes the order shown, every mod under its name on disk.
        ClickButton(window, IDOK);
        EXPECT_EQ(OnDisk(game.paks), L"d.pak a.PAK b.pak c.pak");
        EXPECT_EQ(Status(window), L"总共 4 个MOD");
    });
}

TEST(ModLists, AFolderWhoseListCouldNotBeReadBackIsNotExported)
{
    GameFolder game;
    AddMods(game, {{L"a.pak", 2}, {L"b.pak", 4}, {L"a.G1O", 6}});
    RunMainWindow(game.Program(), [&](HWND window) {
        PostMessageW(window, WM_SYSCOMMAND, kExportCommand, 0);
        const MessageBoxSeen refused = WaitForMessageBox(L"PakOrder");  // before any Save As dialog
        ASSERT_NE(refused.window, nullptr);
        EXPECT_EQ(refused.text, L"无法导出：列表中每个MOD只能出现一次，而 PAKS 目录里有 1 个名字同时属于多个MOD"
                                L"（如 a.pak 与 a.G1O 都叫 a）：\r\n\r\na");
        Answer(refused, IDOK);
    });
}

TEST(ModLists, ABadListIsNamedAndChangesNothing)
{
    GameFolder game;
    AddMods(game, {{L"a.pak", 2}, {L"b.pak", 4}});
    TempFolder downloads;
    const std::wstring binary = downloads / L"list.txt";
    WriteFile(binary, std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
    const std::wstring device = downloads / L"device.txt";
    WriteFile(device, "# PakOrder mod list 1\r\n+ b\r\n+ aux\r\n");
    RunMainWindow(game.Program(), [&](HWND window) {
        for (const auto& [file, why] : {std::pair{binary, binary + L" 不是MOD列表：它不是 UTF-8 文本"},
                                        std::pair{device, device + L" 第 3 行：“aux”不能作为MOD的文件名"}}) {
            PostMessageW(window, WM_SYSCOMMAND, kImportCommand, 0);
            FileDialog open(L"导入MOD列表");
            ASSERT_NE(open.window, nullptr);
            open.Type(file);
            open.PressOk();
            const MessageBoxSeen refused = WaitForMessageBox(L"PakOrder");
            ASSERT_NE(refused.window, nullptr);
            EXPECT_EQ(refused.text, why + L"\r\n\r\n没有改动任何MOD。");
            Answer(refused, IDOK);
            EXPECT_EQ(Shown(window), L"ab");
        }
    });
}

}  // namespace
