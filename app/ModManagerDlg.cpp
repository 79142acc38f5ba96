#include "app/ModManagerDlg.h"

#include <shellapi.h>
#include <shlobj.h>

#include "app/ConflictDlg.h"
#include "app/FailureTexts.h"
#include "app/ProgressDlg.h"
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
#include "mods/Install.h"
#include "mods/ModFile.h"
#include "mods/ModSwitch.h"
#include "mods/ModTime.h"
#include "mods/SettingsPlace.h"
#include "platform/FileSystem.h"
#include "platform/IniProfile.h"
#include "platform/LetterCase.h"
#include "platform/Paths.h"
#include "res/resource.h"

namespace {

constexpr int kWarningYear = 2020;
constexpr UINT kCopyGlobalData = 0x0049;  // carries drag-and-drop data across integrity levels
constexpr UINT_PTR kFolderWatchTimer = 1;
constexpr UINT kFolderWatchMs = 500;
// Posted, so the check runs after the handler that activated the window.
constexpr UINT kCheckFolderMessage = WM_APP + 20;

HICON LoadIconSized(int id, int sizeMetric)
{
    const int size = GetSystemMetrics(sizeMetric);
    return static_cast<HICON>(
        LoadImageW(fw::ResourceInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

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
    fw::OnNotify(IDC_MOD_LIST, LVN_BEGINDRAG, &CModManagerDlg::OnListBeginDrag),
    fw::OnCommand(IDC_LAUNCH_GAME, &CModManagerDlg::OnLaunchGame),
    fw::OnCommand(IDC_CONFLICT_CHECK, &CModManagerDlg::OnConflictCheck),
    fw::OnMessage(WM_DROPFILES, &CModManagerDlg::OnDropFiles),
    fw::OnRegisteredMessage(&WM_XLISTCTRL_CHECKBOX_CLICKED, &CModManagerDlg::OnCheckboxClicked),
    fw::OnMessage(WM_TIMER, &CModManagerDlg::OnTimer),
    fw::OnMessage(WM_ACTIVATE, &CModManagerDlg::OnActivate),
    fw::OnMessage(kCheckFolderMessage, &CModManagerDlg::OnCheckFolder),
    fw::OnMessage(WM_DESTROY, &CModManagerDlg::OnDestroy),
    fw::OnMessage(kAnalysisDoneMessage, &CModManagerDlg::OnAnalysisDone),
    fw::OnMessage(kSelectionChangedMessage, &CModManagerDlg::OnSelectionChanged),
    fw::OnNotify(IDC_MOD_LIST, LVN_ITEMCHANGED, &CModManagerDlg::OnListItemChanged),
    fw::OnMessage(WM_SYSCOMMAND, &CModManagerDlg::OnSysCommand),
    // The language menu's choices also come as commands (see AddLanguageMenu).
    fw::OnCommand(kChineseCommand, &CModManagerDlg::OnChooseChinese),
    fw::OnCommand(kEnglishCommand, &CModManagerDlg::OnChooseEnglish),
};

CModManagerDlg::CModManagerDlg(std::wstring programPath, std::wstring historyFile, HWND parent)
    : CDialog(IDD_MODMANAGER_DIALOG, parent),
      fileSystem_(platform::SystemFileSystem()),
      programPath_(std::move(programPath)),
      historyFile_(historyFile.empty() ? DefaultHistoryFile(programPath_) : std::move(historyFile)),
      bigIcon_(LoadIconSized(IDR_MAINFRAME, SM_CXICON)),
      smallIcon_(LoadIconSized(IDR_MAINFRAME, SM_CXSMICON)),
      folder_(fileSystem_, historyFile_),
      rows_(arrangement_),
      rowDrag_(rows_.Control(), [this](int insertBefore) { DropRows(insertBefore); })
{
}

bool CModManagerDlg::ProcessMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result)
{
    // While rows are dragged the window holds the mouse for the drag.
    return rowDrag_.ProcessMessage(message, w, l, result) ||
           fw::DispatchMessage(this, kMessages, false, message, w, l, result) ||
           CDialog::ProcessMessage(message, w, l, result);
}

void CModManagerDlg::DoDataExchange()
{
    status_.Attach(GetDlgItem(IDC_STATUS));
    rows_.Attach(m_hWnd, IDC_MOD_LIST);
}

BOOL CModManagerDlg::OnInitDialog()
{
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    ReadLanguageChoice();
    ShowTexts();
    // Drops from a normal Explorer still arrive when the program runs as administrator.
    for (UINT message : {static_cast<UINT>(WM_DROPFILES), static_cast<UINT>(WM_COPYDATA), kCopyGlobalData})
        ChangeWindowMessageFilterEx(m_hWnd, message, MSGFLT_ALLOW, nullptr);
    // The folder test lists the folder that the first read reads.
    ReusedListing startupFiles(fileSystem_);
    const bool found = folder_.FindAtStartUp(
        startupFiles, programPath_,
        [this](const auto& start, const auto& suggestions) { return AskForFolder(start, suggestions); });
    fw::CWindow(GetDlgItem(IDC_LAUNCH_GAME)).EnableWindow(folder_.GameFound());
    if (!found)
        fw::AppMessageBox(m_hWnd, texts::kNoGameFolder, MB_OK);
    rows_.SetUp([this](int row) { DeleteModOnRow(row); });
    rows_.Control().SetContextMenuAdder([this](HMENU menu, int row) { AddIntendedItems(menu, row); },
                                        [this](UINT command, int row) { OnIntendedItem(command, row); });
    rows_.SetNameTips([this](int row) { return DetailsOfRow(row); });
    analysis_.emplace(fileSystem_, m_hWnd, kAnalysisDoneMessage);
    folder_.ForgetChanges();
    ShowFolder(folder_.ReadCatalogue(startupFiles), Reading::Afresh);
    if (mods::ChangeHistory* history = folder_.History()) {
        // A damaged record is named; the others stay usable. (The states are
        // read when a record is used, so start-up reads only the rest.)
        const mods::ChangeHistory::Listing listing = history->List(mods::RecordParts::WithoutStates);
        if (!listing.damaged.empty())
            status_.SetWindowText(fw::FormatText(texts::kDamagedRecords, static_cast<int>(listing.damaged.size()),
                                                 listing.damaged.front().fileName));
    }
    // An action the program did not finish, unless another PakOrder is in its middle.
    if (const std::optional<mods::ChangeRecord> crashed = folder_.Writer().Crashed())
        OfferRecovery(*crashed);
    AddWindowMenu();
    SetTimer(m_hWnd, kFolderWatchTimer, kFolderWatchMs, nullptr);
    // The dialog's own loop passes every key through this filter first, so
    // the shortcuts work whichever control has the focus.
    shortcuts_.emplace(m_hWnd, [this](const MSG& message) { return HandleShortcut(message); });
    AddShortcutTips();
    return TRUE;
}

bool CModManagerDlg::OnDestroy(WPARAM, LPARAM, LRESULT&)
{
    KillTimer(m_hWnd, kFolderWatchTimer);
    shortcuts_.reset();
    analysis_.reset();  // stops the worker
    return false;
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

void CModManagerDlg::OnDpiChanged(const fw::DpiScale&) { rows_.SetDpi(Scale().Dpi()); }

void CModManagerDlg::ShowFolder(const std::vector<mods::ModEntry>& catalogue, Reading reading,
                                const std::vector<std::wstring>& retimed)
{
    const bool keepView = reading != Reading::Afresh;
    const std::vector<std::wstring> selected = keepView ? rows_.SelectedNames() : std::vector<std::wstring>{};
    if (reading == Reading::Following)
        arrangement_.Follow(catalogue, retimed);
    else
        arrangement_.Reset(catalogue);
    rows_.ShowAll(selected, keepView);
    ShowModCount();
    EnableConflictCheck();
    FollowConflicts(catalogue);
}

void CModManagerDlg::ReadFolder(Reading reading, const std::vector<std::wstring>& retimed)
{
    folder_.ForgetChanges();
    ShowFolder(folder_.ReadCatalogue(fileSystem_), reading, retimed);
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

bool CModManagerDlg::OnTimer(WPARAM w, LPARAM, LRESULT& result)
{
    if (w == kAnalysisStartTimer) {
        KillTimer(m_hWnd, kAnalysisStartTimer);
        if (firstCatalogue_ && analysis_)
            analysis_->Follow(folder_.Paks(), *firstCatalogue_);
        firstCatalogue_.reset();
        result = 0;
        return true;
    }
    if (w != kFolderWatchTimer)
        return false;
    // While a question or a dialog of ours is open, the change is kept for
    // when it has closed.
    if (IsWindowEnabled() && folder_.TakeChange())
        CheckFolderForOutsideChanges();
    result = 0;
    return true;
}

bool CModManagerDlg::OnActivate(WPARAM w, LPARAM l, LRESULT&)
{
    // Back from another program, which may have changed the folder. Not on
    // the first activation (the folder was just read), and not back from a
    // window of ours (a question, the progress of a write): the folder was
    // read after our own writes, and the watch saw the rest.
    const auto other = reinterpret_cast<HWND>(l);
    DWORD otherProcess = 0;
    if (other)
        GetWindowThreadProcessId(other, &otherProcess);
    if (LOWORD(w) == WA_INACTIVE) {
        if (otherProcess != GetCurrentProcessId())
            leftForAnotherProgram_ = true;
    } else if (leftForAnotherProgram_) {
        leftForAnotherProgram_ = false;
        PostMessage(kCheckFolderMessage);
    }
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
    if (!IsWindowEnabled() || !folder_.IsManaged() || !folder_.MayHaveChanged())
        return;
    const std::vector<mods::ModEntry> catalogue = folder_.ReadCatalogue(fileSystem_);
    if (arrangement_.Matches(catalogue))
        return;
    if (arrangement_.HasUnwrittenMoves()) {
        // The smart sort reads each time from disk: nothing is written from a stale one.
        if (!toldOutsideChange_)
            status_.SetWindowText(texts::kFolderChangedOutside);
        toldOutsideChange_ = true;
        return;
    }
    ShowFolder(catalogue, Reading::Replacing);
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
    const int count = static_cast<int>(arrangement_.Rows().size());
    status_.SetWindowText(folder_.IsManaged() ? fw::FormatText(texts::kModCount, count)
                                              : std::wstring(texts::kNoFolderHint));
}

bool CModManagerDlg::OnCheckboxClicked(WPARAM w, LPARAM, LRESULT& result)
{
    result = 0;
    SwitchRow(static_cast<int>(w));
    return true;
}

void CModManagerDlg::SwitchRow(int row)
{
    if (row < 0 || row >= static_cast<int>(arrangement_.Rows().size()))
        return;
    const std::wstring name = arrangement_.Rows()[static_cast<std::size_t>(row)].name;
    const bool enable = mods::IsDisabledModName(name);
    if (!enable) {
        const std::wstring question = fw::FormatText(texts::kDisableQuestion, name);
        if (MessageBoxW(m_hWnd, question.c_str(), texts::kDisableCaption, MB_OKCANCEL) != IDOK) {
            rows_.ShowTicked(row, true);  // ticked again: nothing is renamed
            return;
        }
    }
    std::vector<mods::SwitchResult> results;
    const mods::WriteOutcome outcome = folder_.Writer().Switch(
        enable ? mods::RecordedAction::Enable : mods::RecordedAction::Disable, {{name, enable}}, results);
    if (!outcome.Ran()) {
        // Nothing renamed: the row shows the disk again (before a recovery offered reads the folder).
        rows_.ShowRow(row);
        ShowOutcome(outcome);
        return;
    }
    // The row shows what is really on disk, and the status line why when the rename failed.
    const mods::SwitchResult& switched = results.front();
    if (switched.name != name)
        arrangement_.Rename(name, switched.name);
    rows_.ShowRow(row);
    ShowConflicts();
    std::wstring problem;
    if (switched.failure) {
        problem = ProblemWords(mods::NotRenamed(*switched.failure));
    } else {
        ShowModCount();
    }
    ShowOutcome(outcome, problem);
}

void CModManagerDlg::DeleteModOnRow(int row)
{
    if (row < 0 || row >= static_cast<int>(arrangement_.Rows().size()))
        return;
    const std::wstring name = arrangement_.Rows()[static_cast<std::size_t>(row)].name;
    const std::wstring pak = folder_.PathOf(name);
    const std::wstring question = fw::FormatText(texts::kDeleteQuestion, pak, mods::CompanionName(pak));
    // Owned by the main window, so nothing else runs while it is open.
    if (MessageBoxW(m_hWnd, question.c_str(), texts::kDeleteCaption, MB_OKCANCEL) != IDOK)
        return;

    std::vector<mods::FileFailure> failures;
    const mods::WriteOutcome outcome = folder_.Writer().Delete({name}, failures);
    if (outcome.Ran())
        ReadFolder(Reading::Following);
    ShowOutcome(outcome, failures.empty() ? std::wstring() : ProblemWords(mods::NotDeleted(failures.front())));
}

void CModManagerDlg::OnRestore()
{
    if (ConfirmDiscardMoves())
        ReadFolder(Reading::Afresh);
}

void CModManagerDlg::OnMoveTop() { MoveSelection(mods::ReorderCommand::Top); }
void CModManagerDlg::OnMoveUp() { MoveSelection(mods::ReorderCommand::Up); }
void CModManagerDlg::OnMoveDown() { MoveSelection(mods::ReorderCommand::Down); }
void CModManagerDlg::OnMoveBottom() { MoveSelection(mods::ReorderCommand::Bottom); }

void CModManagerDlg::MoveSelection(mods::ReorderCommand command)
{
    const std::vector<int> selected = rows_.SelectedRows();
    if (const std::optional<int> target = arrangement_.Move(selected, command))
        ShowMove(selected, *target);
}

LRESULT CModManagerDlg::OnListBeginDrag(NMHDR*)
{
    // The list view has already selected an unselected row pressed on.
    if (folder_.IsManaged() && !rows_.SelectedRows().empty())
        rowDrag_.Begin();
    return 0;
}

void CModManagerDlg::DropRows(int insertBefore)
{
    const std::vector<int> selected = rows_.SelectedRows();
    if (const std::optional<int> target = arrangement_.MoveBefore(selected, insertBefore))
        ShowMove(selected, *target);
}

void CModManagerDlg::ShowMove(const std::vector<int>& selected, int target)
{
    rows_.ShowMove(selected, target);
    ShowModCount();
    ShowConflicts();
}

void CModManagerDlg::OnOK()
{
    if (!folder_.IsManaged()) {
        status_.SetWindowText(texts::kNoFolderHint);
        return;
    }
    if (arrangement_.Rows().size() < 2)
        return;  // nothing to order; the window stays open
    std::vector<mods::FileFailure> failures;
    const mods::WriteOutcome outcome = [&] {
        CProgressDlg progress(m_hWnd, texts::kSortProgressCaption, false);
        return folder_.Writer().WriteOrder(arrangement_.Listed(), fileSystem_.CurrentTime(), failures,
                                           StepsShownIn(progress));
    }();
    if (outcome.Ran())
        ReadFolder(Reading::Afresh);
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
    const platform::FsStatus launched = folder_.LaunchGame();
    if (launched.ok())
        ShowModCount();
    else
        status_.SetWindowText(fw::FormatText(texts::kCannotLaunch, DescribeError(launched)));
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
    const std::wstring& paks = folder_.Paks();
    if (plan.paksFolder && !paks.empty() && !SameFolder(*plan.paksFolder, paks)) {
        const std::wstring question = fw::FormatText(texts::kSwitchFolderQuestion, *plan.paksFolder, paks);
        if (MessageBoxW(m_hWnd, question.c_str(), texts::kSwitchFolderCaption, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
            return;
    }
    if (plan.paksFolder) {
        if (!ConfirmDiscardMoves())
            return;
        folder_.Manage(*plan.paksFolder);
        ReadFolder(Reading::Afresh);
    }
    if (plan.files.empty())
        return;
    if (!folder_.IsManaged()) {
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
        outcome = folder_.Writer().Install(plan.files, installed, &progress);
    }
    if (!outcome.Ran()) {
        ShowModCount();  // nothing is being copied
        ShowOutcome(outcome);
        return;
    }
    status_.SetWindowText(texts::kCopied);
    // The new mods are selected, the rows selected before are not.
    rows_.ClearSelection();
    ReadFolder(Reading::Following);
    rows_.Select(installed.copied);
    ShowOutcome(outcome);

    if (!installed.notCopied.empty()) {
        std::wstring report = fw::FormatText(texts::kNotCopied, static_cast<int>(installed.notCopied.size()));
        for (const mods::NotInstalled& mod : installed.notCopied)
            report += L"\r\n" + mod.fileName + texts::kReasonSeparator + ProblemWords(mods::TextOf(mod));
        fw::AppMessageBox(m_hWnd, report, MB_OK | MB_ICONWARNING);
    }
}

void CModManagerDlg::EnableConflictCheck()
{
    fw::CWindow(GetDlgItem(IDC_CONFLICT_CHECK)).EnableWindow(arrangement_.Rows().size() >= 2);
}

void CModManagerDlg::OnConflictCheck()
{
    // The order shown, moves not yet written included: the player checks before sorting.
    std::vector<mods::ListedModToCheck> rows;
    for (const mods::ArrangedMod& row : arrangement_.Rows())
        rows.push_back(mods::ListedModToCheck{row.name, !mods::IsDisabledModName(row.name), false});
    for (int row : rows_.SelectedRows())
        rows[static_cast<std::size_t>(row)].selected = true;
    const mods::ConflictReport report = [&] {
        const fw::WaitCursorScope waiting;
        CProgressDlg progress(m_hWnd, texts::kCheckProgressCaption, false);
        return mods::CheckConflicts(fileSystem_, folder_.Paks(), rows, intended_, StepsShownIn(progress));
    }();
    // Owned by the main window, so the list cannot change under the report.
    CConflictDlg dialog(report, rows, m_hWnd);
    dialog.DoModal();
}

void CModManagerDlg::OnEditTimeButton()
{
    if (!folder_.IsManaged()) {
        status_.SetWindowText(texts::kNoFolderHint);
        return;
    }
    const std::vector<int> selected = rows_.SelectedRows();
    if (!selected.empty())
        EditModTime(selected.front());
}

LRESULT CModManagerDlg::OnListDblClk(NMHDR* header)
{
    const auto* activate = reinterpret_cast<const NMITEMACTIVATE*>(header);
    if (activate->iItem >= 0 && activate->iSubItem == ModListView::kColumnDate)
        EditModTime(activate->iItem);
    return 0;
}

void CModManagerDlg::EditModTime(int row)
{
    if (row < 0 || row >= static_cast<int>(arrangement_.Rows().size()))
        return;
    const std::wstring name = arrangement_.Rows()[static_cast<std::size_t>(row)].name;
    const std::optional<mods::FileTime> current = mods::GetModFileTime(fileSystem_, folder_.Paks(), name);
    const std::optional<mods::CalendarTime> fields = current ? mods::CalendarFromFileTime(*current) : std::nullopt;
    if (!fields)
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
    const mods::WriteOutcome outcome = folder_.Writer().SetTime(name, *newTime, failures);
    if (!outcome.Ran()) {
        ShowOutcome(outcome);
        return;
    }
    // The row goes where the game now loads it, and stays selected.
    rows_.ClearSelection();
    rows_.Select({name});
    ReadFolder(Reading::Following, {name});
    const std::vector<mods::ArrangedMod>& shown = arrangement_.Rows();
    for (int at = 0; at < static_cast<int>(shown.size()); ++at)
        if (shown[static_cast<std::size_t>(at)].name == name)
            rows_.ScrollTo(at);
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
