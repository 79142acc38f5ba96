#include <gtest/gtest.h>

#include "platform/Paths.h"
#include "platform/Utf8.h"

using namespace platform;

namespace {

// Paths are written with '/' and turned into the system's separators.
std::wstring P(std::wstring text)
{
    for (wchar_t& c : text)
        if (c == L'/')
            c = kPathSeparator;
    return text;
}

TEST(Paths, TrailingSeparators)
{
    EXPECT_EQ(StripTrailingSeparators(P(L"/games/t2///")), P(L"/games/t2"));
    EXPECT_EQ(StripTrailingSeparators(P(L"/")), P(L"/"));
    EXPECT_EQ(WithTrailingSeparator(P(L"/games/t2")), P(L"/games/t2/"));
    EXPECT_EQ(WithTrailingSeparator(P(L"/games/t2//")), P(L"/games/t2/"));
    EXPECT_EQ(WithTrailingSeparator(P(L"/")), P(L"/"));
    EXPECT_EQ(JoinPath(P(L"/games/PAKS//"), L"a.pak"), P(L"/games/PAKS/a.pak"));
    EXPECT_EQ(JoinPath(P(L"/games/PAKS"), L"a.pak"), P(L"/games/PAKS/a.pak"));
    EXPECT_EQ(GetFolderOfPath(P(L"/games/t2/tool.exe")), P(L"/games/t2/"));
#ifdef _WIN32
    EXPECT_EQ(StripTrailingSeparators(L"D:\\"), L"D:\\");
    EXPECT_EQ(StripTrailingSeparators(L"D:\\\\"), L"D:\\");
    EXPECT_EQ(WithTrailingSeparator(L"D:"), L"D:\\");
    EXPECT_EQ(GetFolderOfPath(L"C:\\Games\\Game\\tool.exe"), L"C:\\Games\\Game\\");
    EXPECT_EQ(GetFolderOfPath(L"C:/Games/tool.exe"), L"C:/Games/");
#endif
}

TEST(Utf8, RoundTripsEveryPlane)
{
    const std::wstring text = L"a中文 한국어 Кириллица 😀";
    EXPECT_EQ(ToUtf8(text), "a\xE4\xB8\xAD\xE6\x96\x87 \xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4 "
                            "\xD0\x9A\xD0\xB8\xD1\x80\xD0\xB8\xD0\xBB\xD0\xBB\xD0\xB8\xD1\x86\xD0\xB0 \xF0\x9F\x98\x80");
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(FromUtf8("a\xFF" "b"), L"a\uFFFDb");
    EXPECT_EQ(FromUtf8("\xC0\x80"), L"\uFFFD\uFFFD");  // overlong
    EXPECT_EQ(FromUtf8("\xE4\xB8"), L"\uFFFD\uFFFD");  // cut short
}

}  // namespace
