#include "dialogs/folder/FolderHistory.h"

#include <algorithm>
#include <cwctype>

#include "platform/LetterCase.h"

namespace folder {
namespace {

constexpr int kMaxStaleKeys = 1000;

}  // namespace

bool EqualIgnoringCase(const std::wstring& a, const std::wstring& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return platform::UpperCaseOf(x) == platform::UpperCaseOf(y);
           });
}

std::wstring Trim(const std::wstring& text)
{
    const auto isSpace = [](wchar_t c) { return std::iswspace(static_cast<std::wint_t>(c)) != 0; };
    const auto first = std::find_if_not(text.begin(), text.end(), isSpace);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isSpace).base();
    return first < last ? std::wstring(first, last) : std::wstring();
}

FolderHistory::FolderHistory(platform::Profile& profile, ExistsCheck exists, int limit)
    : profile_(profile), exists_(std::move(exists)), limit_(limit)
{
}

std::wstring FolderHistory::Key(const std::wstring& prefix, int index)
{
    std::wstring digits = std::to_wstring(index);
    if (digits.size() < 4)
        digits.insert(0, 4 - digits.size(), L'0');
    return prefix + digits;
}

std::wstring FolderHistory::ReadHistory(const std::wstring& section, const std::wstring& keyPrefix)
{
    section_ = section;
    keyPrefix_ = keyPrefix;
    items_.clear();
    // Entries whose folder is gone are skipped but still count towards the limit.
    for (int i = 0; i < limit_; ++i) {
        const std::wstring value = profile_.Read(section_, Key(keyPrefix_, i));
        if (value.empty())
            break;
        if (!exists_ || exists_(value))
            items_.push_back(value);
    }

    const std::wstring current = profile_.Read(section_, keyPrefix_);
    const auto entry = std::find_if(items_.begin(), items_.end(),
                                    [&](const std::wstring& item) { return EqualIgnoringCase(item, current); });
    return current.empty() || entry == items_.end() ? current : *entry;
}

void FolderHistory::PushHistoryItem(const std::wstring& text)
{
    const std::wstring trimmed = Trim(text);
    if (trimmed.empty())
        return;
    const auto equal = [&](const std::wstring& item) { return EqualIgnoringCase(item, trimmed); };
    items_.erase(std::remove_if(items_.begin(), items_.end(), equal), items_.end());
    items_.insert(items_.begin(), trimmed);
    if (static_cast<int>(items_.size()) > limit_)
        items_.resize(static_cast<std::size_t>(limit_));
}

void FolderHistory::WriteHistory(const std::wstring& editText)
{
    PushHistoryItem(editText);
    const int count = std::min(static_cast<int>(items_.size()), limit_ + 1);
    for (int j = 0; j < count; ++j)
        profile_.Write(section_, Key(keyPrefix_, j), items_[static_cast<std::size_t>(j)]);
    // Keys left from a longer history, up to the first gap.
    for (int i = count; i < kMaxStaleKeys; ++i) {
        const std::wstring key = Key(keyPrefix_, i);
        if (profile_.Read(section_, key).empty())
            break;
        profile_.Delete(section_, key);
    }
    profile_.Write(section_, keyPrefix_, editText);
}

}  // namespace folder
