#pragma once
// A folder chooser built on the system's open dialog: a filter that matches
// no file leaves only folders in view, and the file-name row is replaced by
// "Folder name:" with the history combo and an OK button of our own.

#include <string>
#include <vector>

#include "dialogs/folder/FolderHistory.h"
#include "dialogs/folder/FolderHistoryCombo.h"
#include "framework/FileDialog.h"
#include "framework/MessageMap.h"

namespace platform { class FileSystem; class Profile; }

class CXFolderDialog : public fw::CFileDialog {
public:
    static constexpr const wchar_t* kTemplateName = L"IDD_XFOLDERDIALOG";
    static constexpr const wchar_t* kHistorySection = L"FolderHistory";
    static constexpr const wchar_t* kHistoryKeyPrefix = L"Folder";
    static constexpr int kHistoryLimit = 50;
    static constexpr int kDropDownRows = 20;

    CXFolderDialog(std::wstring initialFolder, platform::Profile& historyStore, HWND parent = nullptr);

    // Full paths of the chosen folders; the caller takes the first.
    const std::vector<std::wstring>& selectedPaths() const { return selectedPaths_; }

protected:
    BOOL OnInitDialog() override;
    bool ProcessMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) override;

private:
    // Only a folder is ever accepted, offered from the history or navigated to.
    bool IsFolder(const std::wstring& path) const;
    std::wstring CurrentFolder() const;  // the folder the system's dialog shows
    void Layout();
    void Accept();
    void ChooseHistoryItem();
    void FollowFolder();
    void FollowSelection();

    bool OnSize(WPARAM w, LPARAM l, LRESULT& result);
    bool OnTimer(WPARAM w, LPARAM l, LRESULT& result);
    void OnAccept();
    bool OnCommand(WPARAM w, LPARAM l, LRESULT& result);
    LRESULT OnFolderChange(NMHDR* header);
    LRESULT OnSelectionChange(NMHDR* header);

    static const fw::MessageEntry<CXFolderDialog> kMessages[];

    // Enter in the folder name box reaches the system's dialog as a click
    // of its default button, its own (hidden) OK, and Enter on our OK button
    // as that button's click: both mean our OK. Only the history's
    // navigation sends the system's OK on purpose.
    class EnterKey : public fw::WindowSubclass {
    public:
        explicit EnterKey(CXFolderDialog& owner) : owner_(owner) {}
    private:
        bool ProcessWindowMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) override;
        CXFolderDialog& owner_;
    };
    EnterKey enterKey_{*this};
    bool navigating_ = false;

    platform::FileSystem& fileSystem_;
    folder::FolderHistory history_;
    CFolderHistoryCombo historyCombo_;
    std::vector<std::wstring> selectedPaths_;
    int fileNameBoxId_ = 1148;
    int labelX_ = -1;  // -1: no file-name label to take it from
    bool laidOut_ = false;
    bool inLayout_ = false;
    bool openedFolderShown_ = false;
};
