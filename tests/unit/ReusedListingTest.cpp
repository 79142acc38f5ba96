#include <gtest/gtest.h>

#include "platform/ReusedListing.h"
#include "unit/MemoryFileSystem.h"

using testing_files::MemoryFileSystem;

namespace {

std::vector<std::wstring> Names(platform::FileSystem& files, const std::wstring& folder)
{
    std::vector<platform::FolderEntry> entries;
    EXPECT_TRUE(files.ListFolder(folder, entries).ok());
    std::vector<std::wstring> names;
    for (const platform::FolderEntry& entry : entries)
        names.push_back(entry.name);
    return names;
}

using Listed = std::vector<std::wstring>;

TEST(ReusedListing, TheLastListingServesTheNextOfTheSameFolderOnce)
{
    const std::wstring p = platform::JoinPath(platform::JoinPath(L"", L"game"), L"PAKS");
    const std::wstring q = platform::JoinPath(L"", L"other");
    MemoryFileSystem system;
    system.AddFolder(p);
    system.AddFolder(q);
    system.Add(platform::JoinPath(p, L"a.pak"), 1);
    ReusedListing files(system);

    EXPECT_EQ(Names(files, p), Listed{L"a.pak"});
    system.Add(platform::JoinPath(p, L"b.pak"), 2);
    EXPECT_EQ(Names(files, platform::WithTrailingSeparator(p)), Listed{L"a.pak"});  // the same folder
    EXPECT_EQ(Names(files, p), (Listed{L"a.pak", L"b.pak"}));

    // Another folder listed in between, a Forget or a change made through it: listed afresh.
    system.Add(platform::JoinPath(p, L"c.pak"), 3);
    Names(files, q);
    EXPECT_EQ(Names(files, p), (Listed{L"a.pak", L"b.pak", L"c.pak"}));
    files.Forget();
    system.Add(platform::JoinPath(p, L"d.pak"), 4);
    EXPECT_EQ(Names(files, p).size(), 4u);
    EXPECT_TRUE(files.RemoveFile(platform::JoinPath(p, L"a.pak")).ok());
    EXPECT_EQ(Names(files, p), (Listed{L"b.pak", L"c.pak", L"d.pak"}));

    std::vector<platform::FolderEntry> none;
    EXPECT_FALSE(files.ListFolder(platform::JoinPath(p, L"missing"), none).ok());
}

}  // namespace
