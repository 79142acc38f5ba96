#pragma once
// The main window: the mod list, the command buttons and the status line.
// It owns its parts and wires them to the controls: the folder managed
// (ManagedFolder), the rows shown (the arrangement, drawn by ModListView),
// dragging rows (RowDrag) and type-to-find (TypeToFind).

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/BackgroundAnalysis.h"
#include "app/ConflictMarks.h"
#include "app/ManagedFolder.h"
#include "app/ModListView.h"
#include "app/RowDrag.h"
#include "app/TypeToFind.h"
#include "framework/Dialog.h"
#include "framework/DialogMessageFilter.h"
#include "framework/MessageMap.h"
#include "mods/Arrangement.h"
#include "mods/FileFailure.h"
#include "mods/FolderRestore.h"
#include "mods/FolderWriter.h"
#include "mods/IntendedOverlaps.h"
#include "mods/Reorder.h"

namespace texts { enum class Language; }

class CModManagerDlg : public fw::CDialog {
public:
    // programPath: the program's own file, whose folder is searched first.
    // historyFile: where the folder picker keeps its history.
    explicit CModManagerDlg(std::wstring programPath, std::wstring historyFile = {}, HWND parent = nullptr);

    // %APPDATA%\PakOrder\<program's base name>.INI
    static std::wstring DefaultHistoryFile(const std::wstring& programPath);

    // The folder managed; read it on the window's thread.
    const ManagedFolder& Folder() const { return folder_; }
    // True once the conflict marks of the rows shown are known; read it on the window's thread.
    bool ConflictsKnown() const { return conflicts_.has_value(); }

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    bool ProcessMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) override;
    // The smart sort: writes the order shown to disk as last-write times.
    void OnOK() override;
    // Esc, the close box, Alt+F4: asks first when moves are not yet written.
    void OnCancel() override;

private:
    // How a read of the folder takes the rows shown.
    enum class Reading {
        Afresh,     // load order, no marks, the list at its top with nothing selected
        Following,  // rows keep their places and marks; new and retimed mods go where their times put them
        Replacing,  // load order, no marks, the rows in view and the selection kept
    };
    // The one way the rows follow the folder: the arrangement takes the
    // catalogue as `reading` says, the list draws it and the status line counts it.
    void ShowFolder(const std::vector<mods::ModEntry>& catalogue, Reading reading,
                    const std::vector<std::wstring>& retimed = {});
    // The folder read again and shown so; `retimed`: mods whose times were set.
    void ReadFolder(Reading reading, const std::vector<std::wstring>& retimed = {});
    void OnDpiChanged(const fw::DpiScale& old) override;
    // True when there are no unwritten moves, or the user agrees to drop them.
    bool ConfirmDiscardMoves();
    // Re-reads a folder that changed outside the program, unless moves
    // would be lost; then the status line says so.
    void CheckFolderForOutsideChanges();
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
    // The row's mod enabled or disabled, as its check box was set; a
    // disable asks first. The row then shows the disk.
    void SwitchRow(int row);
    // The picker, opened at `startFolder`, with `suggestions` on top of its history.
    std::wstring AskForFolder(const std::wstring& startFolder, const std::vector<std::wstring>& suggestions);
    // Moves the selected rows as one block and marks them as moved.
    void MoveSelection(mods::ReorderCommand command);
    // Rows dragged: the selected rows land before row `insertBefore`.
    void DropRows(int insertBefore);
    void ShowMove(const std::vector<int>& selected, int target);
    // Lets the user pick a new date for the row's mod and writes it to disk.
    void EditModTime(int row);
    // Asks, then deletes the row's mod and its companion.
    void DeleteModOnRow(int row);
    // What the status line says of times that could not be written; empty when all were.
    static std::wstring TimeFailuresText(const std::vector<mods::FileFailure>& failures);
    // The status line's natural state; a success puts it back after a report.
    void ShowModCount();
    // Copies dropped mods into the folder, or switches to a dropped PAKS folder.
    void InstallDropped(const std::vector<std::wstring>& paths);
    // The check needs two mods to compare.
    void EnableConflictCheck();

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
    LRESULT OnListBeginDrag(NMHDR* header);
    void OnLaunchGame();
    void OnConflictCheck();
    bool OnDropFiles(WPARAM w, LPARAM l, LRESULT& result);
    bool OnCheckboxClicked(WPARAM w, LPARAM l, LRESULT& result);
    bool OnTimer(WPARAM w, LPARAM l, LRESULT& result);
    bool OnActivate(WPARAM w, LPARAM l, LRESULT& result);
    bool OnCheckFolder(WPARAM w, LPARAM l, LRESULT& result);
    bool OnDestroy(WPARAM w, LPARAM l, LRESULT& result);
    // The conflict marks (ModManagerDlgConflicts.cpp). The index follows
    // each read of the folder off the window's thread; the rows shown are
    // analysed again after every change to them, without reading a manifest.
    static constexpr UINT kAnalysisDoneMessage = WM_APP + 21;
    static constexpr UINT kSelectionChangedMessage = WM_APP + 22;  // posted once for many rows' changes
    static constexpr UINT_PTR kAnalysisStartTimer = 2;
    void FollowConflicts(const std::vector<mods::ModEntry>& catalogue);
    bool OnAnalysisDone(WPARAM w, LPARAM l, LRESULT& result);
    void ShowConflicts();
    // The rows lit for the one row selected, and the legend of their colours.
    void ShowSelectionConflicts();
    LRESULT OnListItemChanged(NMHDR* header);
    bool OnSelectionChanged(WPARAM w, LPARAM l, LRESULT& result);
    std::vector<mods::ListedModToCheck> RowsToCheck() const;
    // The name's tooltip: the row's mod at a glance.
    std::wstring DetailsOfRow(int row) const;
    // The list's menu: a related pair meant, or taken back, for the row.
    void AddIntendedItems(HMENU menu, int row);
    void OnIntendedItem(UINT command, int row);
    void ReadIntendedOverlaps();

    // The keyboard (ModManagerDlgKeys.cpp): true when the key was one of ours.
    bool HandleShortcut(const MSG& message);
    bool HandleListKey(const MSG& message);
    void ToggleFocusedRow();
    // Each button with a shortcut names it in a tooltip.
    void AddShortcutTips();
    // The status line's tooltip names the folder managed.
    void ShowManagedFolder();
    void ShowShortcutTips();

    static const fw::MessageEntry<CModManagerDlg> kMessages[];

    platform::FileSystem& fileSystem_;
    std::wstring programPath_;
    std::wstring historyFile_;
    fw::CWindow status_;
    fw::UniqueIcon bigIcon_, smallIcon_;
    ManagedFolder folder_;
    mods::Arrangement arrangement_;  // the rows; the list only draws them
    ModListView rows_;
    RowDrag rowDrag_;
    TypeToFind typing_;
    std::optional<fw::DialogMessageFilter> shortcuts_;  // while the window is there
    bool toldOutsideChange_ = false;
    // The window was left for another program's since the folder was last checked.
    bool leftForAnotherProgram_ = false;
    HWND shortcutTips_ = nullptr;  // owned by the window, destroyed with it
    HMENU languageMenu_ = nullptr;  // owned by the window menu
    std::optional<BackgroundAnalysis> analysis_;       // while the window is there
    std::optional<mods::ConflictAnalysis> conflicts_;  // of the rows shown, once the index is ready
    std::vector<mods::ModRelations> relations_;        // of each row shown, with conflicts_
    std::vector<mods::IntendedOverlap> intended_;      // of the folder managed
    std::wstring intendedFolder_;                      // the folder intended_ was read for
    std::vector<RelatedPair> menuPairs_;               // the pairs of the menu open
    // The start-up's read, analysed once the window has shown and is idle,
    // so that the manifests' reads do not slow the list showing.
    std::optional<std::vector<mods::ModEntry>> firstCatalogue_;
    bool selectionChangePosted_ = false;
    bool legendShown_ = false;
};
