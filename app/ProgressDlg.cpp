#include "app/ProgressDlg.h"

#include <commctrl.h>

#include "app/Texts.h"
#include "base/FormatText.h"
#include "framework/App.h"
#include "res/resource.h"

namespace {

constexpr DWORD kShowAfterMs = 500;
constexpr DWORD kRefreshMs = 50;
constexpr int kBarRange = 1000;

}  // namespace

CProgressDlg::CProgressDlg(HWND owner, const wchar_t* caption, bool cancellable)
    : owner_(owner), startedAt_(GetTickCount())
{
    window_ = CreateDialogParamW(fw::ResourceInstance(), MAKEINTRESOURCEW(IDD_PROGRESS), owner, DialogProc,
                                 reinterpret_cast<LPARAM>(this));
    if (window_) {
        SetWindowTextW(window_, caption);
        if (!cancellable)
            ShowWindow(GetDlgItem(window_, IDCANCEL), SW_HIDE);
    }
    // The main window takes no clicks or keys while the work runs.
    focus_ = GetFocus();
    ownerWasEnabled_ = owner_ && !EnableWindow(owner_, FALSE);
}

CProgressDlg::~CProgressDlg()
{
    if (ownerWasEnabled_)
        EnableWindow(owner_, TRUE);
    if (window_)
        DestroyWindow(window_);
    if (focus_ && IsWindow(focus_))
        SetFocus(focus_);
}

INT_PTR CALLBACK CProgressDlg::DialogProc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, GWLP_USERDATA, l);
        SetDlgItemTextW(window, IDCANCEL, texts::kProgressCancel);
        SendDlgItemMessageW(window, IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, kBarRange);
        return TRUE;
    }
    auto* self = reinterpret_cast<CProgressDlg*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_COMMAND && LOWORD(w) == IDCANCEL && IsWindowVisible(GetDlgItem(window, IDCANCEL))) {
        self->cancelled_ = true;
        EnableWindow(GetDlgItem(window, IDCANCEL), FALSE);
        return TRUE;
    }
    return FALSE;
}

bool CProgressDlg::Due() const
{
    const DWORD now = GetTickCount();
    return now - startedAt_ >= kShowAfterMs && (shownAt_ == 0 || now - shownAt_ >= kRefreshMs);
}

bool CProgressDlg::Step(const std::wstring& text, std::uint64_t done, std::uint64_t total)
{
    // Short work runs as if there were no dialog: nothing shown, no message
    // handled. Past that, the window and the messages waiting are seen to a
    // few times a second, not at every step: each costs more than a step.
    if (!Due())
        return !cancelled_;
    shownAt_ = GetTickCount();
    if (window_) {
        SetDlgItemTextW(window_, IDC_PROGRESS_TEXT, text.c_str());
        const auto position = total == 0 ? kBarRange : static_cast<int>(done * kBarRange / total);
        SendDlgItemMessageW(window_, IDC_PROGRESS_BAR, PBM_SETPOS, static_cast<WPARAM>(position), 0);
        if (!IsWindowVisible(window_))
            ShowWindow(window_, SW_SHOW);
    }
    HandleWaitingMessages();
    return !cancelled_;
}

void CProgressDlg::HandleWaitingMessages()
{
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));  // for the loop that waits for it
            cancelled_ = true;
            return;
        }
        if (window_ && IsDialogMessageW(window_, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

mods::StepProgress StepsShownIn(CProgressDlg& dialog)
{
    return [&dialog](std::size_t done, std::size_t count) {
        if (dialog.Due())
            dialog.Step(fw::FormatText(texts::kStepProgressText, static_cast<int>(done + 1), static_cast<int>(count)),
                    done, count);
    };
}

InstallProgressShown::InstallProgressShown(HWND owner) : dialog_(owner, texts::kCopyProgressCaption, true) {}

void InstallProgressShown::CopyingMod(const std::wstring& name, std::size_t index, std::size_t count)
{
    mod_ = name;
    index_ = index;
    count_ = count;
}

bool InstallProgressShown::Copied(std::uint64_t bytes, std::uint64_t total)
{
    if (!dialog_.Due())
        return dialog_.Step({}, bytes, total);
    constexpr std::uint64_t kMegabyte = 1024 * 1024;
    const std::wstring text = fw::FormatText(texts::kCopyProgressText, mod_, static_cast<int>(index_ + 1),
                                             static_cast<int>(count_), std::to_wstring(bytes / kMegabyte),
                                             std::to_wstring(total / kMegabyte));
    return dialog_.Step(text, bytes, total);
}
