#pragma once
// Every text the command line shows, in one place. The command line
// speaks English, as its command and option names do; the reasons the
// system gives for a failure come in the system's own language.

namespace cli::texts {

inline constexpr const wchar_t* kUsage =
    L"usage: pakorder [--folder PATH] COMMAND [ARGUMENTS]\n"
    L"\n"
    L"Manages the mods of Torchlight II in the game's PAKS folder: the order the\n"
    L"game loads them in (the order of their files' last-write times) and which\n"
    L"are enabled (.PAK or .pak) or disabled (.G1O), each with its .MAN.\n"
    L"\n"
    L"commands:\n"
    L"  list [--json]                the mods in load order, with state and date (UTC)\n"
    L"  enable NAME...               enable mods\n"
    L"  disable NAME...              disable mods\n"
    L"  move NAME... --top | --bottom | --before NAME | --after NAME\n"
    L"                               move mods in the load order, and write it\n"
    L"  set-time NAME DATE           give a mod a new date\n"
    L"  delete NAME... --yes         delete mods from disk\n"
    L"  install FILE...              copy mod files into PAKS\n"
    L"  conflicts [--json] [NAME...] the game files that two or more enabled mods replace\n"
    L"  export [FILE]                write the mod list, to share or keep\n"
    L"  import FILE                  take the order and states of a mod list\n"
    L"  undo                         put the folder back as before the last action\n"
    L"  redo                         make the last action undone again\n"
    L"  history [--json]             the recorded actions, newest first\n"
    L"  recover [--keep]             after an action that did not finish\n"
    L"  restore N [--yes]            put the folder back as before record N\n"
    L"  completion SHELL             a completion script for bash, zsh or fish\n"
    L"  version                      the program's version (also --version)\n"
    L"\n"
    L"A NAME is a mod's file name or its name without the extension, in any\n"
    L"letter case: \"BetterLoot\", \"betterloot.pak\".\n"
    L"\n"
    L"The folder is --folder PATH (a PAKS folder or the game's folder); else the\n"
    L"current folder when it is one; else the game where it is installed.\n"
    L"Every change to PAKS is recorded first, and can be undone.\n"
    L"\n"
    L"Exit status: 0 when everything was done, 1 when something was not (each\n"
    L"failure is named on stderr), 2 for a usage error.\n"
    L"Run 'pakorder COMMAND --help' for a command's details.\n";

// Each command's help: its usage line first.
inline constexpr const wchar_t* kListHelp =
    L"usage: pakorder list [--json]\n"
    L"\n"
    L"The mods in load order, the first loaded first, as the window shows them:\n"
    L"position, [x] for an enabled mod or [ ] for a disabled one, the date of\n"
    L"its last-write time (UTC) and its file name. --json writes the\n"
    L"\"pakorder-list\" document described in the README.\n";
inline constexpr const wchar_t* kEnableHelp =
    L"usage: pakorder enable NAME...\n"
    L"\n"
    L"Enables each mod: its pak and its .MAN are renamed to .PAK together, or\n"
    L"neither is. A mod already enabled is left as it is.\n";
inline constexpr const wchar_t* kDisableHelp =
    L"usage: pakorder disable NAME...\n"
    L"\n"
    L"Disables each mod: its pak and its .MAN are renamed to .G1O together, or\n"
    L"neither is. A mod already disabled is left as it is.\n";
inline constexpr const wchar_t* kMoveHelp =
    L"usage: pakorder move NAME... --top | --bottom | --before NAME | --after NAME\n"
    L"\n"
    L"Moves the mods, in their present order, as one block to the top or the\n"
    L"bottom of the load order, or right before or after another mod, and writes\n"
    L"the order at once as the window's smart sort does: only the moved mods get\n"
    L"new last-write times (and the neighbours too close in time to leave room),\n"
    L"each at least two seconds from the next.\n";
inline constexpr const wchar_t* kSetTimeHelp =
    L"usage: pakorder set-time NAME DATE\n"
    L"\n"
    L"Gives the mod (and its .MAN) a new last-write date, YYYY-MM-DD in UTC; the\n"
    L"time of day stays as it was. A year before 2020 is written, with a warning.\n";
inline constexpr const wchar_t* kDeleteHelp =
    L"usage: pakorder delete NAME... --yes\n"
    L"\n"
    L"Deletes each mod and its .MAN from disk; the .MAN goes only once the pak is\n"
    L"gone. --yes is required: a deleted mod cannot be undone.\n";
inline constexpr const wchar_t* kInstallHelp =
    L"usage: pakorder install FILE...\n"
    L"\n"
    L"Copies each mod file (.PAK, .pak or .G1O) into PAKS with its .MAN, whole or\n"
    L"not at all. Nothing is overwritten: a mod is not copied when its name is\n"
    L"already there, when the same mod is there in the other state, or when PAKS\n"
    L"holds a stray .MAN of its name.\n";
inline constexpr const wchar_t* kConflictsHelp =
    L"usage: pakorder conflicts [--json] [NAME...]\n"
    L"\n"
    L"Reads the .MAN of every enabled mod and lists each game file that two or\n"
    L"more of them replace: the mod whose copy takes effect (the one loaded last)\n"
    L"and those it overrides. Files that are the same in every mod are listed\n"
    L"last as identical copies. With NAMEs, only the files that involve one of\n"
    L"those mods. Mods that could not be checked are named. --json writes the\n"
    L"\"pakorder-conflicts\" document described in the README.\n";
inline constexpr const wchar_t* kExportHelp =
    L"usage: pakorder export [FILE]\n"
    L"\n"
    L"Writes the mod list, every mod in load order with its state, to FILE, or to\n"
    L"stdout without one (or with \"-\"). The format is described in the README.\n";
inline constexpr const wchar_t* kImportHelp =
    L"usage: pakorder import FILE\n"
    L"\n"
    L"Reads a mod list (\"-\" for stdin). The mods it names that are in the folder\n"
    L"take the list's order among the places they hold now; the others keep\n"
    L"theirs. Mods whose state differs are enabled or disabled, and the order is\n"
    L"written as the smart sort writes it, all as one recorded action. Names the\n"
    L"folder does not hold are named at the end.\n";
inline constexpr const wchar_t* kUndoHelp =
    L"usage: pakorder undo\n"
    L"\n"
    L"Puts the folder back as it was before the last recorded action (of this\n"
    L"program or the window): times written back exactly, names switched back,\n"
    L"an installed mod removed again when it is unchanged. Again steps further.\n";
inline constexpr const wchar_t* kRedoHelp =
    L"usage: pakorder redo\n"
    L"\n"
    L"Makes the last undone action again, until a new action is made.\n";
inline constexpr const wchar_t* kHistoryHelp =
    L"usage: pakorder history [--json]\n"
    L"\n"
    L"The recorded actions on this folder, newest first: number, time (UTC),\n"
    L"action, how many mods it changed and the mods it was about. Damaged records\n"
    L"are named. --json writes the \"pakorder-history\" document described in the\n"
    L"README.\n";
inline constexpr const wchar_t* kRecoverHelp =
    L"usage: pakorder recover [--keep]\n"
    L"\n"
    L"When the last action did not finish (the program was killed, the power\n"
    L"went), puts the folder back as it was before it; with --keep, keeps the\n"
    L"folder as it is. Nothing else is done until one of the two is chosen.\n";

// Usage errors
inline constexpr const wchar_t* kUsageHint = L"run 'pakorder --help' for the commands";
inline constexpr const wchar_t* kCommandUsageHint = L"run 'pakorder %s --help'";
inline constexpr const wchar_t* kNoCommand = L"no command given";
inline constexpr const wchar_t* kUnknownCommand = L"unknown command '%s'";
inline constexpr const wchar_t* kUnknownOption = L"unknown option '%s'";
inline constexpr const wchar_t* kOptionNotHere = L"'%s' has no option '%s'";
inline constexpr const wchar_t* kOptionNeedsValue = L"option '%s' needs a value";
inline constexpr const wchar_t* kOptionTwice = L"option '%s' given twice";
inline constexpr const wchar_t* kTooFewOperands = L"'%s' needs more arguments";
inline constexpr const wchar_t* kTooManyOperands = L"'%s' takes fewer arguments";
inline constexpr const wchar_t* kNoPlacement = L"say where: --top, --bottom, --before NAME or --after NAME";
inline constexpr const wchar_t* kTwoPlacements = L"say one place only: --top, --bottom, --before NAME or --after NAME";
inline constexpr const wchar_t* kDeleteNeedsYes = L"delete removes the files for good: add --yes";
inline constexpr const wchar_t* kBadDate = L"'%s' is not a date: write YYYY-MM-DD, such as 2024-03-05";

// Output
inline constexpr const wchar_t* kWriteError = L"write error: %s";

// The folder
inline constexpr const wchar_t* kNotAGameFolder =
    L"%s is not a PAKS folder nor a game folder with one (a PAKS folder holds at least two .PAK files)";
inline constexpr const wchar_t* kNoGameFound =
    L"no game folder found: run pakorder in the game's folder or its PAKS folder, or name it with --folder PATH";

// Counts
inline constexpr const wchar_t* kOneMod = L"1 mod";
inline constexpr const wchar_t* kMods = L"%d mods";
inline constexpr const wchar_t* kOneFile = L"1 file";
inline constexpr const wchar_t* kFiles = L"%d files";

// Names
inline constexpr const wchar_t* kNoSuchMod = L"%s: no mod of that name";
inline constexpr const wchar_t* kAmbiguousName = L"%s: more than one mod of that name: %s";
inline constexpr const wchar_t* kNameSeparator = L", ";

// A refusal of the file system's own, which the system has no words for
inline constexpr const wchar_t* kNotRegularFile = L"not a regular file (a link, a pipe or a device)";

// Records
inline constexpr const wchar_t* kCannotRecord = L"cannot write the change record, so nothing was changed: %s";
inline constexpr const wchar_t* kCannotComplete = L"the change was made, but its record could not be completed: %s";
inline constexpr const wchar_t* kAnotherWriter =
    L"another PakOrder is writing to this folder, so nothing was changed: try again when it is done";
inline constexpr const wchar_t* kCannotReadFolder = L"cannot read all of %s, so nothing was changed: %s";
inline constexpr const wchar_t* kOtherFolder = L"record %d is of another folder (%s): nothing was changed";
inline constexpr const wchar_t* kTimeNotKept = L"the disk cannot keep this time";
inline constexpr const wchar_t* kUnfinishedAction =
    L"the last action (%s, record %d) did not finish: run 'pakorder recover' to put the folder back as it "
    L"was before it, or 'pakorder recover --keep' to keep it as it is";

// list
inline constexpr const wchar_t* kEnabledMark = L"[x]";
inline constexpr const wchar_t* kDisabledMark = L"[ ]";
inline constexpr const wchar_t* kListSummary = L"%s, %d enabled";

// enable, disable
inline constexpr const wchar_t* kEnabled = L"enabled %s";
inline constexpr const wchar_t* kDisabled = L"disabled %s";
inline constexpr const wchar_t* kAlreadyEnabled = L"%s is already enabled";
inline constexpr const wchar_t* kAlreadyDisabled = L"%s is already disabled";
inline constexpr const wchar_t* kCannotRename = L"%s: cannot rename %s: %s";

// move
inline constexpr const wchar_t* kAnchorMoved = L"%s: cannot place mods next to one of themselves";
inline constexpr const wchar_t* kAlreadyInPlace = L"the mods are already in that order";
inline constexpr const wchar_t* kMoved = L"moved %s and wrote the order";
inline constexpr const wchar_t* kCannotWriteTime = L"cannot write the time of %s: %s";

// set-time
inline constexpr const wchar_t* kTimeSet = L"%s: %s";
inline constexpr const wchar_t* kEarlyYear = L"warning: the year is before 2020; it was written all the same";

// delete
inline constexpr const wchar_t* kDeleted = L"deleted %s";
inline constexpr const wchar_t* kCannotDelete = L"%s: cannot delete %s: %s";

// install
inline constexpr const wchar_t* kInstalled = L"installed %s";
inline constexpr const wchar_t* kNotAModFile = L"%s: not a mod file (.PAK, .pak or .G1O)";
inline constexpr const wchar_t* kNoSuchFile = L"%s: no such file";
inline constexpr const wchar_t* kNotInstalled = L"%s: not installed: %s";
inline constexpr const wchar_t* kAlreadyThere = L"a mod of that name is in PAKS";
inline constexpr const wchar_t* kInstallCancelled = L"cancelled";
inline constexpr const wchar_t* kAlreadyThereEnabled = L"the same mod is in PAKS, enabled";
inline constexpr const wchar_t* kAlreadyThereDisabled = L"the same mod is in PAKS, disabled";
inline constexpr const wchar_t* kManifestTaken = L"PAKS holds a stray manifest of its name, %s";
inline constexpr const wchar_t* kPakLeftBehind =
    L"its manifest %s could not be copied (%s), nor the copied pak removed again (%s): it is in PAKS without its manifest";

// conflicts
// A conflict: its path, then these before the mods.
inline constexpr const wchar_t* kInEffect = L"\n    in effect: ";
inline constexpr const wchar_t* kOverridden = L"\n    overridden: ";
inline constexpr const wchar_t* kIdenticalIn = L" (identical copies)\n    in: ";
inline constexpr const wchar_t* kConflictSummary = L"%s in conflict among %s";
inline constexpr const wchar_t* kNoConflict = L"no conflicts";
inline constexpr const wchar_t* kIdenticalSummary = L"; identical copies: %s";
inline constexpr const wchar_t* kSelectedOnly = L" (only the files that involve %s)";
inline constexpr const wchar_t* kUnchecked = L"not checked: %s: %s";
inline constexpr const wchar_t* kNoManifest = L"no manifest";
inline constexpr const wchar_t* kManifestUnreadable = L"its manifest cannot be read: %s";
inline constexpr const wchar_t* kManifestMalformed = L"its manifest is not well formed";
inline constexpr const wchar_t* kManifestTooLarge = L"its manifest is larger than %d MB";
inline constexpr const wchar_t* kOutOfMemory = L"out of memory: nothing more was done";

// export, import
inline constexpr const wchar_t* kExported = L"exported %s to %s";
inline constexpr const wchar_t* kCannotExport = L"cannot write %s: %s";
inline constexpr const wchar_t* kNamesTakenTwice =
    L"nothing exported: a list names each mod once, but more than one mod here goes by %s (as a.pak and a.G1O go by a)";
inline constexpr const wchar_t* kLeftOutOfList = L"%s: left out of the list, its name cannot be written in one";
inline constexpr const wchar_t* kCannotReadList = L"cannot read %s: %s";
inline constexpr const wchar_t* kListTooLarge = L"%s is not a mod list: it is larger than %d MB";
inline constexpr const wchar_t* kNotAModList = L"%s is not a mod list: its first line is not \"# PakOrder mod list 1\"";
inline constexpr const wchar_t* kOtherListVersion = L"%s is a mod list of a version this program does not read";
inline constexpr const wchar_t* kBinaryList = L"%s is not a mod list: it is not UTF-8 text";
inline constexpr const wchar_t* kBadListLine = L"%s, line %d: not \"+ NAME\", \"- NAME\" or a comment";
inline constexpr const wchar_t* kBadListName = L"%s, line %d: \"%s\" cannot be the name of a mod's file";
inline constexpr const wchar_t* kDuplicateListName = L"%s, line %d: \"%s\" is named twice";
inline constexpr const wchar_t* kImported = L"imported %s: %s moved, %d enabled, %d disabled";
inline constexpr const wchar_t* kNotInFolder = L"%s: named in the list, not in the folder";

// undo, redo, history, recover
inline constexpr const wchar_t* kNothingToUndo = L"nothing to undo";
inline constexpr const wchar_t* kNothingToRedo = L"nothing to redo";
inline constexpr const wchar_t* kUndone = L"undid %s (record %d)";
inline constexpr const wchar_t* kRedone = L"redid %s (record %d)";
inline constexpr const wchar_t* kNotRestored = L"%s: not restored: %s";
inline constexpr const wchar_t* kRestoreGone = L"deleted since, it cannot come back";
inline constexpr const wchar_t* kRestoreNameTaken = L"a file of the name it must take is there";
inline constexpr const wchar_t* kRestoreChanged = L"changed since that action, left as it is";
inline constexpr const wchar_t* kHistoryRow = L"%s  %s  %s  %s";
inline constexpr const wchar_t* kHistoryUnfinished = L" (unfinished)";
inline constexpr const wchar_t* kHistoryModsChanged = L"%s changed";
inline constexpr const wchar_t* kHistoryEmpty = L"no recorded actions for this folder";
#ifdef _WIN32
inline constexpr const wchar_t* kNoRecordsPlace = L"cannot find where the records are kept: set APPDATA";
#else
inline constexpr const wchar_t* kNoRecordsPlace = L"cannot find where the records are kept: set HOME or XDG_STATE_HOME";
#endif
inline constexpr const wchar_t* kDamagedRecord = L"damaged record skipped: %s (%s)";
inline constexpr const wchar_t* kNothingToRecover = L"the last action finished: nothing to recover";
inline constexpr const wchar_t* kRecovered = L"put the folder back as it was before %s (record %d)";
inline constexpr const wchar_t* kKeptUnfinished = L"kept the folder as %s (record %d) left it";
inline constexpr const wchar_t* kRecoveryUnfinished =
    L"the folder is not yet back as it was: run 'pakorder recover' again once the files named can be changed, "
    L"or 'pakorder recover --keep' to keep the folder as it is";

// version, restore
inline constexpr const wchar_t* kVersionLine = L"pakorder %s";
inline constexpr const wchar_t* kVersionWithCommit = L"pakorder %s (commit %s)";
inline constexpr const wchar_t* kVersionHelp =
    L"usage: pakorder version\n"
    L"\n"
    L"The program's version, and the commit it was built from when it was built\n"
    L"from git. 'pakorder --version' says the same.\n";
inline constexpr const wchar_t* kRestoreHelp =
    L"usage: pakorder restore N [--yes]\n"
    L"\n"
    L"Puts the whole folder back as it was before record N ('pakorder history'\n"
    L"numbers them), as the window's history does: names and times as they were,\n"
    L"mods added since kept. It says how many files will change and asks first;\n"
    L"--yes runs without asking, as it must where there is no terminal to ask on.\n"
    L"The restore is recorded, and can be undone.\n";
inline constexpr const wchar_t* kNoTerminalToAsk = L"'%s' asks first, and there is no terminal to ask on: add --yes";
inline constexpr const wchar_t* kNotARecordNumber = L"'%s' is not a record number: 'pakorder history' numbers them";
inline constexpr const wchar_t* kNoSuchRecord = L"there is no record %d of this folder";
inline constexpr const wchar_t* kNothingToRestore = L"the folder is already as it was before %s (record %d): no file needs to change";
inline constexpr const wchar_t* kRestoreQuestion =
    L"put the folder back as it was at %s, before %s (record %d)? %s will change; mods added since stay as they are. [y/N] ";
inline constexpr const wchar_t* kNotAnswered = L"nothing was changed";
inline constexpr const wchar_t* kRestored = L"put the folder back as it was before %s (record %d): %s changed";

// completion
inline constexpr const wchar_t* kCompletionHelp =
    L"usage: pakorder completion SHELL\n"
    L"\n"
    L"Prints the completion script for SHELL, bash, zsh or fish: it completes the\n"
    L"commands, their options, the names of the mods of the folder in use (as\n"
    L"list writes them) and files where a command takes a file. To load it:\n"
    L"  bash  source <(pakorder completion bash)       in ~/.bashrc\n"
    L"  zsh   source <(pakorder completion zsh)        in ~/.zshrc, after compinit\n"
    L"  fish  pakorder completion fish | source        in ~/.config/fish/config.fish\n"
    L"The packages install the scripts where each shell finds them.\n";
inline constexpr const wchar_t* kUnknownShell = L"no completion script for '%s': there are scripts for bash, zsh and fish";

// Progress on a terminal
inline constexpr const wchar_t* kInstallProgress = L"installing %s (%d of %d): %d%%  Ctrl+C stops";
inline constexpr const wchar_t* kConflictsProgress = L"reading the manifests: %d of %d  Ctrl+C stops";

}  // namespace cli::texts
