#pragma once
// The small marks the list draws in a row's conflicts cell: a triangle up
// for a mod that overrides others, down for one overridden, both for both,
// down over a bar for one fully overridden, "?" for one not checked, and
// "=" for a time tied with another's. Drawn as at 96 DPI and scaled.

#include <windows.h>

#include "app/ConflictMarks.h"
#include "framework/DpiScale.h"

// `text`: the cell's text colour, used for every mark when `selected`, so
// that the marks read on the selection's colour.
void DrawConflictGlyphs(HDC dc, const RECT& cell, const RowMark& mark, COLORREF text, bool selected,
                        const fw::DpiScale& scale);
