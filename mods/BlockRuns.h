#pragma once
// Many arrays of one kind, one per mod, kept end to end in a few large
// blocks rather than in a heap allocation each: the conflict index holds a
// million files this way in a dozen blocks of large pages. An array is
// named by where it lies, which stays true when the store is copied.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/LargeMemory.h"

namespace mods {

template <class T>
class BlockRuns {
public:
    struct Run {
        std::size_t block = 0, at = 0, size = 0;
    };

    // The run being added: the items pushed since the last Close or Drop.
    void Push(const T& item)
    {
        if (blocks_.empty() || blocks_.back().size() == blocks_.back().capacity())
            NewBlock();
        blocks_.back().push_back(item);
    }
    std::span<T> Open() { return blocks_.empty() ? std::span<T>() : std::span<T>(blocks_.back()).subspan(openAt_); }
    // Keeps the first `size` items of the open run.
    void Shorten(std::size_t size) { blocks_.back().resize(openAt_ + size); }
    // Keeps the open run; a new one opens.
    Run Close()
    {
        if (blocks_.empty())
            return {};
        const Run run{blocks_.size() - 1, openAt_, blocks_.back().size() - openAt_};
        openAt_ = blocks_.back().size();
        live_ += run.size;
        return run;
    }
    void Drop()
    {
        if (!blocks_.empty())
            Shorten(0);
    }
    // The run's room is not used again, only counted.
    void Free(const Run& run)
    {
        live_ -= run.size;
        dead_ += run.size;
    }
    // The room left in the last block is given back until it is needed:
    // a store done growing for now holds no more than its items' pages.
    void Trim()
    {
        if (!blocks_.empty())
            blocks_.back().get_allocator().discard(blocks_.back().data(), blocks_.back().size(), blocks_.back().capacity());
    }
    std::span<const T> operator[](const Run& run) const
    {
        return run.size == 0 ? std::span<const T>() : std::span<const T>(blocks_[run.block]).subspan(run.at, run.size);
    }
    std::size_t Live() const { return live_; }
    std::size_t Dead() const { return dead_; }

private:
    using Block = std::vector<T, platform::LargeAllocator<T>>;
    // A small first block, for an index of a few mods; then blocks of one
    // large page, or twice the open run, which moves there: a run is never split.
    static constexpr std::size_t kFirstItems = (64u << 10) / sizeof(T);
    static constexpr std::size_t kBlockItems = platform::kLargePageBytes / sizeof(T);

    void NewBlock()
    {
        const std::size_t open = blocks_.empty() ? 0 : blocks_.back().size() - openAt_;
        Block block;
        block.reserve(std::max(blocks_.empty() ? kFirstItems : kBlockItems, 2 * open));
        if (open > 0) {
            block.assign(blocks_.back().begin() + static_cast<std::ptrdiff_t>(openAt_), blocks_.back().end());
            Shorten(0);
            if (blocks_.back().empty())
                blocks_.pop_back();
        }
        blocks_.push_back(std::move(block));
        openAt_ = 0;
    }

    std::vector<Block> blocks_;
    std::size_t openAt_ = 0;  // in the last block
    std::size_t live_ = 0, dead_ = 0;
};

}  // namespace mods
