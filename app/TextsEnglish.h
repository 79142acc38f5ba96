#pragma once
// The English words of every text, shown once English is chosen. Only
// Texts.cpp reads it. A button's words keep to its narrow width: five
// letters a line at most (the main window's buttons and the date dialog's
// are some six letters of the dialog font wide), broken into lines as the
// Chinese ones are. Counts are put so that one reads as well as many.

#include "app/Texts.h"

namespace texts {

inline constexpr TextEntry kEnglishTable[] = {
    // Main window
    {Id::kWindowCaption, L"PakOrder          (Ctrl selects several)"},
    {Id::kButtonSmartSort, L"&Smart\n\nsort"},
    {Id::kButtonMoveTop, L"To\n&top"},
    {Id::kButtonMoveUp, L"&Up"},
    {Id::kButtonMoveDown, L"&Down"},
    {Id::kButtonMoveBottom, L"To\n&end"},
    {Id::kButtonConflictCheck, L"&Con-\nflict\ncheck"},
    {Id::kButtonRestore, L"&Re-\nload"},
    {Id::kButtonEditTime, L"Set\nt&ime"},
    {Id::kButtonLaunchGame, L"Start\n&game"},
    {Id::kColumnEnabled, L"On"},
    {Id::kColumnName, L"Mod name"},
    {Id::kColumnDate, L"Modified"},
    {Id::kColumnOrderChanged, L"Moved"},
    {Id::kModCount, L"Mods in all: %d"},

    // A row's move and its mod's state, in words for programs that read the list
    {Id::kOrderChangedMark, L"moved, not written"},
    {Id::kModEnabled, L"enabled"},
    {Id::kModDisabled, L"disabled"},
    // Between a mod's name and why, in the reports that list mods
    {Id::kReasonSeparator, L": "},

    // The window menu's choice of language, the same in every language
    {Id::kLanguageMenu, L"Language / 语言"},
    {Id::kLanguageChinese, L"中文"},
    {Id::kLanguageEnglish, L"English"},

    // The buttons' shortcuts, shown as tooltips
    {Id::kTipMoveTop, L"Ctrl+Home"},
    {Id::kTipMoveUp, L"Ctrl+↑"},
    {Id::kTipMoveDown, L"Ctrl+↓"},
    {Id::kTipMoveBottom, L"Ctrl+End"},
    {Id::kTipRestore, L"F5, Enter"},

    // Unwritten moves and changes made outside the program
    {Id::kDiscardMovesQuestion,
     L"Mods moved but not yet written to disk with \"Smart sort\": %d.\r\n\r\nDrop these moves?"},
    {Id::kDiscardMovesCaption, L"Please confirm"},
    {Id::kFolderChangedOutside,
     L"Another program changed the PAKS folder; the smart sort reads every mod's time from disk again"},

    // Records of every write, undo and crash recovery
    {Id::kCannotRecord, L"Cannot write the change record, so no file was changed: %s"},
    {Id::kUndoMenuItem, L"Undo (Ctrl+Z)"},
    {Id::kRedoMenuItem, L"Redo (Ctrl+Y)"},
    {Id::kNothingToUndo, L"Nothing to undo"},
    {Id::kNothingToRedo, L"Nothing to redo"},
    {Id::kUndone, L"Undone: %s"},
    {Id::kRedone, L"Redone: %s"},
    {Id::kNotRestored, L"Mods not restored (%d):"},
    {Id::kRestoreGone, L"deleted, it cannot come back"},
    {Id::kRestoreNameTaken, L"a file of that name is in the way"},
    {Id::kRestoreChanged, L"changed since that action, so left as it is"},
    {Id::kUnfinishedQuestion,
     L"The last action, \"%s\", did not finish (the program was closed or the power failed): the PAKS folder "
     L"may be half new and half old.\r\n\r\n"
     L"Put PAKS back as it was before that action?\r\n\r\nChoose \"No\" to keep it as it is now."},
    {Id::kUnfinishedCaption, L"The last action did not finish"},
    {Id::kDamagedRecords, L"Damaged change records skipped (%d): %s"},
    {Id::kHistoryMenuItem, L"Change history…"},
    {Id::kHistoryCaption, L"Change history"},
    {Id::kHistoryNote,
     L"Before every change to PAKS, PakOrder notes the state of all mods (the last 50 times). Choose an action "
     L"to put PAKS back as it was before it."},
    {Id::kHistoryEmpty, L"This PAKS folder has no change records yet."},
    {Id::kHistoryRestoreButton, L"Restore to before this"},
    {Id::kHistoryCloseButton, L"Close"},
    {Id::kHistoryUnfinished, L" (unfinished)"},
    {Id::kDamagedRecordSeparator, L", "},
    {Id::kColumnWhen, L"Time"},
    {Id::kColumnAction, L"Action"},
    {Id::kColumnModsChanged, L"Mods changed"},
    {Id::kColumnMods, L"Mods"},
    {Id::kRestoreQuestion,
     L"Put PAKS back as it was at %s, before \"%s\"?\r\n\r\nFiles to change: %d. Mods added since stay as they are."},
    {Id::kRestoreCaption, L"Please confirm"},
    {Id::kNothingToRestore, L"PAKS is already as it was before \"%s\": no file needs to change"},
    {Id::kRestored, L"Restored to before \"%s\""},
    {Id::kActionSmartSort, L"Smart sort"},
    {Id::kActionSetTime, L"Set time"},
    {Id::kActionEnable, L"Enable"},
    {Id::kActionDisable, L"Disable"},
    {Id::kActionDelete, L"Delete"},
    {Id::kActionInstall, L"Install"},
    {Id::kActionUndo, L"Undo"},
    {Id::kActionRedo, L"Redo"},
    {Id::kActionRestore, L"Restore"},
    {Id::kActionRecover, L"Crash recovery"},
    {Id::kAnotherWriter, L"Another PakOrder is writing to this folder, so no file was changed: try again when it is done"},
    {Id::kCannotReadFolder, L"The PAKS folder cannot be read whole, so no file was changed: %s"},
    {Id::kOtherFolder, L"That record belongs to another folder (%s), so no file was changed"},
    {Id::kCannotComplete, L"The change was made, but its record could not be completed: %s"},
    {Id::kRecoveryUnfinished,
     L"PAKS is not yet fully back as it was: the recovery will be offered again at the next start"},
    // Between two things the status line says at once
    {Id::kSentenceBreak, L". "},

    // Load order and times
    {Id::kEarlyYearWarning, L"The year you set for the mod is before 2020!"},
    {Id::kCannotWriteTimes, L"Files whose time could not be written: %d (%s: %s)"},

    // The date dialog
    {Id::kDateOk, L"OK"},
    {Id::kDateCancel, L"Close"},  // "Cancel" is wider than the button

    // Enabling and disabling
    {Id::kDisableQuestion, L"Disable this mod?\r\n\r\n\t%s"},
    {Id::kDisableCaption, L"Please confirm"},
    {Id::kCannotRename, L"Cannot rename %s: %s"},

    // Deleting
    {Id::kDeleteMenuItem, L"Delete mod from disk"},
    {Id::kDeleteQuestion, L"Delete the mod from disk?\r\n\r\n%s\r\n%s"},
    {Id::kDeleteCaption, L"Please confirm"},
    {Id::kCannotDelete, L"Cannot delete %s: %s"},

    // Installing by drag and drop
    {Id::kDropQuestion, L"Mods dropped: %d. Copy them into the game's PAKS folder so that they take effect?\r\n\r\n"},
    {Id::kDropCaption, L"Please confirm"},
    {Id::kCopying, L"Copying mods into the Torchlight II folder, please wait . . .  . . . ^_^"},
    {Id::kCopied, L"Copied: the mods take effect"},
    {Id::kCopyProgressCaption, L"Copying mods"},
    {Id::kCopyProgressText, L"%s (%d of %d): %s / %s MB"},
    {Id::kProgressCancel, L"Cancel"},
    {Id::kInstallCancelled, L"cancelled, not copied"},
    {Id::kNotCopied, L"Mods not copied (%d):"},
    {Id::kAlreadyThere, L"already there"},
    {Id::kAlreadyThereEnabled, L"already there (enabled)"},
    {Id::kAlreadyThereDisabled, L"already there (disabled)"},
    {Id::kManifestTaken, L"PAKS already holds a manifest of that name, %s"},
    {Id::kPakLeftBehind,
     L"the manifest %s could not be copied (%s), nor the copied pak removed (%s): it stays in PAKS without its "
     L"manifest"},

    // Launching the game
    {Id::kCannotLaunch, L"Cannot start the game: %s"},

    // The conflict check
    {Id::kConflictCaption, L"Conflict check"},
    {Id::kConflictCloseButton, L"Close"},
    {Id::kColumnFile, L"File"},
    {Id::kColumnWinner, L"Mod in effect"},
    {Id::kColumnOverridden, L"Mods overridden"},
    {Id::kColumnIdentical, L"Same copy"},
    {Id::kIdenticalMark, L"Yes"},
    {Id::kModSeparator, L", "},
    {Id::kConflictSummary, L"Files in conflict: %d; mods involved: %d"},
    {Id::kNoConflict, L"No conflicts found"},
    {Id::kIdenticalSummary, L"; files that are the same copy: %d"},
    {Id::kIntendedSummary, L"; files overridden on purpose: %d"},
    {Id::kIntendedHeadingClosed, L"[+] Overridden on purpose: %d files (click to open)"},
    {Id::kIntendedHeadingOpen, L"[-] Overridden on purpose: %d files"},
    {Id::kIdenticalCopiesNote,
     L"Files that are exactly the same in every mod holding them (same copy) are listed last: they are not real "
     L"conflicts."},
    {Id::kSelectedModsOnly, L"Only the files that involve a selected mod are listed."},
    {Id::kUncheckedMods, L"These mods could not be checked:"},
    {Id::kAllModsChecked, L"Every enabled mod was checked."},
    {Id::kNoManifest, L"no manifest"},
    {Id::kManifestUnreadable, L"the manifest cannot be read: %s"},
    {Id::kManifestMalformed, L"the manifest is malformed"},
    {Id::kManifestTooLarge, L"the manifest is too large"},

    // An action that failed where nothing expected it (memory ran out)
    {Id::kActionFailed, L"%s did not finish: %s"},
    {Id::kOutOfMemory, L"not enough memory"},
    {Id::kUnexpectedError, L"an internal error"},
    {Id::kAnAction, L"An action"},

    // Start-up
    {Id::kNoFolderHint, L"No PAKS folder is managed: drag the game's PAKS folder onto this window"},
    {Id::kSwitchFolderQuestion, L"Manage this PAKS folder instead?\r\n\r\n%s\r\n\r\nManaged now:\r\n%s"},
    {Id::kSwitchFolderCaption, L"Please confirm"},
    {Id::kNoGameFolder,
     L"Put RORud in the Torchlight II folder, or\r\n\r\nin its PAKS folder, or\r\n\r\n drag the PAKS folder onto "
     L"this window"},

    // Why a file operation failed, as DescribeError (app/FailureTexts.h) says it
    {Id::kErrorNotFound, L"the file cannot be found"},
    {Id::kErrorPathNotFound, L"the path cannot be found"},
    {Id::kErrorAlreadyExists, L"a file of that name already exists"},
    {Id::kErrorAccessDenied, L"access is denied"},
    {Id::kErrorInUse, L"another program is using the file"},
    {Id::kErrorDiskFull, L"the disk is full"},
    {Id::kErrorTimeNotKept, L"the disk cannot keep this time"},
    {Id::kErrorWriteProtected, L"the disk is write-protected"},
    {Id::kErrorNameInvalid, L"the file name is not valid"},
    {Id::kErrorNotRegularFile, L"not a regular file (a link, a pipe or a device)"},
    {Id::kSystemFailure, L"%s"},
    {Id::kErrorOther, L"system error %d"},
    // Mod lists, the progress of long work, the folder managed
    {Id::kManagedFolder, L"Managing: %s"},
    {Id::kActionImport, L"Import mod list"},
    {Id::kSortProgressCaption, L"Smart sort"},
    {Id::kRestoreProgressCaption, L"Restoring"},
    {Id::kCheckProgressCaption, L"Checking conflicts"},
    {Id::kStepProgressText, L"%d / %d"},
    {Id::kExportMenuItem, L"Export mod list…"},
    {Id::kImportMenuItem, L"Import mod list…"},
    {Id::kExportCaption, L"Export mod list"},
    {Id::kImportCaption, L"Import mod list"},
    {Id::kModListFilter, L"Mod lists (*.txt)|*.txt|All files (*.*)|*.*|"},
    {Id::kModListExtension, L"txt"},
    {Id::kModListFileName, L"mod list.txt"},
    {Id::kListExported, L"Exported the order and states of %d mods: %s"},
    {Id::kListLeftOut, L"; %d mods whose names cannot go in a list were left out: %s"},
    {Id::kListNamesTakenTwice, L"Nothing was exported: a list names each mod once, but %d names in PAKS are taken by more than one mod (as a.pak and a.G1O are both a):\r\n"},
    {Id::kCannotExportList, L"Cannot write %s: %s"},
    {Id::kCannotReadList, L"Cannot read %s: %s"},
    {Id::kListTooLarge, L"%s is not a mod list: it is larger than %d MB"},
    {Id::kNotAModList, L"%s is not a mod list: its first line is not \"# PakOrder mod list 1\""},
    {Id::kOtherListVersion, L"%s is a mod list of a version this program does not know"},
    {Id::kBinaryList, L"%s is not a mod list: it is not UTF-8 text"},
    {Id::kBadListLine, L"%s line %d: not \"+ name\", \"- name\" or a comment"},
    {Id::kBadListName, L"%s line %d: \"%s\" cannot be a mod's file name"},
    {Id::kDuplicateListName, L"%s line %d: \"%s\" appears twice"},
    {Id::kNothingChanged, L"\r\n\r\nNo mod was changed."},
    {Id::kSwitchQuestion, L"%d mods in the list are enabled or disabled otherwise than now. Switch them as the list says?\r\n"},
    {Id::kSwitchToEnabled, L"\r\nEnable\t%s"},
    {Id::kSwitchToDisabled, L"\r\nDisable\t%s"},
    {Id::kSwitchCaption, L"Please confirm"},
    {Id::kListImported, L"%d mods moved as the list says; \"Smart sort\" writes them to disk"},
    {Id::kListInOrder, L"The mods are already in the list's order"},
    {Id::kNotInFolder, L"%d mods of the list are not in the PAKS folder:\r\n"},
    // The conflict marks in the list, the focused mod's details and the overlaps meant
    {Id::kColumnConflicts, L"Conflicts"},
    {Id::kMarkOverrides, L"Overrides %d mods in %d files"},
    {Id::kMarkOverridden, L"Overridden by %d mods in %d files"},
    {Id::kMarkFullyOverridden, L"All %d files overridden by %d mods: it does nothing in this order"},
    {Id::kMarkUnchecked, L"Not checked: %s"},
    {Id::kMarkTied, L"Same time as %s: the game's load order is undefined"},
    {Id::kMarkSeparator, L"; "},
    {Id::kNamesSeparator, L", "},
    {Id::kLightLegend, L"Green: mods the selected mod overrides; orange: mods overriding it"},
    {Id::kModDetails, L"%s: %s, %d files in its manifest, %s"},
    {Id::kDetailsOverrides, L"; overrides %s"},
    {Id::kDetailsOverriddenBy, L"; overridden by %s"},
    {Id::kIntendedMenuItem, L"%s overriding %s is intended"},
    {Id::kUnintendedMenuItem, L"Take back: %s overriding %s is intended"},
    {Id::kBadIntendedLines, L"Lines of %s that could not be read were skipped: %s"},
};

}  // namespace texts
