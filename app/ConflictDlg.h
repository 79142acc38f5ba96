#pragma once
// The report of the conflict check: which game files two or more enabled
// mods replace, the mod whose copy takes effect, and the mods that could
// not be checked. It only shows; nothing is written.

#include <windows.h>

#include <vector>

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "mods/Conflicts.h"

class CConflictDlg : public fw::CDialog {
public:
    // `mods` are the rows the report's indices refer to, in load order.
    CConflictDlg(const mods::ConflictReport& report, const std::vector<mods::ListedModToCheck>& mods,
                 HWND parent = nullptr);

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;

private:
    void FillConflicts();
    std::wstring SummaryText() const;
    std::wstring UncheckedText() const;

    const mods::ConflictReport& report_;
    const std::vector<mods::ListedModToCheck>& mods_;
    fw::CListViewCtrl list_;
};
