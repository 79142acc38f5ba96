#include "mods/ProblemText.h"

#include "base/FormatText.h"
#include "mods/ModFile.h"

namespace mods {
namespace {

// The text `Id` with its values, as many as the names file declares.
template <ProblemTextId Id, class... Values>
ProblemText Said(Values... values)
{
    static_assert(sizeof...(Values) == kProblemTextValues[static_cast<std::size_t>(Id)],
                  "this problem text takes another count of values: see ProblemTextNames.def");
    return ProblemText{Id, {ProblemValue(std::move(values))...}};
}

constexpr int Megabytes(std::size_t bytes) { return static_cast<int>(bytes >> 20); }

}  // namespace

// No default in these switches: a kind of problem added and not said here
// does not compile.

ProblemText TextOf(const NotRestored& mod)
{
    switch (mod.reason) {
    case NotRestoredReason::Gone: return Said<ProblemTextId::kRestoreGone>();
    case NotRestoredReason::NameTaken: return Said<ProblemTextId::kRestoreNameTaken>();
    case NotRestoredReason::Changed: return Said<ProblemTextId::kRestoreChanged>();
    case NotRestoredReason::Failed:
    case NotRestoredReason::TimeNotKept: break;
    }
    return Said<ProblemTextId::kSystemFailure>(mod.status);
}

ProblemText TextOf(const NotInstalled& mod)
{
    switch (mod.reason) {
    case NotInstalledReason::AlreadyThere: return Said<ProblemTextId::kAlreadyThere>();
    case NotInstalledReason::AlreadyThereEnabled: return Said<ProblemTextId::kAlreadyThereEnabled>();
    case NotInstalledReason::AlreadyThereDisabled: return Said<ProblemTextId::kAlreadyThereDisabled>();
    case NotInstalledReason::ManifestTaken: return Said<ProblemTextId::kManifestTaken>(CompanionName(mod.fileName));
    case NotInstalledReason::Cancelled: return Said<ProblemTextId::kInstallCancelled>();
    case NotInstalledReason::PakLeftBehind:
        return Said<ProblemTextId::kPakLeftBehind>(CompanionName(mod.fileName), mod.status, mod.removalStatus);
    case NotInstalledReason::CopyFailed: break;
    }
    return Said<ProblemTextId::kSystemFailure>(mod.status);
}

ProblemText TextOf(const UncheckedMod& mod)
{
    switch (mod.reason) {
    case UncheckedReason::NoManifest: return Said<ProblemTextId::kNoManifest>();
    case UncheckedReason::Unreadable: return Said<ProblemTextId::kManifestUnreadable>(mod.status);
    case UncheckedReason::TooLarge: return Said<ProblemTextId::kManifestTooLarge>();
    case UncheckedReason::Malformed: break;
    }
    return Said<ProblemTextId::kManifestMalformed>();
}

ProblemText TextOf(const ModListProblem& problem, const std::wstring& file)
{
    switch (problem.fault) {
    case ModListFault::NotAModList: return Said<ProblemTextId::kNotAModList>(file);
    case ModListFault::OtherVersion: return Said<ProblemTextId::kOtherListVersion>(file);
    case ModListFault::Binary: return Said<ProblemTextId::kBinaryList>(file);
    case ModListFault::TooLarge: return Said<ProblemTextId::kListTooLarge>(file, Megabytes(kMaxModListBytes));
    case ModListFault::BadLine: return Said<ProblemTextId::kBadListLine>(file, problem.line);
    case ModListFault::BadName: return Said<ProblemTextId::kBadListName>(file, problem.line, problem.name);
    case ModListFault::Duplicate: break;
    }
    return Said<ProblemTextId::kDuplicateListName>(file, problem.line, problem.name);
}

ProblemText NotRenamed(const FileFailure& failure)
{
    return Said<ProblemTextId::kCannotRename>(failure.fileName, failure.status);
}

ProblemText NotDeleted(const FileFailure& failure)
{
    return Said<ProblemTextId::kCannotDelete>(failure.fileName, failure.status);
}

std::wstring Worded(const ProblemText& text, const wchar_t* words, std::wstring (*reason)(platform::FsStatus))
{
    std::vector<std::wstring> values;
    for (const ProblemValue& value : text.values) {
        if (const auto* status = std::get_if<platform::FsStatus>(&value))
            values.push_back(reason(*status));
        else if (const auto* number = std::get_if<int>(&value))
            values.push_back(std::to_wstring(*number));
        else
            values.push_back(std::get<std::wstring>(value));
    }
    return fw::FillText(words, values);
}

}  // namespace mods
