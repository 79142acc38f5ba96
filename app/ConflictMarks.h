#pragma once
// What the mod list shows of each row's conflicts, with no window in it:
// the row's mark and whether its time is tied with another's, in words for
// the tooltip and for a screen reader; the colours rows take when one row
// is selected; and the line that tells the focused row's contents.

#include <cstddef>
#include <string>
#include <vector>

#include "mods/Arrangement.h"
#include "mods/ConflictIndex.h"

struct RowMark {
    mods::ConflictMark mark = mods::ConflictMark::None;
    bool tied = false;   // an enabled mod with the same time as another: the game's order is undefined
    std::wstring words;  // the marks said, empty without any

    bool operator==(const RowMark&) const = default;
};

// The marks of the rows. Without an analysis (not ready yet) only the tied
// times are known; `relations` are AllRelations of the analysis.
std::vector<RowMark> MarksOfRows(const std::vector<mods::ArrangedMod>& rows, const mods::ConflictAnalysis* analysis,
                                 const std::vector<mods::ModRelations>& relations);

enum class RowLight {
    None,
    Overridden,  // the selected row overrides it
    Overriding,  // it overrides the selected row
};

// The rows lit while `selected` is the one row selected; intended pairs are not lit.
std::vector<RowLight> LightsOf(std::size_t rowCount, std::size_t selected, const std::vector<mods::ModRelations>& relations);

// The related pairs of a row the player may mark as intended, or take back:
// (overriding row, overridden row, intended now).
struct RelatedPair {
    std::size_t overriding = 0, overridden = 0;
    bool intended = false;
};
std::vector<RelatedPair> PairsOf(std::size_t row, const mods::ModRelations& relations);

// The focused row at a glance: its pak's size, its manifest's files, the
// folders holding them and the mods it overrides and is overridden by.
std::wstring DetailsOf(const std::vector<mods::ArrangedMod>& rows, std::size_t row, unsigned long long pakBytes,
                       const mods::RowConflicts& conflicts, const std::vector<std::wstring>& folders,
                       const mods::ModRelations& relations);
