#pragma once
// The folder picker's history: most recent first, no two entries equal but
// for letter case, at most `limit` entries, kept in a profile section under
// numbered keys (Folder0000, Folder0001, ...) and the last current text
// under the key prefix itself.

#include <functional>
#include <string>
#include <vector>

#include "platform/Profile.h"

namespace folder {

class FolderHistory {
public:
    using ExistsCheck = std::function<bool(const std::wstring& path)>;

    // `exists`, when given, drops the entries it refuses while reading.
    FolderHistory(platform::Profile& profile, ExistsCheck exists, int limit = 50);

    // Fills the list from the profile and returns the text the edit field
    // shows afterwards: the stored current text (as its entry's spelling
    // when it is one of the entries), or empty.
    std::wstring ReadHistory(const std::wstring& section, const std::wstring& keyPrefix);
    // Trimmed text on top; an equal entry further down goes; the oldest
    // beyond the limit go.
    void PushHistoryItem(const std::wstring& text);
    // Pushes the edit field's text, writes the list, deletes stale keys and
    // stores the (untrimmed) text as the current text.
    void WriteHistory(const std::wstring& editText);

    const std::vector<std::wstring>& items() const { return items_; }

    static std::wstring Key(const std::wstring& prefix, int index);

private:
    platform::Profile& profile_;
    ExistsCheck exists_;
    int limit_;
    std::wstring section_, keyPrefix_;
    std::vector<std::wstring> items_;
};

// Equal but for letter case, as the system compares names (platform/LetterCase.h).
bool EqualIgnoringCase(const std::wstring& a, const std::wstring& b);
std::wstring Trim(const std::wstring& text);

}  // namespace folder
