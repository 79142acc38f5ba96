#include "controls/list/ExtListCtrl.h"

#include <windowsx.h>

#include <algorithm>
#include <new>

#include "base/UniqueHandle.h"
#include "framework/HandlerFailure.h"

const UINT WM_XLISTCTRL_CHECKBOX_CLICKED = fw::RegisterMessage(L"WM_XLISTCTRL_CHECKBOX_CLICKED");

namespace {

constexpr COLORREF kCheckMarkColor = 0x339933;
constexpr UINT kCellTextFormat = DT_END_ELLIPSIS | DT_VCENTER | DT_SINGLELINE;
constexpr const wchar_t* kEmptyListText = L"There are no items to show in this view.";

void FillSolid(HDC dc, const RECT& rect, COLORREF color)
{
    fw::UniqueBrush brush(CreateSolidBrush(color));
    FillRect(dc, &rect, brush.get());
}

// The check mark in `box`, drawn as at 96 DPI and scaled: strokes one
// pixel wide and three high, the long arm falling two pixels for each one to
// the left, then the short arm rising one for each.
void DrawCheckMark(HDC dc, const RECT& box, const fw::DpiScale& scale)
{
    fw::UniqueBrush brush(CreateSolidBrush(kCheckMarkColor));
    auto stroke = [&](int x, int y) {  // (x, y) in the box at 96 DPI
        const RECT pixels{box.left + scale(x), box.top + scale(y), box.left + scale(x + 1), box.top + scale(y + 3)};
        FillRect(dc, &pixels, brush.get());
    };
    const int side = scale.Unscaled(box.right - box.left);
    int x = side - 8;
    int y = 7;
    const int n = side - 18;
    if (n > 0) {
        for (int i = 0; i < (n + 1) / 2; ++i) {  // the long arm
            stroke(x, y);
            --x, ++y;
            stroke(x, y);
            ++y;
        }
    }
    for (int i = 0, m = n / 2 + 2; i < m; ++i) {  // the short arm
        stroke(x, y);
        --x, --y;
    }
}

}  // namespace

constexpr fw::MessageEntry<CExtListCtrl> CExtListCtrl::kMessages[] = {
    fw::OnReflectedNotify(NM_CUSTOMDRAW, &CExtListCtrl::OnCustomDraw),
    fw::OnReflectedNotify(LVN_ITEMCHANGING, &CExtListCtrl::OnItemChanging),
    fw::OnMessage(WM_CREATE, &CExtListCtrl::OnCreate),
    fw::OnMessage(WM_LBUTTONDOWN, &CExtListCtrl::OnLeftButtonDown),
    fw::OnMessage(WM_RBUTTONDOWN, &CExtListCtrl::OnRightButtonDown),
    fw::OnMessage(WM_KEYDOWN, &CExtListCtrl::OnKeyDown),
    fw::OnMessage(WM_COMMAND, &CExtListCtrl::OnCommand),
    fw::OnMessage(WM_PAINT, &CExtListCtrl::OnPaint),
    fw::OnMessage(WM_ERASEBKGND, &CExtListCtrl::OnEraseBackground),
    fw::OnMessage(WM_SYSCOLORCHANGE, &CExtListCtrl::OnSysColorChange),
    fw::OnMessage(WM_SETREDRAW, &CExtListCtrl::OnSetRedraw),
    fw::OnMessage(LVM_INSERTCOLUMNW, &CExtListCtrl::OnInsertColumnW),
    fw::OnMessage(LVM_INSERTCOLUMNA, &CExtListCtrl::OnInsertColumnA),
    fw::OnMessage(LVM_DELETECOLUMN, &CExtListCtrl::OnDeleteColumn),
    fw::OnMessage(WM_DESTROY, &CExtListCtrl::OnDestroy),
    fw::OnMessage(WM_MOUSEMOVE, &CExtListCtrl::OnMouseMove),
    fw::OnMessage(WM_NOTIFY, &CExtListCtrl::OnNotify),
};

CExtListCtrl::CExtListCtrl() { LoadSystemColors(); }

CExtListCtrl::~CExtListCtrl()
{
    if (IsWindow())
        ReleaseAllCells();
}

bool CExtListCtrl::SubclassDlgItem(HWND dialog, int id)
{
    Attach(::GetDlgItem(dialog, id));
    scale_ = fw::DpiScale::Of(m_hWnd);
    if (!Subclass(m_hWnd))
        return false;
    SubclassHeader();
    return true;
}

void CExtListCtrl::SubclassHeader()
{
    if (headerSubclassed_)
        return;
    if (HWND header = GetHeader())
        headerSubclassed_ = header_.Attach(header);
    header_.SetScale(scale_);
}

void CExtListCtrl::SetDpi(UINT dpi)
{
    const fw::DpiScale old = scale_;
    scale_ = fw::DpiScale(dpi);
    if (scale_ == old)
        return;
    fw::ScaleColumnWidths(m_hWnd, old, scale_);
    header_.SetScale(scale_);
    InvalidateRect(nullptr, TRUE);
}

// ---- Rows and cells -------------------------------------------------------

CExtListCtrl::RowData* CExtListCtrl::Row(int item) const { return reinterpret_cast<RowData*>(GetItemData(item)); }

CExtListCtrl::CellArray* CExtListCtrl::Cells(int item) const
{
    RowData* row = Row(item);
    return row ? &row->cells : nullptr;
}

ListCellData* CExtListCtrl::Cell(int item, int subItem) const
{
    // A row that is not there has no item data.
    if (item < 0 || subItem < 0 || subItem >= GetColumnCount())
        return nullptr;
    CellArray* cells = Cells(item);
    // A row keeps the columns it was inserted with; a later column has no cell.
    if (!cells || static_cast<std::size_t>(subItem) >= cells->size())
        return nullptr;
    return &(*cells)[static_cast<std::size_t>(subItem)];
}

void CExtListCtrl::ReleaseCells(int item)
{
    delete Row(item);
    SetItemData(item, 0);
}

void CExtListCtrl::ReleaseAllCells()
{
    for (int item = 0, count = GetItemCount(); item < count; ++item)
        ReleaseCells(item);
}

int CExtListCtrl::InsertItem(int index, const std::wstring& text) { return InsertRow(index, {}, {text}); }

std::vector<ListCellData> CExtListCtrl::NewRowCells() const
{
    return CellArray(static_cast<std::size_t>(std::max(GetColumnCount(), 0)), DefaultCell());
}

ListCellData CExtListCtrl::DefaultCell() const { return ListCellData{colors_.windowText, colors_.window, -1}; }

int CExtListCtrl::InsertRow(int index, std::vector<ListCellData> cells, const std::vector<std::wstring>& texts)
{
    if (index < 0)
        return -1;
    RowData* row = nullptr;
    try {
        cells.resize(static_cast<std::size_t>(std::max(GetColumnCount(), 0)), DefaultCell());  // one per column
        row = new RowData{std::move(cells), 0};
    } catch (const std::bad_alloc&) {
    }
    // The cells go in with the row, in one insertion.
    LVITEMW lv{};
    lv.mask = LVIF_TEXT | LVIF_PARAM;
    lv.iItem = index;
    lv.pszText = const_cast<wchar_t*>(texts.empty() ? L"" : texts.front().c_str());
    lv.lParam = reinterpret_cast<LPARAM>(row);
    if (row)
        AddCheckAsItemState(lv, row->cells);
    changingCheckState_ = true;
    const int item = CListViewCtrl::InsertItem(lv);
    changingCheckState_ = false;
    if (item < 0 || !row) {
        delete row;
        return -1;  // a row that got no cells stays, without them
    }
    KeepInsertedCheck(item, row->cells);
    // A new row's other columns have no text yet.
    for (std::size_t subItem = 1; subItem < texts.size(); ++subItem) {
        if (!texts[subItem].empty())
            SetItemText(item, static_cast<int>(subItem), texts[subItem]);
    }
    return item;
}

BOOL CExtListCtrl::SetItemText(int item, int subItem, const std::wstring& text)
{
    if (item < 0 || subItem < 0 || subItem >= GetColumnCount())
        return FALSE;
    if (!CListViewCtrl::SetItemText(item, subItem, text))
        return FALSE;  // no such row
    RedrawCell(item, subItem);
    return TRUE;
}

BOOL CExtListCtrl::DeleteItem(int item)
{
    if (item < 0)
        return FALSE;
    // The row goes first, so no paint or notification meets freed cells. A
    // row that is not there has no cells, and the list view refuses to delete it.
    RowData* row = Row(item);
    const BOOL deleted = CListViewCtrl::DeleteItem(item);
    if (deleted)
        delete row;
    return deleted;
}

BOOL CExtListCtrl::DeleteAllItems()
{
    std::vector<RowData*> rows;
    for (int item = 0, count = GetItemCount(); item < count; ++item)
        rows.push_back(Row(item));
    const BOOL deleted = CListViewCtrl::DeleteAllItems();
    if (deleted) {
        for (RowData* row : rows)
            delete row;
    }
    return deleted;
}

bool CExtListCtrl::MoveRows(const std::vector<int>& rows, int target)
{
    const int count = GetItemCount();
    const int moved = static_cast<int>(rows.size());
    if (moved == 0 || target < 0 || target > count - moved)
        return false;
    // Every row's place in the new order: the block at target.., the others
    // around it in their order. One look at each row and one sort inside the
    // list view, instead of deleting and inserting each moved row.
    std::vector<RowData*> data;
    for (int item = 0; item < count; ++item) {
        data.push_back(Row(item));
        if (!data.back())
            return false;  // a row without cells has no place to keep
    }
    std::vector<bool> inBlock(data.size(), false);
    for (int i = 0, previous = -1; i < moved; ++i) {
        const int row = rows[static_cast<std::size_t>(i)];
        if (row <= previous || row >= count)
            return false;
        previous = row;
        inBlock[static_cast<std::size_t>(row)] = true;
        data[static_cast<std::size_t>(row)]->place = target + i;
    }
    for (std::size_t item = 0, place = 0; item < data.size(); ++item) {
        if (inBlock[item])
            continue;
        if (place == static_cast<std::size_t>(target))
            place += static_cast<std::size_t>(moved);
        data[item]->place = static_cast<int>(place++);
    }
    return SendMessage(LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&ComparePlaces)) != 0;
}

int CALLBACK CExtListCtrl::ComparePlaces(LPARAM first, LPARAM second, LPARAM)
{
    const int a = reinterpret_cast<const RowData*>(first)->place;
    const int b = reinterpret_cast<const RowData*>(second)->place;
    return a < b ? -1 : a > b ? 1 : 0;
}

BOOL CExtListCtrl::SetCellCheck(int item, int subItem, int state)
{
    ListCellData* cell = Cell(item, subItem);
    if (!cell)
        return FALSE;
    cell->checkState = state;
    if (KeepsCheckInItem(subItem))
        ShowCheckAsItemState(item);
    RedrawCell(item, subItem);
    return TRUE;
}

int CExtListCtrl::GetCellCheck(int item, int subItem) const
{
    const ListCellData* cell = Cell(item, subItem);
    return cell ? cell->checkState : -1;
}

void CExtListCtrl::SetCellColors(int item, int subItem, COLORREF textColor, COLORREF backColor)
{
    if (ListCellData* cell = Cell(item, subItem)) {
        cell->textColor = textColor;
        cell->backColor = backColor;
    }
}

void CExtListCtrl::SetRowColors(int item, int firstSubItem, int lastSubItem, COLORREF textColor, COLORREF backColor)
{
    CellArray* cells = item < 0 ? nullptr : Cells(item);
    if (!cells || firstSubItem < 0)
        return;
    const auto last = std::min(static_cast<std::size_t>(std::max(lastSubItem + 1, 0)), cells->size());
    for (std::size_t subItem = static_cast<std::size_t>(firstSubItem); subItem < last; ++subItem) {
        (*cells)[subItem].textColor = textColor;
        (*cells)[subItem].backColor = backColor;
    }
}

void CExtListCtrl::RedrawRow(int item)
{
    if (!redrawSuspended_)
        SendMessage(LVM_REDRAWITEMS, static_cast<WPARAM>(item), item);
}

void CExtListCtrl::SetContextMenu(const std::wstring& firstText, ContextMenuCallback firstCallback,
                                  const wchar_t* secondText, ContextMenuCallback secondCallback)
{
    menuText1_ = firstText;
    menuCallback1_ = std::move(firstCallback);
    if (secondText) {
        menuText2_ = secondText;
        menuCallback2_ = std::move(secondCallback);
    }
}

int CExtListCtrl::GetColumnCount() const
{
    // Asked for every cell a bulk change touches; the columns change seldom.
    if (columnCount_ < 0)
        columnCount_ = fw::CHeaderCtrl(GetHeader()).GetItemCount();
    return columnCount_;
}

BOOL CExtListCtrl::GetCellRect(int item, int subItem, RECT* rect) const
{
    const int columns = GetColumnCount();
    if (item < 0 || item >= GetItemCount() || subItem < 0 || subItem >= columns)
        return FALSE;
    RECT cell{};
    if (!GetSubItemRect(item, subItem, LVIR_BOUNDS, &cell))
        return FALSE;
    // Column 0's rectangle spans the whole row: end it where the next visible column starts.
    if (subItem == 0 && columns > 1) {
        int next = 1;
        for (int i = 1; i < columns; ++i) {
            if (GetColumnWidth(i) > 0) {
                next = i;
                break;
            }
        }
        RECT following{};
        if (GetSubItemRect(item, next, LVIR_BOUNDS, &following))
            cell.right = following.left;
    }
    *rect = cell;
    return TRUE;
}

void CExtListCtrl::RedrawCell(int item, int subItem)
{
    if (redrawSuspended_)
        return;  // the whole list is painted once drawing resumes
    RECT rect{};
    if (!GetCellRect(item, subItem, &rect))
        return;
    InflateRect(&rect, 2, 2);
    InvalidateRect(&rect, TRUE);
    UpdateWindow();
}

int CExtListCtrl::GetSelectedItem() const { return GetNextItem(-1, LVNI_SELECTED); }

BOOL CExtListCtrl::SelectItem(int item, BOOL ensureVisible)
{
    const BOOL result = SetItemState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    if (ensureVisible)
        EnsureVisible(item, FALSE);
    return result;
}

void CExtListCtrl::LoadSystemColors()
{
    colors_ = SystemColors{GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_HIGHLIGHT),
                           GetSysColor(COLOR_HIGHLIGHTTEXT), GetSysColor(COLOR_BTNFACE)};
}

// ---- Drawing ----------------------------------------------------------------

void CExtListCtrl::ApplySelectionColors(int item, int subItem, COLORREF& text, COLORREF& back) const
{
    if (!(GetItemState(item, LVIS_SELECTED) & LVIS_SELECTED))
        return;
    if (!(GetExtendedStyle() & LVS_EX_FULLROWSELECT) && subItem != 0)
        return;
    if (::GetFocus() == m_hWnd) {
        text = colors_.highlightText;
        back = colors_.highlight;
    } else if (GetStyle() & LVS_SHOWSELALWAYS) {
        text = colors_.windowText;
        back = colors_.buttonFace;
    }
}

void CExtListCtrl::DrawTextCell(HDC dc, int item, int subItem, RECT rect, COLORREF text, COLORREF back) const
{
    if (IsRectEmpty(&rect))
        return;
    ApplySelectionColors(item, subItem, text, back);
    FillSolid(dc, rect, back);
    const std::wstring label = GetItemText(item, subItem);
    if (label.empty())
        return;

    UINT format = kCellTextFormat;
    const int justify = CellAlignment(subItem);
    if (justify == LVCFMT_CENTER)
        format |= DT_CENTER;
    else if (justify == LVCFMT_RIGHT)
        format |= DT_RIGHT;

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text);
    SetBkColor(dc, back);
    rect.left += scale_(kTextMargin);
    rect.right -= scale_(kTextMargin);
    DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &rect, format);
}

void CExtListCtrl::DrawCheckBoxCell(HDC dc, int item, int subItem, RECT rect, COLORREF text, COLORREF back,
                                    int checkState) const
{
    if (IsRectEmpty(&rect))
        return;
    ApplySelectionColors(item, subItem, text, back);
    FillSolid(dc, rect, back);

    const fw::DpiScale& px = scale_;
    RECT box{rect.left + px(5), rect.top + px(4), 0, rect.bottom - px(4)};
    box.right = box.left + (box.bottom - box.top);
    // Words kept for readers are what the box shows: they are not drawn.
    const std::wstring label = KeepsCheckInItem(subItem) ? std::wstring() : GetItemText(item, subItem);
    if (label.empty()) {  // centred in the cell
        const int side = box.bottom - box.top;
        box.left = rect.left + (rect.right - rect.left) / 2 - side / 2 - px(1);
        box.right = box.left + side;
    }
    FillSolid(dc, box, colors_.window);
    if (checkState == 1)
        DrawCheckMark(dc, box, px);

    if (!label.empty()) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, text);
        SetBkColor(dc, back);
        RECT textRect = rect;
        textRect.left = box.right + px(4);
        DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &textRect, kCellTextFormat);
    }
}

LRESULT CExtListCtrl::OnCustomDraw(NMHDR* header)
{
    auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        const int item = static_cast<int>(draw->nmcd.dwItemSpec);
        const int subItem = draw->iSubItem;
        const auto* row = reinterpret_cast<const RowData*>(draw->nmcd.lItemlParam);
        const CellArray* cells = row ? &row->cells : nullptr;
        const ListCellData* cell = cells && static_cast<std::size_t>(subItem) < cells->size()
                                       ? &(*cells)[static_cast<std::size_t>(subItem)] : nullptr;
        const COLORREF text = cell ? cell->textColor : colors_.windowText;
        const COLORREF back = cell ? cell->backColor : colors_.window;
        draw->clrText = text;
        draw->clrTextBk = back;

        RECT rect{};
        GetCellRect(item, subItem, &rect);
        if (PaintCell(draw->nmcd.hdc, item, subItem, rect, text, back))
            return CDRF_SKIPDEFAULT;
        if (cell && cell->checkState != -1)
            DrawCheckBoxCell(draw->nmcd.hdc, item, subItem, rect, text, back, cell->checkState);
        else
            DrawTextCell(draw->nmcd.hdc, item, subItem, rect, text, back);
        return CDRF_SKIPDEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

void CExtListCtrl::DrawEmptyListText() const
{
    fw::WindowDc dc(m_hWnd);
    const int saved = SaveDC(dc.get());
    RECT rect{};
    ::GetWindowRect(m_hWnd, &rect);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    if (HWND header = GetHeader()) {
        RECT headerItem{};
        if (fw::CHeaderCtrl(header).GetItemRect(0, &headerItem))
            rect.top = headerItem.bottom;
    }
    FillSolid(dc.get(), rect, colors_.window);
    SetTextColor(dc.get(), colors_.windowText);
    SetBkColor(dc.get(), colors_.window);
    // Stock fonts are made for the system's DPI; a monitor of another gets a copy to its scale.
    auto font = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
    fw::UniqueFont scaled;
    const fw::DpiScale system(fw::SystemDpi());
    LOGFONTW look{};
    if (!(scale_ == system) && GetObjectW(font, sizeof look, &look) == sizeof look) {
        look.lfHeight = scale_.From(system, look.lfHeight);
        look.lfWidth = scale_.From(system, look.lfWidth);
        scaled.reset(CreateFontIndirectW(&look));
        if (scaled)
            font = scaled.get();
    }
    SelectObject(dc.get(), font);
    DrawTextW(dc.get(), kEmptyListText, -1, &rect, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_NOCLIP);
    RestoreDC(dc.get(), saved);
}

// ---- Messages ---------------------------------------------------------------

bool CExtListCtrl::ProcessWindowMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result)
{
    return fw::DispatchMessage(this, kMessages, false, message, w, l, result);
}

bool CExtListCtrl::OnReflectedMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result)
{
    return fw::DispatchMessage(this, kMessages, true, message, w, l, result);
}

bool CExtListCtrl::OnCreate(WPARAM w, LPARAM l, LRESULT& result)
{
    result = DefaultProc(WM_CREATE, w, l);
    scale_ = fw::DpiScale::Of(m_hWnd);
    if (result != -1)
        SubclassHeader();
    return true;
}

int CExtListCtrl::HitRow(LPARAM point) const
{
    LVHITTESTINFO hit{};
    hit.pt = POINT{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    SubItemHitTest(&hit);
    return (hit.flags & LVHT_ONITEMLABEL) ? hit.iItem : -1;
}

bool CExtListCtrl::HandlePress(UINT message, WPARAM flags, LPARAM point)
{
    const int row = HitRow(point);
    if (row < 0) {
        DefaultProc(message, flags, point);
        return true;
    }
    if (!Cells(row))
        return false;  // a row without cells ignores presses

    const POINT p{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    for (int column = 0, columns = GetColumnCount(); column < columns; ++column) {
        RECT cell{};
        if (!GetCellRect(row, column, &cell) || !PtInRect(&cell, p))
            continue;
        // Only the left button toggles: a right click is for the menu.
        ListCellData* data = Cell(row, column);
        if (message == WM_LBUTTONDOWN && data && data->checkState >= 0) {
            data->checkState = data->checkState == 0 ? 1 : 0;
            if (KeepsCheckInItem(column))
                ShowCheckAsItemState(row);
            RedrawCell(row, column);
            HWND parent = GetParent();
            if (!parent)
                parent = ::GetWindow(m_hWnd, GW_OWNER);
            if (::IsWindow(parent))
                ::SendMessageW(parent, WM_XLISTCTRL_CHECKBOX_CLICKED, static_cast<WPARAM>(row), column);
        }
        break;
    }
    // The list view's own handling (selection, focus) comes after the notification.
    DefaultProc(message, flags, point);
    return true;
}

bool CExtListCtrl::OnLeftButtonDown(WPARAM w, LPARAM l, LRESULT& result)
{
    HandlePress(WM_LBUTTONDOWN, w, l);
    result = 0;
    return true;
}

bool CExtListCtrl::OnRightButtonDown(WPARAM w, LPARAM l, LRESULT& result)
{
    result = 0;
    // The list view's right-button handling runs once, inside HandlePress.
    if (!HandlePress(WM_RBUTTONDOWN, w, l))
        return true;
    const int row = HitRow(l);
    if (row >= 0 && Cells(row) && !menuText1_.empty())
        ShowContextMenu(row);
    return true;
}

void CExtListCtrl::ShowContextMenu(int row)
{
    POINT cursor{};
    GetCursorPos(&cursor);
    menuItem_ = row;
    fw::UniqueMenu menu(CreatePopupMenu());
    if (!menu)
        return;
    AppendMenuW(menu.get(), MF_STRING, kFirstMenuCommand, menuText1_.c_str());
    if (!menuText2_.empty())
        AppendMenuW(menu.get(), MF_STRING, kSecondMenuCommand, menuText2_.c_str());
    if (menuAdder_)
        menuAdder_(menu.get(), row);
    TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, m_hWnd, nullptr);
}

bool CExtListCtrl::OnKeyDown(WPARAM w, LPARAM l, LRESULT& result)
{
    result = DefaultProc(WM_KEYDOWN, w, l);
    // Keep the focused row in view without touching the selection, so
    // Shift with the arrow keys still extends it.
    const int focused = GetNextItem(-1, LVNI_FOCUSED);
    if (focused >= 0)
        EnsureVisible(focused, FALSE);
    return true;
}

bool CExtListCtrl::OnCommand(WPARAM w, LPARAM, LRESULT& result)
{
    const UINT id = LOWORD(w);
    if (id >= kFirstAddedMenuCommand && id < kFirstAddedMenuCommand + kAddedMenuCommands && addedMenuPicked_) {
        const AddedMenuCallback picked = addedMenuPicked_;
        picked(id, menuItem_);
        result = 0;
        return true;
    }
    if (id != kFirstMenuCommand && id != kSecondMenuCommand)
        return false;
    // A copy: the command may set the menu again.
    const ContextMenuCallback callback = id == kFirstMenuCommand ? menuCallback1_ : menuCallback2_;
    const fw::ActionName action((id == kFirstMenuCommand ? menuText1_ : menuText2_).c_str());
    if (callback)
        callback(menuItem_);
    result = 0;
    return true;
}

bool CExtListCtrl::OnPaint(WPARAM w, LPARAM l, LRESULT& result)
{
    result = DefaultProc(WM_PAINT, w, l);
    if (GetItemCount() == 0)
        DrawEmptyListText();
    const RECT mark = InsertionMarkRect(insertionMark_);
    if (!IsRectEmpty(&mark)) {
        fw::WindowDc dc(m_hWnd);
        FillRect(dc.get(), &mark, GetSysColorBrush(COLOR_WINDOWTEXT));
    }
    return true;
}

RECT CExtListCtrl::InsertionMarkRect(int row) const
{
    RECT mark{};
    const int count = GetItemCount();
    if (row < 0 || count == 0)
        return mark;
    RECT item{};
    if (!GetItemRect(row < count ? row : count - 1, &item, LVIR_BOUNDS))
        return mark;
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const int y = row < count ? item.top : item.bottom;
    return RECT{client.left, y - scale_(1), client.right, y + scale_(1)};
}

void CExtListCtrl::SetInsertionMark(int row)
{
    if (row == insertionMark_)
        return;
    for (const int shown : {insertionMark_, row}) {
        const RECT mark = InsertionMarkRect(shown);
        if (!IsRectEmpty(&mark))
            ::InvalidateRect(m_hWnd, &mark, TRUE);
    }
    insertionMark_ = row;
}

bool CExtListCtrl::OnEraseBackground(WPARAM w, LPARAM, LRESULT& result)
{
    const HDC dc = reinterpret_cast<HDC>(w);
    RECT clip{};
    const int count = GetItemCount();
    if (count == 0 || GetClipBox(dc, &clip) == ERROR)
        return false;

    const int top = GetTopIndex();
    const int last = std::min(top + GetCountPerPage(), count - 1);
    RECT first{}, final{};
    GetSubItemRect(top, 0, LVIR_BOUNDS, &first);
    GetSubItemRect(last, 0, LVIR_BOUNDS, &final);
    FillSolid(dc, RECT{clip.left, clip.top, clip.right, first.top}, colors_.window);
    FillSolid(dc, RECT{clip.left, final.bottom, clip.right, clip.bottom}, colors_.window);
    FillSolid(dc, RECT{first.right, first.top, clip.right, final.bottom}, colors_.window);
    result = TRUE;
    return true;
}

bool CExtListCtrl::OnSysColorChange(WPARAM w, LPARAM l, LRESULT& result)
{
    result = DefaultProc(WM_SYSCOLORCHANGE, w, l);
    LoadSystemColors();
    // The list view does not pass it on, and the header caches colours of its own.
    if (HWND header = GetHeader())
        ::SendMessageW(header, WM_SYSCOLORCHANGE, w, l);
    return true;
}

bool CExtListCtrl::ChangeColumns(UINT message, WPARAM w, LPARAM l, LRESULT& result)
{
    result = DefaultProc(message, w, l);
    columnCount_ = -1;
    return true;
}

bool CExtListCtrl::OnInsertColumnW(WPARAM w, LPARAM l, LRESULT& result)
{
    ChangeColumns(LVM_INSERTCOLUMNW, w, l, result);
    if (l)
        KeepCellAlignment(static_cast<int>(result), *reinterpret_cast<const LVCOLUMNW*>(l));
    return true;
}

bool CExtListCtrl::OnInsertColumnA(WPARAM w, LPARAM l, LRESULT& result)
{
    ChangeColumns(LVM_INSERTCOLUMNA, w, l, result);
    if (l) {
        // The fields read are laid out alike in both forms.
        const auto& inserted = *reinterpret_cast<const LVCOLUMNA*>(l);
        LVCOLUMNW column{};
        column.mask = inserted.mask;
        column.fmt = inserted.fmt;
        KeepCellAlignment(static_cast<int>(result), column);
    }
    return true;
}

bool CExtListCtrl::OnDeleteColumn(WPARAM w, LPARAM l, LRESULT& result)
{
    ChangeColumns(LVM_DELETECOLUMN, w, l, result);
    if (result && w < cellAlignments_.size())
        cellAlignments_.erase(cellAlignments_.begin() + static_cast<std::ptrdiff_t>(w));
    return true;
}

bool CExtListCtrl::OnSetRedraw(WPARAM w, LPARAM, LRESULT&)
{
    redrawSuspended_ = !w;
    return false;  // the list view's own handling follows
}

bool CExtListCtrl::OnDestroy(WPARAM, LPARAM, LRESULT&)
{
    if (tip_)
        ::DestroyWindow(tip_);
    tip_ = nullptr;
    headerSubclassed_ = false;
    ReleaseAllCells();
    return false;  // the list view's own handling follows
}

// ---- Painted columns, added menu items and cell tooltips --------------------

void CExtListCtrl::SetColumnPainter(int subItem, CellPainter painter)
{
    if (subItem < 0)
        return;
    if (painters_.size() <= static_cast<std::size_t>(subItem))
        painters_.resize(static_cast<std::size_t>(subItem) + 1);
    painters_[static_cast<std::size_t>(subItem)] = std::move(painter);
}

bool CExtListCtrl::PaintCell(HDC dc, int item, int subItem, RECT rect, COLORREF text, COLORREF back) const
{
    if (subItem < 0 || static_cast<std::size_t>(subItem) >= painters_.size() || !painters_[static_cast<std::size_t>(subItem)])
        return false;
    if (IsRectEmpty(&rect))
        return true;
    ApplySelectionColors(item, subItem, text, back);
    FillSolid(dc, rect, back);
    painters_[static_cast<std::size_t>(subItem)](dc, item, rect, text, back);
    return true;
}

COLORREF CExtListCtrl::GetCellBackColor(int item, int subItem) const
{
    const ListCellData* cell = Cell(item, subItem);
    return cell ? cell->backColor : colors_.window;
}

void CExtListCtrl::SetContextMenuAdder(ContextMenuAdder add, AddedMenuCallback picked)
{
    menuAdder_ = std::move(add);
    addedMenuPicked_ = std::move(picked);
}

void CExtListCtrl::SetCellTips(CellTip tip)
{
    cellTip_ = std::move(tip);
    if (tip_ || !cellTip_)
        return;
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, nullptr, nullptr);
    if (!tip_)
        return;
    // One tool, the whole list: its words are asked for when it shows,
    // and it is hidden whenever the mouse reaches another cell.
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    // The list relays its mouse moves itself: a subclass of the tooltip's
    // would stand between the list and every message it gets.
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = m_hWnd;
    tool.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    ::SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, scale_(480));
}

bool CExtListCtrl::OnMouseMove(WPARAM w, LPARAM l, LRESULT&)
{
    if (!tip_)
        return false;
    LVHITTESTINFO hit{};
    hit.pt = POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
    SubItemHitTest(&hit);
    const POINT cell{hit.iItem >= 0 ? hit.iSubItem : -1, hit.iItem};
    if (cell.x != tipCell_.x || cell.y != tipCell_.y) {
        tipCell_ = cell;
        ::SendMessageW(tip_, TTM_POP, 0, 0);
    }
    MSG relayed{m_hWnd, WM_MOUSEMOVE, w, l, 0, {}};
    ::SendMessageW(tip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    return false;  // the list view's own handling follows
}

bool CExtListCtrl::OnNotify(WPARAM, LPARAM l, LRESULT& result)
{
    auto* header = reinterpret_cast<NMHDR*>(l);
    if (!tip_ || header->hwndFrom != tip_ || header->code != TTN_GETDISPINFOW)
        return false;
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(l);
    tipText_ = tipCell_.y >= 0 && cellTip_ ? cellTip_(tipCell_.y, tipCell_.x) : std::wstring();
    info->lpszText = tipText_.empty() ? nullptr : tipText_.data();
    info->hinst = nullptr;
    result = 0;
    return true;
}
