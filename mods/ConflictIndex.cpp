#include "mods/ConflictIndex.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <new>

#include "mods/ModFile.h"
#include "mods/ModList.h"
#include "platform/LetterCase.h"
#include "platform/Paths.h"

namespace mods {
namespace {

constexpr std::uint32_t kNone = kNoEntry;
// A read buffer larger than this is given back once its manifest is done:
// one large manifest must not keep its memory for the rest of the read.
constexpr std::size_t kKeptBufferBytes = 4u << 20;
constexpr std::size_t kKeptScratch = 1u << 16;
bool IsSeparator(char16_t unit) { return unit == u'/' || unit == u'\\'; }

std::string_view BytesOf(const ManifestText& text)
{
    return {reinterpret_cast<const char*>(text.units), 2 * text.length};
}

// Units [from, to) of a text as paths are compared, written to `out` as
// UTF-16LE bytes: letters upper-cased as Windows folds them when it
// compares names. Returns the position after the last separator among
// them, or `from`.
std::size_t FoldUnits(const ManifestText& text, std::size_t from, std::size_t to, char* out)
{
    std::size_t afterSeparator = from;
    for (std::size_t i = from; i < to; ++i, out += 2) {
        unsigned char low = text.units[2 * i];
        unsigned char high = text.units[2 * i + 1];
        if (high == 0 && low < 0x80) {
            if (low >= 'a' && low <= 'z')
                low = static_cast<unsigned char>(low - ('a' - 'A'));
            else if (low == '/' || low == '\\')
                afterSeparator = i + 1;
        } else {
            const auto unit = static_cast<char16_t>(platform::UpperCaseOf(static_cast<wchar_t>(text[i])));
            low = static_cast<unsigned char>(unit & 0xFF);
            high = static_cast<unsigned char>(unit >> 8);
        }
        out[0] = static_cast<char>(low);
        out[1] = static_cast<char>(high);
    }
    return afterSeparator;
}

// Four UTF-16LE units at a time, as the game's names nearly always are:
// plain ASCII without a separator. Folds the word, and adds to `special`
// any unit that is not such a character, to `lower` the letters it folded.
std::uint64_t FoldWord(std::uint64_t word, std::uint64_t& special, std::uint64_t& lower)
{
    constexpr std::uint64_t kOnes = 0x0001000100010001ull, kHighBits = 0x8000800080008000ull;
    const auto hasUnit = [&](std::uint64_t unit) {
        const std::uint64_t x = word ^ (unit * kOnes);
        return (x - kOnes) & ~x & kHighBits;  // some unit of x is zero
    };
    special |= (word & 0xFF80FF80FF80FF80ull) | hasUnit(u'/') | hasUnit(u'\\');
    // With every unit below 0x80, no sum carries out of its byte.
    const std::uint64_t fromA = word + 0x1F1F1F1F1F1F1F1Full;  // bytes from 'a' reach 0x80
    const std::uint64_t pastZ = word + 0x0505050505050505ull;  // bytes past 'z' reach 0x80
    const std::uint64_t letters = fromA & ~pastZ & 0x0080008000800080ull;
    lower |= letters;
    return word ^ (letters >> 2);
}

// The whole name folded to `out`, when it is plain ASCII without a
// separator, and its hash in that folder as Files::HashOf makes it;
// `asSpelled` tells whether folding changed nothing.
template <class Table>
bool FoldPlainName(const ManifestText& text, std::uint32_t folder, char* out, std::uint64_t& hash, bool& asSpelled)
{
    if constexpr (std::endian::native != std::endian::little)
        return false;
    const unsigned char* in = text.units;
    const std::size_t bytes = 2 * text.length;
    std::uint64_t special = 0, lower = 0;
    hash = Table::HashStart(folder, bytes);
    std::size_t i = 0;
    for (; i + 8 <= bytes; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, in + i, 8);
        const std::uint64_t folded = FoldWord(word, special, lower);
        std::memcpy(out + i, &folded, 8);
        hash = Table::HashStep(hash, folded);
    }
    // The last units, zeros after them: the name's last eight bytes moved
    // down, or the few there are one by one.
    std::uint64_t word = 0;
    if (const std::size_t rest = bytes - i; rest > 0) {
        if (bytes >= 8) {
            std::memcpy(&word, in + bytes - 8, 8);
            word >>= 8 * (8 - rest);
        } else {
            for (std::size_t k = 0; k < rest; ++k)
                word |= std::uint64_t{in[i + k]} << (8 * k);
        }
        word = FoldWord(word, special, lower);
        for (std::size_t k = 0; k < rest; ++k)
            out[i + k] = static_cast<char>(word >> (8 * k));
    }
    hash = Table::HashEnd(Table::HashStep(hash, word));
    asSpelled = lower == 0;
    return special == 0;
}

}  // namespace

// Takes the manifests' files into the index one manifest at a time, in
// the order given: a manifest's bytes need not outlive its turn. A file is
// found by its folder, one entry per folder level (so that every split of
// a path between folder and name finds the same folder), and its folded
// name in that folder.
class ConflictIndex::Builder final : public ManifestVisitor {
public:
    explicit Builder(ConflictIndex& index) : index_(index) {}

    void Begin(std::uint32_t mod)
    {
        mod_ = mod;
        folderRecords_.clear();
        index_.holdings_.Drop();  // what a read cut short left
        spellings_.clear();
        again_ = false;
    }
    void Folder(const ManifestText& path) override { folderRecords_.push_back(FolderRecord{path, kNone, kNone}); }
    void File(const ManifestEntry& entry) override
    {
        const ManifestText& name = entry.name;
        if (entry.removed || name.length == 0)
            return;
        FolderRecord& record = Resolved(folderRecords_[entry.folder]);
        char* out = Room(2 * name.length);
        Lookup& lookup = pending_[pendingCount_];
        lookup.folder = record.folder;
        std::size_t bytes = 2 * name.length;
        if (!FoldPlainName<Files>(name, record.folder, out, lookup.hash, lookup.asSpelled)) {
            // The name's last level is the file; any before it are folders below the entry's folder.
            const std::size_t leaf = FoldUnits(name, 0, name.length, out);
            if (leaf == name.length)  // a folder: the reader leaves these out
                return;
            lookup.asSpelled = leaf == 0 && std::memcmp(out, name.units, bytes) == 0;
            if (leaf > 0) {
                lookup.folder = FolderBelow(record.folder, name, 0, leaf);
                bytes -= 2 * leaf;
                std::memmove(out, out + 2 * leaf, bytes);
            }
            lookup.hash = Files::HashOf(lookup.folder, std::string_view(out, bytes));
        }
        lookup.nameAt = static_cast<std::uint32_t>(used_);
        lookup.nameBytes = static_cast<std::uint32_t>(bytes);
        used_ += bytes;
        lookup.copy = Copy{entry.crc, entry.size};
        lookup.spelledFolder = record.spelled;
        lookup.spelledName = name;
        if (++pendingCount_ == kPending)
            Flush();
    }
    // Gives the mod what its manifest holds; nothing when the manifest was
    // not whole, so that no part of a bad one is ever taken.
    void End(bool whole)
    {
        Flush();
        IndexedMod& mod = index_.mods_[mod_];
        if (!whole) {
            index_.holdings_.Drop();
            mod.unchecked = UncheckedReason::Malformed;
        } else {
            if (again_)
                KeepLastOfEachFile();
            std::stable_sort(spellings_.begin(), spellings_.end(),
                             [](const Spelling& a, const Spelling& b) { return a.file < b.file; });
            mod.holdings = index_.holdings_.Close();
            mod.spellings.assign(spellings_.begin(), spellings_.end());
        }
        if (folderRecords_.capacity() > kKeptScratch)
            folderRecords_ = {};
        if (names_.size() > kKeptScratch)
            names_ = {};
    }

private:
    // A folder of the manifest being taken, resolved when a file needs it.
    struct FolderRecord {
        ManifestText path;
        std::uint32_t folder, spelled;
    };
    struct Lookup {
        std::uint64_t hash;  // of the folded name, in its folder
        std::uint32_t folder, nameAt, nameBytes;
        Copy copy;
        std::uint32_t spelledFolder;
        ManifestText spelledName;
        bool asSpelled;  // the folded name is the name as spelled
    };

    char* Room(std::size_t bytes)
    {
        if (names_.size() - used_ < bytes)
            names_.resize(std::max(2 * names_.size(), used_ + bytes));
        return names_.data() + used_;
    }
    std::string_view PendingName(const Lookup& lookup) const { return {names_.data() + lookup.nameAt, lookup.nameBytes}; }

    FolderRecord& Resolved(FolderRecord& record)
    {
        if (record.folder != kNone)
            return record;
        const std::string_view bytes = BytesOf(record.path);
        SpelledFolders& spelled = index_.spelledFolders_;
        record.spelled = spelled.Find(SpelledFolders::HashOf(0, bytes), 0, bytes);
        if (spelled[record.spelled].value.number == kNone)
            spelled[record.spelled].value.number = FolderBelow(kRoot, record.path, 0, record.path.length);
        record.folder = spelled[record.spelled].value.number;
        return record;
    }

    // The folder that units [from, to) of `text` name below `folder`, each
    // level added when it is new; empty levels (repeated separators) count
    // for nothing.
    std::uint32_t FolderBelow(std::uint32_t folder, const ManifestText& text, std::size_t from, std::size_t to)
    {
        while (from < to) {
            std::size_t end = from;
            while (end < to && !IsSeparator(text[end]))
                ++end;
            if (end > from) {
                level_.resize(2 * (end - from));
                FoldUnits(text, from, end, level_.data());
                const std::string_view level(level_.data(), level_.size());
                folder = FolderNumberOf(index_.folders_.Find(Folders::HashOf(folder, level), folder, level));
            }
            from = end + 1;
        }
        return folder;
    }

    // The pending lookups, fetched ahead in stages, each over the whole
    // batch, so that the cache misses of one stage overlap: their slots,
    // then the entries those name, then the names of those entries.
    void Flush()
    {
        const Files& files = index_.files_;
        for (std::size_t i = 0; i < pendingCount_; ++i)
            files.PrefetchSlot(pending_[i].hash);
        for (std::size_t i = 0; i < pendingCount_; ++i)
            files.PrefetchEntry(pending_[i].hash);
        for (std::size_t i = 0; i < pendingCount_; ++i)
            if (const Files::Entry* likely = files.Candidate(pending_[i].hash))
                files.PrefetchName(*likely);
        for (std::size_t i = 0; i < pendingCount_; ++i)
            Add(pending_[i]);
        pendingCount_ = 0;
        used_ = 0;
    }

    void Add(const Lookup& lookup)
    {
        const std::uint32_t index = index_.files_.Find(lookup.hash, lookup.folder, PendingName(lookup));
        FileValue& file = index_.files_[index].value;
        const bool again = file.lastMod == mod_;  // listed twice in one manifest: the later entry counts
        file.lastMod = mod_;
        again_ = again_ || again;
        if (file.spelledFolder == kNone) {
            file.spelledFolder = lookup.spelledFolder;
            file.spelledNameAt = lookup.asSpelled ? kNone : index_.AppendSpelling(lookup.spelledName);
        } else if (!SpelledAsFirst(file, lookup)) {
            spellings_.push_back(Spelling{index, lookup.spelledFolder, index_.AppendSpelling(lookup.spelledName)});
        } else if (again) {
            spellings_.push_back(Spelling{index, kNone, kNone});  // back to the first holder's spelling
        }
        index_.holdings_.Push(Holding{index, lookup.copy});
    }

    bool SpelledAsFirst(const FileValue& file, const Lookup& lookup) const
    {
        if (file.spelledFolder != lookup.spelledFolder)
            return false;
        if (file.spelledNameAt == kNone || lookup.asSpelled)
            return file.spelledNameAt == kNone && lookup.asSpelled;
        return index_.SpelledName(file.spelledNameAt) == BytesOf(lookup.spelledName);
    }

    // A file the manifest lists more than once is held once, as its last entry says.
    void KeepLastOfEachFile()
    {
        const auto lastOfEach = [](auto items) {
            std::stable_sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return a.file < b.file; });
            std::size_t kept = 0;
            for (std::size_t i = 0; i < items.size(); ++i) {
                if (i + 1 < items.size() && items[i + 1].file == items[i].file)
                    continue;
                items[kept++] = items[i];
            }
            return kept;
        };
        index_.holdings_.Shorten(lastOfEach(index_.holdings_.Open()));
        spellings_.resize(lastOfEach(std::span<Spelling>(spellings_)));
        spellings_.erase(std::remove_if(spellings_.begin(), spellings_.end(), [](const Spelling& s) { return s.nameAt == kNone; }),
                         spellings_.end());
    }

    ConflictIndex& index_;
    std::uint32_t mod_ = kNone;
    std::vector<FolderRecord> folderRecords_;  // the manifest's folders
    std::vector<Spelling> spellings_;
    bool again_ = false;                       // a file listed twice
    static constexpr std::size_t kPending = 64;
    Lookup pending_[kPending];
    std::size_t pendingCount_ = 0;
    std::vector<char> names_;  // the pending lookups' folded names: [0, used_)
    std::size_t used_ = 0;
    std::vector<char> level_;
};

namespace {

std::uint64_t NewStamp()
{
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}

}  // namespace

ConflictIndex::ConflictIndex() : stamp_(NewStamp()) {}

void ConflictIndex::Changed() { stamp_ = NewStamp(); }

std::uint32_t ConflictIndex::AppendSpelling(const ManifestText& name)
{
    const std::string_view bytes = BytesOf(name);
    if (bytes.size() + 2 > kNone - spelledNames_.size())
        throw std::bad_alloc();
    const auto at = static_cast<std::uint32_t>(spelledNames_.size());
    spelledNames_.push_back(static_cast<char>(name.length & 0xFF));
    spelledNames_.push_back(static_cast<char>(name.length >> 8));
    spelledNames_.append(bytes);
    return at;
}

std::string_view ConflictIndex::SpelledName(std::uint32_t at) const
{
    const std::size_t units = static_cast<unsigned char>(spelledNames_[at]) |
                              (std::size_t{static_cast<unsigned char>(spelledNames_[at + 1])} << 8);
    return std::string_view(spelledNames_).substr(at + 2, 2 * units);
}

std::uint32_t ConflictIndex::NewMod(const std::wstring& name)
{
    Remove(name);
    Changed();
    if (mods_.size() >= kNone - 1)
        throw std::bad_alloc();
    const auto mod = static_cast<std::uint32_t>(mods_.size());
    mods_.push_back(IndexedMod{name, std::nullopt, {}, {}, {}});
    modByName_[name] = mod;
    return mod;
}

void ConflictIndex::Remove(const std::wstring& name)
{
    const auto it = modByName_.find(name);
    if (it == modByName_.end())
        return;
    holdings_.Free(mods_[it->second].holdings);
    mods_[it->second] = IndexedMod{};
    modByName_.erase(it);
    Changed();
    // Mods read again and again leave their old holdings behind: once they
    // outweigh the rest, the rest is copied anew.
    if (holdings_.Dead() > holdings_.Live()) {
        BlockRuns<Holding> kept;
        for (IndexedMod& mod : mods_) {
            for (const Holding& holding : holdings_[mod.holdings])
                kept.Push(holding);
            mod.holdings = kept.Close();
        }
        holdings_ = std::move(kept);
    }
}

bool ConflictIndex::Holds(const std::wstring& name) const { return modByName_.count(name) != 0; }

void ConflictIndex::AddUnchecked(const std::wstring& name, UncheckedReason reason, platform::FsStatus status)
{
    IndexedMod& mod = mods_[NewMod(name)];
    mod.unchecked = reason;
    mod.status = status;
}

void ConflictIndex::Add(const std::wstring& name, const unsigned char* bytes, std::size_t length)
{
    Builder builder(*this);
    builder.Begin(NewMod(name));
    builder.End(ReadManifest(bytes, length, builder));
}

void ConflictIndex::Add(const std::wstring& name, const Manifest& manifest)
{
    Builder builder(*this);
    builder.Begin(NewMod(name));
    for (const ManifestText& folder : manifest.folders)
        builder.Folder(folder);
    for (const ManifestEntry& entry : manifest.entries)
        builder.File(entry);
    builder.End(true);
}

void ConflictIndex::Read(platform::FileSystem& fileSystem, const std::wstring& folder, const std::vector<std::wstring>& names,
                         const StepProgress& progress)
{
    Builder builder(*this);
    std::vector<unsigned char> bytes;  // one buffer for all, reused while it is small
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (progress)
            progress(i, names.size());
        const std::wstring path = platform::JoinPath(folder, CompanionName(names[i]));
        const platform::FsStatus read = fileSystem.ReadWholeFile(path, kMaxManifestBytes, bytes);
        if (!read.ok()) {
            // Gone, or changed into something else, since the list was read: not checked either way.
            const UncheckedReason reason = platform::IsNotFound(read) ? UncheckedReason::NoManifest
                                         : platform::IsTooLarge(read) ? UncheckedReason::TooLarge
                                                                      : UncheckedReason::Unreadable;
            AddUnchecked(names[i], reason, read);
        } else {
            builder.Begin(NewMod(names[i]));
            builder.End(ReadManifest(bytes.data(), bytes.size(), builder));
        }
        if (bytes.capacity() > kKeptBufferBytes)
            bytes = {};
    }
    holdings_.Trim();
    files_.Trim();
}

std::vector<std::uint32_t> ConflictIndex::ModsOfRows(const std::vector<ListedModToCheck>& rows) const
{
    std::vector<std::uint32_t> modOf(rows.size(), kNone);
    std::vector<bool> taken(mods_.size(), false);
    for (std::size_t r = 0; r < rows.size(); ++r)
        if (const auto it = modByName_.find(rows[r].name); it != modByName_.end() && !taken[it->second]) {
            modOf[r] = it->second;
            taken[it->second] = true;
        }
    // The others by their names without the extension (a mod enabled or
    // disabled since), where one mod left and one row have it.
    const auto stemOf = [](const std::wstring& name) { return platform::FoldedCase(ModListEntryOf(name).name); };
    std::unordered_map<std::wstring, std::uint32_t> byStem;
    for (std::uint32_t m = 0; m < mods_.size(); ++m)
        if (!taken[m] && !mods_[m].name.empty()) {
            const auto [it, added] = byStem.emplace(stemOf(mods_[m].name), m);
            if (!added)
                it->second = kNone;
        }
    if (byStem.empty())
        return modOf;
    std::unordered_map<std::wstring, std::size_t> rowsOfStem;
    for (std::size_t r = 0; r < rows.size(); ++r)
        if (modOf[r] == kNone)
            ++rowsOfStem[stemOf(rows[r].name)];
    for (std::size_t r = 0; r < rows.size(); ++r)
        if (modOf[r] == kNone) {
            const std::wstring stem = stemOf(rows[r].name);
            if (const auto it = byStem.find(stem); it != byStem.end() && rowsOfStem[stem] == 1)
                modOf[r] = it->second;
        }
    return modOf;
}

ConflictAnalysis ConflictIndex::Analyse(const std::vector<ListedModToCheck>& rows,
                                        const std::vector<IntendedOverlap>& intended) const
{
    constexpr std::uint32_t kDiffers = 0x80000000u;  // in a file's count: its copies differ
    if (rows.size() >= kDiffers)
        throw std::bad_alloc();
    ConflictAnalysis analysis;
    analysis.indexStamp_ = stamp_;
    const auto n = static_cast<std::uint32_t>(rows.size());
    analysis.rows_.resize(n);
    analysis.selected_.resize(n);
    analysis.intends_.assign(n, false);
    analysis.modOf_ = ModsOfRows(rows);
    for (std::uint32_t r = 0; r < n; ++r) {
        analysis.selected_[r] = rows[r].selected;
        RowConflicts& row = analysis.rows_[r];
        const std::uint32_t m = analysis.modOf_[r];
        if (m != kNone)
            row.files = HoldingsOf(m).size();
        if (!rows[r].enabled)
            continue;  // the game does not load it
        if (m == kNone) {
            row.mark = ConflictMark::Unknown;
        } else if (mods_[m].unchecked) {
            row.mark = ConflictMark::Unchecked;
            row.reason = *mods_[m].unchecked;
            row.status = mods_[m].status;
        } else {
            analysis.taking_.push_back(r);
        }
    }

    // The pairs the player intends, as rows; a name may be several rows.
    if (!intended.empty()) {
        std::unordered_map<std::wstring, std::vector<std::uint32_t>> rowsNamed;
        for (std::uint32_t r = 0; r < n; ++r)
            rowsNamed[platform::FoldedCase(ModListEntryOf(rows[r].name).name)].push_back(r);
        for (const IntendedOverlap& pair : intended) {
            const auto over = rowsNamed.find(platform::FoldedCase(pair.overriding));
            const auto under = rowsNamed.find(platform::FoldedCase(pair.overridden));
            if (over == rowsNamed.end() || under == rowsNamed.end())
                continue;
            for (const std::uint32_t a : over->second)
                for (const std::uint32_t b : under->second) {
                    analysis.intended_.emplace_back(a, b);
                    analysis.intends_[a] = true;
                }
        }
        std::sort(analysis.intended_.begin(), analysis.intended_.end());
    }

    // Each file's winner, the last to hold it, and whether the copies differ.
    std::vector<std::uint32_t>& winner = analysis.winner_;
    winner.assign(files_.size(), kNone);
    std::vector<std::uint32_t> count(files_.size(), 0);
    {
        std::vector<Copy> first(files_.size());
        for (const std::uint32_t r : analysis.taking_)
            for (const Holding& holding : HoldingsOf(analysis.modOf_[r])) {
                std::uint32_t& held = count[holding.file];
                if (held == 0)
                    first[holding.file] = holding.copy;
                else if (!(holding.copy == first[holding.file]))
                    held |= kDiffers;
                ++held;
                winner[holding.file] = r;
            }
    }
    std::vector<std::uint8_t>& flags = analysis.flags_;
    flags.assign(files_.size(), 0);
    for (std::uint32_t f = 0; f < count.size(); ++f) {
        if ((count[f] & ~kDiffers) < 2)
            winner[f] = kNone;
        else if (!(count[f] & kDiffers))
            flags[f] = ConflictAnalysis::kIdentical;
        count[f] = 0;  // from here: the holders a mark counts against
    }

    // A mod loses a file whenever a later one holds it; only a loss to a
    // copy that differs, not meant by the player, marks it.
    std::vector<std::uint32_t> lost(n, 0);
    for (const std::uint32_t r : analysis.taking_) {
        RowConflicts& row = analysis.rows_[r];
        for (const Holding& holding : HoldingsOf(analysis.modOf_[r])) {
            const std::uint32_t w = winner[holding.file];
            if (w == kNone || w == r)
                continue;
            ++lost[r];
            if (!analysis.Differs(holding.file) || analysis.Intended(w, r))
                continue;
            ++row.overriddenFiles;
            ++count[holding.file];
        }
    }
    for (std::uint32_t f = 0; f < count.size(); ++f)
        if (analysis.Differs(f)) {
            if (count[f] > 0)
                ++analysis.rows_[winner[f]].overridingFiles;
            else
                flags[f] |= ConflictAnalysis::kIntended;
        }
    for (const std::uint32_t r : analysis.taking_) {
        RowConflicts& row = analysis.rows_[r];
        const bool overrides = row.overridingFiles > 0, overridden = row.overriddenFiles > 0;
        row.mark = overridden && lost[r] == row.files ? ConflictMark::FullyOverridden
                 : overrides && overridden            ? ConflictMark::Both
                 : overrides                          ? ConflictMark::Overrides
                 : overridden                         ? ConflictMark::Overridden
                                                      : ConflictMark::None;
    }
    return analysis;
}

bool ConflictAnalysis::IntendedPair(std::uint32_t overriding, std::uint32_t overridden) const
{
    return std::binary_search(intended_.begin(), intended_.end(), std::pair{overriding, overridden});
}

ModRelations ConflictIndex::RelationsOf(const ConflictAnalysis& analysis, std::size_t row) const
{
    ModRelations relations;
    if (!Analysed(analysis) || row >= analysis.rows_.size())
        return relations;
    const std::size_t n = analysis.rows_.size();
    std::vector<std::uint32_t> overrides(n, 0), overriddenBy(n, 0);
    for (const std::uint32_t r : analysis.taking_)
        for (const Holding& holding : HoldingsOf(analysis.modOf_[r])) {
            const std::uint32_t w = analysis.winner_[holding.file];
            if (w == r || !analysis.Differs(holding.file))
                continue;
            if (w == row)
                ++overrides[r];
            else if (r == row)
                ++overriddenBy[w];
        }
    const auto r = static_cast<std::uint32_t>(row);
    for (std::uint32_t other = 0; other < n; ++other) {
        if (overrides[other])
            relations.overrides.push_back(ModOverlap{other, overrides[other], analysis.Intended(r, other)});
        if (overriddenBy[other])
            relations.overriddenBy.push_back(ModOverlap{other, overriddenBy[other], analysis.Intended(other, r)});
    }
    return relations;
}

std::vector<ModRelations> ConflictIndex::AllRelations(const ConflictAnalysis& analysis) const
{
    if (!Analysed(analysis))
        return {};
    const std::size_t n = analysis.rows_.size();
    std::vector<ModRelations> relations(n);
    // Each row's losses, counted by winner; then the same turned round.
    std::vector<std::uint32_t> files(n, 0), touched;
    for (const std::uint32_t r : analysis.taking_) {
        for (const Holding& holding : HoldingsOf(analysis.modOf_[r])) {
            const std::uint32_t w = analysis.winner_[holding.file];
            if (w != r && analysis.Differs(holding.file) && files[w]++ == 0)
                touched.push_back(w);
        }
        std::sort(touched.begin(), touched.end());
        for (const std::uint32_t w : touched) {
            relations[r].overriddenBy.push_back(ModOverlap{w, files[w], analysis.Intended(w, r)});
            files[w] = 0;
        }
        touched.clear();
    }
    for (std::uint32_t loser = 0; loser < n; ++loser)
        for (const ModOverlap& overlap : relations[loser].overriddenBy)
            relations[overlap.row].overrides.push_back(ModOverlap{loser, overlap.files, overlap.intended});
    return relations;
}

std::vector<std::wstring> ConflictIndex::FoldersOf(const ConflictAnalysis& analysis, std::size_t row, std::size_t levels) const
{
    if (!Analysed(analysis) || row >= analysis.modOf_.size() || analysis.modOf_[row] == kNone || levels == 0)
        return {};
    // Each folder's place `levels` deep, worked out once per folder.
    std::vector<std::uint32_t> upTo(folders_.size() + 1, kNone);
    std::vector<std::uint32_t> found;
    for (const Holding& holding : HoldingsOf(analysis.modOf_[row])) {
        const std::uint32_t folder = files_[holding.file].folder;
        if (folder == kRoot || upTo[folder] != kNone)
            continue;
        std::vector<std::uint32_t> path;  // from the folder up to the root
        for (std::uint32_t up = folder; up != kRoot; up = folders_[up - 1].folder)
            path.push_back(up);
        upTo[folder] = path[path.size() - std::min(levels, path.size())];
        found.push_back(upTo[folder]);
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());

    std::vector<std::wstring> paths;
    for (const std::uint32_t folder : found) {
        std::vector<std::string_view> names;
        for (std::uint32_t up = folder; up != kRoot; up = folders_[up - 1].folder)
            names.push_back(folders_.NameOf(folders_[up - 1]));
        std::string units;  // UTF-16LE, levels joined by "/"
        for (auto name = names.rbegin(); name != names.rend(); ++name) {
            if (!units.empty())
                units.append("/\0", 2);
            units.append(*name);
        }
        paths.push_back(JoinedPath({}, ManifestText{reinterpret_cast<const unsigned char*>(units.data()), units.size() / 2}));
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

}  // namespace mods
