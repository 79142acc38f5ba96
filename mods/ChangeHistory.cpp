#include "mods/ChangeHistory.h"

#include <algorithm>
#include <limits>
#include <map>
#include <set>

#include "mods/FolderState.h"
#include "platform/LetterCase.h"
#include "platform/Paths.h"
#include "platform/Utf8.h"

namespace mods {
namespace {

constexpr std::wstring_view kPrefix = L"change-";
constexpr std::wstring_view kSuffix = L".txt";

std::wstring FileOfNumber(std::uint64_t sequence)
{
    std::wstring digits = std::to_wstring(sequence);
    if (digits.size() < 8)
        digits.insert(0, 8 - digits.size(), L'0');  // so that the files sort by name too
    return std::wstring(kPrefix) + digits + std::wstring(kSuffix);
}

std::optional<std::uint64_t> NumberOfFile(std::wstring_view name)
{
    if (name.size() <= kPrefix.size() + kSuffix.size() || name.substr(0, kPrefix.size()) != kPrefix ||
        name.substr(name.size() - kSuffix.size()) != kSuffix)
        return std::nullopt;
    const std::wstring_view digits = name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
    std::uint64_t number = 0;
    for (const wchar_t c : digits) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c - L'0');
        if (number > (std::numeric_limits<std::uint64_t>::max() - digit) / 10)
            return std::nullopt;  // past any number: no record of ours
        number = number * 10 + digit;
    }
    // Only the name a record of this number is given: "change-1.txt" is
    // not the file RecordPath(1) reads.
    if (name != FileOfNumber(number))
        return std::nullopt;
    return number;
}

struct Stacks {
    std::vector<const ChangeRecord*> done, undone;
};

Stacks Walk(const std::vector<ChangeRecord>& newestFirst)
{
    // A finished recovery takes back the record it steps through and, where
    // that is a recovery that did not finish, the action that one was
    // taking back. A recovery that did not finish has taken nothing back.
    std::map<std::uint64_t, const ChangeRecord*> bySequence;
    for (const ChangeRecord& record : newestFirst)
        bySequence.emplace(record.sequence, &record);
    std::set<std::uint64_t> recovered;
    for (const ChangeRecord& record : newestFirst) {
        if (record.action != RecordedAction::Recover || !record.complete)
            continue;
        for (std::optional<std::uint64_t> step = record.stepOf; step && recovered.insert(*step).second;) {
            const auto earlier = bySequence.find(*step);
            step = earlier != bySequence.end() && earlier->second->action == RecordedAction::Recover
                       ? earlier->second->stepOf
                       : std::nullopt;
        }
    }
    Stacks stacks;
    for (auto it = newestFirst.rbegin(); it != newestFirst.rend(); ++it) {
        const ChangeRecord& record = *it;
        if (record.action == RecordedAction::Recover || recovered.count(record.sequence))
            continue;
        if (record.action == RecordedAction::Undo) {
            if (!stacks.done.empty() && stacks.done.back()->sequence == record.stepOf) {
                if (stacks.done.back()->complete)
                    stacks.undone.push_back(stacks.done.back());
                stacks.done.pop_back();
            }
        } else if (record.action == RecordedAction::Redo) {
            if (!stacks.undone.empty() && stacks.undone.back()->sequence == record.stepOf) {
                stacks.done.push_back(stacks.undone.back());
                stacks.undone.pop_back();
            }
        } else {
            stacks.done.push_back(&record);
            stacks.undone.clear();
        }
    }
    return stacks;
}

// FNV-1a: short, and the same on every system and in every version.
std::uint64_t StableHash(std::string_view bytes)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

std::wstring ComparablePath(const std::wstring& folder)
{
    std::wstring path = platform::StripTrailingSeparators(folder);
    for (wchar_t& c : path) {
        if (platform::IsPathSeparator(c))
            c = platform::kPathSeparator;
    }
#ifdef _WIN32
    return platform::FoldedCase(path);  // one folder however its letters are written
#else
    return path;  // Game/PAKS and game/PAKS are two folders
#endif
}

std::wstring HashName(const std::wstring& path)
{
    const std::uint64_t hash = StableHash(platform::ToUtf8(path));
    std::wstring name(16, L'0');
    for (int i = 15, shift = 0; i >= 0; --i, shift += 4)
        name[static_cast<std::size_t>(i)] = L"0123456789abcdef"[(hash >> shift) & 0xF];
    return name;
}

}  // namespace

std::wstring RecordsFolderName(const std::wstring& paksFolder) { return HashName(ComparablePath(paksFolder)); }

bool SameFolder(const std::wstring& a, const std::wstring& b) { return ComparablePath(a) == ComparablePath(b); }

ChangeHistory::ChangeHistory(platform::FileSystem& fileSystem, std::wstring historyRoot, std::wstring paksFolder)
    : fileSystem_(fileSystem),
      paksFolder_(std::move(paksFolder)),
      recordsFolder_(platform::JoinPath(historyRoot, RecordsFolderName(paksFolder_)))
{
}

std::wstring ChangeHistory::RecordPath(std::uint64_t sequence) const
{
    return platform::JoinPath(recordsFolder_, FileOfNumber(sequence));
}

std::vector<std::uint64_t> ChangeHistory::RecordNumbers()
{
    std::vector<platform::FolderEntry> entries;
    std::vector<std::uint64_t> numbers;
    if (!fileSystem_.ListFolder(recordsFolder_, entries).ok())
        return numbers;
    for (const platform::FolderEntry& entry : entries) {
        if (const auto number = NumberOfFile(entry.name); number && !entry.isFolder)
            numbers.push_back(*number);
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    newest_ = numbers.empty() ? std::nullopt : std::optional<std::uint64_t>(numbers.back());
    return numbers;
}

platform::FsStatus ChangeHistory::TryLock(std::unique_ptr<platform::FileLock>& lock)
{
    const platform::FsStatus made = fileSystem_.CreateFolders(recordsFolder_);
    if (!made.ok())
        return made;
    return fileSystem_.TryLockFile(platform::JoinPath(recordsFolder_, L"lock"), lock);
}

std::optional<ChangeRecord> ChangeHistory::Record(std::uint64_t sequence)
{
    RecordProblem problem;
    return Read(sequence, problem);
}

std::optional<ChangeRecord> ChangeHistory::Read(std::uint64_t sequence, RecordProblem& whyNot, RecordParts parts)
{
    std::vector<unsigned char> bytes;
    return Read(sequence, whyNot, parts, bytes);
}

std::optional<ChangeRecord> ChangeHistory::Read(std::uint64_t sequence, RecordProblem& whyNot, RecordParts parts,
                                                std::vector<unsigned char>& bytes)
{
    const platform::FsStatus read = fileSystem_.ReadWholeFile(RecordPath(sequence), kMaxRecordBytes, bytes);
    if (!read.ok()) {
        whyNot = RecordProblem{platform::IsTooLarge(read) ? RecordFault::TooLarge : RecordFault::Unreadable, 0, read};
        return std::nullopt;
    }
    auto record = ParseRecord(bytes, whyNot, parts);
    if (record && record->sequence != sequence) {
        whyNot = RecordProblem{RecordFault::WrongSequence, 0, {}};
        return std::nullopt;
    }
    return record;
}

platform::FsStatus ChangeHistory::Begin(RecordedAction action, std::vector<std::wstring> intent,
                                        std::optional<std::uint64_t> stepOf, std::uint64_t& sequence)
{
    std::vector<RecordedMod> before;
    if (const platform::FsStatus read = ReadFolderState(fileSystem_, paksFolder_, before); !read.ok())
        return read;
    return Begin(action, std::move(intent), stepOf, before, sequence);
}

platform::FsStatus ChangeHistory::Begin(RecordedAction action, std::vector<std::wstring> intent,
                                        std::optional<std::uint64_t> stepOf, const std::vector<RecordedMod>& before,
                                        std::uint64_t& sequence)
{
    // After an install, the state holds the mods before and those installed.
    if (before.size() + intent.size() > kMaxRecordedMods)
        return platform::TooLargeStatus();
    ChangeRecord record;
    record.paksFolder = paksFolder_;
    record.madeAt = fileSystem_.CurrentTime();
    record.action = action;
    record.intent = std::move(intent);
    record.stepOf = stepOf;
    // The text is kept without its last line: Complete adds the state after
    // to it, and the state before is never formatted twice. Its storage
    // serves every record: hundreds of KB, fresh from the system each time,
    // would cost as much as the formatting.
    begun_.reset();
    std::size_t opening = 0;
    platform::FsStatus written;
    // The number after the newest this object knows, in the folder it has
    // made; failing that (another PakOrder took the number, the folder was
    // removed), the folder made and the number after its newest.
    for (int attempt = newest_ ? 0 : 1; attempt < 3; ++attempt) {
        std::uint64_t newest = 0;
        if (attempt == 0) {
            newest = *newest_;
        } else {
            written = fileSystem_.CreateFolders(recordsFolder_);
            if (!written.ok())
                break;
            const std::vector<std::uint64_t> numbers = RecordNumbers();
            newest = numbers.empty() ? 0 : numbers.back();
        }
        // The largest number has none after it; wrapping to 0 would sort first.
        if (newest == std::numeric_limits<std::uint64_t>::max()) {
            written = platform::BadDataStatus();
            break;
        }
        record.sequence = newest + 1;
        FormatRecordOpening(text_, record, before, before.size());
        opening = text_.size();
        AppendRecordEnd(text_, nullptr);
        // A new file, written in place: a crash part-way leaves it without
        // its last line, which names it as damaged, and PAKS untouched.
        written = fileSystem_.WriteNewFileDurably(RecordPath(record.sequence), text_);
        if (written.ok() || (attempt > 0 && !platform::IsAlreadyExists(written)))
            break;
    }
    if (!written.ok()) {
        newest_.reset();
        return written;
    }
    text_.resize(opening);
    sequence = record.sequence;
    newest_ = sequence;
    begun_ = sequence;
    return {};
}

platform::FsStatus ChangeHistory::Complete(std::uint64_t sequence)
{
    std::vector<RecordedMod> after;
    if (const platform::FsStatus read = ReadFolderState(fileSystem_, paksFolder_, after); !read.ok())
        return read;
    return Complete(sequence, after);
}

platform::FsStatus ChangeHistory::Complete(std::uint64_t sequence, const std::vector<RecordedMod>& after)
{
    if (begun_ != sequence) {
        RecordProblem problem;
        const auto record = Read(sequence, problem);
        if (!record)
            return problem.status.ok() ? platform::BadDataStatus() : problem.status;
        FormatRecordOpening(text_, *record, record->before, after.size());
    }
    begun_.reset();
    AppendRecordEnd(text_, &after);
    const platform::FsStatus written = fileSystem_.WriteFileDurably(RecordPath(sequence), text_);
    if (written.ok())
        Prune();
    return written;
}

void ChangeHistory::Prune()
{
    const std::vector<std::uint64_t> numbers = RecordNumbers();
    for (std::size_t i = 0; i + kRecordsKept < numbers.size(); ++i)
        fileSystem_.RemoveFile(RecordPath(numbers[i]));
    // A record's temporary file left by a program stopped while completing
    // it. Records are written only under the folder's lock, which the
    // caller holds, so no one is writing one now.
    std::vector<platform::FolderEntry> entries;
    if (!fileSystem_.ListFolder(recordsFolder_, entries).ok())
        return;
    for (const platform::FolderEntry& entry : entries) {
        const std::wstring_view name = entry.name;
        if (!entry.isFolder && name.substr(0, kPrefix.size()) == kPrefix && name.size() > platform::kTemporaryFileSuffix.size() &&
            name.substr(name.size() - platform::kTemporaryFileSuffix.size()) == platform::kTemporaryFileSuffix)
            fileSystem_.RemoveFile(platform::JoinPath(recordsFolder_, entry.name));
    }
}

ChangeHistory::Listing ChangeHistory::List(RecordParts parts)
{
    Listing listing;
    std::vector<std::uint64_t> numbers = RecordNumbers();
    std::reverse(numbers.begin(), numbers.end());
    std::vector<unsigned char> bytes;  // one buffer for every record: it is not zeroed again for each
    for (const std::uint64_t number : numbers) {
        RecordProblem problem;
        if (auto record = Read(number, problem, parts, bytes))
            listing.records.push_back(std::move(*record));
        else
            listing.damaged.push_back(DamagedRecord{FileOfNumber(number), problem});
    }
    return listing;
}

ChangeHistory::NextSteps ChangeHistory::StepsOf(const Listing& listing)
{
    const Stacks stacks = Walk(listing.records);
    NextSteps steps;
    if (!stacks.done.empty())
        steps.undo = stacks.done.back()->sequence;
    if (!stacks.undone.empty())
        steps.redo = stacks.undone.back()->sequence;
    return steps;
}

std::optional<ChangeRecord> ChangeHistory::UnfinishedNewest()
{
    for (const RecordParts parts : {RecordParts::WithoutStates, RecordParts::Whole}) {
        Listing listing = List(parts);
        if (listing.records.empty() || listing.records.front().complete)
            return std::nullopt;
        if (parts == RecordParts::Whole)
            return std::move(listing.records.front());
        RecordProblem problem;
        if (auto whole = Read(listing.records.front().sequence, problem))
            return whole;
    }
    return std::nullopt;
}

std::optional<ChangeRecord> ChangeHistory::TopOfStack(bool undo)
{
    // The walk needs no states: the records are read without them, and
    // only the one on top is read whole. A record damaged past its first
    // lines is found then, and the walk made again over whole records, so
    // that it is skipped as List skips it.
    for (const RecordParts parts : {RecordParts::WithoutStates, RecordParts::Whole}) {
        const Listing listing = List(parts);
        const Stacks stacks = Walk(listing.records);
        const std::vector<const ChangeRecord*>& stack = undo ? stacks.done : stacks.undone;
        if (stack.empty())
            return std::nullopt;
        if (parts == RecordParts::Whole)
            return *stack.back();
        RecordProblem problem;
        if (auto whole = Read(stack.back()->sequence, problem))
            return whole;
    }
    return std::nullopt;
}

std::optional<ChangeRecord> ChangeHistory::NextUndo() { return TopOfStack(true); }

std::optional<ChangeRecord> ChangeHistory::NextRedo() { return TopOfStack(false); }

}  // namespace mods
