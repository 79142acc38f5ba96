#pragma once
// The folder's recorded writes, newest first, to choose one and put the
// folder back to its state before it. It only shows and chooses; the main
// window confirms and restores.

#include <windows.h>

#include <cstdint>
#include <optional>

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/MessageMap.h"
#include "mods/ChangeHistory.h"

class CHistoryDlg : public fw::CDialog {
public:
    CHistoryDlg(const mods::ChangeHistory::Listing& listing, HWND parent = nullptr);

    // The record chosen, once the dialog has ended with IDOK.
    std::optional<std::uint64_t> Chosen() const { return chosen_; }

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnDpiChanged(const fw::DpiScale& old) override;
    bool ProcessMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) override;

private:
    void FillRecords();
    void EnableRestore();
    LRESULT OnItemChanged(NMHDR* header);
    LRESULT OnDoubleClick(NMHDR* header);

    const mods::ChangeHistory::Listing& listing_;
    fw::CListViewCtrl list_;
    std::optional<std::uint64_t> chosen_;

    static const fw::MessageEntry<CHistoryDlg> kMessages[];
};
