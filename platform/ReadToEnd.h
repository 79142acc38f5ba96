#pragma once
// Reading a whole file, the same on every system: the size the system
// reports is only a hint, the file is read to its end, never past a limit.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

enum class ReadToEndResult { Done, TooLarge, Failed };

// `readSome(buffer, room)` reads up to `room` bytes and returns how many,
// 0 at the end of the file, or -1 on failure. `bytes` may hold anything on
// entry, and is empty unless Done.
template <typename ReadSome>
ReadToEndResult ReadToEnd(ReadSome readSome, std::uint64_t sizeHint, std::size_t maxBytes, std::vector<unsigned char>& bytes)
{
    if (sizeHint > maxBytes) {
        bytes.clear();
        return ReadToEndResult::TooLarge;
    }
    // Grown, never cleared first: a buffer reused for many files is then
    // not filled with zeros again for each one.
    if (bytes.size() <= sizeHint)
        bytes.resize(static_cast<std::size_t>(sizeHint) + 1);  // one more, to see the end
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > maxBytes) {
                bytes.clear();
                return ReadToEndResult::TooLarge;
            }
            bytes.resize(std::min(bytes.size() * 2, maxBytes + 1));
        }
        const long long got = readSome(bytes.data() + filled, bytes.size() - filled);
        if (got < 0) {
            bytes.clear();
            return ReadToEndResult::Failed;
        }
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return ReadToEndResult::Done;
}

}  // namespace platform
