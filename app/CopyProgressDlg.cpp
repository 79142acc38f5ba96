#include "app/CopyProgressDlg.h"

#include <commctrl.h>

#include "app/Texts.h"
#include "framework/App.h"
#include "framework/FormatText.h"
#include "res/resource.h"

namespace {

constexpr DWORD kShowAfterMs = 500;
constexpr DWORD kRefreshMs = 50;

std::wstring Megabytes(std::uint64_t bytes)
{
    return std::to_wstring(bytes / (1024 * 1024));
}

}  // namespace

CCopyProgressDlg::CCopyProgressDlg(HWND owner) : owner_(owner), startedAt_(GetTickCount())
{
    window_ = CreateDialogParamW(fw::ResourceInstance(), MAKEINTRESOURCEW(IDD_COPY_PROGRESS), owner, DialogProc,
                                 reinterpret_cast<LPARAM>(this));
    // The main window takes no clicks or keys while its folder is being written.
    ownerWasEnabled_ = owner_ && !EnableWindow(owner_, FALSE);
}

CCopyProgressDlg::~CCopyProgressDlg()
{
    if (ownerWasEnabled_)
        EnableWindow(owner_, TRUE);
    if (window_)
        DestroyWindow(window_);
}

INT_PTR CALLBACK CCopyProgressDlg::DialogProc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, GWLP_USERDATA, l);
        SetWindowTextW(window, texts::kCopyProgressCaption);
        SetDlgItemTextW(window, IDCANCEL, texts::kCopyProgressCancel);
        SendDlgItemMessageW(window, IDC_COPY_PROGRESS_BAR, PBM_SETRANGE32, 0, 1000);
        return TRUE;
    }
    auto* self = reinterpret_cast<CCopyProgressDlg*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_COMMAND && LOWORD(w) == IDCANCEL) {
        self->cancelled_ = true;
        EnableWindow(GetDlgItem(window, IDCANCEL), FALSE);
        return TRUE;
    }
    return FALSE;
}

void CCopyProgressDlg::CopyingMod(const std::wstring& name, std::size_t index, std::size_t count)
{
    mod_ = name;
    index_ = index;
    count_ = count;
    shownAt_ = 0;
}

bool CCopyProgressDlg::Copied(std::uint64_t bytes, std::uint64_t total)
{
    const DWORD now = GetTickCount();
    if (window_ && now - startedAt_ >= kShowAfterMs && (shownAt_ == 0 || now - shownAt_ >= kRefreshMs)) {
        shownAt_ = now;
        SetDlgItemTextW(window_, IDC_COPY_PROGRESS_TEXT,
                        fw::FormatText(texts::kCopyProgressText, mod_, static_cast<int>(index_ + 1),
                                       static_cast<int>(count_), Megabytes(bytes), Megabytes(total))
                            .c_str());
        const auto permille = total == 0 ? 1000 : static_cast<WPARAM>(bytes * 1000 / total);
        SendDlgItemMessageW(window_, IDC_COPY_PROGRESS_BAR, PBM_SETPOS, permille, 0);
        if (!IsWindowVisible(window_))
            ShowWindow(window_, SW_SHOW);
    }
    HandleWaitingMessages();
    return !cancelled_;
}

void CCopyProgressDlg::HandleWaitingMessages()
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
