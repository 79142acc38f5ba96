#include "platform/LargeMemory.h"

#include <windows.h>

#include <cstdint>

namespace platform {

// Windows gives large pages only to a process holding the right to lock
// memory, which this one does not ask for: committed pages, faulted in as
// they are first touched.
void* AllocateLarge(std::size_t bytes)
{
    void* memory = VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (!memory)
        throw std::bad_alloc();
    return memory;
}

void FreeLarge(void* memory, std::size_t) noexcept
{
    if (memory)
        VirtualFree(memory, 0, MEM_RELEASE);
}

void DiscardLarge(void* memory, std::size_t bytes) noexcept
{
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    const auto page = static_cast<std::uintptr_t>(system.dwPageSize);
    const auto start = reinterpret_cast<std::uintptr_t>(memory);
    const std::uintptr_t from = (start + page - 1) & ~(page - 1), to = (start + bytes) & ~(page - 1);
    // Reset pages stay committed, so that they may be written again; taken
    // out of the working set, they cost no memory until then.
    if (from < to && VirtualAlloc(reinterpret_cast<void*>(from), to - from, MEM_RESET, PAGE_READWRITE))
        VirtualUnlock(reinterpret_cast<void*>(from), to - from);
}

}  // namespace platform
