#include "cli/Commands.h"

#include "cli/Texts.h"

namespace cli {
namespace {

constexpr int kAny = -1;

constexpr Command kCommands[] = {
    {L"list", texts::kListHelp, kJsonOption, 0, 0, RunList},
    {L"enable", texts::kEnableHelp, 0, 1, kAny, RunEnable},
    {L"disable", texts::kDisableHelp, 0, 1, kAny, RunDisable},
    {L"move", texts::kMoveHelp, kPlacementOption, 1, kAny, RunMove},
    {L"set-time", texts::kSetTimeHelp, 0, 2, 2, RunSetTime},
    {L"delete", texts::kDeleteHelp, kYesOption, 1, kAny, RunDelete},
    {L"install", texts::kInstallHelp, 0, 1, kAny, RunInstall},
    {L"conflicts", texts::kConflictsHelp, kJsonOption | kAllOption, 0, kAny, RunConflicts},
    {L"intend", texts::kIntendHelp, kRemoveOption, 2, 2, RunIntend},
    {L"export", texts::kExportHelp, 0, 0, 1, RunExport},
    {L"import", texts::kImportHelp, 0, 1, 1, RunImport},
    {L"undo", texts::kUndoHelp, 0, 0, 0, RunUndo},
    {L"redo", texts::kRedoHelp, 0, 0, 0, RunRedo},
    {L"history", texts::kHistoryHelp, kJsonOption, 0, 0, RunHistory},
    {L"recover", texts::kRecoverHelp, kKeepOption, 0, 0, RunRecover},
    {L"restore", texts::kRestoreHelp, kYesOption, 1, 1, RunRestore, true, true},
    {L"completion", texts::kCompletionHelp, 0, 1, 1, RunCompletion, false},
    {L"version", texts::kVersionHelp, 0, 0, 0, RunVersion, false},
};

}  // namespace

std::span<const Command> Commands() { return kCommands; }

}  // namespace cli
