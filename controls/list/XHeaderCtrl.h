#pragma once
// The mod list's column header, painted flat and double-buffered in the
// system's button colours. A double click acts as a second single press.

#include <windows.h>

#include "framework/Controls.h"
#include "framework/DpiScale.h"
#include "framework/MessageMap.h"
#include "framework/SubclassedWindow.h"

class CXHeaderCtrl : public fw::CHeaderCtrl, public fw::WindowSubclass {
public:
    static constexpr int kItemInset = 6;  // at 96 DPI, as every length here

    CXHeaderCtrl();

    // Takes over a header window the list view created for itself.
    bool Attach(HWND header);
    // The DPI the header is drawn at; it repaints.
    void SetScale(const fw::DpiScale& scale);

protected:
    // Draws one item's caption into its rectangle (already inset).
    virtual void DrawItemContent(HDC dc, const HDITEMW& item, RECT rect) const;

private:
    void DrawHeader(HDC dc) const;
    void LoadColors();

    bool ProcessWindowMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) override;
    bool OnPaint(WPARAM w, LPARAM l, LRESULT& result);
    bool OnEraseBackground(WPARAM w, LPARAM l, LRESULT& result);
    bool OnSysColorChange(WPARAM w, LPARAM l, LRESULT& result);
    bool OnDoubleClick(WPARAM w, LPARAM l, LRESULT& result);

    static const fw::MessageEntry<CXHeaderCtrl> kMessages[];

    fw::DpiScale scale_;
    COLORREF captionColor_;  // read once, at construction
    COLORREF faceColor_ = 0, highlightColor_ = 0, shadowColor_ = 0;
    bool dividers_ = true;
    bool doubleBuffered_ = true;
};
