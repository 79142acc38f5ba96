#pragma once
// Type-to-find, as in Explorer: letters typed in quick succession spell the
// start of a name, in any letter case; after a pause typing starts a new
// name. No window in it: the main window asks it which row to go to.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class TypeToFind {
public:
    // After this pause, typing starts a new name.
    static constexpr std::uint32_t kPauseMs = 1000;

    // The row to go to once `typed` is typed at `time` (milliseconds, as
    // GetTickCount counts them, wrapping round), among `count` rows named by
    // `nameOf`, with the focus on row `focused` (-1: none). A first letter
    // moves on to the next row it starts, round to the top; more letters
    // keep the focused row while it still matches. Empty when no name starts so.
    std::optional<int> Type(wchar_t typed, std::uint32_t time, int focused, int count,
                            const std::function<const std::wstring&(int row)>& nameOf);

private:
    std::wstring typed_;
    std::uint32_t lastTypedAt_ = 0;
};
