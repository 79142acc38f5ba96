#include "mods/Conflicts.h"

#include <algorithm>
#include <new>

#include "mods/ConflictIndex.h"

namespace mods {
namespace {

constexpr std::uint32_t kNone = kNoEntry;
char16_t UnitAt(std::string_view bytes, std::size_t i)
{
    return static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                 (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
}

}  // namespace

std::wstring ConflictReport::PathOf(const FileConflict& conflict) const
{
    const auto text = [&](std::uint32_t at, std::uint16_t units) {
        return ManifestText{reinterpret_cast<const unsigned char*>(spellings.data()) + at, units};
    };
    return JoinedPath(text(conflict.folderAt, conflict.folderUnits), text(conflict.nameAt, conflict.nameUnits));
}

std::span<const std::uint32_t> ConflictReport::Overridden(const FileConflict& conflict) const
{
    return std::span<const std::uint32_t>(overridden).subspan(conflict.overriddenAt, conflict.overriddenCount);
}

// The listed files' places in the order of their whole folded paths: a
// walk of the folders in which each folder's files and folders come in the
// order of their names, a folder's name followed by "/" (so "A.DAT" comes
// before folder "A", and folder "A" before "A.B/...", as the joined paths
// compare). No path is ever put together, however deep.
std::vector<std::uint32_t> ConflictIndex::PathRanks(const std::vector<std::uint32_t>& listed) const
{
    // The folders on the way to a listed file.
    std::vector<bool> onTheWay(folders_.size(), false);
    std::size_t folderItems = 0;
    for (std::uint32_t file : listed)
        for (std::uint32_t up = files_[file].folder; up != kRoot && !onTheWay[up - 1]; up = folders_[up - 1].folder) {
            onTheWay[up - 1] = true;
            ++folderItems;
        }

    // What each folder holds, by folder number: items [start[f], start[f + 1]).
    struct Item {
        std::uint32_t index;
        bool isFolder;
    };
    std::vector<std::uint32_t> start(folders_.size() + 2, 0);
    for (std::uint32_t file : listed)
        ++start[files_[file].folder + 1];
    for (std::uint32_t f = 0; f < folders_.size(); ++f)
        if (onTheWay[f])
            ++start[folders_[f].folder + 1];
    for (std::size_t f = 1; f < start.size(); ++f)
        start[f] += start[f - 1];
    std::vector<Item> items(listed.size() + folderItems);
    {
        std::vector<std::uint32_t> next(start.begin(), start.end() - 1);
        for (std::uint32_t file : listed)
            items[next[files_[file].folder]++] = Item{file, false};
        for (std::uint32_t f = 0; f < folders_.size(); ++f)
            if (onTheWay[f])
                items[next[folders_[f].folder]++] = Item{f, true};
    }
    const auto nameOf = [&](const Item& item) {
        return item.isFolder ? folders_.NameOf(folders_[item.index]) : files_.NameOf(files_[item.index]);
    };
    const auto before = [&](const Item& a, const Item& b) {
        const std::string_view x = nameOf(a), y = nameOf(b);
        const std::size_t bytes = std::min(x.size(), y.size());
        // The first unit that differs, or the end of the shorter name.
        const std::size_t unit = static_cast<std::size_t>(std::mismatch(x.begin(), x.begin() + bytes, y.begin()).first - x.begin()) / 2;
        // After a file's name comes nothing, after a folder's "/".
        const auto at = [&](std::string_view name, bool isFolder) {
            return unit < name.size() / 2 ? int{UnitAt(name, unit)} : isFolder ? int{u'/'} : -1;
        };
        return at(x, a.isFolder) < at(y, b.isFolder);
    };
    for (std::size_t f = 0; f + 1 < start.size(); ++f)
        std::sort(items.begin() + start[f], items.begin() + start[f + 1], before);

    std::vector<std::uint32_t> rankOf(files_.size(), kNone);
    std::uint32_t rank = 0;
    struct Level {
        std::uint32_t next, end;
    };
    std::vector<Level> walk{{start[kRoot], start[kRoot + 1]}};
    while (!walk.empty()) {
        Level& level = walk.back();
        if (level.next == level.end) {
            walk.pop_back();
            continue;
        }
        const Item item = items[level.next++];
        if (item.isFolder)
            walk.push_back(Level{start[FolderNumberOf(item.index)], start[FolderNumberOf(item.index) + 1]});
        else
            rankOf[item.index] = rank++;
    }
    std::vector<std::uint32_t> ranks;
    ranks.reserve(listed.size());
    for (std::uint32_t file : listed)
        ranks.push_back(rankOf[file]);
    return ranks;
}

ConflictReport ConflictIndex::Report(const ConflictAnalysis& analysis) const
{
    ConflictReport report;
    if (!Analysed(analysis))
        return report;
    const std::vector<std::uint32_t>& winner = analysis.winner_;
    const auto heldBy = [&](std::uint32_t r) { return HoldingsOf(analysis.modOf_[r]); };

    // The files to list: held twice or more, and with any row selected, by a selected row.
    std::vector<bool> listed(files_.size(), false);
    const std::vector<bool>& selected = analysis.selected_;
    if (std::find(selected.begin(), selected.end(), true) == selected.end()) {
        for (std::uint32_t f = 0; f < files_.size(); ++f)
            listed[f] = winner[f] != kNone;
    } else {
        for (const std::uint32_t r : analysis.taking_)
            if (selected[r])
                for (const Holding& holding : heldBy(r))
                    listed[holding.file] = winner[holding.file] != kNone;
    }
    std::vector<std::uint32_t> files;
    for (std::uint32_t f = 0; f < files_.size(); ++f)
        if (listed[f])
            files.push_back(f);

    // Real conflicts first, then intended ones, then identical copies; each by path.
    {
        const std::vector<std::uint32_t> rank = PathRanks(files);
        const auto group = [&](std::uint32_t f) {
            return (analysis.flags_[f] & ConflictAnalysis::kIdentical) ? 2 : (analysis.flags_[f] & ConflictAnalysis::kIntended) ? 1 : 0;
        };
        std::vector<std::uint32_t> order(files.size());
        for (std::uint32_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
            const int groupA = group(files[a]), groupB = group(files[b]);
            return groupA != groupB ? groupA < groupB : rank[a] < rank[b];
        });
        std::vector<std::uint32_t> sorted(files.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            sorted[i] = files[order[i]];
        files = std::move(sorted);
    }

    // Each listed file's holders in load order, the winner last: where its
    // next holder goes, by file.
    std::vector<std::uint32_t> next(files_.size(), kNone);
    {
        std::vector<std::uint32_t> count(files_.size(), 0);
        for (const std::uint32_t r : analysis.taking_)
            for (const Holding& holding : heldBy(r))
                ++count[holding.file];
        std::size_t total = 0;
        for (const std::uint32_t f : files) {
            next[f] = static_cast<std::uint32_t>(total);
            total += count[f];
            if (total >= kNone)
                throw std::bad_alloc();
        }
        report.overridden.resize(total);
    }
    report.conflicts.reserve(files.size());
    for (const std::uint32_t f : files) {
        FileConflict& conflict = report.conflicts.emplace_back();
        conflict.overriddenAt = next[f];
    }
    for (const std::uint32_t r : analysis.taking_)
        for (const Holding& holding : heldBy(r))
            if (std::uint32_t& at = next[holding.file]; at != kNone)
                report.overridden[at++] = r;

    // The winners' spellings, each folder's once.
    std::vector<std::uint32_t> folderAt(spelledFolders_.size(), kNone);
    std::vector<bool> involved(analysis.rows_.size(), false);
    const auto append = [&](std::string_view bytes) {
        if (bytes.size() > kNone - report.spellings.size())
            throw std::bad_alloc();
        const auto at = static_cast<std::uint32_t>(report.spellings.size());
        report.spellings.append(bytes);
        return at;
    };
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::uint32_t f = files[i];
        FileConflict& conflict = report.conflicts[i];
        conflict.overriddenCount = next[f] - conflict.overriddenAt - 1;
        conflict.winner = winner[f];
        conflict.identical = (analysis.flags_[f] & ConflictAnalysis::kIdentical) != 0;
        conflict.intended = (analysis.flags_[f] & ConflictAnalysis::kIntended) != 0;
        if (!conflict.identical && !conflict.intended) {
            for (const std::uint32_t r : report.Overridden(conflict))
                involved[r] = true;
            involved[conflict.winner] = true;
        }

        // The winner's own spelling where it spells the file otherwise than the first holder.
        const FileValue& file = files_[f].value;
        const std::vector<Spelling>& spellings = mods_[analysis.modOf_[conflict.winner]].spellings;
        const auto own = std::lower_bound(spellings.begin(), spellings.end(), f,
                                          [](const Spelling& s, std::uint32_t file) { return s.file < file; });
        const bool spelledOtherwise = own != spellings.end() && own->file == f;
        const std::uint32_t spelledFolder = spelledOtherwise ? own->folder : file.spelledFolder;
        const std::uint32_t nameAt = spelledOtherwise ? own->nameAt : file.spelledNameAt;
        const std::string_view folder = spelledFolders_.NameOf(spelledFolders_[spelledFolder]);
        const std::string_view name = nameAt == kNone ? files_.NameOf(files_[f]) : SpelledName(nameAt);
        if (folderAt[spelledFolder] == kNone)
            folderAt[spelledFolder] = append(folder);
        conflict.folderAt = folderAt[spelledFolder];
        conflict.folderUnits = static_cast<std::uint16_t>(folder.size() / 2);
        conflict.nameAt = append(name);
        conflict.nameUnits = static_cast<std::uint16_t>(name.size() / 2);
    }
    report.modsInConflict = static_cast<std::size_t>(std::count(involved.begin(), involved.end(), true));
    for (std::size_t r = 0; r < analysis.rows_.size(); ++r)
        if (const RowConflicts& row = analysis.rows_[r]; row.mark == ConflictMark::Unchecked)
            report.unchecked.push_back(UncheckedMod{r, row.reason, row.status});
    return report;
}

ConflictReport FindConflicts(const std::vector<ModManifest>& mods)
{
    // Each mod is named by its row: the index knows no other name for it.
    ConflictIndex index;
    std::vector<ListedModToCheck> rows(mods.size());
    for (std::size_t m = 0; m < mods.size(); ++m) {
        rows[m] = ListedModToCheck{std::to_wstring(m), mods[m].enabled, mods[m].selected};
        if (mods[m].enabled && mods[m].manifest)
            index.Add(rows[m].name, *mods[m].manifest);
    }
    return index.Report(index.Analyse(rows));
}

ConflictReport CheckConflicts(platform::FileSystem& fileSystem, const std::wstring& folder,
                              const std::vector<ListedModToCheck>& rows, const StepProgress& progress)
{
    return CheckConflicts(fileSystem, folder, rows, {}, progress);
}

ConflictReport CheckConflicts(platform::FileSystem& fileSystem, const std::wstring& folder,
                              const std::vector<ListedModToCheck>& rows, const std::vector<IntendedOverlap>& intended,
                              const StepProgress& progress)
{
    // Only the enabled mods' manifests are read: the game loads no other.
    std::vector<std::wstring> enabled;
    std::vector<std::size_t> rowOf;
    for (std::size_t r = 0; r < rows.size(); ++r)
        if (rows[r].enabled) {
            enabled.push_back(rows[r].name);
            rowOf.push_back(r);
        }
    ConflictIndex index;
    StepProgress byRow;
    if (progress)
        byRow = [&](std::size_t done, std::size_t) { progress(rowOf[done], rows.size()); };
    index.Read(fileSystem, folder, enabled, byRow);
    return index.Report(index.Analyse(rows, intended));
}

}  // namespace mods
