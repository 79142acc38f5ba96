#include "app/ModManagerDlg.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <unordered_map>

#include "app/ConflictDlg.h"
#include "app/FailureTexts.h"
#include "app/ProgressDlg.h"
#include "app/Globals.h"
#include "app/InstalledGames.h"
#include "app/ModTimeDlg.h"
#include "app/ProblemTexts.h"
#include "platform/ReusedListing.h"
#include "app/Texts.h"
#include "dialogs/folder/SuggestedHistory.h"
#include "dialogs/folder/XFolderDialog.h"
#include "framework/App.h"
#include "base/FormatText.h"
#include "mods/Conflicts.h"
#include "mods/FolderRestore.h"
#include "mods/GameDiscovery.h"
#include "mods/GameFolder.h"
#include "mods/Install.h"
#include "mods/ModCatalogue.h"
#include "mods/ModFile.h"
#include "mods/ModSwitch.h"
#include "mods/ModTime.h"
#include "mods/SettingsPlace.h"
#include "platform/FileSystem.h"
#include "platform/IniProfile.h"
#include "platform/LetterCase.h"
#include "platform/Paths.h"
#include "res/resource.h"

std::wstring g_paksFolder;
std::wstring g_gameExePath;
CModManagerDlg* g_mainDialog = nullptr;

namespace {

constexpr int kColumnCheck = CModManagerDlg::kColumnCheck;
constexpr int kColumnDate = CModManagerDlg::kColumnDate;
constexpr int kWarningYear = 2020;
constexpr const wchar_t* kPickerStartFolder = L"D:\\";
constexpr UINT kCopyGlobalData = 0x0049;  // carries drag-and-drop data across integrity levels
constexpr UINT_PTR kFolderWatchTimer = 1;
constexpr UINT kFolderWatchMs = 500;
// Posted, so the check runs after the handler that activated the window.
constexpr UINT kCheckFolderMessage = WM_APP + 20;

constexpr COLORREF kDisabledTextColor = RGB(220, 220, 220);
constexpr COLORREF kEnabledTextColor = RGB(0, 0, 0);
constexpr COLORREF kRowBackColor = RGB(255, 255, 255);

// The text colour of a mod's check, name and date cells: grey when disabled.
COLORREF ModTextColor(bool enabled) { return enabled ? kEnabledTextColor : kDisabledTextColor; }

// A new mod row's cells: its check box and, when `coloured`, the colours
// UpdateRowState gives it.
std::vector<ListCellData> ModRowCells(const CExtListCtrl& list, int check, bool coloured)
{
    std::vector<ListCellData> cells = list.NewRowCells();
    if (cells.empty())
        return cells;
    cells[kColumnCheck].checkState = check;
    for (std::size_t column = kColumnCheck; coloured && column <= kColumnDate && column < cells.size(); ++column) {
        cells[column].textColor = ModTextColor(check == 1);
        cells[column].backColor = kRowBackColor;
    }
    return cells;
}

// The shell's old result codes are the system's error codes, but for these.
DWORD ShellResultAsError(INT_PTR result)
{
    switch (result) {
    case 0: return ERROR_NOT_ENOUGH_MEMORY;
    case SE_ERR_SHARE: return ERROR_SHARING_VIOLATION;
    case SE_ERR_ASSOCINCOMPLETE:
    case SE_ERR_NOASSOC: return ERROR_NO_ASSOCIATION;
    case SE_ERR_DDETIMEOUT:
    case SE_ERR_DDEFAIL:
    case SE_ERR_DDEBUSY: return ERROR_DDE_FAIL;
    case SE_ERR_DLLNOTFOUND: return ERROR_DLL_NOT_FOUND;
    default: return static_cast<DWORD>(result);
    }
}

HICON LoadIconSized(int id, int sizeMetric)
{
    const int size = GetSystemMetrics(sizeMetric);
    return static_cast<HICON>(
        LoadImageW(fw::ResourceInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

// An install's progress, shown as its copies tell it.
class InstallProgressShown final : public mods::InstallProgress {
public:
    explicit InstallProgressShown(HWND owner) : dialog_(owner, texts::kCopyProgressCaption, true) {}
    void CopyingMod(const std::wstring& name, std::size_t index, std::size_t count) override
    {
        mod_ = name;
        index_ = index;
        count_ = count;
    }
    bool Copied(std::uint64_t bytes, std::uint64_t total) override
    {
        if (!dialog_.Due())
            return dialog_.Step({}, bytes, total);
        constexpr std::uint64_t kMegabyte = 1024 * 1024;
        const std::wstring text = fw::FormatText(texts::kCopyProgressText, mod_, static_cast<int>(index_ + 1),
                                                 static_cast<int>(count_), std::to_wstring(bytes / kMegabyte),
                                                 std::to_wstring(total / kMegabyte));
        return dialog_.Step(text, bytes, total);
    }

private:
    CProgressDlg dialog_;
    std::wstring mod_;
    std::size_t index_ = 0, count_ = 0;
};


// Two spellings of one folder, as Windows compares names.
bool SameFolder(const std::wstring& a, const std::wstring& b)
{
    return platform::FoldedCase(platform::WithTrailingSeparator(a)) ==
           platform::FoldedCase(platform::WithTrailingSeparator(b));
}

}  // namespace

constexpr fw::MessageEntry<CModManagerDlg> CModManagerDlg::kMessages[] = {
    fw::OnMessage(WM_PAINT, &CModManagerDlg::OnPaint),
    fw::OnMessage(WM_QUERYDRAGICON, &CModManagerDlg::OnQueryDragIcon),
    fw::OnCommand(IDC_RESTORE, &CModManagerDlg::OnRestore),
    fw::OnCommand(IDC_MOVE_TOP, &CModManagerDlg::OnMoveTop),
    fw::OnCommand(IDC_MOVE_UP, &CModManagerDlg::OnMoveUp),
    fw::OnCommand(IDC_MOVE_DOWN, &CModManagerDlg::OnMoveDown),
    fw::OnCommand(IDC_MOVE_BOTTOM, &CModManagerDlg::OnMoveBottom),
    fw::OnCommand(IDC_EDIT_TIME, &CModManagerDlg::OnEditTimeButton),
    fw::OnNotify(IDC_MOD_LIST, NM_DBLCLK, &CModManagerDlg::OnListDblClk),
    fw::OnCommand(IDC_LAUNCH_GAME, &CModManagerDlg::OnLaunchGame),
    fw::OnCommand(IDC_CONFLICT_CHECK, &CModManagerDlg::OnConflictCheck),
    fw::OnMessage(WM_DROPFILES, &CModManagerDlg::OnDropFiles),
    fw::OnRegisteredMessage(&WM_XLISTCTRL_CHECKBOX_CLICKED, &CModManagerDlg::OnCheckboxClicked),
    fw::OnMessage(WM_TIMER, &CModManagerDlg::OnTimer),
    fw::OnMessage(WM_ACTIVATE, &CModManagerDlg::OnActivate),
    fw::OnMessage(kCheckFolderMessage, &CModManagerDlg::OnCheckFolder),
    fw::OnMessage(WM_DESTROY, &CModManagerDlg::OnDestroy),
    fw::OnMessage(WM_SYSCOMMAND, &CModManagerDlg::OnSysCommand),
    fw::OnNotify(IDC_MOD_LIST, LVN_BEGINDRAG, &CModManagerDlg::OnListBeginDrag),
    fw::OnMessage(WM_MOUSEMOVE, &CModManagerDlg::OnMouseMove),
    fw::OnMessage(WM_LBUTTONUP, &CModManagerDlg::OnLeftButtonUp),
    fw::OnMessage(WM_CAPTURECHANGED, &CModManagerDlg::OnCaptureChanged),
    // The language menu's choices also come as commands (see AddLanguageMenu).
    fw::OnCommand(kChineseCommand, &CModManagerDlg::OnChooseChinese),
    fw::OnCommand(kEnglishCommand, &CModManagerDlg::OnChooseEnglish),
};

// The list's context-menu command "物理删除 MOD".
int CModManagerDlg::DeleteModCallback(CExtListCtrl* list, int row)
{
    if (list && g_mainDialog)
        g_mainDialog->DeleteModOnRow(row);
    return 0;
}

CModManagerDlg::CModManagerDlg(std::wstring programPath, std::wstring historyFile, HWND parent)
    : CDialog(IDD_MODMANAGER_DIALOG, parent),
      fileSystem_(platform::SystemFileSystem()),
      programPath_(std::move(programPath)),
      historyFile_(historyFile.empty() ? DefaultHistoryFile(programPath_) : std::move(historyFile)),
      bigIcon_(LoadIconSized(IDR_MAINFRAME, SM_CXICON)),
      smallIcon_(LoadIconSized(IDR_MAINFRAME, SM_CXSMICON))
{
}

CModManagerDlg::~CModManagerDlg()
{
    if (shortcutHook_)
        UnhookWindowsHookEx(shortcutHook_);
    if (g_mainDialog == this)
        g_mainDialog = nullptr;
}

bool CModManagerDlg::ProcessMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result)
{
    return fw::DispatchMessage(this, kMessages, false, message, w, l, result) ||
           CDialog::ProcessMessage(message, w, l, result);
}

void CModManagerDlg::DoDataExchange()
{
    status_.Attach(GetDlgItem(IDC_STATUS));
    modList_.SubclassDlgItem(m_hWnd, IDC_MOD_LIST);
}

BOOL CModManagerDlg::OnInitDialog()
{
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    g_mainDialog = this;
    ReadLanguageChoice();
    ShowTexts();
    // Drops from a normal Explorer still arrive when the program runs as administrator.
    for (UINT message : {static_cast<UINT>(WM_DROPFILES), static_cast<UINT>(WM_COPYDATA), kCopyGlobalData})
        ChangeWindowMessageFilterEx(m_hWnd, message, MSGFLT_ALLOW, nullptr);
    // The folder test lists the folder that the first refill reads.
    ReusedListing startupFiles(fileSystem_);
    FindGameFolders(startupFiles);
    OpenHistory();
    SetUpModList();
    RefillModList(startupFiles);
    if (history_) {
        // A damaged record is named; the others stay usable. (The states are
        // read when a record is used, so start-up reads only the rest.)
        const mods::ChangeHistory::Listing listing = history_->List(mods::RecordParts::WithoutStates);
        if (!listing.damaged.empty())
            status_.SetWindowText(fw::FormatText(texts::kDamagedRecords, static_cast<int>(listing.damaged.size()),
                                                 listing.damaged.front().fileName));
    }
    // An action the program did not finish, unless another PakOrder is in its middle.
    if (const std::optional<mods::ChangeRecord> crashed = writer_->Crashed())
        OfferRecovery(*crashed);
    AddWindowMenu();
    WatchFolder();
    SetTimer(m_hWnd, kFolderWatchTimer, kFolderWatchMs, nullptr);
    // The dialog's own loop passes every key through this filter first, so
    // the shortcuts work whichever control has the focus.
    shortcutHook_ = SetWindowsHookExW(WH_MSGFILTER, ShortcutFilter, nullptr, GetCurrentThreadId());
    AddShortcutTips();
    return TRUE;
}

bool CModManagerDlg::OnDestroy(WPARAM, LPARAM, LRESULT&)
{
    KillTimer(m_hWnd, kFolderWatchTimer);
    return false;
}

void CModManagerDlg::FindGameFolders(ReusedListing& files)
{
    const std::wstring programFolder = platform::GetFolderOfPath(programPath_);
    g_gameExePath = programFolder + std::wstring(mods::kGameProgram);
    if (fileSystem_.FileExists(g_gameExePath))
        fw::CWindow(GetDlgItem(IDC_LAUNCH_GAME)).EnableWindow(TRUE);

    bool discovered = false;
    const mods::PaksFolderChoice choice =
        mods::FindPaksFolder(files, programFolder, [this, &files, &discovered] {
            files.Forget();  // the user may change the folders while picking
            // Not beside the game: where Windows says it is installed.
            const mods::DiscoveredGames found = mods::DiscoverGames(fileSystem_, InstalledGameFolders(fileSystem_));
            if (found.paksFolders.size() == 1) {
                discovered = true;
                return found.paksFolders.front();
            }
            if (!found.paksFolders.empty())
                return AskForFolder(found.paksFolders.front(), found.paksFolders);
            return AskForFolder(found.gameFolder.value_or(kPickerStartFolder));
        });
    g_paksFolder = choice.folder;
    if (discovered && choice.qualifies) {
        // As if the program stood in the game's folder: the game is beside PAKS.
        const std::wstring game = platform::GetFolderOfPath(platform::StripTrailingSeparators(g_paksFolder));
        g_gameExePath = platform::JoinPath(game, std::wstring(mods::kGameProgram));
        fw::CWindow(GetDlgItem(IDC_LAUNCH_GAME)).EnableWindow(fileSystem_.FileExists(g_gameExePath));
    }
    if (!choice.qualifies) {
        // A folder the player did not choose is never managed: nothing is
        // listed, renamed or copied until a PAKS folder is dropped.
        g_paksFolder.clear();
        files.Forget();
        fw::AppMessageBox(m_hWnd, texts::kNoGameFolder, MB_OK);
    }
}

std::wstring CModManagerDlg::DefaultHistoryFile(const std::wstring& programPath)
{
    // A normal user cannot write beside Windows; the roaming application data can.
    wchar_t appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, appData)))
        return {};
    return mods::SettingsPlaceOf(appData, mods::ProgramBaseName(programPath)).settingsFile;
}

// The command line reads the picker's last folder from the window's INI.
static_assert(std::wstring_view(CXFolderDialog::kHistorySection) == mods::kFolderHistorySection);
static_assert(std::wstring_view(CXFolderDialog::kHistoryKeyPrefix) == mods::kLastFolderKey);

std::wstring CModManagerDlg::AskForFolder(const std::wstring& startFolder, const std::vector<std::wstring>& suggestions)
{
    platform::IniProfile stored(historyFile_);
    SuggestedHistory history(stored, CXFolderDialog::kHistorySection, CXFolderDialog::kHistoryKeyPrefix, suggestions);
    CXFolderDialog picker(startFolder, history);
    if (picker.DoModal() == IDOK && !picker.selectedPaths().empty())
        return picker.selectedPaths().front();
    return {};  // cancelled: no folder, not even the one offered first
}

void CModManagerDlg::SetUpModList()
{
    modList_.SetExtendedStyle(0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    SetRowHeight();
    const fw::DpiScale& px = modList_.Scale();
    modList_.InsertColumn(kColumnCheck, texts::kColumnEnabled, LVCFMT_LEFT, px(42));
    modList_.InsertColumn(kColumnName, texts::kColumnName, LVCFMT_LEFT, px(380));
    modList_.InsertColumn(kColumnDate, texts::kColumnDate, LVCFMT_RIGHT, px(90));
    modList_.InsertColumn(kColumnMark, texts::kColumnOrderChanged, LVCFMT_LEFT, px(1));
    modList_.SetContextMenu(texts::kDeleteMenuItem, DeleteModCallback, nullptr, nullptr);
}

void CModManagerDlg::SetRowHeight()
{
    // Never holds an image: its height, 32 pixels at 96 DPI, sets the rows' height.
    const fw::DpiScale& px = modList_.Scale();
    fw::UniqueImageList images(ImageList_Create(px(10), px(32), ILC_COLOR4, 10, 10));
    modList_.SetImageList(images.get(), LVSIL_SMALL);
    rowHeightImages_ = std::move(images);  // the list view has let go of the old one
}

void CModManagerDlg::OnDpiChanged(const fw::DpiScale&)
{
    modList_.SetDpi(Scale().Dpi());
    SetRowHeight();
}

void CModManagerDlg::RefillModList() { RefillModList(fileSystem_); }

void CModManagerDlg::RefillModList(platform::FileSystem& files)
{
    ForgetFolderChanges();
    {
        fw::CWindow::RedrawSuspender noRedraw(modList_);
        modList_.DeleteAllItems();
        const std::vector<mods::ModEntry> entries =
            g_paksFolder.empty() ? std::vector<mods::ModEntry>{} : mods::ReadModCatalogue(files, g_paksFolder);
        arrangement_.Reset(entries);
        // Inserting at the top, last first, leaves the earliest mod in row 0.
        // An enabled mod's row keeps the list's colours; a disabled one is greyed.
        for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
            const bool enabled = !mods::IsDisabledModName(entry->fileName);
            modList_.InsertRow(0, ModRowCells(modList_, enabled ? 1 : 0, !enabled),
                               {L"", entry->fileName, entry->dateText});
        }
    }
    ShowModCount();
    EnableConflictCheck();
}

void CModManagerDlg::FollowFolder(const std::vector<std::wstring>& retimed)
{
    const std::vector<std::wstring> selected = SelectedNames();
    ForgetFolderChanges();
    arrangement_.Follow(mods::ReadModCatalogue(fileSystem_, g_paksFolder), retimed);
    ShowArrangement(selected);
    ShowModCount();
    EnableConflictCheck();
}

void CModManagerDlg::ShowArrangement(const std::vector<std::wstring>& selectedNames)
{
    const int topRow = modList_.GetTopIndex();
    {
        fw::CWindow::RedrawSuspender noRedraw(modList_);
        modList_.DeleteAllItems();
        const std::vector<mods::ArrangedMod>& rows = arrangement_.Rows();
        for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
            const bool enabled = !mods::IsDisabledModName(row->name);
            modList_.InsertRow(0, ModRowCells(modList_, enabled ? 1 : 0, !enabled || row->marked),
                               {L"", row->name, mods::FormatFileDate(row->time),
                                row->marked ? texts::kOrderChangedMark : L""});
        }
        // Back to the rows the player was looking at.
        RECT first{};
        if (topRow > 0 && modList_.GetItemRect(0, &first, LVIR_BOUNDS))
            modList_.Scroll(0, topRow * (first.bottom - first.top));
    }
    SelectRowsNamed(selectedNames);
}

std::vector<std::wstring> CModManagerDlg::SelectedNames() const
{
    std::vector<std::wstring> names;
    for (int row = modList_.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = modList_.GetNextItem(row, LVNI_SELECTED))
        names.push_back(modList_.GetItemText(row, kColumnName));
    return names;
}

bool CModManagerDlg::ConfirmDiscardMoves()
{
    const int marked = arrangement_.MarkedCount();
    if (marked == 0)
        return true;
    const std::wstring question = fw::FormatText(texts::kDiscardMovesQuestion, marked);
    return MessageBoxW(m_hWnd, question.c_str(), texts::kDiscardMovesCaption, MB_OKCANCEL | MB_ICONWARNING) == IDOK;
}

void CModManagerDlg::OnCancel()
{
    if (ConfirmDiscardMoves())
        EndDialog(IDCANCEL);
}

void CModManagerDlg::WatchFolder()
{
    if (g_paksFolder.empty()) {
        folderWatch_.reset();
        return;
    }
    folderWatch_.reset(FindFirstChangeNotificationW(
        g_paksFolder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE));
}

void CModManagerDlg::ForgetFolderChanges()
{
    // The folder is read right after this, so every change made so far (our
    // own writes above all) is seen then; a change made later signals anew.
    // Were they not forgotten, our own writes would make the timer read the
    // folder again, a second of work with thousands of mods.
    for (int pending = 0; folderWatch_ && pending < 64; ++pending) {
        if (WaitForSingleObject(folderWatch_.get(), 0) != WAIT_OBJECT_0)
            return;
        FindNextChangeNotification(folderWatch_.get());
    }
}

bool CModManagerDlg::OnTimer(WPARAM w, LPARAM, LRESULT& result)
{
    if (w == kDragScrollTimer) {
        ScrollWhileDragging();
        result = 0;
        return true;
    }
    if (w != kFolderWatchTimer)
        return false;
    // While a question or a dialog of ours is open, the signal is kept for
    // when it has closed.
    if (folderWatch_ && IsWindowEnabled() && WaitForSingleObject(folderWatch_.get(), 0) == WAIT_OBJECT_0) {
        FindNextChangeNotification(folderWatch_.get());
        CheckFolderForOutsideChanges();
    }
    result = 0;
    return true;
}

bool CModManagerDlg::OnActivate(WPARAM w, LPARAM l, LRESULT&)
{
    // Back from another program, which may have changed the folder; not
    // back from a window of ours (a question, the progress of a write):
    // the folder was read after our own writes, and the watch saw the rest.
    const auto previous = reinterpret_cast<HWND>(l);
    DWORD previousProcess = 0;
    if (previous)
        GetWindowThreadProcessId(previous, &previousProcess);
    if (LOWORD(w) != WA_INACTIVE && previousProcess != GetCurrentProcessId())
        PostMessage(kCheckFolderMessage);
    return false;
}

bool CModManagerDlg::OnCheckFolder(WPARAM, LPARAM, LRESULT& result)
{
    CheckFolderForOutsideChanges();
    result = 0;
    return true;
}

void CModManagerDlg::CheckFolderForOutsideChanges()
{
    // While a question or a dialog of ours is open, the rows are in use.
    if (!IsWindowEnabled() || g_paksFolder.empty())
        return;
    const std::vector<mods::ModEntry> catalogue = mods::ReadModCatalogue(fileSystem_, g_paksFolder);
    if (arrangement_.Matches(catalogue))
        return;
    if (arrangement_.HasUnwrittenMoves()) {
        // The smart sort reads each time from disk: nothing is written from a stale one.
        if (!toldOutsideChange_)
            status_.SetWindowText(texts::kFolderChangedOutside);
        toldOutsideChange_ = true;
        return;
    }
    const std::vector<std::wstring> selected = SelectedNames();
    arrangement_.Reset(catalogue);
    ShowArrangement(selected);
    ShowModCount();
    EnableConflictCheck();
}

bool CModManagerDlg::OnSysCommand(WPARAM w, LPARAM, LRESULT& result)
{
    const UINT command = static_cast<UINT>(w & 0xFFF0);
    if (command == kUndoCommand)
        Undo();
    else if (command == kRedoCommand)
        Redo();
    else if (command == kHistoryCommand)
        ShowHistory();
    else if (command == kExportCommand)
        ExportModList();
    else if (command == kImportCommand)
        ImportModList();
    else if (command == kChineseCommand)
        OnChooseChinese();
    else if (command == kEnglishCommand)
        OnChooseEnglish();
    else
        return false;
    result = 0;
    return true;
}

void CModManagerDlg::ShowModCount()
{
    toldOutsideChange_ = false;
    ShowManagedFolder();
    status_.SetWindowText(g_paksFolder.empty() ? std::wstring(texts::kNoFolderHint)
                                               : fw::FormatText(texts::kModCount, modList_.GetItemCount()));
}

bool CModManagerDlg::UpdateRowState(int row, bool confirm)
{
    if (row < 0)
        return false;
    const bool enabled = modList_.GetCellCheck(row, kColumnCheck) == 1;
    if (!enabled && confirm) {
        const std::wstring question = fw::FormatText(texts::kDisableQuestion, modList_.GetItemText(row, kColumnName));
        if (MessageBoxW(m_hWnd, question.c_str(), texts::kDisableCaption, MB_OKCANCEL) != IDOK) {
            modList_.SetCellCheck(row, kColumnCheck, 1);
            return false;
        }
    }
    modList_.SetRowColors(row, kColumnCheck, kColumnDate, ModTextColor(enabled), kRowBackColor);
    modList_.RedrawRow(row);
    return true;
}

bool CModManagerDlg::OnCheckboxClicked(WPARAM w, LPARAM, LRESULT& result)
{
    result = 0;
    const int row = static_cast<int>(w);
    // A refused disable has re-ticked the box: nothing is renamed.
    if (!UpdateRowState(row, true))
        return true;

    const std::wstring name = modList_.GetItemText(row, kColumnName);
    if (name.empty())
        return true;
    const bool enable = modList_.GetCellCheck(row, kColumnCheck) == 1;
    std::vector<mods::SwitchResult> results;
    const mods::WriteOutcome outcome = writer_->Switch(
        enable ? mods::RecordedAction::Enable : mods::RecordedAction::Disable, {{name, enable}}, results);
    if (!outcome.Ran()) {
        // Nothing renamed: the row shows the disk again (before a recovery offered refills the list).
        modList_.SetCellCheck(row, kColumnCheck, enable ? 0 : 1);
        UpdateRowState(row, false);
        ShowOutcome(outcome);
        return true;
    }
    const mods::SwitchResult& switched = results.front();
    if (switched.name != name) {
        modList_.SetItemText(row, kColumnName, switched.name);
        arrangement_.Rename(name, switched.name);
    }
    std::wstring problem;
    if (switched.failure) {
        // Show what is really on disk, and why.
        modList_.SetCellCheck(row, kColumnCheck, mods::IsDisabledModName(switched.name) ? 0 : 1);
        UpdateRowState(row, false);
        problem = ProblemWords(mods::NotRenamed(*switched.failure));
    } else {
        ShowModCount();
    }
    ShowOutcome(outcome, problem);
    return true;
}

void CModManagerDlg::DeleteModOnRow(int row)
{
    const std::wstring name = modList_.GetItemText(row, kColumnName);
    if (row < 0 || name.empty())
        return;
    const std::wstring pak = platform::JoinPath(g_paksFolder, name);
    const std::wstring question = fw::FormatText(texts::kDeleteQuestion, pak, mods::CompanionName(pak));
    // Owned by the main window, so nothing else runs while it is open.
    if (MessageBoxW(m_hWnd, question.c_str(), texts::kDeleteCaption, MB_OKCANCEL) != IDOK)
        return;

    std::vector<mods::FileFailure> failures;
    const mods::WriteOutcome outcome = writer_->Delete({name}, failures);
    if (outcome.Ran())
        FollowFolder();
    ShowOutcome(outcome, failures.empty() ? std::wstring() : ProblemWords(mods::NotDeleted(failures.front())));
}

void CModManagerDlg::OnRestore()
{
    if (ConfirmDiscardMoves())
        RefillModList();
}

void CModManagerDlg::OnMoveTop() { MoveSelection(mods::ReorderCommand::Top); }
void CModManagerDlg::OnMoveUp() { MoveSelection(mods::ReorderCommand::Up); }
void CModManagerDlg::OnMoveDown() { MoveSelection(mods::ReorderCommand::Down); }
void CModManagerDlg::OnMoveBottom() { MoveSelection(mods::ReorderCommand::Bottom); }

std::vector<int> CModManagerDlg::SelectedRows() const
{
    std::vector<int> selected;
    for (int row = modList_.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = modList_.GetNextItem(row, LVNI_SELECTED))
        selected.push_back(row);
    return selected;
}

void CModManagerDlg::MoveSelection(mods::ReorderCommand command)
{
    const std::vector<int> selected = SelectedRows();
    if (selected.empty() || static_cast<int>(arrangement_.Rows().size()) != modList_.GetItemCount())
        return;
    if (const std::optional<int> target = arrangement_.Move(selected, command))
        ShowMove(selected, *target);
}

void CModManagerDlg::ShowMove(const std::vector<int>& selected, int target)
{
    // The rows are the same in number: the scroll bars and the header stay.
    fw::CWindow::RedrawSuspender noRedraw(modList_, fw::CWindow::RedrawSuspender::Repaint::ClientArea);
    if (!modList_.MoveRows(selected, target)) {
        arrangement_.UndoMove();
        return;
    }
    // The block stays selected; each moved row gets its state's colours and
    // the mark, and its first row the focus.
    const int end = target + static_cast<int>(selected.size());
    for (int row = target; row < end; ++row) {
        UpdateRowState(row, false);
        modList_.SetItemText(row, kColumnMark, texts::kOrderChangedMark);
    }
    modList_.SetItemState(target, LVIS_FOCUSED, LVIS_FOCUSED);
    modList_.SetSelectionMark(target);
    ShowModCount();
}

void CModManagerDlg::OnOK()
{
    if (g_paksFolder.empty()) {
        status_.SetWindowText(texts::kNoFolderHint);
        return;
    }
    const int count = modList_.GetItemCount();
    if (count < 2)
        return;  // nothing to order; the window stays open
    std::vector<mods::FileFailure> failures;
    const mods::WriteOutcome outcome = [&] {
        CProgressDlg progress(m_hWnd, texts::kSortProgressCaption, false);
        return writer_->WriteOrder(arrangement_.Listed(), fileSystem_.CurrentTime(), failures, StepsShownIn(progress));
    }();
    if (outcome.Ran())
        RefillModList();
    ShowOutcome(outcome, TimeFailuresText(failures));
}

std::wstring CModManagerDlg::TimeFailuresText(const std::vector<mods::FileFailure>& failures)
{
    if (failures.empty())
        return {};
    const mods::FileFailure& first = failures.front();
    return fw::FormatText(texts::kCannotWriteTimes, static_cast<int>(failures.size()), first.fileName,
                          DescribeError(first.status));
}

void CModManagerDlg::OnLaunchGame()
{
    // The game runs in its own folder, as when started from Explorer.
    const std::wstring gameFolder = platform::GetFolderOfPath(g_gameExePath);
    SetLastError(0);  // an error an earlier call left is not the shell's
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", g_gameExePath.c_str(), nullptr, gameFolder.c_str(), SW_SHOWNORMAL));
    if (result > 32) {
        ShowModCount();
        return;
    }
    DWORD error = GetLastError();
    if (error == 0)
        error = ShellResultAsError(result);
    status_.SetWindowText(fw::FormatText(texts::kCannotLaunch, DescribeError(platform::FsStatus{error})));
}

bool CModManagerDlg::OnDropFiles(WPARAM w, LPARAM, LRESULT& result)
{
    const auto drop = reinterpret_cast<HDROP>(w);
    std::vector<std::wstring> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
        paths.push_back(std::move(path));
    }
    DragFinish(drop);
    InstallDropped(paths);
    result = 0;
    return true;
}

void CModManagerDlg::InstallDropped(const std::vector<std::wstring>& paths)
{
    const mods::DropPlan plan = mods::PlanDrop(fileSystem_, paths);
    if (plan.paksFolder && !g_paksFolder.empty() && !SameFolder(*plan.paksFolder, g_paksFolder)) {
        const std::wstring question = fw::FormatText(texts::kSwitchFolderQuestion, *plan.paksFolder, g_paksFolder);
        if (MessageBoxW(m_hWnd, question.c_str(), texts::kSwitchFolderCaption, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
            return;
    }
    if (plan.paksFolder) {
        if (!ConfirmDiscardMoves())
            return;
        g_paksFolder = *plan.paksFolder;
        OpenHistory();
        RefillModList();
        WatchFolder();
    }
    if (plan.files.empty())
        return;
    if (g_paksFolder.empty()) {
        status_.SetWindowText(texts::kNoFolderHint);  // nowhere to copy them
        return;
    }

    std::wstring question = fw::FormatText(texts::kDropQuestion, static_cast<int>(plan.files.size()));
    for (const std::wstring& path : plan.files)
        question += path + L"\r\n";
    if (MessageBoxW(m_hWnd, question.c_str(), texts::kDropCaption, MB_OKCANCEL) != IDOK)
        return;

    status_.SetWindowText(texts::kCopying);
    mods::InstallResult installed;
    mods::WriteOutcome outcome;
    {
        InstallProgressShown progress(m_hWnd);
        outcome = writer_->Install(plan.files, installed, &progress);
    }
    if (!outcome.Ran()) {
        ShowModCount();  // nothing is being copied
        ShowOutcome(outcome);
        return;
    }
    status_.SetWindowText(texts::kCopied);
    // The new mods are selected, the rows selected before are not.
    modList_.SetItemState(-1, 0, LVIS_SELECTED);
    FollowFolder();
    SelectRowsNamed(installed.copied);
    ShowOutcome(outcome);

    if (!installed.notCopied.empty()) {
        std::wstring report = fw::FormatText(texts::kNotCopied, static_cast<int>(installed.notCopied.size()));
        for (const mods::NotInstalled& mod : installed.notCopied)
            report += L"\r\n" + mod.fileName + texts::kReasonSeparator + ProblemWords(mods::TextOf(mod));
        fw::AppMessageBox(m_hWnd, report, MB_OK | MB_ICONWARNING);
    }
}

void CModManagerDlg::SelectRowsNamed(const std::vector<std::wstring>& names)
{
    // One pass over the rows; a name shown on two rows selects the lower one.
    std::unordered_map<std::wstring, int> rowOf;
    for (int row = 0, count = modList_.GetItemCount(); row < count; ++row)
        rowOf[modList_.GetItemText(row, kColumnName)] = row;
    for (const std::wstring& name : names) {
        const auto found = rowOf.find(name);
        if (found == rowOf.end())
            continue;
        modList_.SetSelectionMark(found->second);
        modList_.SetItemState(found->second, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
}

void CModManagerDlg::EnableConflictCheck()
{
    fw::CWindow(GetDlgItem(IDC_CONFLICT_CHECK)).EnableWindow(modList_.GetItemCount() >= 2);
}

void CModManagerDlg::OnConflictCheck()
{
    // The order shown, moves not yet written included: the player checks before sorting.
    std::vector<mods::ListedModToCheck> rows;
    for (int row = 0, count = modList_.GetItemCount(); row < count; ++row)
        rows.push_back(mods::ListedModToCheck{modList_.GetItemText(row, kColumnName),
                                              modList_.GetCellCheck(row, kColumnCheck) == 1,
                                              modList_.GetItemState(row, LVIS_SELECTED) != 0});
    const mods::ConflictReport report = [&] {
        const fw::WaitCursorScope waiting;
        CProgressDlg progress(m_hWnd, texts::kCheckProgressCaption, false);
        return mods::CheckConflicts(fileSystem_, g_paksFolder, rows, StepsShownIn(progress));
    }();
    // Owned by the main window, so the list cannot change under the report.
    CConflictDlg dialog(report, rows, m_hWnd);
    dialog.DoModal();
}

void CModManagerDlg::OnEditTimeButton()
{
    if (g_paksFolder.empty()) {
        status_.SetWindowText(texts::kNoFolderHint);
        return;
    }
    const int row = modList_.GetNextItem(-1, LVNI_SELECTED);
    if (row >= 0)
        EditModTime(row);
}

LRESULT CModManagerDlg::OnListDblClk(NMHDR* header)
{
    const auto* activate = reinterpret_cast<const NMITEMACTIVATE*>(header);
    if (activate->iItem >= 0 && activate->iSubItem == kColumnDate)
        EditModTime(activate->iItem);
    return 0;
}

void CModManagerDlg::EditModTime(int row)
{
    const std::wstring name = modList_.GetItemText(row, kColumnName);
    const std::optional<mods::FileTime> current = mods::GetModFileTime(fileSystem_, g_paksFolder, name);
    const std::optional<mods::CalendarTime> fields = current ? mods::CalendarFromFileTime(*current) : std::nullopt;
    if (name.empty() || !fields)
        return;

    SYSTEMTIME time{static_cast<WORD>(fields->year), static_cast<WORD>(fields->month),
                    static_cast<WORD>(fields->dayOfWeek), static_cast<WORD>(fields->day),
                    static_cast<WORD>(fields->hour), static_cast<WORD>(fields->minute),
                    static_cast<WORD>(fields->second), static_cast<WORD>(fields->milliseconds)};
    // Owned by the main window, so nothing else runs while the date is picked.
    CModTimeDlg dialog(&time, m_hWnd);
    if (dialog.DoModal() != IDOK)
        return;

    const mods::CalendarTime picked{time.wYear, time.wMonth, time.wDayOfWeek, time.wDay,
                                    time.wHour, time.wMinute, time.wSecond, time.wMilliseconds};
    const std::optional<mods::FileTime> newTime = mods::FileTimeFromCalendar(picked);
    if (!newTime)
        return;

    std::vector<mods::FileFailure> failures;
    const mods::WriteOutcome outcome = writer_->SetTime(name, *newTime, failures);
    if (!outcome.Ran()) {
        ShowOutcome(outcome);
        return;
    }
    // The row goes where the game now loads it, and stays selected.
    modList_.SetItemState(-1, 0, LVIS_SELECTED);
    modList_.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    FollowFolder({name});
    for (int shown = 0, count = modList_.GetItemCount(); shown < count; ++shown)
        if (modList_.GetItemText(shown, kColumnName) == name)
            modList_.EnsureVisible(shown, FALSE);
    std::wstring said = TimeFailuresText(failures);
    if (said.empty() && picked.year < kWarningYear)
        said = texts::kEarlyYearWarning;  // written all the same
    ShowOutcome(outcome, said);
}

bool CModManagerDlg::OnPaint(WPARAM, LPARAM, LRESULT& result)
{
    if (!IsIconic())
        return false;
    fw::PaintDc dc(m_hWnd);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.get()));
    RECT client{};
    GetClientRect(&client);
    const int width = GetSystemMetrics(SM_CXICON);
    const int height = GetSystemMetrics(SM_CYICON);
    DrawIcon(dc.get(), (client.right - client.left - width + 1) / 2, (client.bottom - client.top - height + 1) / 2,
             bigIcon_.get());
    result = 0;
    return true;
}

bool CModManagerDlg::OnQueryDragIcon(WPARAM, LPARAM, LRESULT& result)
{
    result = reinterpret_cast<LRESULT>(bigIcon_.get());
    return true;
}
