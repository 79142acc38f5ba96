#pragma once
// Which PAKS folder a run manages: the one named with --folder (a PAKS
// folder or the game's folder); otherwise the first of the places the core
// orders (mods::SearchGamePlaces), the current folder first.

#include <optional>
#include <string>

class ReusedListing;

namespace cli {

struct Context;

// The folder, absolute, ending with one separator; empty, with the message
// that says how to name one in `whyNot`, when none is found.
std::optional<std::wstring> FindPaksFolder(Context& context, ReusedListing& files, const std::optional<std::wstring>& named,
                                           std::wstring& whyNot);

}  // namespace cli
