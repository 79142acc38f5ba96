// The main window's records of its writes: opening the folder's history,
// recording before and after each write, undo, redo, the history dialog and
// the recovery offered at start-up.

#include "app/ModManagerDlg.h"

#include <algorithm>

#include "app/Globals.h"
#include "app/HistoryDlg.h"
#include "app/ProgressDlg.h"
#include "app/RecordTexts.h"
#include "app/Texts.h"
#include "framework/App.h"
#include "framework/FormatText.h"
#include "mods/FolderRestore.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

void CModManagerDlg::OpenHistory()
{
    history_.reset();
    if (g_paksFolder.empty() || historyFile_.empty())
        return;
    const std::wstring root = platform::JoinPath(platform::GetFolderOfPath(historyFile_), L"History");
    history_ = std::make_unique<mods::ChangeHistory>(fileSystem_, root, g_paksFolder);
}

std::optional<std::uint64_t> CModManagerDlg::BeginWrite(mods::RecordedAction action, std::vector<std::wstring> intent)
{
    std::uint64_t sequence = 0;
    const platform::FsStatus recorded = history_ ? history_->Begin(action, std::move(intent), std::nullopt, sequence)
                                                 : platform::FsStatus{ERROR_PATH_NOT_FOUND};
    if (!recorded.ok()) {
        status_.SetWindowText(fw::FormatText(texts::kCannotRecord, platform::DescribeError(recorded)));
        return std::nullopt;
    }
    return sequence;
}

void CModManagerDlg::EndWrite(std::optional<std::uint64_t> sequence)
{
    if (history_ && sequence)
        history_->Complete(*sequence);
}

void CModManagerDlg::OfferRecovery()
{
    const std::optional<mods::ChangeRecord> unfinished = history_->UnfinishedNewest();
    const std::wstring question = fw::FormatText(texts::kUnfinishedQuestion, ActionText(unfinished->action));
    if (MessageBoxW(m_hWnd, question.c_str(), texts::kUnfinishedCaption, MB_YESNO | MB_ICONWARNING) == IDYES) {
        const mods::RestoreResult restored = [&] {
            CProgressDlg progress(m_hWnd, texts::kRestoreProgressCaption, false);
            return mods::RecoverUnfinished(*history_, fileSystem_, StepsShownIn(progress));
        }();
        ReportNotRestored(restored.notRestored);
    } else {
        history_->Complete(unfinished->sequence);  // kept as it is, and undoable as any write
    }
}

void CModManagerDlg::ReportNotRestored(const std::vector<mods::NotRestored>& mods)
{
    if (mods.empty())
        return;
    std::wstring report = fw::FormatText(texts::kNotRestored, static_cast<int>(mods.size()));
    for (const mods::NotRestored& mod : mods) {
        std::wstring why;
        switch (mod.reason) {
        case mods::NotRestoredReason::Gone: why = texts::kRestoreGone; break;
        case mods::NotRestoredReason::NameTaken: why = texts::kRestoreNameTaken; break;
        case mods::NotRestoredReason::Changed: why = texts::kRestoreChanged; break;
        case mods::NotRestoredReason::Failed: why = platform::DescribeError(mod.status); break;
        }
        report += L"\r\n" + mod.name + texts::kReasonSeparator + why;
    }
    fw::AppMessageBox(m_hWnd, report, MB_OK | MB_ICONWARNING);
}

void CModManagerDlg::Redo()
{
    if (!history_)
        return;
    const std::optional<mods::ChangeRecord> next = history_->NextRedo();
    if (!next || !ConfirmDiscardMoves()) {
        if (!next)
            status_.SetWindowText(texts::kNothingToRedo);
        return;
    }
    const mods::RestoreResult redone = [&] {
        CProgressDlg progress(m_hWnd, texts::kRestoreProgressCaption, false);
        return mods::Redo(*history_, fileSystem_, StepsShownIn(progress));
    }();
    if (!redone.beginStatus.ok()) {
        status_.SetWindowText(fw::FormatText(texts::kCannotRecord, platform::DescribeError(redone.beginStatus)));
        return;
    }
    RefillModList();
    status_.SetWindowText(fw::FormatText(texts::kRedone, ActionText(next->action)));
    ReportNotRestored(redone.notRestored);
}

void CModManagerDlg::Undo()
{
    const std::optional<std::vector<int>> rows = arrangement_.UndoMove();
    if (!rows) {
        // No move to take back: the last write is undone, after the question
        // when moves made before a re-read are still unwritten.
        const std::optional<mods::ChangeRecord> last = history_ ? history_->NextUndo() : std::nullopt;
        if (!last) {
            status_.SetWindowText(texts::kNothingToUndo);
            return;
        }
        if (!ConfirmDiscardMoves())
            return;
        const mods::RestoreResult undone = [&] {
            CProgressDlg progress(m_hWnd, texts::kRestoreProgressCaption, false);
            return mods::Undo(*history_, fileSystem_, StepsShownIn(progress));
        }();
        if (!undone.beginStatus.ok()) {
            status_.SetWindowText(fw::FormatText(texts::kCannotRecord, platform::DescribeError(undone.beginStatus)));
            return;
        }
        RefillModList();
        status_.SetWindowText(fw::FormatText(texts::kUndone, ActionText(last->action)));
        ReportNotRestored(undone.notRestored);
        return;
    }
    std::vector<std::wstring> names;
    for (int row : *rows)
        names.push_back(arrangement_.Rows()[row].name);
    ShowArrangement(names);
    ShowModCount();
}

void CModManagerDlg::ShowHistory()
{
    if (!history_)
        return;
    const mods::ChangeHistory::Listing listing = history_->List();
    CHistoryDlg dialog(listing, m_hWnd);
    if (dialog.DoModal() != IDOK || !dialog.Chosen())
        return;
    const auto chosen = std::find_if(listing.records.begin(), listing.records.end(),
                                     [&](const mods::ChangeRecord& r) { return r.sequence == *dialog.Chosen(); });
    if (chosen == listing.records.end())
        return;

    const wchar_t* action = ActionText(chosen->action);
    const int files = mods::PlanRestore(fileSystem_, g_paksFolder, chosen->before, {}).FilesToChange();
    if (files == 0) {
        status_.SetWindowText(fw::FormatText(texts::kNothingToRestore, action));
        return;
    }
    const std::wstring question =
        fw::FormatText(texts::kRestoreQuestion, LocalTimeText(chosen->madeAt), action, files);
    if (MessageBoxW(m_hWnd, question.c_str(), texts::kRestoreCaption, MB_OKCANCEL | MB_ICONQUESTION) != IDOK ||
        !ConfirmDiscardMoves())
        return;
    const mods::RestoreResult restored = [&] {
        CProgressDlg progress(m_hWnd, texts::kRestoreProgressCaption, false);
        return mods::RestoreBefore(*history_, fileSystem_, chosen->sequence, StepsShownIn(progress));
    }();
    if (!restored.beginStatus.ok()) {
        status_.SetWindowText(fw::FormatText(texts::kCannotRecord, platform::DescribeError(restored.beginStatus)));
        return;
    }
    RefillModList();
    status_.SetWindowText(fw::FormatText(texts::kRestored, action));
    ReportNotRestored(restored.notRestored);
}
