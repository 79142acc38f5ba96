#include "app/ConflictDlg.h"

#include <algorithm>

#include "app/ProblemTexts.h"
#include "app/Texts.h"
#include "base/FormatText.h"
#include "res/resource.h"

namespace {

enum Column { kColumnPath, kColumnWinner, kColumnOverridden, kColumnIdentical };

// Files the player means one mod to win that are not the same copy everywhere.
int IntendedCount(const mods::ConflictReport& report)
{
    return static_cast<int>(std::count_if(report.conflicts.begin(), report.conflicts.end(),
                                          [](const mods::FileConflict& c) { return c.intended && !c.identical; }));
}

}  // namespace

constexpr fw::MessageEntry<CConflictDlg> CConflictDlg::kMessages[] = {
    fw::OnMessage(WM_SIZE, &CConflictDlg::OnSize),
    fw::OnMessage(WM_GETMINMAXINFO, &CConflictDlg::OnGetMinMaxInfo),
    fw::OnNotify(IDC_CONFLICT_LIST, LVN_GETDISPINFOW, &CConflictDlg::OnGetDispInfo),
    fw::OnNotify(IDC_CONFLICT_LIST, NM_CLICK, &CConflictDlg::OnClick),
    fw::OnNotify(IDC_CONFLICT_LIST, LVN_KEYDOWN, &CConflictDlg::OnKeyDown),
};

CConflictDlg::CConflictDlg(const mods::ConflictReport& report, const std::vector<mods::ListedModToCheck>& mods,
                           HWND parent)
    : CDialog(IDD_CONFLICT_DIALOG, parent), report_(report), mods_(mods)
{
}

void CConflictDlg::DoDataExchange() { list_.Attach(GetDlgItem(IDC_CONFLICT_LIST)); }

bool CConflictDlg::ProcessMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result)
{
    return fw::DispatchMessage(this, kMessages, false, message, w, l, result) ||
           CDialog::ProcessMessage(message, w, l, result);
}

BOOL CConflictDlg::OnInitDialog()
{
    SetWindowText(texts::kConflictCaption);
    fw::CWindow(GetDlgItem(IDCANCEL)).SetWindowText(texts::kConflictCloseButton);
    fw::CWindow(GetDlgItem(IDC_CONFLICT_SUMMARY)).SetWindowText(SummaryText());
    const bool limited = std::any_of(mods_.begin(), mods_.end(), [](const auto& mod) { return mod.selected; });
    std::wstring note = texts::kIdenticalCopiesNote;
    if (limited)
        note += std::wstring(L"\r\n") + texts::kSelectedModsOnly;
    fw::CWindow(GetDlgItem(IDC_CONFLICT_NOTE)).SetWindowText(note);
    fw::CWindow(GetDlgItem(IDC_UNCHECKED_MODS)).SetWindowText(UncheckedText());

    list_.SetExtendedStyle(0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    const fw::DpiScale& px = Scale();
    list_.InsertColumn(kColumnPath, texts::kColumnFile, LVCFMT_LEFT, px(290));
    list_.InsertColumn(kColumnWinner, texts::kColumnWinner, LVCFMT_LEFT, px(150));
    list_.InsertColumn(kColumnOverridden, texts::kColumnOverridden, LVCFMT_LEFT, px(200));
    list_.InsertColumn(kColumnIdentical, texts::kColumnIdentical, LVCFMT_LEFT, px(80));
    FillConflicts();

    // The template's size is the smallest; the list takes what the user adds.
    RECT client{}, window{};
    GetClientRect(&client);
    ::GetWindowRect(m_hWnd, &window);
    initialClient_ = SIZE{client.right, client.bottom};
    minimumWindow_ = SIZE{window.right - window.left, window.bottom - window.top};
    layout_ = {{IDC_CONFLICT_SUMMARY, true, false, false, false, {}},
               {IDC_CONFLICT_NOTE, true, false, false, false, {}},
               {IDC_CONFLICT_LIST, true, true, false, false, {}},
               {IDC_UNCHECKED_MODS, true, false, false, true, {}},
               {IDCANCEL, false, false, true, true, {}}};
    for (Anchored& control : layout_) {
        ::GetWindowRect(GetDlgItem(control.id), &control.initial);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&control.initial), 2);
    }
    return TRUE;
}

void CConflictDlg::OnDpiChanged(const fw::DpiScale& old)
{
    const fw::DpiScale& now = Scale();
    fw::ScaleColumnWidths(list_, old, now);
    // The layout the anchors start from, at the new DPI, before the window takes its new size.
    for (Anchored& control : layout_)
        control.initial = now.From(old, control.initial);
    initialClient_ = now.From(old, initialClient_);
    minimumWindow_ = now.From(old, minimumWindow_);
}

bool CConflictDlg::OnSize(WPARAM w, LPARAM l, LRESULT& result)
{
    if (w == SIZE_MINIMIZED || layout_.empty())
        return false;
    const int dx = LOWORD(l) - initialClient_.cx;
    const int dy = HIWORD(l) - initialClient_.cy;
    for (const Anchored& control : layout_) {
        RECT r = control.initial;
        if (control.followsRight)
            OffsetRect(&r, dx, 0);
        if (control.followsBottom)
            OffsetRect(&r, 0, dy);
        if (control.growsWide)
            r.right += dx;
        if (control.growsTall)
            r.bottom += dy;
        ::MoveWindow(GetDlgItem(control.id), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }
    result = 0;
    return true;
}

bool CConflictDlg::OnGetMinMaxInfo(WPARAM, LPARAM l, LRESULT& result)
{
    if (minimumWindow_.cx == 0)
        return false;
    reinterpret_cast<MINMAXINFO*>(l)->ptMinTrackSize = POINT{minimumWindow_.cx, minimumWindow_.cy};
    result = 0;
    return true;
}

void CConflictDlg::FillConflicts()
{
    // The report lists real conflicts first, then intended ones, then copies.
    shown_.clear();
    std::size_t intended = 0;
    for (std::size_t i = 0; i < report_.conflicts.size(); ++i) {
        const mods::FileConflict& conflict = report_.conflicts[i];
        if (conflict.intended && !conflict.identical) {
            if (intended++ == 0)
                shown_.push_back(kIntendedHeading);
            if (!intendedOpen_)
                continue;
        }
        shown_.push_back(i);
    }
    // The list holds no texts: it asks for the rows it shows, so a report
    // of any size opens at once and costs no copy of its texts.
    list_.SendMessage(LVM_SETITEMCOUNT, static_cast<WPARAM>(shown_.size()), LVSICF_NOSCROLL);
    list_.InvalidateRect(nullptr, TRUE);
}

void CConflictDlg::ToggleIntended(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= shown_.size() || shown_[static_cast<std::size_t>(row)] != kIntendedHeading)
        return;
    intendedOpen_ = !intendedOpen_;
    FillConflicts();
}

LRESULT CConflictDlg::OnClick(NMHDR* header)
{
    ToggleIntended(reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem);
    return 0;
}

LRESULT CConflictDlg::OnKeyDown(NMHDR* header)
{
    const WORD key = reinterpret_cast<const NMLVKEYDOWN*>(header)->wVKey;
    if (key == VK_RETURN || key == VK_SPACE)
        ToggleIntended(static_cast<int>(list_.SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)));
    return 0;
}

std::wstring CConflictDlg::CellText(std::size_t row, int column) const
{
    if (shown_[row] == kIntendedHeading) {
        return column == kColumnPath
                   ? fw::FormatText(intendedOpen_ ? texts::kIntendedHeadingOpen : texts::kIntendedHeadingClosed,
                                    IntendedCount(report_))
                   : std::wstring();
    }
    const mods::FileConflict& conflict = report_.conflicts[shown_[row]];
    switch (column) {
    case kColumnPath: return report_.PathOf(conflict);
    case kColumnWinner: return mods_[conflict.winner].name;
    case kColumnOverridden: {
        std::wstring others;
        for (std::size_t mod : report_.Overridden(conflict)) {
            if (!others.empty())
                others += texts::kModSeparator;
            others += mods_[mod].name;
        }
        return others;
    }
    case kColumnIdentical: return conflict.identical ? texts::kIdenticalMark : L"";
    default: return {};
    }
}

LRESULT CConflictDlg::OnGetDispInfo(NMHDR* header)
{
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0 || item.iItem < 0 ||
        static_cast<std::size_t>(item.iItem) >= shown_.size())
        return 0;
    const std::wstring text = CellText(static_cast<std::size_t>(item.iItem), item.iSubItem);
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax) - 1);
    std::copy_n(text.begin(), length, item.pszText);
    item.pszText[length] = L'\0';
    return 0;
}

std::wstring CConflictDlg::SummaryText() const
{
    const auto identical = static_cast<int>(
        std::count_if(report_.conflicts.begin(), report_.conflicts.end(), [](const auto& c) { return c.identical; }));
    const int intended = IntendedCount(report_);
    const int real = static_cast<int>(report_.conflicts.size()) - identical - intended;
    std::wstring summary = real > 0
        ? fw::FormatText(texts::kConflictSummary, real, static_cast<int>(report_.modsInConflict))
        : std::wstring(texts::kNoConflict);
    if (intended > 0)
        summary += fw::FormatText(texts::kIntendedSummary, intended);
    if (identical > 0)
        summary += fw::FormatText(texts::kIdenticalSummary, identical);
    return summary;
}

std::wstring CConflictDlg::UncheckedText() const
{
    if (report_.unchecked.empty())
        return texts::kAllModsChecked;
    std::wstring text = texts::kUncheckedMods;
    for (const mods::UncheckedMod& mod : report_.unchecked)
        text += L"\r\n" + mods_[mod.mod].name + texts::kReasonSeparator + ProblemWords(mods::TextOf(mod));
    return text;
}
