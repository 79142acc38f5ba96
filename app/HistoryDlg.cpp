#include "app/HistoryDlg.h"

#include "app/RecordTexts.h"
#include "app/Texts.h"
#include "base/FormatText.h"
#include "res/resource.h"

namespace {

enum Column { kColumnWhen, kColumnAction, kColumnModsChanged, kColumnMods };

std::wstring ActionCellText(const mods::ChangeRecord& record)
{
    std::wstring text = ActionText(record.action);
    if (!record.complete)
        text += texts::kHistoryUnfinished;
    return text;
}

std::wstring IntentText(const mods::ChangeRecord& record)
{
    std::wstring names;
    for (const std::wstring& name : record.intent) {
        if (!names.empty())
            names += texts::kModSeparator;
        names += name;
    }
    return names;
}

}  // namespace

constexpr fw::MessageEntry<CHistoryDlg> CHistoryDlg::kMessages[] = {
    fw::OnNotify(IDC_HISTORY_LIST, LVN_ITEMCHANGED, &CHistoryDlg::OnItemChanged),
    fw::OnNotify(IDC_HISTORY_LIST, NM_DBLCLK, &CHistoryDlg::OnDoubleClick),
};

CHistoryDlg::CHistoryDlg(const mods::ChangeHistory::Listing& listing, HWND parent)
    : CDialog(IDD_HISTORY_DIALOG, parent), listing_(listing)
{
}

void CHistoryDlg::DoDataExchange() { list_.Attach(GetDlgItem(IDC_HISTORY_LIST)); }

bool CHistoryDlg::ProcessMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result)
{
    return fw::DispatchMessage(this, kMessages, false, message, w, l, result) ||
           CDialog::ProcessMessage(message, w, l, result);
}

BOOL CHistoryDlg::OnInitDialog()
{
    SetWindowText(texts::kHistoryCaption);
    fw::CWindow(GetDlgItem(IDOK)).SetWindowText(texts::kHistoryRestoreButton);
    fw::CWindow(GetDlgItem(IDCANCEL)).SetWindowText(texts::kHistoryCloseButton);
    std::wstring note = listing_.records.empty() ? texts::kHistoryEmpty : texts::kHistoryNote;
    if (!listing_.damaged.empty()) {
        std::wstring names;
        for (const mods::DamagedRecord& damaged : listing_.damaged)
            names += (names.empty() ? L"" : texts::kDamagedRecordSeparator) + damaged.fileName;
        note += L"\r\n" + fw::FormatText(texts::kDamagedRecords, static_cast<int>(listing_.damaged.size()), names);
    }
    fw::CWindow(GetDlgItem(IDC_HISTORY_NOTE)).SetWindowText(note);

    list_.SetExtendedStyle(0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    const fw::DpiScale& px = Scale();
    list_.InsertColumn(kColumnWhen, texts::kColumnWhen, LVCFMT_LEFT, px(130));
    list_.InsertColumn(kColumnAction, texts::kColumnAction, LVCFMT_LEFT, px(90));
    list_.InsertColumn(kColumnModsChanged, texts::kColumnModsChanged, LVCFMT_RIGHT, px(90));
    list_.InsertColumn(kColumnMods, texts::kColumnMods, LVCFMT_LEFT, px(260));
    FillRecords();
    EnableRestore();
    return TRUE;
}

void CHistoryDlg::OnDpiChanged(const fw::DpiScale& old) { fw::ScaleColumnWidths(list_, old, Scale()); }

void CHistoryDlg::FillRecords()
{
    for (std::size_t i = 0; i < listing_.records.size(); ++i) {
        const mods::ChangeRecord& record = listing_.records[i];
        const std::wstring when = LocalTimeText(record.madeAt);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<wchar_t*>(when.c_str());
        const int row = list_.InsertItem(item);
        list_.SetItemText(row, kColumnAction, ActionCellText(record));
        list_.SetItemText(row, kColumnModsChanged, std::to_wstring(record.ModsChanged()));
        list_.SetItemText(row, kColumnMods, IntentText(record));
    }
}

void CHistoryDlg::EnableRestore()
{
    fw::CWindow(GetDlgItem(IDOK)).EnableWindow(list_.GetNextItem(-1, LVNI_SELECTED) >= 0);
}

LRESULT CHistoryDlg::OnItemChanged(NMHDR*)
{
    EnableRestore();
    return 0;
}

LRESULT CHistoryDlg::OnDoubleClick(NMHDR*)
{
    OnOK();
    return 0;
}

void CHistoryDlg::OnOK()
{
    const int row = list_.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0 || static_cast<std::size_t>(row) >= listing_.records.size())
        return;
    chosen_ = listing_.records[static_cast<std::size_t>(row)].sequence;
    EndDialog(IDOK);
}
