#pragma once
// Every text the program shows, in one place.

namespace texts {

// The program's name, the caption of its own message boxes, is the string
// resource AppTitle() reads (res/PakOrder.rc).

// Main window
inline constexpr const wchar_t* kColumnEnabled = L"启用";
inline constexpr const wchar_t* kColumnName = L"                     MOD 名称";
inline constexpr const wchar_t* kColumnDate = L"修改时间";
inline constexpr const wchar_t* kColumnOrderChanged = L"OrderChanged";
inline constexpr const wchar_t* kModCount = L"总共 %d 个MOD";

inline constexpr const wchar_t* kOrderChangedMark = L"TRUE";

// The buttons' shortcuts, shown as tooltips
inline constexpr const wchar_t* kTipMoveTop = L"Ctrl+Home";
inline constexpr const wchar_t* kTipMoveUp = L"Ctrl+↑";
inline constexpr const wchar_t* kTipMoveDown = L"Ctrl+↓";
inline constexpr const wchar_t* kTipMoveBottom = L"Ctrl+End";
inline constexpr const wchar_t* kTipRestore = L"F5、Enter";
inline constexpr const wchar_t* kManagedFolder = L"正在管理：%s";

// Unwritten moves and changes made outside the program
inline constexpr const wchar_t* kDiscardMovesQuestion =
    L"有 %d 个MOD调整了顺序，还没有用“智能排序”写入磁盘。\r\n\r\n放弃这些调整吗？";
inline constexpr const wchar_t* kDiscardMovesCaption = L"请确认";
inline constexpr const wchar_t* kFolderChangedOutside =
    L"PAKS 目录已被其他程序更改；智能排序会从磁盘重新读取每个MOD的时间";

// Records of every write, undo and crash recovery
inline constexpr const wchar_t* kCannotRecord = L"无法写入更改记录，没有改动任何文件：%s";
inline constexpr const wchar_t* kUndoMenuItem = L"撤销 (Ctrl+Z)";
inline constexpr const wchar_t* kRedoMenuItem = L"重做 (Ctrl+Y)";
inline constexpr const wchar_t* kNothingToUndo = L"没有可以撤销的操作";
inline constexpr const wchar_t* kNothingToRedo = L"没有可以重做的操作";
inline constexpr const wchar_t* kUndone = L"已撤销：%s";
inline constexpr const wchar_t* kRedone = L"已重做：%s";
inline constexpr const wchar_t* kNotRestored = L"%d 个MOD没有恢复：";
inline constexpr const wchar_t* kRestoreGone = L"已被删除，无法恢复";
inline constexpr const wchar_t* kRestoreNameTaken = L"已存在同名文件";
inline constexpr const wchar_t* kRestoreChanged = L"安装后已被修改，保留原样";
inline constexpr const wchar_t* kUnfinishedQuestion =
    L"上次的操作“%s”没有完成（程序被关闭或断电），PAKS 目录可能一半是新的、一半是旧的。\r\n\r\n"
    L"要把 PAKS 恢复到这次操作之前的样子吗？\r\n\r\n选“否”则保持现在的样子。";
inline constexpr const wchar_t* kUnfinishedCaption = L"上次的操作没有完成";
inline constexpr const wchar_t* kDamagedRecords = L"有 %d 个更改记录已损坏，已跳过：%s";
inline constexpr const wchar_t* kHistoryMenuItem = L"更改历史…";
inline constexpr const wchar_t* kHistoryCaption = L"更改历史";
inline constexpr const wchar_t* kHistoryNote =
    L"PakOrder 每次改动 PAKS 之前都会先记下所有MOD的状态（最近 50 次）。选一次操作，可以把 PAKS 恢复到那次操作之前的样子。";
inline constexpr const wchar_t* kHistoryEmpty = L"这个 PAKS 目录还没有更改记录。";
inline constexpr const wchar_t* kHistoryRestoreButton = L"恢复到此操作之前";
inline constexpr const wchar_t* kHistoryCloseButton = L"关闭";
inline constexpr const wchar_t* kHistoryUnfinished = L"（未完成）";
inline constexpr const wchar_t* kColumnWhen = L"时间";
inline constexpr const wchar_t* kColumnAction = L"操作";
inline constexpr const wchar_t* kColumnModsChanged = L"改动MOD数";
inline constexpr const wchar_t* kColumnMods = L"MOD";
inline constexpr const wchar_t* kRestoreQuestion =
    L"要把 PAKS 恢复到 %s 的“%s”之前的样子吗？\r\n\r\n将改动 %d 个文件。之后新增的MOD保持不变。";
inline constexpr const wchar_t* kRestoreCaption = L"请确认";
inline constexpr const wchar_t* kNothingToRestore = L"PAKS 已经是“%s”之前的样子，没有文件需要改动";
inline constexpr const wchar_t* kRestored = L"已恢复到“%s”之前的样子";
inline constexpr const wchar_t* kActionSmartSort = L"智能排序";
inline constexpr const wchar_t* kActionSetTime = L"修改时间";
inline constexpr const wchar_t* kActionEnable = L"启用";
inline constexpr const wchar_t* kActionDisable = L"禁用";
inline constexpr const wchar_t* kActionDelete = L"删除";
inline constexpr const wchar_t* kActionInstall = L"安装";
inline constexpr const wchar_t* kActionUndo = L"撤销";
inline constexpr const wchar_t* kActionRedo = L"重做";
inline constexpr const wchar_t* kActionRestore = L"恢复";
inline constexpr const wchar_t* kActionRecover = L"崩溃恢复";
inline constexpr const wchar_t* kActionImport = L"导入MOD列表";

// Long work
inline constexpr const wchar_t* kProgressCancel = L"取消";
inline constexpr const wchar_t* kSortProgressCaption = L"正在智能排序";
inline constexpr const wchar_t* kRestoreProgressCaption = L"正在恢复";
inline constexpr const wchar_t* kCheckProgressCaption = L"正在检测冲突";
inline constexpr const wchar_t* kStepProgressText = L"%d / %d";

// Load order and times
inline constexpr const wchar_t* kEarlyYearWarning = L"你手动修改的Mod最后修改时间年小于2020年 ！";
inline constexpr const wchar_t* kCannotWriteTimes = L"有 %d 个文件的时间无法写入：%s：%s";

// Enabling and disabling
inline constexpr const wchar_t* kDisableQuestion = L"你确定要禁用？ \r\n\r\n\t%s";
inline constexpr const wchar_t* kDisableCaption = L"请确认";
inline constexpr const wchar_t* kCannotRename = L"无法重命名 %s：%s";

// Deleting
inline constexpr const wchar_t* kDeleteMenuItem = L"物理删除 MOD";
inline constexpr const wchar_t* kDeleteQuestion = L"确定从磁盘上删除Mod ？\r\n\r\n%s\r\n%s";
inline constexpr const wchar_t* kDeleteCaption = L"请确定";
inline constexpr const wchar_t* kCannotDelete = L"无法删除 %s：%s";

// Installing by drag and drop
inline constexpr const wchar_t* kDropQuestion = L"你拖过来 %d 个Mod，确定要自动拷贝火炬之光PAKS生效吗？\r\n\r\n";
inline constexpr const wchar_t* kDropCaption = L"请确定";
inline constexpr const wchar_t* kCopying = L"正在复制MOD到火炬之光2目录，请稍后 . . .  . . . ^_^";
inline constexpr const wchar_t* kCopied = L"复制完毕，MOD 已经生效";
inline constexpr const wchar_t* kCopyProgressCaption = L"正在复制MOD";
inline constexpr const wchar_t* kCopyProgressText = L"%s（第 %d 个，共 %d 个）：%s / %s MB";
inline constexpr const wchar_t* kCopyCancelled = L"已取消，没有拷贝";
inline constexpr const wchar_t* kNotCopied = L"%d 个Mod 没有拷贝：";
inline constexpr const wchar_t* kAlreadyThere = L"已存在";
inline constexpr const wchar_t* kAlreadyThereEnabled = L"已存在（已启用）";
inline constexpr const wchar_t* kAlreadyThereDisabled = L"已存在（已禁用）";
inline constexpr const wchar_t* kManifestTaken = L"PAKS 里已有同名的清单文件 %s";
inline constexpr const wchar_t* kPakLeftBehind =
    L"清单文件 %s 无法复制（%s），已复制的 PAK 也无法删除（%s）：它留在 PAKS 里，没有清单文件";

// Launching the game
inline constexpr const wchar_t* kCannotLaunch = L"无法启动游戏：%s";

// The conflict check
inline constexpr const wchar_t* kConflictCaption = L"冲突检测";
inline constexpr const wchar_t* kColumnFile = L"文件";
inline constexpr const wchar_t* kColumnWinner = L"生效的MOD";
inline constexpr const wchar_t* kColumnOverridden = L"被覆盖的MOD";
inline constexpr const wchar_t* kColumnIdentical = L"相同副本";
inline constexpr const wchar_t* kIdenticalMark = L"是";
inline constexpr const wchar_t* kModSeparator = L", ";
inline constexpr const wchar_t* kConflictSummary = L"%d 个文件冲突，涉及 %d 个MOD";
inline constexpr const wchar_t* kNoConflict = L"没有发现冲突";
inline constexpr const wchar_t* kIdenticalSummary = L"；另有 %d 个文件是相同副本";
inline constexpr const wchar_t* kIdenticalCopiesNote =
    L"同一文件在各MOD中内容完全相同的（相同副本）列在最后，它们不是真正的冲突。";
inline constexpr const wchar_t* kSelectedModsOnly = L"只列出涉及所选MOD的文件。";
inline constexpr const wchar_t* kUncheckedMods = L"以下MOD无法检查：";
inline constexpr const wchar_t* kAllModsChecked = L"所有启用的MOD都已检查。";
inline constexpr const wchar_t* kNoManifest = L"没有清单文件";
inline constexpr const wchar_t* kManifestUnreadable = L"清单文件无法读取：%s";
inline constexpr const wchar_t* kManifestMalformed = L"清单文件格式错误";
inline constexpr const wchar_t* kManifestTooLarge = L"清单文件过大";

// An action that failed where nothing expected it (memory ran out)
inline constexpr const wchar_t* kActionFailed = L"%s没有完成：%s";
inline constexpr const wchar_t* kOutOfMemory = L"内存不足";
inline constexpr const wchar_t* kUnexpectedError = L"程序内部错误";
inline constexpr const wchar_t* kAnAction = L"操作";

// Mod lists to share
inline constexpr const wchar_t* kExportMenuItem = L"导出MOD列表…";
inline constexpr const wchar_t* kImportMenuItem = L"导入MOD列表…";
inline constexpr const wchar_t* kExportCaption = L"导出MOD列表";
inline constexpr const wchar_t* kImportCaption = L"导入MOD列表";
inline constexpr const wchar_t* kModListFilter = L"MOD列表 (*.txt)|*.txt|所有文件 (*.*)|*.*|";
inline constexpr const wchar_t* kModListExtension = L"txt";
inline constexpr const wchar_t* kModListFileName = L"MOD列表.txt";
inline constexpr const wchar_t* kListExported = L"已导出 %d 个MOD的顺序和状态：%s";
inline constexpr const wchar_t* kListLeftOut = L"；%d 个MOD的名字无法写进列表，已略过：%s";
inline constexpr const wchar_t* kCannotExportList = L"无法写入 %s：%s";
inline constexpr const wchar_t* kCannotReadList = L"无法读取 %s：%s";
inline constexpr const wchar_t* kListTooLarge = L"%s 不是MOD列表：文件大于 %d MB";
inline constexpr const wchar_t* kNotAModList = L"%s 不是MOD列表：第一行不是“# PakOrder mod list 1”";
inline constexpr const wchar_t* kOtherListVersion = L"%s 是本程序不认识的版本的MOD列表";
inline constexpr const wchar_t* kBinaryList = L"%s 不是MOD列表：它不是 UTF-8 文本";
inline constexpr const wchar_t* kBadListLine = L"%s 第 %d 行：不是“+ 名字”、“- 名字”或注释";
inline constexpr const wchar_t* kBadListName = L"%s 第 %d 行：“%s”不能作为MOD的文件名";
inline constexpr const wchar_t* kDuplicateListName = L"%s 第 %d 行：“%s”出现了两次";
inline constexpr const wchar_t* kNothingChanged = L"\r\n\r\n没有改动任何MOD。";
inline constexpr const wchar_t* kSwitchQuestion = L"列表里有 %d 个MOD的启用状态与现在不同，要照列表切换吗？\r\n";
inline constexpr const wchar_t* kSwitchToEnabled = L"\r\n启用\t%s";
inline constexpr const wchar_t* kSwitchToDisabled = L"\r\n禁用\t%s";
inline constexpr const wchar_t* kSwitchCaption = L"请确认";
inline constexpr const wchar_t* kListImported = L"已按列表调整 %d 个MOD的顺序，用“智能排序”写入磁盘";
inline constexpr const wchar_t* kListInOrder = L"MOD的顺序已与列表一致";
inline constexpr const wchar_t* kNotInFolder = L"列表中的 %d 个MOD不在 PAKS 目录里：\r\n";

// Start-up
inline constexpr const wchar_t* kNoFolderHint = L"没有管理任何 PAKS 目录：请把游戏的 PAKS 目录拖到这个窗口上";
inline constexpr const wchar_t* kSwitchFolderQuestion =
    L"要改为管理这个 PAKS 目录吗？\r\n\r\n%s\r\n\r\n现在管理的是：\r\n%s";
inline constexpr const wchar_t* kSwitchFolderCaption = L"请确认";
inline constexpr const wchar_t* kNoGameFolder =
    L"把RORud放在 火炬之光2安装目录 或者\r\n\r\n放在PAKS目录里面   或者\r\n\r\n 拽PAKS目录到助手窗口";

}  // namespace texts
