#pragma once
// Memory for the core's large arrays, a million entries and more. Asked of
// the system directly from kLargeBytes up, in whole large pages where
// the system offers them: filled for the first time, such an array
// otherwise costs a page fault every 4 KB, which can take longer than
// filling it. Smaller arrays come from the usual heap.

#include <algorithm>
#include <cstddef>
#include <new>

namespace platform {

inline constexpr std::size_t kLargePageBytes = std::size_t{2} << 20;
// Within a small page of a large one: an array of items filling a large
// page as nearly as their size allows is one.
inline constexpr std::size_t kLargeBytes = kLargePageBytes - 4096;

// `bytes` of zeroed memory, whole pages of it; throws std::bad_alloc.
void* AllocateLarge(std::size_t bytes);
// Gives back what AllocateLarge gave for the same `bytes`.
void FreeLarge(void* memory, std::size_t bytes) noexcept;
// Gives the system back the whole pages within [memory, memory + bytes),
// part of what AllocateLarge gave, while they are not needed: what they
// held is lost, and they may be written again at any time.
void DiscardLarge(void* memory, std::size_t bytes) noexcept;

template <class T>
class LargeAllocator {
public:
    using value_type = T;

    LargeAllocator() = default;
    template <class U>
    LargeAllocator(const LargeAllocator<U>&) noexcept
    {
    }

    T* allocate(std::size_t count)
    {
        if (count > static_cast<std::size_t>(-1) / sizeof(T))
            throw std::bad_alloc();
        const std::size_t bytes = count * sizeof(T);
        if (bytes < kLargeBytes)
            return static_cast<T*>(::operator new(bytes));
        return static_cast<T*>(AllocateLarge(bytes));
    }
    void deallocate(T* memory, std::size_t count) noexcept
    {
        const std::size_t bytes = count * sizeof(T);
        if (bytes < kLargeBytes)
            ::operator delete(memory);
        else
            FreeLarge(memory, bytes);
    }

    // The room past the first `used` of `count` items is not needed for now.
    void discard(T* memory, std::size_t used, std::size_t count) noexcept
    {
        if (count * sizeof(T) >= kLargeBytes && used < count)
            DiscardLarge(memory + used, (count - used) * sizeof(T));
    }

    template <class U>
    bool operator==(const LargeAllocator<U>&) const noexcept
    {
        return true;
    }
};

// Room in `array` for `more` items. Past an eighth of a large page it
// grows in whole large pages: faulted in one at a time, and copied less.
template <class Array>
void MakeRoom(Array& array, std::size_t more)
{
    using T = typename Array::value_type;
    constexpr std::size_t kPageItems = kLargePageBytes / sizeof(T);
    const std::size_t needed = array.size() + more;
    if (needed <= array.capacity())
        return;
    if (needed > array.max_size() / 2)
        throw std::bad_alloc();
    std::size_t room = std::max(2 * array.capacity(), needed);
    if (room >= kPageItems / 8)
        room = (room + kPageItems - 1) / kPageItems * kPageItems;
    array.reserve(room);
}

}  // namespace platform
