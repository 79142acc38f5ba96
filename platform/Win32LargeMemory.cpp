#include "platform/LargeMemory.h"

#include <windows.h>

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

}  // namespace platform
