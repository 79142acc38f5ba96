#pragma once
// A hash table from a folder's number and a name's bytes to an entry with
// the caller's value, made for the conflict check's million lookups: open
// addressing kept at most three quarters full, every name in one buffer, entries
// small (their hashes are worked out again when the table grows), and
// lookups that can be fetched ahead of time, so that their cache misses
// overlap.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "platform/LargeMemory.h"

namespace mods {

inline constexpr std::uint32_t kNoEntry = 0xFFFFFFFF;

template <class Value>
class NameTable {
public:
    static constexpr std::uint32_t kNone = kNoEntry;

    struct Entry {
        std::uint32_t nameAt = 0;  // in the table's names
        std::uint32_t nameBytes = 0;
        std::uint32_t folder = 0;
        [[no_unique_address]] Value value{};  // the caller's
    };

    NameTable() : slots_(1024) {}

    static std::uint64_t HashOf(std::uint32_t folder, std::string_view name)
    {
        std::uint64_t hash = HashStart(folder, name.size());
        std::size_t at = 0;
        for (; at + 8 <= name.size(); at += 8)
            hash = HashStep(hash, Word(name.data() + at));
        return HashEnd(HashStep(hash, Tail(name.data() + at, name.size() - at)));
    }
    // HashOf in steps, for a caller that makes the name's words itself:
    // each whole word of eight bytes, in the machine's own order, then the
    // rest (none or fewer than eight, zeros after them) as one more.
    static std::uint64_t HashStart(std::uint32_t folder, std::size_t bytes)
    {
        return (folder + 1) * 0xC2B2AE3D27D4EB4Full ^ bytes;
    }
    static std::uint64_t HashStep(std::uint64_t hash, std::uint64_t word)
    {
        // The words' products do not wait for each other; only the rotation does.
        constexpr std::uint64_t kOdd = 0x9E3779B97F4A7C15ull;
        return Rotated(hash) ^ (word * kOdd);
    }
    static std::uint64_t HashEnd(std::uint64_t hash)
    {
        hash ^= hash >> 33;
        hash *= 0xFF51AFD7ED558CCDull;
        return hash ^ (hash >> 33);
    }

    // The entry of that folder and name (whose hash is `hash`), added with
    // a value-initialised value when it is new. Throws std::bad_alloc when
    // the table cannot number more entries or names.
    std::uint32_t Find(std::uint64_t hash, std::uint32_t folder, std::string_view name)
    {
        const auto tag = static_cast<std::uint32_t>(hash >> 32);
        std::size_t slot = SlotOf(hash);
        for (; slots_[slot].entry != kNone; slot = (slot + 1) & (slots_.size() - 1)) {
            const Entry& entry = entries_[slots_[slot].entry];
            if (slots_[slot].tag == tag && entry.folder == folder && entry.nameBytes == name.size() &&
                SameBytes(names_.data() + entry.nameAt, name.data(), name.size()))
                return slots_[slot].entry;
        }
        if (entries_.size() >= kNone - 1 || name.size() > kNone - names_.size())
            throw std::bad_alloc();
        const auto index = static_cast<std::uint32_t>(entries_.size());
        slots_[slot] = Slot{index, tag};
        platform::MakeRoom(entries_, 1);
        platform::MakeRoom(names_, name.size());
        entries_.push_back(Entry{static_cast<std::uint32_t>(names_.size()), static_cast<std::uint32_t>(name.size()), folder, {}});
        names_.insert(names_.end(), name.begin(), name.end());
        if (4 * entries_.size() > 3 * slots_.size())
            Grow();
        return index;
    }

    Entry& operator[](std::uint32_t entry) { return entries_[entry]; }
    const Entry& operator[](std::uint32_t entry) const { return entries_[entry]; }
    std::string_view NameOf(const Entry& entry) const { return {names_.data() + entry.nameAt, entry.nameBytes}; }
    std::uint32_t size() const { return static_cast<std::uint32_t>(entries_.size()); }
    // The room past the entries and names is given back until it is needed.
    void Trim()
    {
        entries_.get_allocator().discard(entries_.data(), entries_.size(), entries_.capacity());
        names_.get_allocator().discard(names_.data(), names_.size(), names_.capacity());
    }

    // A lookup fetched ahead comes in steps, each reading what the one
    // before fetched: the slot, then its entry, then through Candidate (the
    // entry a lookup will most likely find) whatever the caller reads next.
    void PrefetchSlot(std::uint64_t hash) const { Prefetch(&slots_[SlotOf(hash)]); }
    void PrefetchEntry(std::uint64_t hash) const
    {
        if (const Slot& slot = slots_[SlotOf(hash)]; slot.entry != kNone)
            Prefetch(&entries_[slot.entry]);
    }
    const Entry* Candidate(std::uint64_t hash) const
    {
        const Slot& slot = slots_[SlotOf(hash)];
        return slot.entry != kNone ? &entries_[slot.entry] : nullptr;
    }
    void PrefetchName(const Entry& entry) const { Prefetch(names_.data() + entry.nameAt); }

    static void Prefetch(const void* address)
    {
#if defined(__GNUC__) || defined(__clang__)
        __builtin_prefetch(address);
#else
        (void)address;
#endif
    }

private:
    struct Slot {
        std::uint32_t entry = kNone;
        std::uint32_t tag = 0;  // the hash's high half, to pass over most others unread
    };

    static std::uint64_t Rotated(std::uint64_t hash) { return (hash << 23) | (hash >> 41); }
    // Eight bytes as a number, in the machine's own order: the hash only has
    // to agree with itself.
    static std::uint64_t Word(const char* bytes)
    {
        std::uint64_t word;
        std::memcpy(&word, bytes, 8);
        return word;
    }
    // Fewer than eight, gathered in registers: a short copy through memory
    // would stall the load that follows it.
    static std::uint64_t Tail(const char* bytes, std::size_t count)
    {
        std::uint64_t word = 0;
        for (std::size_t i = 0; i < count; ++i)
            word |= std::uint64_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
        return word;
    }
    static bool SameBytes(const char* a, const char* b, std::size_t count)
    {
        for (; count >= 8; count -= 8, a += 8, b += 8)
            if (Word(a) != Word(b))
                return false;
        for (; count > 0; --count)
            if (*a++ != *b++)
                return false;
        return true;
    }

    std::size_t SlotOf(std::uint64_t hash) const { return static_cast<std::size_t>(hash) & (slots_.size() - 1); }

    void Grow()
    {
        slots_.assign(2 * slots_.size(), Slot{});
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            const std::uint64_t hash = HashOf(entries_[i].folder, NameOf(entries_[i]));
            std::size_t slot = SlotOf(hash);
            while (slots_[slot].entry != kNone)
                slot = (slot + 1) & (slots_.size() - 1);
            slots_[slot] = Slot{static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(hash >> 32)};
        }
    }

    template <class T>
    using Array = std::vector<T, platform::LargeAllocator<T>>;
    Array<Slot> slots_;
    Array<Entry> entries_;
    Array<char> names_;
};

}  // namespace mods
