// The folder picker at start-up, on the system's real open dialog, with its
// history in a real INI file.

#include <windows.h>
#include <commdlg.h>
#include <gtest/gtest.h>

#include "gui/MainWindowFixture.h"
#include "platform/IniProfile.h"
#include "platform/Utf8.h"
#include "res/resource.h"

using namespace testing_files;
using namespace gui;

namespace {

const std::wstring kNoGameFolder =
    L"把RORud放在 火炬之光2安装目录 或者\r\n\r\n放在PAKS目录里面   或者\r\n\r\n 拽PAKS目录到助手窗口";

// The picker's own controls live in its child template.
struct Picker {
    HWND window = WaitForDialogTitled(L"Select Folder");
    HWND combo() const { return FindVisibleDescendant(window, 1002); }
    HWND ok() const { return FindVisibleDescendant(window, 1003); }
    std::wstring Text() const { return WindowText(combo()); }
    void Type(const std::wstring& text) const { SendMessageW(combo(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())); }
    void PressOk() const { PostMessageW(GetParent(ok()), WM_COMMAND, MAKEWPARAM(1003, BN_CLICKED), reinterpret_cast<LPARAM>(ok())); }
    HWND edit() const { return FindWindowExW(combo(), nullptr, L"Edit", nullptr); }
    // The key goes to the focused window; the dialog's own message loop
    // makes of it what the system makes of Enter in a dialog.
    void PressEnter(HWND focus) const
    {
        OnUiThread([&] { SetFocus(focus); });
        const LPARAM scanCode = static_cast<LPARAM>(MapVirtualKeyW(VK_RETURN, MAPVK_VK_TO_VSC)) << 16;
        PostMessageW(focus, WM_KEYDOWN, VK_RETURN, scanCode | 1);
        PostMessageW(focus, WM_KEYUP, VK_RETURN, scanCode | 1 | 0xC0000000);
    }
    std::wstring Folder() const
    {
        wchar_t folder[MAX_PATH * 2] = {};
        SendMessageW(window, CDM_GETFOLDERPATH, MAX_PATH * 2, reinterpret_cast<LPARAM>(folder));
        return folder;
    }
};

std::wstring ComboText(HWND combo, int index)
{
    wchar_t text[MAX_PATH * 2] = {};
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

struct Folders {
    TempFolder elsewhere, settings, chosen, recent;
    std::wstring ini = settings / L"PakOrder.INI";
    Folders()
    {
        WriteFile(elsewhere / L"DATA.PAK");  // not enough to qualify
        WriteFile(chosen / L"DATA.PAK");
        WriteFileWithTime(chosen / L"picked.pak", Time(2019, 9, 9));
    }
};

TEST(FolderPicker, OpensWhenNoFolderQualifiesAndReturnsTheTypedFolder)
{
    Folders setup;
    platform::IniProfile profile(setup.ini);
    profile.Write(L"FolderHistory", L"Folder0000", setup.recent.path());
    profile.Write(L"FolderHistory", L"Folder0001", setup.chosen.path());

    CModManagerDlg dialog(setup.elsewhere / L"PakOrder.exe", setup.ini);
    RunDialog(dialog, [&] {
        Picker picker;
        ASSERT_NE(picker.window, nullptr);
        EXPECT_EQ(WindowText(FindVisibleDescendant(picker.window, 1001)), L"Folder &name:");
        EXPECT_EQ(WindowText(picker.ok()), L"OK");
        EXPECT_EQ(picker.Text(), setup.recent.path());  // the most recent entry
        EXPECT_EQ(SendMessageW(picker.combo(), CB_GETCOUNT, 0, 0), 2);

        picker.Type(setup.chosen.path());
        picker.PressOk();
        HWND window = WaitForDialog(kCaptionStart);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(ManagedPaks(dialog), setup.chosen.path() + L"\\");
        EXPECT_EQ(Rows(window), (std::vector<Row>{{1, L"picked.pak", L"2019-9-9", L""}}));
        EXPECT_EQ(WaitForMessageBox(L"PakOrder", 0).window, nullptr);
    });
    // Recorded on top of the history.
    EXPECT_EQ(profile.Read(L"FolderHistory", L"Folder0000"), setup.chosen.path());
    EXPECT_EQ(profile.Read(L"FolderHistory", L"Folder0001"), setup.recent.path());
    EXPECT_EQ(profile.Read(L"FolderHistory", L"Folder0002"), L"");
    EXPECT_EQ(profile.Read(L"FolderHistory", L"Folder"), setup.chosen.path());
}

TEST(FolderPicker, AMissingFolderOrAFileIsRefusedAndCancelFallsBack)
{
    Folders setup;
    CModManagerDlg dialog(setup.elsewhere / L"PakOrder.exe", setup.ini);
    RunDialog(dialog, [&] {
        Picker picker;
        ASSERT_NE(picker.window, nullptr);
        EXPECT_EQ(picker.Text(), L"");  // no history yet
        for (const std::wstring& typed : {setup.chosen / L"no such folder", setup.chosen / L"picked.pak"}) {
            picker.Type(typed);
            picker.PressOk();
            const MessageBoxSeen refused = WaitForMessageBox(L"PakOrder");
            ASSERT_NE(refused.window, nullptr);
            EXPECT_EQ(refused.text, L"The folder '" + typed + L"' isn't accessible.");
            Answer(refused, IDOK);
            EXPECT_TRUE(IsWindowVisible(picker.window));
        }

        PostMessageW(picker.window, WM_COMMAND, IDCANCEL, 0);
        const MessageBoxSeen told = WaitForMessageBox(L"PakOrder");
        ASSERT_NE(told.window, nullptr);
        EXPECT_EQ(told.text, kNoGameFolder);
        Answer(told, IDOK);
        HWND window = WaitForDialog(kCaptionStart);
        ASSERT_NE(window, nullptr);
        // No folder is managed: nothing listed, a dropped pak copied nowhere, the hint shown.
        EXPECT_EQ(ManagedPaks(dialog), L"");
        EXPECT_TRUE(Rows(window).empty());
        const std::wstring hint = L"没有管理任何 PAKS 目录：请把游戏的 PAKS 目录拖到这个窗口上";
        EXPECT_EQ(Status(window), hint);
        TempFolder downloads;
        WriteFile(downloads / L"new.pak");
        Drop(window, {downloads / L"new.pak"});
        Settle();
        EXPECT_EQ(WaitForMessageBox(L"请确定", 300).window, nullptr);
        EXPECT_EQ(Status(window), hint);
        EXPECT_FALSE(Exists(setup.elsewhere / L"new.pak"));
        // A PAKS folder dropped on the window is managed from then on.
        Drop(window, {setup.chosen.path()});
        EXPECT_EQ(RowsOnceThereAre(window, 1), (std::vector<Row>{{1, L"picked.pak", L"2019-9-9", L""}}));
    });
    EXPECT_FALSE(Exists(setup.ini));  // nothing accepted, nothing written
}

TEST(FolderPicker, EnterInTheFolderNameIsOk)
{
    Folders setup;
    const std::wstring missing = setup.chosen / L"no such folder";
    CModManagerDlg dialog(setup.elsewhere / L"PakOrder.exe", setup.ini);
    RunDialog(dialog, [&] {
        Picker picker;
        ASSERT_NE(picker.window, nullptr);
        picker.Type(missing);
        for (HWND focus : {picker.edit(), picker.ok()}) {
            picker.PressEnter(focus);
            const MessageBoxSeen refused = WaitForMessageBox(L"PakOrder");
            ASSERT_NE(refused.window, nullptr);
            EXPECT_EQ(refused.text, L"The folder '" + missing + L"' isn't accessible.");
            Answer(refused, IDOK);
        }

        picker.Type(setup.chosen.path());
        picker.PressEnter(picker.edit());
        ASSERT_NE(WaitForDialog(kCaptionStart), nullptr);
        EXPECT_EQ(ManagedPaks(dialog), setup.chosen.path() + L"\\");
    });
    EXPECT_EQ(platform::IniProfile(setup.ini).Read(L"FolderHistory", L"Folder0000"), setup.chosen.path());
}

TEST(FolderPicker, PickingAHistoryEntryGoesThere)
{
    Folders setup;
    platform::IniProfile profile(setup.ini);
    profile.Write(L"FolderHistory", L"Folder0000", setup.recent.path());
    profile.Write(L"FolderHistory", L"Folder0001", setup.chosen.path());
    profile.Write(L"FolderHistory", L"Folder0002", setup.chosen / L"deleted since");
    profile.Write(L"FolderHistory", L"Folder0003", setup.chosen / L"picked.pak");  // a file, not a folder

    CModManagerDlg dialog(setup.elsewhere / L"PakOrder.exe", setup.ini);
    RunDialog(dialog, [&] {
        Picker picker;
        ASSERT_NE(picker.window, nullptr);
        EXPECT_EQ(SendMessageW(picker.combo(), CB_GETCOUNT, 0, 0), 2);  // neither the deleted folder nor the file is offered
        SendMessageW(picker.combo(), CB_SETCURSEL, 1, 0);
        SendMessageW(GetParent(picker.combo()), WM_COMMAND, MAKEWPARAM(1002, CBN_SELENDOK),
                     reinterpret_cast<LPARAM>(picker.combo()));
        EXPECT_EQ(picker.Folder(), setup.chosen.path());
        picker.PressOk();
        HWND window = WaitForDialog(kCaptionStart);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(ManagedPaks(dialog), setup.chosen.path() + L"\\");
    });
}

// A registry value the test sets, and takes away again however the test ends.
struct RegistryValue {
    HKEY root;
    std::wstring key, removeFrom;
    RegistryValue(HKEY r, std::wstring k, const wchar_t* name, const std::wstring& value, std::wstring removed)
        : root(r), key(std::move(k)), removeFrom(std::move(removed))
    {
        EXPECT_EQ(RegSetKeyValueW(root, key.c_str(), name, REG_SZ, value.c_str(),
                                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    ~RegistryValue() { RegDeleteTreeW(root, removeFrom.c_str()); }
};

// A Steam installation whose libraryfolders.vdf lists itself and a second
// library; the game installed in the second.
struct SteamWithTheGame {
    TempFolder root, library;
    std::wstring paks = platform::JoinPath(platform::JoinPath(platform::JoinPath(library / L"steamapps", L"common"),
                                                              L"Torchlight II"),
                                           L"PAKS");
    explicit SteamWithTheGame(const std::string& libraries = {})
    {
        MakeFolder(paks);
        WriteFile(platform::JoinPath(paks, L"DATA.PAK"));
        WriteFileWithTime(platform::JoinPath(paks, L"steam.pak"), Time(2019, 9, 9));
        WriteFile(platform::JoinPath(platform::GetFolderOfPath(paks), L"Torchlight2.exe"));
        std::string escaped;
        for (char c : platform::ToUtf8(library.path()))
            escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
        MakeFolder(root / L"steamapps");
        WriteFile(platform::JoinPath(root / L"steamapps", L"libraryfolders.vdf"),
                  !libraries.empty() ? libraries
                                     : "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"C:\\\\nowhere\"\n\t}\n"
                                       "\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" + escaped + "\"\n\t}\n}\n");
    }
};

TEST(FolderPicker, TheGameInASteamLibraryIsManagedWithoutAsking)
{
    Folders setup;
    SteamWithTheGame steam;
    RegistryValue steamPath(HKEY_CURRENT_USER, L"Software\\Valve\\Steam", L"SteamPath", steam.root.path(),
                            L"Software\\Valve");
    CModManagerDlg dialog(setup.elsewhere / L"PakOrder.exe", setup.ini);
    RunDialog(dialog, [&] {
        HWND window = WaitForDialog(kCaptionStart);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(FindWindowW(L"#32770", L"Select Folder"), nullptr);
        EXPECT_EQ(ManagedPaks(dialog), steam.paks + L"\\");
        EXPECT_EQ(Rows(window), (std::vector<Row>{{1, L"steam.pak", L"2019-9-9", L""}}));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_LAUNCH_GAME)));  // the game is beside its PAKS
    });
}

TEST(FolderPicker, AMalformedSteamLibraryListFallsBackToThePicker)
{
    Folders setup;
    SteamWithTheGame steam("\"libraryfolders\"\n{\n\t\"1\"\n\t{\n\t\t\"path\" \"unclosed\n");
    RegistryValue steamPath(HKEY_CURRENT_USER, L"Software\\Valve\\Steam", L"SteamPath", steam.root.path(),
                            L"Software\\Valve");
    CModManagerDlg dialog(setup.elsewhere / L"PakOrder.exe", setup.ini);
    RunDialog(dialog, [&] {
        Picker picker;
        ASSERT_NE(picker.window, nullptr);
        PostMessageW(picker.window, WM_COMMAND, IDCANCEL, 0);
        Answer(WaitForMessageBox(L"PakOrder"), IDOK);
        ASSERT_NE(WaitForDialog(kCaptionStart), nullptr);
        EXPECT_EQ(ManagedPaks(dialog), L"");
    });
}

TEST(FolderPicker, SeveralInstallationsAreOfferedOnTopOfTheHistory)
{
    Folders setup;
    platform::IniProfile profile(setup.ini);
    profile.Write(L"FolderHistory", L"Folder0000", setup.recent.path());
    SteamWithTheGame steam;
    TempFolder gogGame, otherGame;
    MakeFolder(gogGame / L"PAKS");
    WriteFile(platform::JoinPath(gogGame / L"PAKS", L"DATA.PAK"));
    WriteFile(platform::JoinPath(gogGame / L"PAKS", L"gog.pak"));
    WriteFile(gogGame / L"Torchlight2.exe");
    RegistryValue steamPath(HKEY_CURRENT_USER, L"Software\\Valve\\Steam", L"SteamPath", steam.root.path(),
                            L"Software\\Valve");
    RegistryValue gog(HKEY_LOCAL_MACHINE, L"SOFTWARE\\WOW6432Node\\GOG.com\\Games\\1207658694", L"path",
                      gogGame.path(), L"SOFTWARE\\WOW6432Node\\GOG.com");
    RegistryValue other(HKEY_LOCAL_MACHINE, L"SOFTWARE\\WOW6432Node\\GOG.com\\Games\\1111111111", L"path",
                        otherGame.path(), L"SOFTWARE\\WOW6432Node\\GOG.com");
    CModManagerDlg dialog(setup.elsewhere / L"PakOrder.exe", setup.ini);
    RunDialog(dialog, [&] {
        Picker picker;
        ASSERT_NE(picker.window, nullptr);
        EXPECT_EQ(picker.Text(), steam.paks + L"\\");
        ASSERT_EQ(SendMessageW(picker.combo(), CB_GETCOUNT, 0, 0), 3);
        EXPECT_EQ(ComboText(picker.combo(), 1), gogGame / L"PAKS" + L"\\");
        EXPECT_EQ(ComboText(picker.combo(), 2), setup.recent.path());
        // Cancel manages none of them: the player chose none.
        PostMessageW(picker.window, WM_COMMAND, IDCANCEL, 0);
        const MessageBoxSeen told = WaitForMessageBox(L"PakOrder");
        ASSERT_NE(told.window, nullptr);
        Answer(told, IDOK);
        ASSERT_NE(WaitForDialog(kCaptionStart), nullptr);
        EXPECT_EQ(ManagedPaks(dialog), L"");
    });
    EXPECT_EQ(profile.Read(L"FolderHistory", L"Folder0000"), setup.recent.path());  // nothing chosen, nothing written
}

}  // namespace
