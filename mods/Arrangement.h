#pragma once
// The list's working state between reads of the folder: the mods in the
// order shown, which of them were moved and not yet written, and the steps
// that take the moves back. The window draws it; every edit happens here.

#include <optional>
#include <string>
#include <vector>

#include "base/FileTime.h"
#include "mods/ModCatalogue.h"
#include "mods/ModTime.h"
#include "mods/Reorder.h"

namespace mods {

struct ArrangedMod {
    std::wstring name;    // the pak's name on disk
    FileTime time = 0;    // its last-write time, as last read
    bool marked = false;  // moved since the last read, waiting for the smart sort
};

class Arrangement {
public:
    // The folder as read: load order, nothing marked, no moves to take back.
    void Reset(const std::vector<ModEntry>& catalogue);

    const std::vector<ArrangedMod>& Rows() const { return rows_; }
    int MarkedCount() const;
    bool HasUnwrittenMoves() const { return MarkedCount() > 0; }

    // Moves the selected rows (ascending) as one block and marks them. The
    // block's first row afterwards, or empty when the command moves nothing.
    std::optional<int> Move(const std::vector<int>& selected, ReorderCommand command);
    // The same for rows dragged to land before row `insertBefore` (the row
    // count: after the last).
    std::optional<int> MoveBefore(const std::vector<int>& selected, int insertBefore);
    // The same with the block's first row afterwards given: `target` counts
    // the rows left above it.
    std::optional<int> MoveTo(const std::vector<int>& selected, int target);
    // The same right before (or after) the row `anchor`, which is not one of
    // the selected rows.
    std::optional<int> MoveNextTo(const std::vector<int>& selected, int anchor, bool after);
    // Puts the rows in a new order, row i afterwards being row order[i] of
    // now (a permutation), and marks the rows whose place changed; one step
    // for UndoMove. The rows marked by it, ascending.
    std::vector<int> Rearrange(const std::vector<int>& order);
    // Puts the rows and marks back as they were before the last move; the
    // block's rows afterwards, or empty when no move is left to take back.
    std::optional<std::vector<int>> UndoMove();
    bool CanUndoMove() const { return !moves_.empty(); }

    // Follows a new read of the folder and keeps the arrangement: rows still
    // there keep their places and marks, rows gone are dropped, and new rows
    // and the `retimed` ones go where their times put them among the unmarked
    // rows (a retimed row loses its mark: its time now says where it loads).
    // Moves before it can no longer be taken back.
    void Follow(const std::vector<ModEntry>& catalogue, const std::vector<std::wstring>& retimed);

    // A mod renamed in place (enabled or disabled): same row, same mark,
    // and the new name in the steps that take moves back.
    void Rename(const std::wstring& name, const std::wstring& newName);

    // The rows as the smart sort takes them, and the names of the marked ones.
    std::vector<ListedMod> Listed() const;
    std::vector<std::wstring> MarkedNames() const;

    // True when the folder holds exactly the mods shown, each with the time
    // last read: nothing changed outside the program.
    bool Matches(const std::vector<ModEntry>& catalogue) const;

private:
    // What a move did, to take it back: where the block came from and went;
    // for a rearrangement, the rows before it and the rows it moved.
    struct MoveStep {
        std::vector<int> from;
        int target = 0;
        std::vector<bool> wasMarked;
        std::vector<ArrangedMod> rowsBefore;
    };
    void PushStep(MoveStep step);

    std::vector<ArrangedMod> rows_;
    std::vector<MoveStep> moves_;
};

}  // namespace mods
