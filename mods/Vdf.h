#pragma once
// Valve's KeyValues text, in which Steam keeps its library folders
// (steamapps/libraryfolders.vdf) and what it installed (appmanifest_*.acf):
// quoted or bare keys, each followed by a value or a section in braces;
// "//" comments; conditions such as [$WIN32] after a value. The bytes come
// from disk and are not trusted: anything out of form is refused whole.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mods {

struct VdfNode {
    std::string key;                // UTF-8, escapes resolved
    std::string value;              // a value's text; empty for a section
    bool isSection = false;
    std::vector<VdfNode> children;  // a section's pairs, in order
};

// Deeper nesting than any Steam file has is refused.
inline constexpr int kMaxVdfDepth = 32;

// The top-level pairs; empty when the text is out of form (an unclosed
// quote or section, a brace out of place, a key without a value, nesting
// past kMaxVdfDepth). Time in proportion to the text; never reads past it.
std::optional<std::vector<VdfNode>> ParseVdf(std::string_view text);

// The first pair of that key, compared without regard to ASCII case, as Steam does.
const VdfNode* FindVdfKey(const std::vector<VdfNode>& pairs, std::string_view key);

}  // namespace mods
