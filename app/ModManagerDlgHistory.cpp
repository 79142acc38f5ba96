// The main window's records of its writes: showing what each write came
// to, undo, redo, the history dialog and the recovery of an action that did
// not finish.

#include "app/ModManagerDlg.h"

#include <algorithm>

#include "app/FailureTexts.h"
#include "app/HistoryDlg.h"
#include "app/ProblemTexts.h"
#include "app/ProgressDlg.h"
#include "app/RecordTexts.h"
#include "app/Texts.h"
#include "framework/App.h"
#include "base/FormatText.h"
#include "mods/FolderRestore.h"
#include "mods/FolderState.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

bool CModManagerDlg::ShowOutcome(const mods::WriteOutcome& outcome, std::wstring said)
{
    switch (outcome.refused) {
    case mods::WriteRefusal::None:
        break;
    case mods::WriteRefusal::NoHistory:
        status_.SetWindowText(
            fw::FormatText(texts::kCannotRecord, DescribeError(platform::FsStatus{ERROR_PATH_NOT_FOUND})));
        return false;
    case mods::WriteRefusal::CannotRecord:
        status_.SetWindowText(fw::FormatText(texts::kCannotRecord, DescribeError(outcome.status)));
        return false;
    case mods::WriteRefusal::Locked:
        status_.SetWindowText(texts::kAnotherWriter);
        return false;
    case mods::WriteRefusal::StateUnreadable:
        status_.SetWindowText(fw::FormatText(texts::kCannotReadFolder, DescribeError(outcome.status)));
        return false;
    case mods::WriteRefusal::Unfinished:
        OfferRecovery(*outcome.unfinished);
        return false;
    case mods::WriteRefusal::NothingToDo:  // each handler says it in its own words
    case mods::WriteRefusal::OtherFolder:  // only a restore meets it, and names the folder
        return false;
    }
    // Never dropped: the next write will offer the action for recovery.
    if (!outcome.completeStatus.ok()) {
        const std::wstring incomplete =
            fw::FormatText(texts::kCannotComplete, DescribeError(outcome.completeStatus));
        said = said.empty() ? incomplete : said + texts::kSentenceBreak + incomplete;
    }
    if (!said.empty())
        status_.SetWindowText(said);
    return true;
}

bool CModManagerDlg::ShowOutcome(const mods::RestoreOutcome& outcome, std::wstring said)
{
    if (outcome.write.refused == mods::WriteRefusal::OtherFolder) {
        status_.SetWindowText(fw::FormatText(texts::kOtherFolder, outcome.stepped->paksFolder));
        return false;
    }
    if (outcome.recoveryUnfinished)
        said = texts::kRecoveryUnfinished;
    if (!ShowOutcome(outcome.write, std::move(said)))
        return false;
    ReportNotRestored(outcome.notRestored);
    return true;
}

void CModManagerDlg::OfferRecovery(const mods::ChangeRecord& unfinished)
{
    const std::wstring question = fw::FormatText(texts::kUnfinishedQuestion, ActionText(unfinished.action));
    if (MessageBoxW(m_hWnd, question.c_str(), texts::kUnfinishedCaption, MB_YESNO | MB_ICONWARNING) != IDYES) {
        ShowOutcome(folder_.Writer().KeepUnfinished());  // kept as it is, and undoable as any write
        return;
    }
    if (!ConfirmDiscardMoves())
        return;  // offered again at the next write
    const mods::RestoreOutcome recovered = [&] {
        CProgressDlg progress(m_hWnd, texts::kRestoreProgressCaption, false);
        return folder_.Writer().Recover(StepsShownIn(progress));
    }();
    if (recovered.write.Ran())
        ReadFolder(Reading::Afresh);
    ShowOutcome(recovered);
}

void CModManagerDlg::ReportNotRestored(const std::vector<mods::NotRestored>& mods)
{
    if (mods.empty())
        return;
    std::wstring report = fw::FormatText(texts::kNotRestored, static_cast<int>(mods.size()));
    for (const mods::NotRestored& mod : mods)
        report += L"\r\n" + mod.name + texts::kReasonSeparator + ProblemWords(mods::TextOf(mod));
    fw::AppMessageBox(m_hWnd, report, MB_OK | MB_ICONWARNING);
}

void CModManagerDlg::Redo()
{
    // Asked only when there is something to redo.
    if (!folder_.History() || !folder_.History()->NextRedo()) {
        status_.SetWindowText(texts::kNothingToRedo);
        return;
    }
    if (!ConfirmDiscardMoves())
        return;
    const mods::RestoreOutcome redone = [&] {
        CProgressDlg progress(m_hWnd, texts::kRestoreProgressCaption, false);
        return folder_.Writer().Redo(StepsShownIn(progress));
    }();
    if (redone.write.refused == mods::WriteRefusal::NothingToDo) {
        status_.SetWindowText(texts::kNothingToRedo);
        return;
    }
    if (redone.write.Ran())
        ReadFolder(Reading::Afresh);
    ShowOutcome(redone, redone.stepped ? fw::FormatText(texts::kRedone, ActionText(redone.stepped->action))
                                       : std::wstring());
}

void CModManagerDlg::Undo()
{
    const std::optional<std::vector<int>> rows = arrangement_.UndoMove();
    if (rows) {
        std::vector<std::wstring> names;
        for (int row : *rows)
            names.push_back(arrangement_.Rows()[row].name);
        rows_.ShowAll(names, true);
        ShowConflicts();
        ShowModCount();
        return;
    }
    // No move to take back: the last write is undone, after the question
    // when moves made before a re-read are still unwritten.
    if (!folder_.History() || !folder_.History()->NextUndo()) {
        status_.SetWindowText(texts::kNothingToUndo);
        return;
    }
    if (!ConfirmDiscardMoves())
        return;
    const mods::RestoreOutcome undone = [&] {
        CProgressDlg progress(m_hWnd, texts::kRestoreProgressCaption, false);
        return folder_.Writer().Undo(StepsShownIn(progress));
    }();
    if (undone.write.refused == mods::WriteRefusal::NothingToDo) {
        status_.SetWindowText(texts::kNothingToUndo);
        return;
    }
    if (undone.write.Ran())
        ReadFolder(Reading::Afresh);
    ShowOutcome(undone, undone.stepped ? fw::FormatText(texts::kUndone, ActionText(undone.stepped->action))
                                       : std::wstring());
}

void CModManagerDlg::ShowHistory()
{
    if (!folder_.History())
        return;
    const mods::ChangeHistory::Listing listing = folder_.History()->List();
    CHistoryDlg dialog(listing, m_hWnd);
    if (dialog.DoModal() != IDOK || !dialog.Chosen())
        return;
    const auto chosen = std::find_if(listing.records.begin(), listing.records.end(),
                                     [&](const mods::ChangeRecord& r) { return r.sequence == *dialog.Chosen(); });
    if (chosen == listing.records.end())
        return;

    const wchar_t* action = ActionText(chosen->action);
    const std::optional<int> files = folder_.Writer().FilesToRestore(*chosen);
    if (!files) {
        // The restore would be refused: the folder cannot be read whole. Read again for the reason.
        std::vector<mods::RecordedMod> state;
        status_.SetWindowText(fw::FormatText(
            texts::kCannotReadFolder, DescribeError(mods::ReadFolderState(fileSystem_, folder_.Paks(), state))));
        return;
    }
    if (*files == 0) {
        status_.SetWindowText(fw::FormatText(texts::kNothingToRestore, action));
        return;
    }
    const std::wstring question =
        fw::FormatText(texts::kRestoreQuestion, LocalTimeText(chosen->madeAt), action, *files);
    if (MessageBoxW(m_hWnd, question.c_str(), texts::kRestoreCaption, MB_OKCANCEL | MB_ICONQUESTION) != IDOK ||
        !ConfirmDiscardMoves())
        return;
    const mods::RestoreOutcome restored = [&] {
        CProgressDlg progress(m_hWnd, texts::kRestoreProgressCaption, false);
        return folder_.Writer().RestoreBefore(chosen->sequence, StepsShownIn(progress));
    }();
    if (restored.write.Ran())
        ReadFolder(Reading::Afresh);
    ShowOutcome(restored, fw::FormatText(texts::kRestored, action));
}
