#pragma once
// The Chinese words of every text: the program's own, shown unless
// English is chosen. Only Texts.cpp reads it.

#include "app/Texts.h"

namespace texts {

inline constexpr TextEntry kChineseTable[] = {
    // Main window
    {Id::kWindowCaption, L"PakOrder          (Ctrl 多选)"},
    {Id::kButtonSmartSort, L"智能\n排序\n(&S)"},
    {Id::kButtonMoveTop, L"置顶\n(&T)"},
    {Id::kButtonMoveUp, L"向\n上\n(&U)"},
    {Id::kButtonMoveDown, L"向\n下\n(&D)"},
    {Id::kButtonMoveBottom, L"置底\n(&E)"},
    {Id::kButtonConflictCheck, L"手动\n冲突\n检测\n(&C)"},
    {Id::kButtonRestore, L"还原\n(&R)"},
    {Id::kButtonEditTime, L"亲自\n修改\n时间\n(&I)"},
    {Id::kButtonLaunchGame, L"启动\n游戏\n(&G)"},
    {Id::kColumnEnabled, L"启用"},
    {Id::kColumnName, L"MOD 名称"},
    {Id::kColumnDate, L"修改时间"},
    {Id::kColumnOrderChanged, L"已移动"},
    {Id::kModCount, L"总共 %d 个MOD"},

    // A row's move and its mod's state, in words for programs that read the list
    {Id::kOrderChangedMark, L"已移动，未写入"},
    {Id::kModEnabled, L"已启用"},
    {Id::kModDisabled, L"已禁用"},
    // Between a mod's name and why, in the reports that list mods
    {Id::kReasonSeparator, L"："},

    // The window menu's choice of language, the same in every language
    {Id::kLanguageMenu, L"Language / 语言"},
    {Id::kLanguageChinese, L"中文"},
    {Id::kLanguageEnglish, L"English"},

    // The buttons' shortcuts, shown as tooltips
    {Id::kTipMoveTop, L"Ctrl+Home"},
    {Id::kTipMoveUp, L"Ctrl+↑"},
    {Id::kTipMoveDown, L"Ctrl+↓"},
    {Id::kTipMoveBottom, L"Ctrl+End"},
    {Id::kTipRestore, L"F5、Enter"},

    // Unwritten moves and changes made outside the program
    {Id::kDiscardMovesQuestion, L"有 %d 个MOD调整了顺序，还没有用“智能排序”写入磁盘。\r\n\r\n放弃这些调整吗？"},
    {Id::kDiscardMovesCaption, L"请确认"},
    {Id::kFolderChangedOutside, L"PAKS 目录已被其他程序更改；智能排序会从磁盘重新读取每个MOD的时间"},

    // Records of every write, undo and crash recovery
    {Id::kCannotRecord, L"无法写入更改记录，没有改动任何文件：%s"},
    {Id::kUndoMenuItem, L"撤销 (Ctrl+Z)"},
    {Id::kRedoMenuItem, L"重做 (Ctrl+Y)"},
    {Id::kNothingToUndo, L"没有可以撤销的操作"},
    {Id::kNothingToRedo, L"没有可以重做的操作"},
    {Id::kUndone, L"已撤销：%s"},
    {Id::kRedone, L"已重做：%s"},
    {Id::kNotRestored, L"%d 个MOD没有恢复："},
    {Id::kRestoreGone, L"已被删除，无法恢复"},
    {Id::kRestoreNameTaken, L"已存在同名文件"},
    {Id::kRestoreChanged, L"那次操作之后已被修改，保留原样"},
    {Id::kUnfinishedQuestion,
     L"上次的操作“%s”没有完成（程序被关闭或断电），PAKS 目录可能一半是新的、一半是旧的。\r\n\r\n"
     L"要把 PAKS 恢复到这次操作之前的样子吗？\r\n\r\n选“否”则保持现在的样子。"},
    {Id::kUnfinishedCaption, L"上次的操作没有完成"},
    {Id::kDamagedRecords, L"有 %d 个更改记录已损坏，已跳过：%s"},
    {Id::kHistoryMenuItem, L"更改历史…"},
    {Id::kHistoryCaption, L"更改历史"},
    {Id::kHistoryNote, L"PakOrder 每次改动 PAKS 之前都会先记下所有MOD的状态（最近 50 次）。选一次操作，可以把 PAKS 恢复到那次操作之前的样子。"},
    {Id::kHistoryEmpty, L"这个 PAKS 目录还没有更改记录。"},
    {Id::kHistoryRestoreButton, L"恢复到此操作之前"},
    {Id::kHistoryCloseButton, L"关闭"},
    {Id::kHistoryUnfinished, L"（未完成）"},
    {Id::kDamagedRecordSeparator, L"，"},
    {Id::kColumnWhen, L"时间"},
    {Id::kColumnAction, L"操作"},
    {Id::kColumnModsChanged, L"改动MOD数"},
    {Id::kColumnMods, L"MOD"},
    {Id::kRestoreQuestion, L"要把 PAKS 恢复到 %s 的“%s”之前的样子吗？\r\n\r\n将改动 %d 个文件。之后新增的MOD保持不变。"},
    {Id::kRestoreCaption, L"请确认"},
    {Id::kNothingToRestore, L"PAKS 已经是“%s”之前的样子，没有文件需要改动"},
    {Id::kRestored, L"已恢复到“%s”之前的样子"},
    {Id::kActionSmartSort, L"智能排序"},
    {Id::kActionSetTime, L"修改时间"},
    {Id::kActionEnable, L"启用"},
    {Id::kActionDisable, L"禁用"},
    {Id::kActionDelete, L"删除"},
    {Id::kActionInstall, L"安装"},
    {Id::kActionUndo, L"撤销"},
    {Id::kActionRedo, L"重做"},
    {Id::kActionRestore, L"恢复"},
    {Id::kActionRecover, L"崩溃恢复"},
    {Id::kAnotherWriter, L"另一个 PakOrder 正在修改这个文件夹，没有改动任何文件：请等它完成后再试"},
    {Id::kCannotReadFolder, L"无法完整读取 PAKS 文件夹，没有改动任何文件：%s"},
    {Id::kOtherFolder, L"这条记录属于另一个文件夹（%s），没有改动任何文件"},
    {Id::kCannotComplete, L"更改已完成，但其记录未能完成：%s"},
    {Id::kRecoveryUnfinished, L"PAKS 还没有完全恢复：下次启动时会再次提供恢复"},
    // Between two things the status line says at once
    {Id::kSentenceBreak, L"。"},

    // Load order and times
    {Id::kEarlyYearWarning, L"你手动修改的Mod最后修改时间年小于2020年 ！"},
    {Id::kCannotWriteTimes, L"有 %d 个文件的时间无法写入：%s：%s"},

    // The date dialog
    {Id::kDateOk, L"确定"},
    {Id::kDateCancel, L"取消"},

    // Enabling and disabling
    {Id::kDisableQuestion, L"你确定要禁用？ \r\n\r\n\t%s"},
    {Id::kDisableCaption, L"请确认"},
    {Id::kCannotRename, L"无法重命名 %s：%s"},

    // Deleting
    {Id::kDeleteMenuItem, L"物理删除 MOD"},
    {Id::kDeleteQuestion, L"确定从磁盘上删除Mod ？\r\n\r\n%s\r\n%s"},
    {Id::kDeleteCaption, L"请确定"},
    {Id::kCannotDelete, L"无法删除 %s：%s"},

    // Installing by drag and drop
    {Id::kDropQuestion, L"你拖过来 %d 个Mod，确定要自动拷贝火炬之光PAKS生效吗？\r\n\r\n"},
    {Id::kDropCaption, L"请确定"},
    {Id::kCopying, L"正在复制MOD到火炬之光2目录，请稍后 . . .  . . . ^_^"},
    {Id::kCopied, L"复制完毕，MOD 已经生效"},
    {Id::kCopyProgressCaption, L"正在复制MOD"},
    {Id::kCopyProgressText, L"%s（第 %d 个，共 %d 个）：%s / %s MB"},
    {Id::kProgressCancel, L"取消"},
    {Id::kInstallCancelled, L"已取消，没有拷贝"},
    {Id::kNotCopied, L"%d 个Mod 没有拷贝："},
    {Id::kAlreadyThere, L"已存在"},
    {Id::kAlreadyThereEnabled, L"已存在（已启用）"},
    {Id::kAlreadyThereDisabled, L"已存在（已禁用）"},
    {Id::kManifestTaken, L"PAKS 里已有同名的清单文件 %s"},
    {Id::kPakLeftBehind, L"清单文件 %s 无法复制（%s），已复制的 PAK 也无法删除（%s）：它留在 PAKS 里，没有清单文件"},

    // Launching the game
    {Id::kCannotLaunch, L"无法启动游戏：%s"},

    // The conflict check
    {Id::kConflictCaption, L"冲突检测"},
    {Id::kConflictCloseButton, L"关闭"},
    {Id::kColumnFile, L"文件"},
    {Id::kColumnWinner, L"生效的MOD"},
    {Id::kColumnOverridden, L"被覆盖的MOD"},
    {Id::kColumnIdentical, L"相同副本"},
    {Id::kIdenticalMark, L"是"},
    {Id::kModSeparator, L", "},
    {Id::kConflictSummary, L"%d 个文件冲突，涉及 %d 个MOD"},
    {Id::kNoConflict, L"没有发现冲突"},
    {Id::kIdenticalSummary, L"；另有 %d 个文件是相同副本"},
    {Id::kIntendedSummary, L"；另有 %d 个文件是有意的覆盖"},
    {Id::kIntendedHeadingClosed, L"[+] 有意的覆盖：%d 个文件（单击展开）"},
    {Id::kIntendedHeadingOpen, L"[-] 有意的覆盖：%d 个文件"},
    {Id::kIdenticalCopiesNote, L"同一文件在各MOD中内容完全相同的（相同副本）列在最后，它们不是真正的冲突。"},
    {Id::kSelectedModsOnly, L"只列出涉及所选MOD的文件。"},
    {Id::kUncheckedMods, L"以下MOD无法检查："},
    {Id::kAllModsChecked, L"所有启用的MOD都已检查。"},
    {Id::kNoManifest, L"没有清单文件"},
    {Id::kManifestUnreadable, L"清单文件无法读取：%s"},
    {Id::kManifestMalformed, L"清单文件格式错误"},
    {Id::kManifestTooLarge, L"清单文件过大"},

    // An action that failed where nothing expected it (memory ran out)
    {Id::kActionFailed, L"%s没有完成：%s"},
    {Id::kOutOfMemory, L"内存不足"},
    {Id::kUnexpectedError, L"程序内部错误"},
    {Id::kAnAction, L"操作"},

    // Start-up
    {Id::kNoFolderHint, L"没有管理任何 PAKS 目录：请把游戏的 PAKS 目录拖到这个窗口上"},
    {Id::kSwitchFolderQuestion, L"要改为管理这个 PAKS 目录吗？\r\n\r\n%s\r\n\r\n现在管理的是：\r\n%s"},
    {Id::kSwitchFolderCaption, L"请确认"},
    {Id::kNoGameFolder, L"把RORud放在 火炬之光2安装目录 或者\r\n\r\n放在PAKS目录里面   或者\r\n\r\n 拽PAKS目录到助手窗口"},

    // Why a file operation failed, as DescribeError (app/FailureTexts.h) says it
    {Id::kErrorNotFound, L"找不到该文件"},
    {Id::kErrorPathNotFound, L"找不到该路径"},
    {Id::kErrorAlreadyExists, L"已存在同名文件"},
    {Id::kErrorAccessDenied, L"拒绝访问"},
    {Id::kErrorInUse, L"文件正被另一个程序使用"},
    {Id::kErrorDiskFull, L"磁盘空间不足"},
    {Id::kErrorTimeNotKept, L"该磁盘不能保存这个时间"},
    {Id::kErrorWriteProtected, L"磁盘被写保护"},
    {Id::kErrorNameInvalid, L"文件名无效"},
    {Id::kErrorNotRegularFile, L"不是普通文件（链接、管道或设备）"},
    {Id::kSystemFailure, L"%s"},
    {Id::kErrorOther, L"系统错误 %d"},
    // Mod lists, the progress of long work, the folder managed
    {Id::kManagedFolder, L"正在管理：%s"},
    {Id::kActionImport, L"导入MOD列表"},
    {Id::kSortProgressCaption, L"正在智能排序"},
    {Id::kRestoreProgressCaption, L"正在恢复"},
    {Id::kCheckProgressCaption, L"正在检测冲突"},
    {Id::kStepProgressText, L"%d / %d"},
    {Id::kExportMenuItem, L"导出MOD列表…"},
    {Id::kImportMenuItem, L"导入MOD列表…"},
    {Id::kExportCaption, L"导出MOD列表"},
    {Id::kImportCaption, L"导入MOD列表"},
    {Id::kModListFilter, L"MOD列表 (*.txt)|*.txt|所有文件 (*.*)|*.*|"},
    {Id::kModListExtension, L"txt"},
    {Id::kModListFileName, L"MOD列表.txt"},
    {Id::kListExported, L"已导出 %d 个MOD的顺序和状态：%s"},
    {Id::kListLeftOut, L"；%d 个MOD的名字无法写进列表，已略过：%s"},
    {Id::kListNamesTakenTwice, L"无法导出：列表中每个MOD只能出现一次，而 PAKS 目录里有 %d 个名字同时属于多个MOD（如 a.pak 与 a.G1O 都叫 a）：\r\n"},
    {Id::kCannotExportList, L"无法写入 %s：%s"},
    {Id::kCannotReadList, L"无法读取 %s：%s"},
    {Id::kListTooLarge, L"%s 不是MOD列表：文件大于 %d MB"},
    {Id::kNotAModList, L"%s 不是MOD列表：第一行不是“# PakOrder mod list 1”"},
    {Id::kOtherListVersion, L"%s 是本程序不认识的版本的MOD列表"},
    {Id::kBinaryList, L"%s 不是MOD列表：它不是 UTF-8 文本"},
    {Id::kBadListLine, L"%s 第 %d 行：不是“+ 名字”、“- 名字”或注释"},
    {Id::kBadListName, L"%s 第 %d 行：“%s”不能作为MOD的文件名"},
    {Id::kDuplicateListName, L"%s 第 %d 行：“%s”出现了两次"},
    {Id::kNothingChanged, L"\r\n\r\n没有改动任何MOD。"},
    {Id::kSwitchQuestion, L"列表里有 %d 个MOD的启用状态与现在不同，要照列表切换吗？\r\n"},
    {Id::kSwitchToEnabled, L"\r\n启用\t%s"},
    {Id::kSwitchToDisabled, L"\r\n禁用\t%s"},
    {Id::kSwitchCaption, L"请确认"},
    {Id::kListImported, L"已按列表调整 %d 个MOD的顺序，用“智能排序”写入磁盘"},
    {Id::kListInOrder, L"MOD的顺序已与列表一致"},
    {Id::kNotInFolder, L"列表中的 %d 个MOD不在 PAKS 目录里：\r\n"},
    // The conflict marks in the list, the focused mod's details and the overlaps meant
    {Id::kColumnConflicts, L"冲突"},
    {Id::kMarkOverrides, L"覆盖 %d 个MOD的 %d 个文件"},
    {Id::kMarkOverridden, L"被 %d 个MOD覆盖 %d 个文件"},
    {Id::kMarkFullyOverridden, L"全部 %d 个文件都被 %d 个MOD覆盖：在此顺序下不起作用"},
    {Id::kMarkUnchecked, L"未检查：%s"},
    {Id::kMarkTied, L"与 %s 修改时间相同：游戏加载顺序不确定"},
    {Id::kMarkSeparator, L"；"},
    {Id::kNamesSeparator, L"、"},
    {Id::kLightLegend, L"绿色：所选MOD覆盖的MOD；橙色：覆盖所选MOD的MOD"},
    {Id::kModDetails, L"%s：%s，清单 %d 个文件，%s"},
    {Id::kDetailsOverrides, L"；覆盖 %s"},
    {Id::kDetailsOverriddenBy, L"；被 %s 覆盖"},
    {Id::kIntendedMenuItem, L"%s 覆盖 %s 是有意的"},
    {Id::kUnintendedMenuItem, L"取消：%s 覆盖 %s 是有意的"},
    {Id::kBadIntendedLines, L"%s 中这些行无法读取，已跳过：%s"},
};

}  // namespace texts
