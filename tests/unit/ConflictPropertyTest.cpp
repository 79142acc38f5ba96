// The conflict index's promise: read once, then whatever the moves, the
// mods enabled and disabled and the overlaps marked as intended, what it
// works out for an order is what a plain analysis of the manifests in that
// order finds, and its report is the report of an index read in that order.

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "mods/ConflictIndex.h"
#include "mods/ModList.h"
#include "platform/LetterCase.h"
#include "platform/Utf8.h"
#include "unit/ManifestBytes.h"

using namespace mods;
using namespace testing_files;

namespace {

// Spellings of a few files: the same file in other cases, with other
// separators and split otherwise between folder and name.
const std::u16string kFolders[] = {u"MEDIA/", u"media\\", u"Media//Units/", u"MEDIA/UNITS", u""};
const std::u16string kNames[] = {u"A.DAT", u"a.dat", u"UNITS/A.DAT", u"units\\b.dat", u"B.DAT", u"ü.dat", u"Ü.DAT", u"C"};

struct RandomMod {
    std::wstring stem;
    std::vector<unsigned char> bytes;  // empty: no manifest
};

RandomMod MakeMod(int number, std::mt19937& random)
{
    std::uniform_int_distribution<int> folders(0, 3), entries(0, 4), folder(0, 4), name(0, 7), crc(1, 3), kind(0, 9);
    std::vector<ManifestFolderToWrite> written(static_cast<std::size_t>(folders(random)));
    for (ManifestFolderToWrite& f : written) {
        f.path = kFolders[folder(random)];
        for (int e = entries(random); e > 0; --e) {
            ManifestFileToWrite file{kNames[name(random)], static_cast<std::uint32_t>(crc(random)), 100};
            const int k = kind(random);
            if (k == 0)
                file.offset = 0;  // removed
            else if (k == 1)
                file.size = 200;
            f.entries.push_back(file);
        }
    }
    RandomMod mod{L"mod" + std::to_wstring(number), ManifestBytes(written)};
    const int fate = kind(random);
    if (fate == 0)
        mod.bytes.clear();
    else if (fate == 1 && mod.bytes.size() > 10)
        mod.bytes.resize(mod.bytes.size() - 3);  // not whole
    return mod;
}

// A path as a key: its levels, folded, joined by one "/".
std::wstring KeyOf(const std::wstring& path)
{
    std::wstring key, level;
    for (wchar_t c : path + L"/") {
        if (c == L'/' || c == L'\\') {
            if (!level.empty())
                key += (key.empty() ? L"" : L"/") + platform::FoldedCase(level);
            level.clear();
        } else {
            level += c;
        }
    }
    return key;
}

struct Held {
    std::uint32_t crc, size;
};

// Each mod's files by key, the last entry of a file counting; nothing when
// its manifest is missing or not whole.
std::optional<std::map<std::wstring, Held>> FilesOf(const RandomMod& mod)
{
    const auto manifest = ParseManifest(mod.bytes.data(), mod.bytes.size());
    if (!manifest)
        return std::nullopt;
    std::map<std::wstring, Held> files;
    for (const ManifestEntry& entry : manifest->entries)
        if (!entry.removed)
            files[KeyOf(EntryPath(*manifest, entry))] = Held{entry.crc, entry.size};
    return files;
}

struct Row {
    std::size_t mod;
    bool enabled;
};

struct Expected {
    std::vector<RowConflicts> rows;
    std::vector<ModRelations> relations;
    std::map<std::wstring, std::vector<std::size_t>> holders;  // key -> rows, in load order, of files held twice
};

bool Means(const std::vector<IntendedOverlap>& intended, const std::wstring& a, const std::wstring& b)
{
    return std::any_of(intended.begin(), intended.end(),
                       [&](const IntendedOverlap& p) { return SameOverlap(p, IntendedOverlap{a, b}); });
}

// The plain analysis: every file of every row that takes part, one by one.
Expected Analyse(const std::vector<RandomMod>& mods, const std::vector<Row>& rows, const std::vector<IntendedOverlap>& intended)
{
    Expected expected;
    expected.rows.resize(rows.size());
    expected.relations.resize(rows.size());
    std::map<std::wstring, std::vector<std::pair<std::size_t, Held>>> copies;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto files = FilesOf(mods[rows[r].mod]);
        RowConflicts& row = expected.rows[r];
        row.files = files ? files->size() : 0;
        if (!rows[r].enabled)
            continue;
        if (!files) {
            row.mark = ConflictMark::Unchecked;
            row.reason = mods[rows[r].mod].bytes.empty() ? UncheckedReason::NoManifest : UncheckedReason::Malformed;
            continue;
        }
        for (const auto& [key, held] : *files)
            copies[key].emplace_back(r, held);
    }
    std::vector<std::size_t> lost(rows.size(), 0);
    std::vector<std::map<std::size_t, ModOverlap>> over(rows.size()), under(rows.size());
    for (const auto& [key, holders] : copies) {
        if (holders.size() < 2)
            continue;
        bool identical = true;
        for (const auto& [row, held] : holders)
            identical = identical && held.crc == holders[0].second.crc && held.size == holders[0].second.size;
        const std::size_t winner = holders.back().first;
        bool marks = false;
        for (std::size_t i = 0; i + 1 < holders.size(); ++i) {
            const std::size_t loser = holders[i].first;
            expected.holders[key].push_back(loser);
            ++lost[loser];
            if (identical)
                continue;
            const bool meant = Means(intended, mods[rows[winner].mod].stem, mods[rows[loser].mod].stem);
            ModOverlap& o = over[winner][loser];
            o = ModOverlap{loser, o.files + 1, meant};
            ModOverlap& u = under[loser][winner];
            u = ModOverlap{winner, u.files + 1, meant};
            if (!meant) {
                ++expected.rows[loser].overriddenFiles;
                marks = true;
            }
        }
        expected.holders[key].push_back(winner);
        if (marks)
            ++expected.rows[winner].overridingFiles;
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        RowConflicts& row = expected.rows[r];
        for (const auto& [other, o] : over[r])
            expected.relations[r].overrides.push_back(o);
        for (const auto& [other, u] : under[r])
            expected.relations[r].overriddenBy.push_back(u);
        if (!rows[r].enabled || row.mark == ConflictMark::Unchecked)
            continue;
        const bool overrides = row.overridingFiles > 0, overridden = row.overriddenFiles > 0;
        row.mark = overridden && lost[r] == row.files ? ConflictMark::FullyOverridden
                 : overrides && overridden            ? ConflictMark::Both
                 : overrides                          ? ConflictMark::Overrides
                 : overridden                         ? ConflictMark::Overridden
                                                      : ConflictMark::None;
    }
    return expected;
}

std::wstring FileNameOf(const RandomMod& mod, bool enabled) { return mod.stem + (enabled ? L".pak" : L".G1O"); }

// The report as lines: "path: winner < others" and its kind.
std::vector<std::string> Describe(const ConflictReport& report, const std::vector<ListedModToCheck>& rows)
{
    std::vector<std::string> lines;
    for (const FileConflict& conflict : report.conflicts) {
        std::string line = platform::ToUtf8(report.PathOf(conflict)) + (conflict.identical ? " = " : conflict.intended ? " ~ " : ": ") +
                           platform::ToUtf8(rows[conflict.winner].name) + " <";
        for (const std::uint32_t row : report.Overridden(conflict))
            line += " " + platform::ToUtf8(rows[row].name);
        lines.push_back(line);
    }
    return lines;
}

TEST(ConflictProperty, TheIndexReadOnceAgreesWithAPlainAnalysisOfEveryOrder)
{
    std::mt19937 random(26092026);
    for (int folder = 0; folder < 40; ++folder) {
        SCOPED_TRACE("folder " + std::to_string(folder));
        std::vector<RandomMod> mods;
        std::vector<Row> rows;
        ConflictIndex index;
        const int count = std::uniform_int_distribution<int>(1, 14)(random);
        for (int m = 0; m < count; ++m) {
            mods.push_back(MakeMod(m, random));
            rows.push_back(Row{static_cast<std::size_t>(m), std::bernoulli_distribution(0.8)(random)});
        }
        // The index reads the folder once, in an order of its own.
        std::vector<Row> reading = rows;
        std::shuffle(reading.begin(), reading.end(), random);
        for (const Row& row : reading) {
            const RandomMod& mod = mods[row.mod];
            if (mod.bytes.empty())
                index.AddUnchecked(FileNameOf(mod, row.enabled), UncheckedReason::NoManifest);
            else
                index.Add(FileNameOf(mod, row.enabled), mod.bytes.data(), mod.bytes.size());
        }

        std::vector<IntendedOverlap> intended;
        std::uniform_int_distribution<std::size_t> anyRow(0, rows.size() - 1);
        for (int step = 0; step < 25; ++step) {
            SCOPED_TRACE("step " + std::to_string(step));
            // A move, a switch or an intended pair, marked or unmarked.
            switch (std::uniform_int_distribution<int>(0, 3)(random)) {
            case 0: {
                const std::size_t from = anyRow(random), to = anyRow(random);
                const Row moved = rows[from];
                rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(from));
                rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(to), moved);
                break;
            }
            case 1:
                rows[anyRow(random)].enabled ^= true;
                break;
            case 2: {
                const IntendedOverlap pair{mods[rows[anyRow(random)].mod].stem, mods[rows[anyRow(random)].mod].stem};
                if (pair.overriding != pair.overridden && !RemoveOverlap(intended, pair))
                    AddOverlap(intended, IntendedOverlap{platform::FoldedCase(pair.overriding), pair.overridden});
                break;
            }
            default:
                std::shuffle(rows.begin(), rows.end(), random);
                break;
            }
            std::vector<ListedModToCheck> listed;
            for (const Row& row : rows)
                listed.push_back(ListedModToCheck{FileNameOf(mods[row.mod], row.enabled), row.enabled,
                                                  std::bernoulli_distribution(0.1)(random)});

            const ConflictAnalysis analysis = index.Analyse(listed, intended);
            const Expected expected = Analyse(mods, rows, intended);
            for (std::size_t r = 0; r < rows.size(); ++r) {
                const RowConflicts& got = analysis.Rows()[r];
                const RowConflicts& want = expected.rows[r];
                EXPECT_EQ(got.mark, want.mark) << "row " << r;
                EXPECT_EQ(got.files, want.files) << "row " << r;
                EXPECT_EQ(got.overridingFiles, want.overridingFiles) << "row " << r;
                EXPECT_EQ(got.overriddenFiles, want.overriddenFiles) << "row " << r;
                if (want.mark == ConflictMark::Unchecked) {
                    EXPECT_EQ(got.reason, want.reason) << "row " << r;
                }
            }
            EXPECT_EQ(index.AllRelations(analysis), expected.relations);

            // The report: each file's holders as the plain analysis has them,
            // and as an index read in this very order reports them.
            const ConflictReport report = index.Report(analysis);
            const bool anySelected = std::any_of(listed.begin(), listed.end(), [](const ListedModToCheck& r) { return r.selected; });
            if (!anySelected) {
                std::map<std::wstring, std::vector<std::size_t>> reported;
                for (const FileConflict& conflict : report.conflicts) {
                    std::vector<std::size_t>& holders = reported[KeyOf(report.PathOf(conflict))];
                    holders.assign(report.Overridden(conflict).begin(), report.Overridden(conflict).end());
                    holders.push_back(conflict.winner);
                }
                EXPECT_EQ(reported, expected.holders);
            }
            ConflictIndex fresh;
            for (std::size_t r = 0; r < rows.size(); ++r) {
                const RandomMod& mod = mods[rows[r].mod];
                if (rows[r].enabled && !mod.bytes.empty())
                    fresh.Add(listed[r].name, mod.bytes.data(), mod.bytes.size());
            }
            EXPECT_EQ(Describe(report, listed), Describe(fresh.Report(fresh.Analyse(listed, intended)), listed));
        }
    }
}

}  // namespace
