// The worker that keeps the conflict index: what it reads again after a
// read of the folder, and that an index of an older read never shows.

#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/BackgroundAnalysis.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "unit/ManifestBytes.h"
#include "unit/TestFiles.h"

using namespace testing_files;

namespace {

constexpr UINT kDone = WM_APP + 1;

// A window of this thread for the worker to post to.
struct MessageWindow {
    HWND handle = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ~MessageWindow() { DestroyWindow(handle); }
};

// Waits, bounded, for the worker's message, then hands it over as the window would.
bool TakeNextDone(BackgroundAnalysis& analysis, HWND window)
{
    for (int i = 0; i < 2000; ++i) {
        MSG message{};
        if (PeekMessageW(&message, window, kDone, kDone, PM_REMOVE))
            return analysis.TakeDone();
        Sleep(5);
    }
    ADD_FAILURE() << "the worker never finished";
    return false;
}

void WriteMod(const std::wstring& folder, const std::wstring& name, std::uint32_t crc, const char16_t* file = u"X.DAT")
{
    WriteFileWithTime(platform::JoinPath(folder, name), Time(2021, 1, 1));
    const std::vector<unsigned char> bytes = ManifestBytes({{u"MEDIA/", {{file, crc}}}});
    WriteFile(platform::JoinPath(folder, name + L".MAN"), std::string(bytes.begin(), bytes.end()));
}

mods::ConflictMark MarkOf(const mods::ConflictIndex& index, const std::vector<std::wstring>& rows, std::size_t row)
{
    std::vector<mods::ListedModToCheck> listed;
    for (const std::wstring& name : rows)
        listed.push_back({name, name.find(L".G1O") == std::wstring::npos, false});
    return index.Analyse(listed).Rows()[row].mark;
}

}  // namespace

TEST(BackgroundAnalysis, ReadsOnlyWhatChangedAndNeverShowsAnOlderRead)
{
    TempFolder folder;
    const std::wstring paks = folder.path();
    WriteMod(paks, L"a.pak", 1);
    WriteMod(paks, L"b.G1O", 2);
    WriteMod(paks, L"c.pak", 3);
    MessageWindow window;
    ASSERT_NE(window.handle, nullptr);
    BackgroundAnalysis analysis(platform::SystemFileSystem(), window.handle, kDone);
    using Catalogue = std::vector<mods::ModEntry>;
    const mods::FileTime t1 = Time(2021, 1, 1), t2 = Time(2021, 1, 2), t3 = Time(2021, 1, 3);

    // Two reads before the worker is done: the first one's index is dropped.
    analysis.Follow(paks, Catalogue{{L"a.pak", t1, {}}, {L"b.G1O", t2, {}}});
    analysis.Follow(paks, Catalogue{{L"a.pak", t1, {}}, {L"b.G1O", t2, {}}, {L"c.pak", t3, {}}});
    EXPECT_EQ(analysis.Index(), nullptr);
    EXPECT_FALSE(TakeNextDone(analysis, window.handle));
    EXPECT_EQ(analysis.Index(), nullptr);
    ASSERT_TRUE(TakeNextDone(analysis, window.handle));
    ASSERT_NE(analysis.Index(), nullptr);
    EXPECT_EQ(analysis.ManifestsRead(), 1u);  // c: a and b were read for the first read
    EXPECT_EQ(MarkOf(*analysis.Index(), {L"a.pak", L"b.G1O", L"c.pak"}, 2), mods::ConflictMark::Overrides);

    // b enabled (renamed, same time): nothing is read, and b counts (c wins its one file).
    analysis.Follow(paks, Catalogue{{L"a.pak", t1, {}}, {L"b.pak", t2, {}}, {L"c.pak", t3, {}}});
    EXPECT_EQ(analysis.Index(), nullptr);
    ASSERT_TRUE(TakeNextDone(analysis, window.handle));
    EXPECT_EQ(analysis.ManifestsRead(), 0u);
    EXPECT_EQ(MarkOf(*analysis.Index(), {L"a.pak", L"b.pak", L"c.pak"}, 1), mods::ConflictMark::FullyOverridden);

    // a given another time, now loaded last, its manifest holding another file: it alone is read.
    WriteMod(paks, L"a.pak", 1, u"Y.DAT");
    analysis.Follow(paks, Catalogue{{L"b.pak", t2, {}}, {L"c.pak", t3, {}}, {L"a.pak", t3 + 1, {}}});
    ASSERT_TRUE(TakeNextDone(analysis, window.handle));
    EXPECT_EQ(analysis.ManifestsRead(), 1u);
    EXPECT_EQ(MarkOf(*analysis.Index(), {L"b.pak", L"c.pak", L"a.pak"}, 2), mods::ConflictMark::None);
    EXPECT_EQ(MarkOf(*analysis.Index(), {L"b.pak", L"c.pak", L"a.pak"}, 1), mods::ConflictMark::Overrides);

    // c gone: forgotten, nothing read.
    analysis.Follow(paks, Catalogue{{L"b.pak", t2, {}}, {L"a.pak", t3 + 1, {}}});
    ASSERT_TRUE(TakeNextDone(analysis, window.handle));
    EXPECT_EQ(analysis.ManifestsRead(), 0u);
    EXPECT_FALSE(analysis.Index()->Holds(L"c.pak"));
    EXPECT_TRUE(analysis.Index()->Holds(L"a.pak"));
}
