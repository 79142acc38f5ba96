#pragma once
// The main window: the mod list, the command buttons and the status line.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "base/UniqueHandle.h"
#include "controls/list/ExtListCtrl.h"
#include "framework/Dialog.h"
#include "framework/MessageMap.h"
#include "mods/Arrangement.h"
#include "mods/ChangeHistory.h"
#include "mods/FileFailure.h"
#include "mods/FolderRestore.h"
#include "mods/FolderWriter.h"
#include "mods/Reorder.h"

namespace platform { class FileSystem; }
namespace texts { enum class Language; }
class ReusedListing;

class CModManagerDlg : public fw::CDialog {
public:
    // programPath: the program's own file, whose folder is searched first.
    // historyFile: where the folder picker keeps its history.
    explicit CModManagerDlg(std::wstring programPath, std::wstring historyFile = {}, HWND parent = nullptr);

    // The list's columns.
    static constexpr int kColumnCheck = 0, kColumnName = 1, kColumnDate = 2, kColumnMark = 3;

    // %APPDATA%\PakOrder\<program's base name>.INI
    static std::wstring DefaultHistoryFile(const std::wstring& programPath);
    ~CModManagerDlg() override;

    // Rebuilds the list from the folder, in load order, and shows the count.
    void RefillModList();
    // Re-reads the folder and keeps the arrangement shown: rows keep their
    // places and marks; new and `retimed` mods go where their times put them.
    void FollowFolder(const std::vector<std::wstring>& retimed = {});
    // Asks, then deletes the row's mod and its companion and rebuilds the list.
    void DeleteModOnRow(int row);

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    bool ProcessMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) override;
    // The smart sort: writes the order shown to disk as last-write times.
    void OnOK() override;
    // Esc, the close box, Alt+F4: asks first when moves are not yet written.
    void OnCancel() override;

private:
    // Leaves in `files` the listing of the folder chosen, when it qualifies.
    void FindGameFolders(ReusedListing& files);
    void RefillModList(platform::FileSystem& files);
    void SetUpModList();
    // The rows' height at the list's DPI.
    void SetRowHeight();
    void OnDpiChanged(const fw::DpiScale& old) override;
    // Shows the arrangement's rows with their marks, keeping the scroll
    // position; the rows named are selected.
    void ShowArrangement(const std::vector<std::wstring>& selectedNames);
    std::vector<std::wstring> SelectedNames() const;
    // True when there are no unwritten moves, or the user agrees to drop them.
    bool ConfirmDiscardMoves();
    // Watches g_paksFolder for changes made by other programs.
    void WatchFolder();
    // Re-reads a folder that changed outside the program, unless moves
    // would be lost; then the status line says so.
    void CheckFolderForOutsideChanges();
    // Lets the changes the folder has signalled go, before it is read.
    void ForgetFolderChanges();
    // Ctrl+Z: the last move command taken back; without one, the folder
    // put back as it was before the last recorded write.
    void Undo();
    // Ctrl+Y: the last write undone made again.
    void Redo();
    // The history dialog: the folder put back as it was before a chosen write.
    void ShowHistory();
    // The order shown (moves not yet written included) saved as a mod list.
    void ExportModList();
    // A mod list's order shown as moves, its states switched after a question.
    void ImportModList();
    // The records of g_paksFolder's writes, and the writer that keeps them,
    // opened for the folder managed now.
    void OpenHistory();
    // The status line after a write: why it did not run, or `said` (what the
    // handler has to say of it) and that its record could not be completed.
    // Over an unfinished action the recovery is offered instead. False when
    // the write did not run.
    bool ShowOutcome(const mods::WriteOutcome& outcome, std::wstring said = {});
    // The same for an undo, redo, restore or recovery, the mods it could not
    // bring back in a message box.
    bool ShowOutcome(const mods::RestoreOutcome& outcome, std::wstring said = {});
    // An action that did not finish, offered for undoing; kept as it is
    // when the player declines.
    void OfferRecovery(const mods::ChangeRecord& unfinished);
    void ReportNotRestored(const std::vector<mods::NotRestored>& mods);
    bool OnSysCommand(WPARAM w, LPARAM l, LRESULT& result);
    // Colours a row's cells by its check box: grey for a disabled mod. With
    // `confirm`, a cleared box asks first; false when the user refused, in
    // which case the box is ticked again.
    bool UpdateRowState(int row, bool confirm);
    // The picker, opened at `startFolder`, with `suggestions` on top of its history.
    std::wstring AskForFolder(const std::wstring& startFolder, const std::vector<std::wstring>& suggestions = {});
    // Moves the selected rows as one block and marks them as moved.
    void MoveSelection(mods::ReorderCommand command);
    // Lets the user pick a new date for the row's mod and writes it to disk.
    void EditModTime(int row);
    // What the status line says of times that could not be written; empty when all were.
    static std::wstring TimeFailuresText(const std::vector<mods::FileFailure>& failures);
    // The status line's natural state; a success puts it back after a report.
    void ShowModCount();
    // Copies dropped mods into the folder, or switches to a dropped PAKS folder.
    void InstallDropped(const std::vector<std::wstring>& paths);
    void SelectRowsNamed(const std::vector<std::wstring>& names);
    // The check needs two mods to compare.
    void EnableConflictCheck();
    static int DeleteModCallback(CExtListCtrl* list, int row);

    // The window's texts in the language chosen (ModManagerDlgLanguage.cpp):
    // its caption, buttons, headers, status line, menus and tooltips.
    void ShowTexts();
    void ReadLanguageChoice();
    // The window menu's own items, in order: one table adds them and
    // relabels them when the language changes.
    struct MenuItem {
        UINT command;  // kLanguagesSubmenu: the submenu of the languages' items
        const wchar_t* const& text;  // the words of the language chosen, when read
    };
    static std::span<const MenuItem> WindowMenuItems();
    static std::span<const MenuItem> LanguageItems();
    void AddWindowMenu();
    void LabelWindowMenu();
    void AddLanguageMenu(HMENU systemMenu, const wchar_t* label);
    // Shows every text in `language` at once and keeps the choice in the INI.
    void ChooseLanguage(texts::Language language);
    void OnChooseChinese();
    void OnChooseEnglish();
    // The window menu's own commands: below 0xF000, low four bits clear.
    static constexpr UINT kUndoCommand = 0x0010;
    static constexpr UINT kRedoCommand = 0x0020;
    static constexpr UINT kHistoryCommand = 0x0030;
    static constexpr UINT kExportCommand = 0x0040;
    static constexpr UINT kImportCommand = 0x0050;
    static constexpr UINT kChineseCommand = 0x0060;
    static constexpr UINT kEnglishCommand = 0x0070;
    static constexpr UINT kLanguagesSubmenu = 0;

    bool OnPaint(WPARAM w, LPARAM l, LRESULT& result);
    bool OnQueryDragIcon(WPARAM w, LPARAM l, LRESULT& result);
    void OnRestore();
    void OnMoveTop();
    void OnMoveUp();
    void OnMoveDown();
    void OnMoveBottom();
    void OnEditTimeButton();
    LRESULT OnListDblClk(NMHDR* header);
    void OnLaunchGame();
    void OnConflictCheck();
    bool OnDropFiles(WPARAM w, LPARAM l, LRESULT& result);
    bool OnCheckboxClicked(WPARAM w, LPARAM l, LRESULT& result);
    bool OnTimer(WPARAM w, LPARAM l, LRESULT& result);
    bool OnActivate(WPARAM w, LPARAM l, LRESULT& result);
    bool OnCheckFolder(WPARAM w, LPARAM l, LRESULT& result);
    bool OnDestroy(WPARAM w, LPARAM l, LRESULT& result);
    static LRESULT CALLBACK ShortcutFilter(int code, WPARAM w, LPARAM l);
    // The keyboard (ModManagerDlgKeys.cpp): true when the key was one of ours.
    bool HandleShortcut(const MSG& message);
    bool HandleListKey(const MSG& message);
    // Typing jumps to the next mod whose name starts with what was typed.
    void FindTypedName(wchar_t typed, DWORD time);
    void ToggleFocusedRow();
    // Each button with a shortcut names it in a tooltip.
    void AddShortcutTips();
    // The status line's tooltip names the folder managed.
    void ShowManagedFolder();
    void ShowShortcutTips();
    // Dragging rows inside the list (ModManagerDlgDrag.cpp).
    LRESULT OnListBeginDrag(NMHDR* header);
    bool OnMouseMove(WPARAM w, LPARAM l, LRESULT& result);
    bool OnLeftButtonUp(WPARAM w, LPARAM l, LRESULT& result);
    bool OnCaptureChanged(WPARAM w, LPARAM l, LRESULT& result);
    // The row the dragged rows would land before, for a point in the list.
    int InsertionRowAt(POINT inList) const;
    void ScrollWhileDragging();
    void EndRowDrag(bool drop);
    static constexpr UINT_PTR kDragScrollTimer = 2;
    std::vector<int> SelectedRows() const;  // ascending
    // Shows a move the arrangement made: rows moved, marked, still selected.
    void ShowMove(const std::vector<int>& selected, int target);

    static const fw::MessageEntry<CModManagerDlg> kMessages[];

    platform::FileSystem& fileSystem_;
    std::wstring programPath_;
    std::wstring historyFile_;
    fw::CWindow status_;
    CExtListCtrl modList_;
    fw::UniqueIcon bigIcon_, smallIcon_;
    fw::UniqueImageList rowHeightImages_;
    mods::Arrangement arrangement_;
    fw::UniqueChangeNotification folderWatch_;
    bool toldOutsideChange_ = false;
    // The window was left for another program's since the folder was last checked.
    bool leftForAnotherProgram_ = false;
    HHOOK shortcutHook_ = nullptr;
    HWND shortcutTips_ = nullptr;  // owned by the window, destroyed with it
    HMENU languageMenu_ = nullptr;  // owned by the window menu
    bool draggingRows_ = false;
    int dragScroll_ = 0;  // rows per tick while the pointer is near an edge
    std::wstring typedPrefix_;
    DWORD lastTypedAt_ = 0;
    std::unique_ptr<mods::ChangeHistory> history_;
    std::unique_ptr<mods::FolderWriter> writer_;  // over history_: made and dropped with it
};
