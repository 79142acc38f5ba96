// The main window's mod lists: the order shown saved to share, and a list
// taken back as moves waiting for the smart sort.
#include "app/ModManagerDlg.h"

#include <algorithm>

#include "app/FailureTexts.h"
#include "app/ProblemTexts.h"
#include "app/Texts.h"
#include "base/FormatText.h"
#include "framework/App.h"
#include "framework/FileNamePrompt.h"
#include "mods/ListImport.h"
#include "mods/ModList.h"
#include "mods/ModSwitch.h"
#include "platform/FileSystem.h"

namespace {

fw::FileNamePrompt ModListPrompt(const wchar_t* title, const wchar_t* fileName)
{
    return fw::FileNamePrompt{title, texts::kModListFilter, texts::kModListExtension, fileName};
}

}  // namespace

void CModManagerDlg::ExportModList()
{
    const mods::ModListExport list = mods::ExportModList(arrangement_.Rows());
    if (!list.takenTwice.empty()) {
        std::wstring report = fw::FormatText(texts::kListNamesTakenTwice, static_cast<int>(list.takenTwice.size()));
        for (const std::wstring& name : list.takenTwice)
            report += L"\r\n" + name;
        fw::AppMessageBox(m_hWnd, report, MB_OK | MB_ICONWARNING);
        return;
    }
    const std::optional<std::wstring> path = fw::AskForFileToSave(m_hWnd, ModListPrompt(texts::kExportCaption, texts::kModListFileName));
    if (!path)
        return;
    const platform::FsStatus written = fileSystem_.WriteFileDurably(*path, list.text);
    if (!written.ok()) {
        status_.SetWindowText(fw::FormatText(texts::kCannotExportList, *path, DescribeError(written)));
        return;
    }
    std::wstring done = fw::FormatText(texts::kListExported, static_cast<int>(arrangement_.Rows().size() - list.leftOut.size()), *path);
    if (!list.leftOut.empty())
        done += fw::FormatText(texts::kListLeftOut, static_cast<int>(list.leftOut.size()), list.leftOut.front());
    status_.SetWindowText(done);
}

void CModManagerDlg::ImportModList()
{
    const std::optional<std::wstring> path = fw::AskForFileToOpen(m_hWnd, ModListPrompt(texts::kImportCaption, L""));
    if (!path)
        return;
    std::vector<unsigned char> bytes;
    const platform::FsStatus read = fileSystem_.ReadWholeFile(*path, mods::kMaxModListBytes, bytes);
    mods::ModListProblem problem{mods::ModListFault::TooLarge, 0, {}};
    const std::optional<std::vector<mods::ModListEntry>> list =
        read.ok() ? mods::ParseModList(bytes, problem) : std::nullopt;
    if (!list) {
        const std::wstring why = read.ok() || platform::IsTooLarge(read)
            ? ProblemWords(mods::TextOf(problem, *path))
            : fw::FormatText(texts::kCannotReadList, *path, DescribeError(read));
        fw::AppMessageBox(m_hWnd, why + texts::kNothingChanged, MB_OK | MB_ICONWARNING);
        return;
    }

    // The order first, as moves: nothing is written until the smart sort.
    const mods::ImportEffect effect = mods::PlanImport(arrangement_.Rows(), *list);
    std::vector<std::wstring> moved;
    for (const int row : arrangement_.Rearrange(effect.order))
        moved.push_back(arrangement_.Rows()[static_cast<std::size_t>(row)].name);
    rows_.ShowAll(moved, true);
    ShowConflicts();
    status_.SetWindowText(moved.empty() ? std::wstring(texts::kListInOrder)
                                        : fw::FormatText(texts::kListImported, static_cast<int>(moved.size())));

    // Then the states, after one question, as one recorded write; the rows
    // and the steps that take the moves back follow the new names.
    if (!effect.switches.empty()) {
        std::wstring question = fw::FormatText(texts::kSwitchQuestion, static_cast<int>(effect.switches.size()));
        for (const mods::StateChange& change : effect.switches)
            question += fw::FormatText(change.enable ? texts::kSwitchToEnabled : texts::kSwitchToDisabled, change.name);
        if (MessageBoxW(m_hWnd, question.c_str(), texts::kSwitchCaption, MB_OKCANCEL | MB_ICONQUESTION) == IDOK) {
            std::vector<mods::SwitchResult> switched;
            std::vector<mods::FileFailure> unused;  // no order is written
            const mods::WriteOutcome outcome = folder_.Writer().Import(
                arrangement_, effect.switches, false, fileSystem_.CurrentTime(), switched, unused);
            std::wstring problem;
            if (outcome.Ran()) {
                for (std::size_t i = 0; i < switched.size(); ++i) {
                    std::replace(moved.begin(), moved.end(), effect.switches[i].name, switched[i].name);
                    if (switched[i].failure && problem.empty())
                        problem = ProblemWords(mods::NotRenamed(*switched[i].failure));
                }
                rows_.ShowAll(moved, true);
                ShowConflicts();
            }
            ShowOutcome(outcome, problem);
        }
    }

    if (!effect.missing.empty()) {
        std::wstring report = fw::FormatText(texts::kNotInFolder, static_cast<int>(effect.missing.size()));
        for (const std::wstring& name : effect.missing)
            report += L"\r\n" + name;
        fw::AppMessageBox(m_hWnd, report, MB_OK | MB_ICONINFORMATION);
    }
}
