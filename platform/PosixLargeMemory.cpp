#include "platform/LargeMemory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace platform {
namespace {

// Linux backs a range with huge pages only where it covers whole aligned ones.
constexpr std::size_t kHugePage = kLargePageBytes;

std::size_t Rounded(std::size_t bytes) { return (bytes + kHugePage - 1) & ~(kHugePage - 1); }

}  // namespace

void* AllocateLarge(std::size_t bytes)
{
    if (bytes > static_cast<std::size_t>(-1) - 2 * kHugePage)
        throw std::bad_alloc();
    const std::size_t size = Rounded(bytes);
    // Mapped one huge page larger, so that an aligned start can be cut out of it.
    void* mapped = mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~std::uintptr_t{kHugePage - 1};
    if (aligned > start)
        munmap(mapped, aligned - start);
    if (const std::size_t after = kHugePage - (aligned - start); after > 0)
        munmap(reinterpret_cast<void*>(aligned + size), after);
#ifdef MADV_HUGEPAGE
    madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);  // a hint: without it, small pages
#endif
    return reinterpret_cast<void*>(aligned);
}

void FreeLarge(void* memory, std::size_t bytes) noexcept
{
    if (memory)
        munmap(memory, Rounded(bytes));
}

void DiscardLarge(void* memory, std::size_t bytes) noexcept
{
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(memory);
    const std::uintptr_t from = (start + page - 1) & ~(page - 1), to = (start + bytes) & ~(page - 1);
    if (from < to)
        madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);  // read again, they are zeros
}

}  // namespace platform
