#include <gtest/gtest.h>

#include "mods/Manifest.h"
#include "unit/ManifestBytes.h"

using namespace mods;
using namespace testing_files;

namespace {

const std::vector<ManifestFolderToWrite> kSample = {
    {u"MEDIA/", {{u"UNITS/", 0, 0, 0, 7}, {u"README.TXT"}}},
    {u"MEDIA/UNITS/ITEMS/", {{u"SWORD.DAT", 0xAAAA, 10}, {u"", 1, 1}, {u"OLD.DAT", 2, 2, 0}, {u"GONE/", 0, 0, 0, 18}}},
    {u"MEDIA/火炬/", {{u"Ж名.LAYOUT", 7, 70}, {u"𝄞.DAT", 8, 80}, {std::u16string{0xD800, u'X'}, 9, 90}}},
    // Each folder rule on its own: the type without a trailing separator, a trailing separator on a file's type.
    {u"MEDIA/RULES/", {{u"SOUNDS", 0, 0, 64, 7}, {u"OLDSOUNDS", 0, 0, 0, 18}, {u"MUSIC/", 3, 3}, {u"VOICES\\", 3, 3}}},
    // A lone high surrogate at the end, before an offset whose first unit is a low one; one before U+E000.
    {u"MEDIA/EDGE/", {{std::u16string{u'A', 0xD800}, 4, 4, 0xDC00}, {std::u16string{0xD800, 0xE000}, 5, 5}}},
};

std::vector<std::wstring> Paths(const Manifest& manifest)
{
    std::vector<std::wstring> paths;
    for (const ManifestEntry& entry : manifest.entries)
        paths.push_back(EntryPath(manifest, entry) + (entry.removed ? L" (removed)" : L""));
    return paths;
}

TEST(Manifest, FilesOfEveryFolderWithRemovedOnesMarked)
{
    const std::vector<std::wstring> expected = {L"MEDIA/README.TXT", L"MEDIA/UNITS/ITEMS/SWORD.DAT",
                                                L"MEDIA/UNITS/ITEMS/OLD.DAT (removed)", L"MEDIA/火炬/Ж名.LAYOUT",
                                                L"MEDIA/火炬/𝄞.DAT", L"MEDIA/火炬/" + std::wstring{wchar_t(0xD800), L'X'},
                                                L"MEDIA/EDGE/" + std::wstring{L'A', wchar_t(0xD800)},
                                                L"MEDIA/EDGE/" + std::wstring{wchar_t(0xD800), wchar_t(0xE000)}};
    for (std::uint16_t version : {0, 2}) {
        SCOPED_TRACE(version);
        const std::vector<unsigned char> bytes = ManifestBytes(kSample, version);
        const auto manifest = ParseManifest(bytes.data(), bytes.size());
        ASSERT_TRUE(manifest);
        EXPECT_EQ(Paths(*manifest), expected);
        EXPECT_EQ(manifest->entries[1].crc, 0xAAAAu);
        EXPECT_EQ(manifest->entries[1].size, 10u);
    }
}

TEST(Manifest, EveryTruncationAndOversizedCountIsRefused)
{
    const std::vector<unsigned char> bytes = ManifestBytes(kSample);
    for (std::size_t length = 0; length < bytes.size(); ++length)
        EXPECT_FALSE(ParseManifest(bytes.data(), length)) << "cut at " << length;

    // Counts and lengths far past the bytes there are: refused at once, nothing allocated for them.
    const std::size_t folderCountAt = 2 + 4 + 2 + 12 + 4;  // version, checksum, root, record count
    const std::size_t firstPathAt = folderCountAt + 4;
    const std::size_t entryCountAt = firstPathAt + 2 + 12;
    for (std::size_t at : {folderCountAt, entryCountAt, firstPathAt}) {
        std::vector<unsigned char> broken = bytes;
        broken[at] = broken[at + 1] = 0xFF;
        if (at != firstPathAt)
            broken[at + 2] = broken[at + 3] = 0xFF;
        EXPECT_FALSE(ParseManifest(broken.data(), broken.size())) << "count at " << at;
    }
    EXPECT_FALSE(ParseManifest(nullptr, 0));
}

}  // namespace
