#include "app/ConflictGlyphs.h"

#include <vector>

#include "base/UniqueHandle.h"

namespace {

constexpr int kSide = 12;  // a mark's box, at 96 DPI
constexpr int kLeft = 6;
constexpr int kGap = 6;

COLORREF MarkColor(mods::ConflictMark mark)
{
    switch (mark) {
    case mods::ConflictMark::Overrides: return RGB(0, 128, 0);
    case mods::ConflictMark::Overridden: return RGB(204, 102, 0);
    case mods::ConflictMark::Both: return RGB(0, 90, 200);
    case mods::ConflictMark::FullyOverridden: return RGB(200, 0, 0);
    default: return RGB(110, 110, 110);
    }
}
constexpr COLORREF kTiedColor = RGB(128, 0, 160);

// Filled polygons and bars in one colour, their points in the box at 96 DPI.
class GlyphPen {
public:
    GlyphPen(HDC dc, POINT origin, COLORREF color, const fw::DpiScale& scale)
        : dc_(dc), origin_(origin), scale_(scale), brush_(CreateSolidBrush(color)), pen_(CreatePen(PS_SOLID, 1, color))
    {
        oldBrush_ = SelectObject(dc_, brush_.get());
        oldPen_ = SelectObject(dc_, pen_.get());
    }
    ~GlyphPen()
    {
        SelectObject(dc_, oldBrush_);
        SelectObject(dc_, oldPen_);
    }
    void Polygon(std::initializer_list<POINT> points)
    {
        std::vector<POINT> scaled;
        for (POINT p : points)
            scaled.push_back(POINT{origin_.x + scale_(p.x), origin_.y + scale_(p.y)});
        ::Polygon(dc_, scaled.data(), static_cast<int>(scaled.size()));
    }
    void Bar(int left, int top, int right, int bottom)
    {
        const RECT r{origin_.x + scale_(left), origin_.y + scale_(top), origin_.x + scale_(right), origin_.y + scale_(bottom)};
        FillRect(dc_, &r, brush_.get());
    }

private:
    HDC dc_;
    POINT origin_;
    const fw::DpiScale& scale_;
    fw::UniqueBrush brush_;
    fw::UniquePen pen_;
    HGDIOBJ oldBrush_, oldPen_;
};

}  // namespace

void DrawConflictGlyphs(HDC dc, const RECT& cell, const RowMark& mark, COLORREF text, bool selected,
                        const fw::DpiScale& scale)
{
    POINT origin{cell.left + scale(kLeft), cell.top + (cell.bottom - cell.top - scale(kSide)) / 2};
    const bool conflict = mark.mark != mods::ConflictMark::None && mark.mark != mods::ConflictMark::Unknown;
    if (conflict) {
        GlyphPen pen(dc, origin, selected ? text : MarkColor(mark.mark), scale);
        switch (mark.mark) {
        case mods::ConflictMark::Overrides:
            pen.Polygon({{0, 11}, {12, 11}, {6, 1}});
            break;
        case mods::ConflictMark::Overridden:
            pen.Polygon({{0, 1}, {12, 1}, {6, 11}});
            break;
        case mods::ConflictMark::Both:
            pen.Polygon({{1, 5}, {11, 5}, {6, 0}});
            pen.Polygon({{1, 7}, {11, 7}, {6, 12}});
            break;
        case mods::ConflictMark::FullyOverridden:
            pen.Polygon({{0, 0}, {12, 0}, {6, 7}});
            pen.Bar(0, 10, 12, 12);
            break;
        default: {  // not checked
            RECT box{origin.x, origin.y - scale(2), origin.x + scale(kSide), origin.y + scale(kSide + 2)};
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, selected ? text : MarkColor(mark.mark));
            DrawTextW(dc, L"?", 1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            break;
        }
        }
        origin.x += scale(kSide + kGap);
    }
    if (mark.tied) {
        GlyphPen pen(dc, origin, selected ? text : kTiedColor, scale);
        pen.Bar(1, 3, 11, 5);
        pen.Bar(1, 7, 11, 9);
    }
}
