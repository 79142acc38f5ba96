#include "dialogs/folder/XFolderDialog.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "base/FormatText.h"
#include "base/UniqueHandle.h"
#include "framework/App.h"
#include "framework/DpiScale.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace {

// Controls of the system's open dialog.
constexpr int kFileNameLabel = 1090;
constexpr int kFileNameBox = 1148;
constexpr int kOldFileNameBox = 1152;
constexpr int kFileTypeLabel = 1089;
constexpr int kFileTypeCombo = 1136;
constexpr int kPlacesBar = 1184;
// Controls of our child template.
constexpr int kFolderLabel = 1001;
constexpr int kHistoryCombo = 1002;
constexpr int kOkButton = 1003;

constexpr UINT_PTR kPlacesBarTimer = 1;
constexpr const wchar_t* kNoFileMatches = L"*.XFolderDialog-8C0C924B-7A86-4e8d-8D6E-A1C50D74E8DF";
constexpr const wchar_t* kNotAccessibleWords = L"The folder '%s' isn't accessible.";
constexpr fw::Text<1> kNotAccessible{kNotAccessibleWords};
constexpr const wchar_t* kCaption = L"Select Folder";

RECT ChildRect(HWND window, HWND relativeTo)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, relativeTo, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring FullPath(const std::wstring& path)
{
    std::wstring full(path.size() + MAX_PATH, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size())
        return path;
    full.resize(length);
    return full;
}

// The width of a control's one-line text in its font, "&" marks left out.
int TextWidth(HWND control)
{
    const int length = ::GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(control, text.data(), length + 1)));
    fw::WindowDc dc(control);
    fw::SelectObjectScope font(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT rect{};
    ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | DT_SINGLELINE);
    return rect.right - rect.left;
}

HWND FindListView(HWND dialog)
{
    HWND found = nullptr;
    EnumChildWindows(dialog, [](HWND child, LPARAM l) -> BOOL {
        wchar_t className[32] = {};
        GetClassNameW(child, className, 32);
        if (std::wstring(className) != WC_LISTVIEWW)
            return TRUE;
        *reinterpret_cast<HWND*>(l) = child;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

constexpr fw::MessageEntry<CXFolderDialog> CXFolderDialog::kMessages[] = {
    fw::OnMessage(WM_SIZE, &CXFolderDialog::OnSize),
    fw::OnMessage(WM_TIMER, &CXFolderDialog::OnTimer),
    fw::OnCommand(kOkButton, &CXFolderDialog::OnAccept),
    fw::OnMessage(WM_COMMAND, &CXFolderDialog::OnCommand),
};

CXFolderDialog::CXFolderDialog(std::wstring initialFolder, platform::Profile& historyStore, HWND parent)
    : CFileDialog(kTemplateName, parent),
      fileSystem_(platform::SystemFileSystem()),
      history_(historyStore, [this](const std::wstring& path) { return IsFolder(path); }, kHistoryLimit)
{
    filter_ = std::wstring(L"Files (") + kNoFileMatches + L")" + L'\0' + kNoFileMatches + L'\0' + L'\0';
    initialFolder_ = std::move(initialFolder);
    extraFlags_ = OFN_ENABLESIZING;
}

bool CXFolderDialog::IsFolder(const std::wstring& path) const
{
    return !path.empty() && fileSystem_.FolderExists(path);
}

bool CXFolderDialog::ProcessMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result)
{
    if (message == WM_NOTIFY) {
        // The system's notifications come from the dialog itself, whatever their id.
        auto* header = reinterpret_cast<NMHDR*>(l);
        if (header->code == CDN_FOLDERCHANGE) {
            result = OnFolderChange(header);
            return true;
        }
        if (header->code == CDN_SELCHANGE) {
            result = OnSelectionChange(header);
            return true;
        }
    }
    return fw::DispatchMessage(this, kMessages, false, message, w, l, result);
}

BOOL CXFolderDialog::OnInitDialog()
{
    historyCombo_.Attach(GetDlgItem(kHistoryCombo));
    historyCombo_.SetDropDownRows(kDropDownRows);
    const std::wstring current = history_.ReadHistory(kHistorySection, kHistoryKeyPrefix);
    historyCombo_.SetItems(history_.items());
    // The most recent folder first; else the text last accepted.
    historyCombo_.SetEditText(history_.items().empty() ? current : history_.items().front());

    HWND dialog = FileDialogWindow();
    if (!::GetDlgItem(dialog, kFileNameBox))
        fileNameBoxId_ = kOldFileNameBox;
    if (HWND label = ::GetDlgItem(dialog, kFileNameLabel))
        labelX_ = ChildRect(label, dialog).left;
    ::SetWindowTextW(dialog, kCaption);
    enterKey_.Subclass(dialog);
    return TRUE;
}

bool CXFolderDialog::EnterKey::ProcessWindowMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result)
{
    if (message != WM_COMMAND || owner_.navigating_)
        return false;
    // On our OK button, Enter sends that button's click here, not to its parent.
    const bool onOk = LOWORD(w) == kOkButton && reinterpret_cast<HWND>(l) == owner_.GetDlgItem(kOkButton);
    const HWND focus = ::GetFocus();
    const bool inFolderName = LOWORD(w) == IDOK && (focus == owner_.historyCombo_ || ::IsChild(owner_.historyCombo_, focus));
    if (!onOk && !inFolderName)
        return false;
    owner_.Accept();
    result = 0;
    return true;
}

bool CXFolderDialog::OnSize(WPARAM, LPARAM, LRESULT& result)
{
    result = 0;
    if (!inLayout_ && FileDialogWindow())
        Layout();
    return true;
}

void CXFolderDialog::Layout()
{
    inLayout_ = true;
    HWND dialog = FileDialogWindow();
    const fw::DpiScale px = fw::DpiScale::Of(dialog);  // our gaps are pixels at 96 DPI
    for (int id : {fileNameBoxId_, kFileNameLabel, kFileTypeCombo, kFileTypeLabel}) {
        if (HWND control = ::GetDlgItem(dialog, id)) {
            ::SetWindowPos(control, nullptr, 10000, 10000, 1, 1, SWP_NOZORDER | SWP_NOACTIVATE);
            ::EnableWindow(control, FALSE);
        }
    }

    HWND ok = ::GetDlgItem(dialog, IDOK);
    HWND cancel = ::GetDlgItem(dialog, IDCANCEL);
    if (ok && cancel) {
        // Our row sits where the system's OK button was, in our own coordinates.
        const RECT okRect = ChildRect(ok, m_hWnd);
        ::ShowWindow(ok, SW_HIDE);
        ::SetWindowPos(GetDlgItem(kOkButton), nullptr, okRect.left, okRect.top, okRect.right - okRect.left,
                       okRect.bottom - okRect.top, SWP_NOZORDER | SWP_NOACTIVATE);

        POINT labelAt{labelX_ >= 0 ? labelX_ : px(60), 0};
        ::MapWindowPoints(dialog, m_hWnd, &labelAt, 1);
        HWND label = GetDlgItem(kFolderLabel);
        const RECT labelRect = ChildRect(label, m_hWnd);
        // Dialog units follow the font's average width, not this text's: at
        // some DPIs the template's width falls a pixel or two short of it.
        const int labelWidth = std::max<int>(labelRect.right - labelRect.left, TextWidth(label));
        ::SetWindowPos(label, nullptr, labelAt.x, okRect.top + px(2), labelWidth, labelRect.bottom - labelRect.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        const int comboX = labelAt.x + labelWidth + px(2);
        const RECT comboRect = ChildRect(historyCombo_, m_hWnd);
        ::SetWindowPos(historyCombo_, nullptr, comboX, okRect.top, (okRect.left - px(6)) - comboX,
                       comboRect.bottom - comboRect.top, SWP_NOZORDER | SWP_NOACTIVATE);

        RECT cancelRect{};
        ::GetWindowRect(cancel, &cancelRect);
        if (HWND places = ::GetDlgItem(dialog, kPlacesBar)) {
            const RECT placesRect = ChildRect(places, dialog);
            const RECT cancelInDialog = ChildRect(cancel, dialog);
            ::SetWindowPos(places, nullptr, 0, 0, placesRect.right - placesRect.left,
                           cancelInDialog.bottom - placesRect.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        RECT dialogRect{};
        ::GetWindowRect(dialog, &dialogRect);
        const int cancelHeight = cancelRect.bottom - cancelRect.top;
        ::SetWindowPos(dialog, nullptr, 0, 0, cancelRect.right + px(10) - dialogRect.left,
                       cancelRect.bottom + cancelHeight / 2 + px(3) - dialogRect.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    if (!laidOut_) {
        laidOut_ = true;
        ::SetFocus(historyCombo_);
        ::SetTimer(m_hWnd, kPlacesBarTimer, 20, nullptr);
    } else {
        historyCombo_.SelectAllText();
    }
    inLayout_ = false;
}

bool CXFolderDialog::OnTimer(WPARAM w, LPARAM, LRESULT&)
{
    if (w != kPlacesBarTimer)
        return false;
    ::KillTimer(m_hWnd, kPlacesBarTimer);
    HWND dialog = FileDialogWindow();
    if (HWND places = ::GetDlgItem(dialog, kPlacesBar)) {
        const auto buttons = static_cast<int>(::SendMessageW(places, TB_BUTTONCOUNT, 0, 0));
        const int border = fw::DpiScale::Of(dialog)(2);
        const int needed = buttons * HIWORD(::SendMessageW(places, TB_GETBUTTONSIZE, 0, 0)) + border;
        RECT placesRect{};
        ::GetWindowRect(places, &placesRect);
        const int missing = needed - (placesRect.bottom - placesRect.top);
        if (missing > 0 && needed < GetSystemMetrics(SM_CYSCREEN)) {
            RECT dialogRect{};
            ::GetWindowRect(dialog, &dialogRect);
            ::SetWindowPos(dialog, nullptr, 0, 0, dialogRect.right - dialogRect.left,
                           dialogRect.bottom - dialogRect.top + missing, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    return false;  // the default handling follows
}

bool CXFolderDialog::OnCommand(WPARAM w, LPARAM, LRESULT& result)
{
    if (LOWORD(w) != kHistoryCombo || HIWORD(w) != CBN_SELENDOK)
        return false;
    ChooseHistoryItem();
    result = 0;
    return true;
}

void CXFolderDialog::ChooseHistoryItem()
{
    const std::wstring text = historyCombo_.GetSelectedItemText();
    if (text.empty())
        return;
    if (IsFolder(text)) {
        // The system's dialog opens a folder typed into its file-name box on
        // OK (and would end with a file's name: files are never put there).
        HWND dialog = FileDialogWindow();
        HWND box = ::GetDlgItem(dialog, fileNameBoxId_);
        std::wstring saved(1024, L'\0');
        saved.resize(static_cast<std::size_t>(::GetWindowTextW(box, saved.data(), static_cast<int>(saved.size()))));
        ::SetWindowTextW(box, text.c_str());
        navigating_ = true;
        ::SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        navigating_ = false;
        ::SetWindowTextW(box, saved.c_str());
    }
    selectedPaths_ = {text};
}

void CXFolderDialog::OnAccept() { Accept(); }

void CXFolderDialog::Accept()
{
    const std::wstring text = historyCombo_.GetEditText();
    const std::wstring folder = FullPath(folder::Trim(text));
    if (!IsFolder(folder::Trim(text))) {
        fw::AppMessageBox(FileDialogWindow(), fw::FormatText(kNotAccessible, text), MB_OK);
        return;
    }
    history_.WriteHistory(text);
    // The folder handed back is the one the user accepted.
    selectedPaths_ = {folder};
    ::EndDialog(FileDialogWindow(), IDOK);
}

LRESULT CXFolderDialog::OnFolderChange(NMHDR*)
{
    FollowFolder();
    return 0;
}

LRESULT CXFolderDialog::OnSelectionChange(NMHDR*)
{
    FollowSelection();
    return 0;
}

std::wstring CXFolderDialog::CurrentFolder() const
{
    std::wstring folder(32768, L'\0');
    const auto length = static_cast<int>(::SendMessageW(FileDialogWindow(), CDM_GETFOLDERPATH,
                                                        static_cast<WPARAM>(folder.size()), reinterpret_cast<LPARAM>(folder.data())));
    folder.resize(length > 0 ? static_cast<std::size_t>(length - 1) : 0);
    return folder;
}

void CXFolderDialog::FollowFolder()
{
    const std::wstring folder = CurrentFolder();
    if (folder.empty())
        return;
    selectedPaths_ = {folder};
    // The folder the dialog opens in keeps the most recent entry in view.
    if (std::exchange(openedFolderShown_, true))
        historyCombo_.SetEditText(folder);
}

void CXFolderDialog::FollowSelection()
{
    HWND list = FindListView(FileDialogWindow());
    if (!list || ::SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0) == 0)
        return;
    const std::wstring folder = CurrentFolder();
    selectedPaths_.clear();
    for (int item = ListView_GetNextItem(list, -1, LVNI_SELECTED); item >= 0; item = ListView_GetNextItem(list, item, LVNI_SELECTED)) {
        wchar_t name[MAX_PATH * 2] = {};
        ListView_GetItemText(list, item, 0, name, MAX_PATH * 2);
        const std::wstring path = platform::JoinPath(folder, name);
        selectedPaths_.push_back(path);
        historyCombo_.SetEditText(path);
    }
}
