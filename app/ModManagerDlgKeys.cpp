// The main window's keyboard: the shortcuts that work whatever has the
// focus, the list's own keys, type-to-find, and the tooltips naming them.

#include "app/ModManagerDlg.h"

#include <commctrl.h>

#include <array>

#include "app/Globals.h"
#include "app/Texts.h"
#include "base/FormatText.h"
#include "framework/HandlerFailure.h"
#include "platform/LetterCase.h"
#include "res/resource.h"

namespace {

// As in Explorer: after this pause, typing starts a new name.
constexpr DWORD kTypingPauseMs = 1000;

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

LRESULT CALLBACK CModManagerDlg::ShortcutFilter(int code, WPARAM w, LPARAM l)
{
    // The dialog's own loop passes every message through here before it
    // translates and dispatches it; a message we take goes no further.
    const auto* message = reinterpret_cast<const MSG*>(l);
    CModManagerDlg* self = g_mainDialog;
    if (code == MSGF_DIALOGBOX && self && GetAncestor(message->hwnd, GA_ROOT) == self->m_hWnd &&
        self->IsWindowEnabled()) {
        bool handled = true;  // a key whose action failed is not passed on
        fw::RunReportingFailure(self->m_hWnd, nullptr, [&] { handled = self->HandleShortcut(*message); });
        if (handled)
            return 1;
    }
    return CallNextHookEx(nullptr, code, w, l);
}

bool CModManagerDlg::HandleShortcut(const MSG& message)
{
    if (draggingRows_) {
        // Esc cancels a drag of rows; no other key acts during one.
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE)
            EndRowDrag(false);
        return message.message == WM_KEYDOWN || message.message == WM_CHAR;
    }
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
    return message.hwnd == modList_.GetSafeHwnd() && HandleListKey(message);
}

bool CModManagerDlg::HandleListKey(const MSG& message)
{
    const bool control = ControlDown();
    if (message.message == WM_CHAR) {
        const auto typed = static_cast<wchar_t>(message.wParam);
        if (control || typed <= L' ' || typed == 0x7F)
            return false;
        FindTypedName(typed, GetTickCount());
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
        modList_.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
        return true;
    case VK_SPACE:
        if (control)
            return false;
        ToggleFocusedRow();
        return true;
    case VK_DELETE:
        if (const int row = modList_.GetNextItem(-1, LVNI_FOCUSED); row >= 0)
            DeleteModOnRow(row);
        return true;
    default:
        return false;
    }
}

void CModManagerDlg::ToggleFocusedRow()
{
    const int row = modList_.GetNextItem(-1, LVNI_FOCUSED);
    if (row < 0 || modList_.GetCellCheck(row, kColumnCheck) < 0)
        return;
    // As a click on the box: toggled, then handled (a disable asks first).
    modList_.SetCellCheck(row, kColumnCheck, modList_.GetCellCheck(row, kColumnCheck) == 1 ? 0 : 1);
    LRESULT ignored = 0;
    OnCheckboxClicked(static_cast<WPARAM>(row), kColumnCheck, ignored);
}

void CModManagerDlg::FindTypedName(wchar_t typed, DWORD time)
{
    if (time - lastTypedAt_ > kTypingPauseMs)
        typedPrefix_.clear();
    lastTypedAt_ = time;
    typedPrefix_ += typed;
    const std::wstring prefix = platform::FoldedCase(typedPrefix_);

    const int count = modList_.GetItemCount();
    const int focused = modList_.GetNextItem(-1, LVNI_FOCUSED);
    // A first letter moves on to the next such mod; more letters keep the
    // current one while it still matches.
    const int first = typedPrefix_.size() == 1 ? focused + 1 : (focused < 0 ? 0 : focused);
    for (int i = 0; i < count; ++i) {
        const int row = ((first < 0 ? 0 : first) + i) % count;
        if (platform::FoldedCase(modList_.GetItemText(row, kColumnName)).rfind(prefix, 0) != 0)
            continue;
        modList_.SetItemState(-1, 0, LVIS_SELECTED);
        modList_.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        modList_.SetSelectionMark(row);
        modList_.EnsureVisible(row, FALSE);
        return;
    }
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
    const std::wstring text =
        g_paksFolder.empty() ? std::wstring(texts::kNoFolderHint) : fw::FormatText(texts::kManagedFolder, g_paksFolder);
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
