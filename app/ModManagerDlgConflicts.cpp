// The main window's conflict marks: the index kept by the worker, the rows
// analysed after each change, the rows lit for the selection, each mod at a
// glance and the overlaps the player means.

#include "app/ModManagerDlg.h"

#include <new>

#include "app/FailureTexts.h"
#include "app/Texts.h"
#include "base/FormatText.h"
#include "framework/App.h"
#include "mods/ModFile.h"
#include "mods/ModList.h"
#include "mods/OverlapMarking.h"

std::vector<mods::ListedModToCheck> CModManagerDlg::RowsToCheck() const
{
    std::vector<mods::ListedModToCheck> rows;
    rows.reserve(arrangement_.Rows().size());
    for (const mods::ArrangedMod& row : arrangement_.Rows())
        rows.push_back(mods::ListedModToCheck{row.name, !mods::IsDisabledModName(row.name), false});
    return rows;
}

void CModManagerDlg::FollowConflicts(const std::vector<mods::ModEntry>& catalogue)
{
    if (folder_.Paks() != intendedFolder_)
        ReadIntendedOverlaps();
    firstCatalogue_.reset();
    if (analysis_ && !::IsWindowVisible(m_hWnd)) {
        // A timer's message comes only once the window has nothing else to do.
        firstCatalogue_ = catalogue;
        SetTimer(m_hWnd, kAnalysisStartTimer, 1, nullptr);
    } else if (analysis_) {
        analysis_->Follow(folder_.Paks(), catalogue);
    }
    ShowConflicts();
}

bool CModManagerDlg::OnAnalysisDone(WPARAM, LPARAM, LRESULT& result)
{
    if (analysis_ && analysis_->TakeDone())
        ShowConflicts();
    result = 0;
    return true;
}

void CModManagerDlg::ShowConflicts()
{
    conflicts_.reset();
    relations_.clear();
    if (const mods::ConflictIndex* index = analysis_ ? analysis_->Index() : nullptr) {
        try {
            conflicts_ = index->Analyse(RowsToCheck(), intended_);
            relations_ = index->AllRelations(*conflicts_);
        } catch (const std::bad_alloc&) {
            conflicts_.reset();  // no marks rather than some
            relations_.clear();
        }
    }
    rows_.ShowMarks(MarksOfRows(arrangement_.Rows(), conflicts_ ? &*conflicts_ : nullptr, relations_));
    ShowSelectionConflicts();
}

LRESULT CModManagerDlg::OnListItemChanged(NMHDR* header)
{
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
    // Setting many rows' states sends one notification each: the lights follow once, after them.
    if ((change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_SELECTED) &&
        !selectionChangePosted_) {
        selectionChangePosted_ = true;
        PostMessage(kSelectionChangedMessage);
    }
    return 0;
}

bool CModManagerDlg::OnSelectionChanged(WPARAM, LPARAM, LRESULT& result)
{
    selectionChangePosted_ = false;
    ShowSelectionConflicts();
    result = 0;
    return true;
}

void CModManagerDlg::ShowSelectionConflicts()
{
    // Asking for the rows selected costs a look at each row: only one counts.
    const std::vector<int> selected = rows_.SelectedCount() == 1 ? rows_.SelectedRows() : std::vector<int>{};
    std::vector<RowLight> lights;
    if (selected.size() == 1 && conflicts_)
        lights = LightsOf(arrangement_.Rows().size(), static_cast<std::size_t>(selected.front()), relations_);
    bool lit = false;
    for (RowLight light : lights)
        lit = lit || light != RowLight::None;
    rows_.ShowLights(lit ? lights : std::vector<RowLight>{});
    if (lit) {
        status_.SetWindowText(texts::kLightLegend);
        legendShown_ = true;
    } else if (legendShown_) {
        legendShown_ = false;
        ShowModCount();
    }
}

std::wstring CModManagerDlg::DetailsOfRow(int row) const
{
    const mods::ConflictIndex* index = analysis_ ? analysis_->Index() : nullptr;
    if (!index || !conflicts_ || row < 0 || static_cast<std::size_t>(row) >= relations_.size())
        return {};
    const auto at = static_cast<std::size_t>(row);
    const std::vector<mods::ArrangedMod>& rows = arrangement_.Rows();
    WIN32_FILE_ATTRIBUTE_DATA data{};
    unsigned long long bytes = 0;
    if (GetFileAttributesExW(folder_.PathOf(rows[at].name).c_str(), GetFileExInfoStandard, &data))
        bytes = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return DetailsOf(rows, at, bytes, conflicts_->Rows()[at], index->FoldersOf(*conflicts_, at), relations_[at]);
}

void CModManagerDlg::AddIntendedItems(HMENU menu, int row)
{
    menuPairs_.clear();
    if (!conflicts_ || !folder_.History() || row < 0 || static_cast<std::size_t>(row) >= relations_.size())
        return;
    menuPairs_ = PairsOf(static_cast<std::size_t>(row), relations_[static_cast<std::size_t>(row)]);
    if (menuPairs_.size() > CExtListCtrl::kAddedMenuCommands)
        menuPairs_.resize(CExtListCtrl::kAddedMenuCommands);
    if (!menuPairs_.empty())
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    const std::vector<mods::ArrangedMod>& rows = arrangement_.Rows();
    for (std::size_t i = 0; i < menuPairs_.size(); ++i) {
        const RelatedPair& pair = menuPairs_[i];
        const std::wstring text = fw::FormatText(pair.intended ? texts::kUnintendedMenuItem : texts::kIntendedMenuItem,
                                                 rows[pair.overriding].name, rows[pair.overridden].name);
        AppendMenuW(menu, MF_STRING, CExtListCtrl::kFirstAddedMenuCommand + static_cast<UINT>(i), text.c_str());
    }
}

void CModManagerDlg::OnIntendedItem(UINT command, int)
{
    const std::size_t i = command - CExtListCtrl::kFirstAddedMenuCommand;
    const std::vector<mods::ArrangedMod>& rows = arrangement_.Rows();
    if (i >= menuPairs_.size() || !folder_.History())
        return;
    const RelatedPair pair = menuPairs_[i];
    if (pair.overriding >= rows.size() || pair.overridden >= rows.size())
        return;
    // Named as a mod list names them, so that the pair outlives enabling and disabling.
    const mods::IntendedOverlap overlap{mods::ModListEntryOf(rows[pair.overriding].name).name,
                                        mods::ModListEntryOf(rows[pair.overridden].name).name};
    const mods::OverlapMarkOutcome marked = mods::MarkIntendedOverlap(
        fileSystem_, folder_.Writer(), folder_.History()->RecordsFolder(), overlap, !pair.intended);
    switch (marked.result) {
    case mods::OverlapMarkResult::Changed:
    case mods::OverlapMarkResult::AlreadyMarked:
    case mods::OverlapMarkResult::NotMarked:
        break;
    case mods::OverlapMarkResult::Refused:
        ShowOutcome(marked.write);
        return;
    case mods::OverlapMarkResult::CannotRead:
    case mods::OverlapMarkResult::CannotWrite:
        fw::AppMessageBox(m_hWnd, fw::FormatText(texts::kCannotExportList, marked.path, DescribeError(marked.status)),
                          MB_OK | MB_ICONWARNING);
        return;
    case mods::OverlapMarkResult::FileAtFault:
        ReadIntendedOverlaps();  // names the file's faults
        return;
    }
    // The file as it is now, another PakOrder's pairs included.
    ReadIntendedOverlaps();
    ShowConflicts();
}

void CModManagerDlg::ReadIntendedOverlaps()
{
    intendedFolder_ = folder_.Paks();
    intended_.clear();
    if (!folder_.History())
        return;
    const std::wstring path = mods::IntendedOverlapsPath(folder_.History()->RecordsFolder());
    std::vector<mods::OverlapsProblem> problems;
    const platform::FsStatus read = mods::ReadIntendedOverlaps(fileSystem_, path, intended_, problems);
    if (!read.ok()) {
        fw::AppMessageBox(m_hWnd, fw::FormatText(texts::kCannotReadList, path, DescribeError(read)),
                          MB_OK | MB_ICONWARNING);
        return;
    }
    if (problems.empty())
        return;
    // The lines skipped are named; the pairs of the others count.
    std::wstring lines;
    for (const mods::OverlapsProblem& problem : problems) {
        if (!lines.empty())
            lines += texts::kNamesSeparator;
        lines += std::to_wstring(problem.line > 0 ? problem.line : 1);
    }
    fw::AppMessageBox(m_hWnd, fw::FormatText(texts::kBadIntendedLines, path, lines), MB_OK | MB_ICONWARNING);
}
