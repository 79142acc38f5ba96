// The main window's keyboard: the shortcuts that work whatever has the
// focus, the list's own keys, type-to-find, and the tooltips naming them.
// Every key reaches HandleShortcut through the window's message filter.

#include "app/ModManagerDlg.h"

#include <commctrl.h>

#include <array>

#include "app/Texts.h"
#include "base/FormatText.h"
#include "framework/HandlerFailure.h"
#include "mods/ModFile.h"
#include "res/resource.h"

namespace {

bool ControlDown() { return (GetKeyState(VK_CONTROL) & 0x8000) != 0; }

struct ShortcutTip {
    int button;
    const wchar_t* tip;
};

// Read when asked, so the tips are in the language shown.
std::array<ShortcutTip, 5> ShortcutTips()
{
    return {{{IDC_MOVE_TOP, texts::kTipMoveTop},
             {IDC_MOVE_UP, texts::kTipMoveUp},
             {IDC_MOVE_DOWN, texts::kTipMoveDown},
             {IDC_MOVE_BOTTOM, texts::kTipMoveBottom},
             {IDC_RESTORE, texts::kTipRestore}}};
}

}  // namespace

bool CModManagerDlg::HandleShortcut(const MSG& message)
{
    if (rowDrag_.HandleKey(message))
        return true;
    if (message.message == WM_KEYDOWN) {
        const bool control = ControlDown();
        if (control && message.wParam == 'Z') {
            const fw::ActionName action(texts::kActionUndo);
            Undo();
            return true;
        }
        if (control && message.wParam == 'Y') {
            const fw::ActionName action(texts::kActionRedo);
            Redo();
            return true;
        }
        if (!control && message.wParam == VK_F5) {
            OnRestore();  // as Explorer's F5: read the folder again
            return true;
        }
    }
    return message.hwnd == rows_.Control().GetSafeHwnd() && HandleListKey(message);
}

bool CModManagerDlg::HandleListKey(const MSG& message)
{
    const bool control = ControlDown();
    if (message.message == WM_CHAR) {
        const auto typed = static_cast<wchar_t>(message.wParam);
        if (control || typed <= L' ' || typed == 0x7F)
            return false;
        const std::vector<mods::ArrangedMod>& rows = arrangement_.Rows();
        const std::optional<int> found =
            typing_.Type(typed, GetTickCount(), rows_.FocusedRow(), static_cast<int>(rows.size()),
                         [&rows](int row) -> const std::wstring& { return rows[static_cast<std::size_t>(row)].name; });
        if (found)
            rows_.GoTo(*found);
        return true;
    }
    if (message.message != WM_KEYDOWN)
        return false;
    switch (message.wParam) {
    case VK_UP: if (control) OnMoveUp(); return control;
    case VK_DOWN: if (control) OnMoveDown(); return control;
    case VK_HOME: if (control) OnMoveTop(); return control;
    case VK_END: if (control) OnMoveBottom(); return control;
    case 'A':
        if (!control)
            return false;
        rows_.SelectAll();
        return true;
    case VK_SPACE:
        if (control)
            return false;
        ToggleFocusedRow();
        return true;
    case VK_DELETE:
        if (const int row = rows_.FocusedRow(); row >= 0)
            DeleteModOnRow(row);
        return true;
    default:
        return false;
    }
}

void CModManagerDlg::ToggleFocusedRow()
{
    const int row = rows_.FocusedRow();
    if (row < 0 || row >= static_cast<int>(arrangement_.Rows().size()))
        return;
    // As a click on the box: toggled, then switched (a disable asks first).
    rows_.ShowTicked(row, mods::IsDisabledModName(arrangement_.Rows()[static_cast<std::size_t>(row)].name));
    SwitchRow(row);
}

void CModManagerDlg::AddShortcutTips()
{
    shortcutTips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, nullptr, nullptr);
    if (!shortcutTips_)
        return;
    // The status line names the folder managed (ShowManagedFolder keeps it up
    // to date). Its tip is the status control's own: one over a rect of the
    // window would subclass the window, and every message to it (a refill
    // of thousands of rows sends thousands) would pass through the tooltip.
    // A static takes the mouse only when it notifies.
    fw::CWindow status(GetDlgItem(IDC_STATUS));
    ::SetWindowLongPtrW(status, GWL_STYLE, ::GetWindowLongPtrW(status, GWL_STYLE) | SS_NOTIFY);
    TTTOOLINFOW statusTool{};
    statusTool.cbSize = sizeof statusTool;
    statusTool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    statusTool.hwnd = m_hWnd;
    statusTool.uId = reinterpret_cast<UINT_PTR>(status.GetSafeHwnd());
    statusTool.lpszText = const_cast<wchar_t*>(L"");
    ::SendMessageW(shortcutTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&statusTool));
    for (const ShortcutTip& entry : ShortcutTips()) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = m_hWnd;
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(entry.button));
        tool.lpszText = const_cast<wchar_t*>(entry.tip);
        ::SendMessageW(shortcutTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    ShowManagedFolder();
}

void CModManagerDlg::ShowManagedFolder()
{
    if (!shortcutTips_)
        return;
    const std::wstring text = !folder_.IsManaged() ? std::wstring(texts::kNoFolderHint)
                                                   : fw::FormatText(texts::kManagedFolder, folder_.Paks());
    TTTOOLINFOW status{};
    status.cbSize = sizeof status;
    status.uFlags = TTF_IDISHWND;
    status.hwnd = m_hWnd;
    status.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(IDC_STATUS));
    status.lpszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(shortcutTips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&status));
}

void CModManagerDlg::ShowShortcutTips()
{
    if (!shortcutTips_)
        return;
    for (const ShortcutTip& entry : ShortcutTips()) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = m_hWnd;
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(entry.button));
        tool.lpszText = const_cast<wchar_t*>(entry.tip);
        ::SendMessageW(shortcutTips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}
