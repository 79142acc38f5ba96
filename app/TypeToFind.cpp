#include "app/TypeToFind.h"

#include "platform/LetterCase.h"

std::optional<int> TypeToFind::Type(wchar_t typed, std::uint32_t time, int focused, int count,
                                    const std::function<const std::wstring&(int row)>& nameOf)
{
    if (time - lastTypedAt_ > kPauseMs)
        typed_.clear();
    lastTypedAt_ = time;
    typed_ += typed;
    const std::wstring prefix = platform::FoldedCase(typed_);

    const int first = typed_.size() == 1 ? focused + 1 : (focused < 0 ? 0 : focused);
    for (int i = 0; i < count; ++i) {
        const int row = ((first < 0 ? 0 : first) + i) % count;
        if (platform::FoldedCase(nameOf(row)).rfind(prefix, 0) == 0)
            return row;
    }
    return std::nullopt;
}
