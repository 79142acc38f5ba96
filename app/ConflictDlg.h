#pragma once
// The report of the conflict check: which game files two or more enabled
// mods replace, the mod whose copy takes effect, and the mods that could
// not be checked. It only shows; nothing is written.

#include <windows.h>

#include <vector>

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/MessageMap.h"
#include "mods/Conflicts.h"

class CConflictDlg : public fw::CDialog {
public:
    // `mods` are the rows the report's indices refer to, in load order.
    CConflictDlg(const mods::ConflictReport& report, const std::vector<mods::ListedModToCheck>& mods,
                 HWND parent = nullptr);

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    bool ProcessMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) override;
    void OnDpiChanged(const fw::DpiScale& old) override;

private:
    // A control keeps its distance to the edges it is anchored to.
    struct Anchored {
        int id;
        bool growsWide, growsTall, followsRight, followsBottom;
        RECT initial;
    };

    void FillConflicts();
    LRESULT OnClick(NMHDR* header);
    LRESULT OnKeyDown(NMHDR* header);
    void ToggleIntended(int row);
    std::wstring CellText(std::size_t row, int column) const;
    LRESULT OnGetDispInfo(NMHDR* header);
    bool OnSize(WPARAM w, LPARAM l, LRESULT& result);
    bool OnGetMinMaxInfo(WPARAM w, LPARAM l, LRESULT& result);
    std::wstring SummaryText() const;
    std::wstring UncheckedText() const;

    const mods::ConflictReport& report_;
    const std::vector<mods::ListedModToCheck>& mods_;
    fw::CListViewCtrl list_;
    // The report's conflicts in the rows shown: the real ones, the heading
    // the intended ones are folded under, those when it is open, the copies.
    static constexpr std::size_t kIntendedHeading = static_cast<std::size_t>(-1);
    std::vector<std::size_t> shown_;
    bool intendedOpen_ = false;
    std::vector<Anchored> layout_;
    SIZE initialClient_{};
    SIZE minimumWindow_{};

    static const fw::MessageEntry<CConflictDlg> kMessages[];
};
