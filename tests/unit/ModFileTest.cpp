#include <gtest/gtest.h>

#include "mods/ModFile.h"

using namespace mods;

namespace {

struct NameCase {
    const wchar_t* name;
    bool isMod;
    bool disabled;
};

TEST(ModFile, WhichNamesAreMods)
{
    const NameCase cases[] = {
        {L"a.PAK", true, false},
        {L"a.pak", true, false},
        {L"a.G1O", true, true},
        {L"x.Pak", false, false},      // extensions are case-sensitive
        {L"x.g1o", false, false},
        {L"c.pak.MAN", false, false},  // a companion is never a mod
        {L"e.txt", false, false},
        {L"mypak", false, false},      // no dot, no extension
        {L"x.TPAK", false, false},
        {L".PAK", false, false},       // a leading dot does not start an extension
        {L"..PAK", true, false},
        {L"a.b.PAK", true, false},
        {L"a.PAK.", false, false},
        {L"DATA.PAK", false, false},   // the game's own data
        {L"data.pak", false, false},
        {L"A.PAK", true, false},       // only the whole name excludes
        {L"ta.pak", true, false},
        {L"ATA.PAK", true, false},
        {L"Data.pak", true, false},
        {L"DATA.pak", true, false},
        {L"DATA.G1O", true, true},
        {L"魔法.pak", true, false},
        {L"한국어 Кириллица 😀.G1O", true, true},
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(IsModFileName(c.name), c.isMod) << testing::PrintToString(std::wstring(c.name));
        if (c.isMod) {
            EXPECT_EQ(IsDisabledModName(c.name), c.disabled) << testing::PrintToString(std::wstring(c.name));
        }
    }
}

TEST(ModFile, ExtensionIsTheTextAfterTheLastDot)
{
    EXPECT_EQ(FileExtension(L"a.b.PAK"), L"PAK");
    EXPECT_EQ(FileExtension(L".hidden"), L"");
    EXPECT_EQ(FileExtension(L"none"), L"");
    EXPECT_EQ(FileExtension(L"end."), L"");
    EXPECT_TRUE(HasExtensionIn(L"x.pak", L"PAK,pak"));
    EXPECT_FALSE(HasExtensionIn(L"x.G1O", L"PAK,pak"));
    EXPECT_FALSE(HasExtensionIn(L"x.AK", L"PAK,pak"));  // a whole entry, not part of one
    EXPECT_FALSE(HasExtensionIn(L"x.PAK,pak", L"PAK,pak"));
}

TEST(ModFile, CompanionAppendsManToTheFullName)
{
    EXPECT_EQ(CompanionName(L"a.PAK"), L"a.PAK.MAN");
    EXPECT_EQ(CompanionName(L"a.G1O"), L"a.G1O.MAN");
    EXPECT_TRUE(IsDisabledModName(L"G1O"));
    EXPECT_FALSE(IsDisabledModName(L"1O"));
    EXPECT_FALSE(IsDisabledModName(L"a.g1O"));
}

}  // namespace
