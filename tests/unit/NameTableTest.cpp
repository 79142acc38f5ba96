#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "mods/NameTable.h"

namespace mods {
namespace {

struct Count {
    std::uint32_t value = 0;
};
using Table = NameTable<Count>;

std::string NameNumbered(std::uint32_t n) { return "FILE_" + std::to_string(n) + (n % 3 == 0 ? ".DAT" : ".LAYOUT"); }

std::uint32_t FindIn(Table& table, std::uint32_t folder, const std::string& name)
{
    return table.Find(Table::HashOf(folder, name), folder, name);
}

// Enough names for the entries and names to grow past several large pages,
// the room past them given back after each batch: every name is found
// again as the entry it made, with its folder, name and value, and a name
// in another folder is another entry.
TEST(NameTable, EveryNameFindsItsEntryAcrossGrowthAndTrims)
{
    constexpr std::uint32_t kNames = 300'000, kBatch = 70'000;
    Table table;
    for (std::uint32_t n = 0; n < kNames; ++n) {
        const std::uint32_t entry = FindIn(table, n % 7, NameNumbered(n));
        ASSERT_EQ(entry, n) << "a new name is the next entry";
        table[entry].value.value = n + 1;
        if (n % kBatch == kBatch - 1)
            table.Trim();
    }
    table.Trim();
    for (std::uint32_t n = 0; n < kNames; ++n) {
        const std::uint32_t entry = FindIn(table, n % 7, NameNumbered(n));
        ASSERT_EQ(entry, n);
        ASSERT_EQ(table.NameOf(table[entry]), NameNumbered(n));
        ASSERT_EQ(table[entry].folder, n % 7);
        ASSERT_EQ(table[entry].value.value, n + 1);
    }
    EXPECT_EQ(FindIn(table, 7, NameNumbered(0)), kNames);
    EXPECT_EQ(table[kNames].value.value, 0u);
    EXPECT_EQ(table.size(), kNames + 1);
}

}  // namespace
}  // namespace mods
