#include "gui/GuiHarness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace gui {

HWND WaitForPopupMenu(int timeoutMs);

namespace {

constexpr UINT kRunWork = WM_APP + 1;
constexpr UINT kSettle = WM_APP + 2;
constexpr UINT kEndDialog = WM_APP + 3;
constexpr int kStepMs = 25;
constexpr int kWaitSteps = 200;  // five seconds
DWORD g_uiThread = 0;
HWND g_worker = nullptr;

LRESULT CALLBACK WorkerProc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    if (message == kRunWork) {
        (*reinterpret_cast<const std::function<void()>*>(w))();
        return 0;
    }
    if (message == kEndDialog) {
        EndDialog(reinterpret_cast<HWND>(w), IDCANCEL);
        return 0;
    }
    if (message == kSettle) {
        SetEvent(reinterpret_cast<HANDLE>(w));
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

HWND CreateWorker()
{
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = WorkerProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"PakOrderTestWorker";
        return RegisterClassW(&windowClass) != 0;
    }();
    (void)registered;
    return CreateWindowW(L"PakOrderTestWorker", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
}

struct Search {
    std::wstring captionStart;
    bool exact;
    HWND found;
    const wchar_t* className = L"#32770";
};

BOOL CALLBACK FindDialog(HWND window, LPARAM l)
{
    auto* search = reinterpret_cast<Search*>(l);
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    const std::wstring caption = WindowText(window);
    const bool matches = search->exact ? caption == search->captionStart : caption.rfind(search->captionStart, 0) == 0;
    if (std::wstring(className) == search->className && IsWindowVisible(window) && matches) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForWindow(const std::wstring& caption, bool exact, int timeoutMs = kWaitSteps * kStepMs,
                   const wchar_t* className = L"#32770")
{
    for (int waited = 0;; waited += kStepMs) {
        Search search{caption, exact, nullptr, className};
        EnumThreadWindows(g_uiThread, FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found || waited >= timeoutMs)
            return search.found;
        Sleep(kStepMs);
    }
}

}  // namespace

// Closes whatever the UI thread still shows: popup menus, message boxes,
// and at last the dialog itself.
static void CloseEverything(HWND dialog)
{
    if (HWND menu = WaitForPopupMenu(0))
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EnumThreadWindows(g_uiThread, [](HWND window, LPARAM l) -> BOOL {
        wchar_t className[16] = {};
        GetClassNameW(window, className, 16);
        if (window != reinterpret_cast<HWND>(l) && std::wstring(className) == L"#32770" && IsWindowVisible(window))
            PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }, reinterpret_cast<LPARAM>(dialog));
    if (!dialog)
        return;
    // A control waiting for a mouse release lets go when it loses the capture.
    EnumChildWindows(dialog, [](HWND child, LPARAM) -> BOOL { PostMessageW(child, WM_CANCELMODE, 0, 0); return TRUE; }, 0);
    // Ended, not cancelled: a cancel may ask first (the main window's unwritten moves).
    PostMessageW(g_worker, kEndDialog, reinterpret_cast<WPARAM>(dialog), 0);
}

INT_PTR RunDialog(fw::CDialog& dialog, const std::function<void()>& script)
{
    g_uiThread = GetCurrentThreadId();
    g_worker = CreateWorker();
    std::atomic<bool> scriptDone{false};
    std::atomic<bool> modalDone{false};
    std::thread driver([&] {
        script();
        scriptDone = true;
        // Whatever the script left open is closed, so the test never hangs.
        while (!modalDone) {
            CloseEverything(dialog.GetSafeHwnd());
            Sleep(kStepMs);
        }
    });
    const INT_PTR result = dialog.DoModal();
    modalDone = true;
    driver.join();
    DestroyWindow(g_worker);
    g_worker = nullptr;
    EXPECT_TRUE(scriptDone);
    return result;
}

void OnUiThread(const std::function<void()>& work)
{
    SendMessageW(g_worker, kRunWork, reinterpret_cast<WPARAM>(&work), 0);
}

HWND WaitForDialog(const std::wstring& captionStart) { return WaitForWindow(captionStart, false); }

HWND WaitForDialogTitled(const std::wstring& caption, int timeoutMs) { return WaitForWindow(caption, true, timeoutMs); }

MessageBoxSeen WaitForMessageBox(const std::wstring& caption, int timeoutMs)
{
    MessageBoxSeen box;
    box.window = WaitForWindow(caption, true, timeoutMs);
    if (!box.window)
        return box;
    box.owner = GetWindow(box.window, GW_OWNER);
    box.caption = WindowText(box.window);
    box.text = WindowText(GetDlgItem(box.window, 0xFFFF));
    return box;
}

void Answer(const MessageBoxSeen& box, int button)
{
    if (!box.window)
        return;
    PostMessageW(box.window, WM_COMMAND, static_cast<WPARAM>(button), 0);
    for (int i = 0; i < kWaitSteps && IsWindow(box.window); ++i)
        Sleep(kStepMs);
}

void ClickButton(HWND dialog, int id)
{
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void PostClick(HWND window, POINT point, bool rightButton)
{
    const LPARAM where = MAKELPARAM(point.x, point.y);
    PostMessageW(window, rightButton ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, rightButton ? MK_RBUTTON : MK_LBUTTON, where);
    PostMessageW(window, rightButton ? WM_RBUTTONUP : WM_LBUTTONUP, 0, where);
}

void Settle()
{
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    PostMessageW(g_worker, kSettle, reinterpret_cast<WPARAM>(done), 0);
    WaitForSingleObject(done, kWaitSteps * kStepMs);
    CloseHandle(done);
}

HWND WaitForPopupMenu(int timeoutMs) { return WaitForPopupMenuHolding({}, timeoutMs); }

HWND WaitForPopupMenuHolding(const std::wstring& item, int timeoutMs)
{
    // Popup menus are top-level windows of class #32768 without a caption.
    struct Search {
        const std::wstring& item;
        HWND found = nullptr;
    };
    for (int waited = 0;; waited += kStepMs) {
        Search search{item};
        EnumWindows([](HWND window, LPARAM l) -> BOOL {
            auto* search = reinterpret_cast<Search*>(l);
            wchar_t className[16] = {};
            GetClassNameW(window, className, 16);
            if (std::wstring(className) != L"#32768" || !IsWindowVisible(window) ||
                GetWindowThreadProcessId(window, nullptr) != g_uiThread)
                return TRUE;
            const std::vector<std::wstring> items = MenuItems(window);
            if (!search->item.empty() && std::find(items.begin(), items.end(), search->item) == items.end())
                return TRUE;
            search->found = window;
            return FALSE;
        }, reinterpret_cast<LPARAM>(&search));
        if (search.found || waited >= timeoutMs)
            return search.found;
        Sleep(kStepMs);
    }
}

std::vector<std::wstring> MenuItems(HWND menuWindow)
{
    std::vector<std::wstring> items;
    const HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    for (int i = 0, count = GetMenuItemCount(menu); i < count; ++i) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        items.push_back(text);
    }
    return items;
}

void ChooseMenuItem(HWND menuWindow, int index)
{
    for (int i = 0; i <= index; ++i)
        PostMessageW(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
    for (int i = 0; i < kWaitSteps && IsWindowVisible(menuWindow); ++i)
        Sleep(kStepMs);
}

void CloseMenu(HWND menuWindow)
{
    PostMessageW(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
    for (int i = 0; i < kWaitSteps && IsWindowVisible(menuWindow); ++i)
        Sleep(kStepMs);
}

HWND FindVisibleDescendant(HWND root, int id)
{
    struct Search { int id; HWND found; } search{id, nullptr};
    EnumChildWindows(root, [](HWND child, LPARAM l) -> BOOL {
        auto* s = reinterpret_cast<Search*>(l);
        if (GetDlgCtrlID(child) != s->id || !IsWindowVisible(child))
            return TRUE;
        s->found = child;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring WindowText(HWND window)
{
    // One read into room enough: a text that changes between asking its
    // length and reading it is never cut.
    std::wstring text(4096, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring ListText(HWND list, int row, int column)
{
    wchar_t buffer[1024] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 1024;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

int ListCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

}  // namespace gui
