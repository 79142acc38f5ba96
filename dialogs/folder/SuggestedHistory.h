#pragma once
// The picker's history with folders put on top of it: the game's PAKS
// folders found where it is installed. What the picker writes goes to the
// history itself; nothing is written by merely showing the suggestions.

#include <algorithm>
#include <string>
#include <vector>

#include "dialogs/folder/FolderHistory.h"
#include "platform/Profile.h"

class SuggestedHistory final : public platform::Profile {
public:
    SuggestedHistory(platform::Profile& history, std::wstring section, std::wstring keyPrefix,
                     std::vector<std::wstring> suggestions)
        : history_(history), section_(std::move(section)), keyPrefix_(std::move(keyPrefix)),
          suggestions_(std::move(suggestions))
    {
    }

    std::wstring Read(const std::wstring& section, const std::wstring& key) override
    {
        if (section != section_ || suggestions_.empty())
            return history_.Read(section, key);
        if (key == keyPrefix_)
            return suggestions_.front();  // the text the picker opens with
        const std::vector<std::wstring>& entries = Entries();
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (key == folder::FolderHistory::Key(keyPrefix_, static_cast<int>(i)))
                return entries[i];
        return {};
    }
    void Write(const std::wstring& section, const std::wstring& key, const std::wstring& value) override
    {
        history_.Write(section, key, value);
    }
    void Delete(const std::wstring& section, const std::wstring& key) override { history_.Delete(section, key); }

private:
    // The suggestions, then the history's own entries that are not among them.
    const std::vector<std::wstring>& Entries()
    {
        if (!merged_.empty())
            return merged_;
        merged_ = suggestions_;
        for (int i = 0; i < kMostEntries; ++i) {
            const std::wstring entry = history_.Read(section_, folder::FolderHistory::Key(keyPrefix_, i));
            if (entry.empty())
                break;
            if (std::none_of(merged_.begin(), merged_.end(),
                             [&](const std::wstring& shown) { return folder::EqualIgnoringCase(shown, entry); }))
                merged_.push_back(entry);
        }
        return merged_;
    }

    static constexpr int kMostEntries = 1000;  // far above the picker's own limit

    platform::Profile& history_;
    std::wstring section_, keyPrefix_;
    std::vector<std::wstring> suggestions_;
    std::vector<std::wstring> merged_;
};
