#include "mods/IntendedOverlaps.h"

#include <algorithm>
#include <set>

#include "mods/ModList.h"
#include "platform/LetterCase.h"
#include "platform/Paths.h"
#include "platform/Utf8.h"

namespace mods {
namespace {

constexpr std::string_view kMagic = "# PakOrder intended overlaps ";
constexpr unsigned kVersion = 1;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kExplanation = "# each line: a mod, \" > \", a mod it is meant to override\n";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The names of "A > B" as written, before they are checked as names.
std::optional<std::pair<std::string_view, std::string_view>> SplitPair(std::string_view text)
{
    const std::size_t mark = text.find('>');
    if (mark == std::string_view::npos || mark < 2 || text.size() - mark < 3 || !IsBlank(text[mark - 1]) ||
        !IsBlank(text[mark + 1]))
        return std::nullopt;
    return std::pair{text.substr(0, mark - 1), text.substr(mark + 2)};
}

std::pair<std::wstring, std::wstring> FoldedPair(const IntendedOverlap& pair)
{
    return {platform::FoldedCase(pair.overriding), platform::FoldedCase(pair.overridden)};
}

}  // namespace

std::wstring IntendedOverlapsPath(const std::wstring& recordsFolder)
{
    return platform::JoinPath(recordsFolder, L"intended-overlaps.txt");
}

std::optional<std::string> FormatOverlapPair(const IntendedOverlap& pair)
{
    if (!IsModListName(pair.overriding) || !IsModListName(pair.overridden) ||
        platform::FoldedCase(pair.overriding) == platform::FoldedCase(pair.overridden))
        return std::nullopt;
    std::string text = platform::ToUtf8(pair.overriding);
    text += " > ";
    platform::AppendUtf8(text, pair.overridden);
    return text;
}

std::optional<IntendedOverlap> ParseOverlapPair(std::string_view text)
{
    const auto names = SplitPair(text);
    if (!names || !IsStrictUtf8(text) || text.find('\0') != std::string_view::npos)
        return std::nullopt;
    IntendedOverlap pair{platform::FromUtf8(names->first), platform::FromUtf8(names->second)};
    if (!FormatOverlapPair(pair))
        return std::nullopt;
    return pair;
}

bool SameOverlap(const IntendedOverlap& a, const IntendedOverlap& b) { return FoldedPair(a) == FoldedPair(b); }

bool AddOverlap(std::vector<IntendedOverlap>& pairs, const IntendedOverlap& pair)
{
    if (std::any_of(pairs.begin(), pairs.end(), [&](const IntendedOverlap& p) { return SameOverlap(p, pair); }))
        return false;
    pairs.push_back(pair);
    return true;
}

bool RemoveOverlap(std::vector<IntendedOverlap>& pairs, const IntendedOverlap& pair)
{
    const auto kept = std::remove_if(pairs.begin(), pairs.end(), [&](const IntendedOverlap& p) { return SameOverlap(p, pair); });
    const bool removed = kept != pairs.end();
    pairs.erase(kept, pairs.end());
    return removed;
}

std::string FormatIntendedOverlaps(const std::vector<IntendedOverlap>& pairs)
{
    std::string text(kMagic);
    text += std::to_string(kVersion);
    text += '\n';
    text += kExplanation;
    for (const IntendedOverlap& pair : pairs)
        if (const std::optional<std::string> line = FormatOverlapPair(pair)) {
            text += *line;
            text += '\n';
        }
    return text;
}

std::string WithOverlapAdded(std::string_view text, const IntendedOverlap& pair)
{
    const std::optional<std::string> line = FormatOverlapPair(pair);
    if (text.empty() || !line)
        return text.empty() ? FormatIntendedOverlaps({pair}) : std::string(text);
    const std::size_t firstEnd = text.find('\n');
    const std::string_view lineEnd = firstEnd != std::string_view::npos && firstEnd > 0 && text[firstEnd - 1] == '\r'
                                         ? "\r\n" : "\n";
    std::string edited(text);
    if (edited.back() != '\n')
        edited += lineEnd;
    edited += *line;
    edited += lineEnd;
    return edited;
}

std::string WithOverlapRemoved(std::string_view text, const IntendedOverlap& pair)
{
    std::string edited;
    edited.reserve(text.size());
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size() - 1) + 1;
        const std::string_view line = text.substr(start, end - start);
        const std::string_view words = TrimLineEnd(line.substr(0, line.size() - (line.back() == '\n')));
        const std::optional<IntendedOverlap> named = start == 0 ? std::nullopt : ParseOverlapPair(words);
        if (!named || !SameOverlap(*named, pair))
            edited += line;
        start = end;
    }
    return edited;
}

std::vector<IntendedOverlap> ParseIntendedOverlaps(const std::vector<unsigned char>& bytes,
                                                   std::vector<OverlapsProblem>& problems)
{
    std::vector<IntendedOverlap> pairs;
    if (bytes.size() > kMaxIntendedOverlapsBytes) {
        problems.push_back(OverlapsProblem{OverlapsFault::TooLarge, 0, {}});
        return pairs;
    }
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());

    std::set<std::pair<std::wstring, std::wstring>> seen;
    int number = 0;
    for (std::size_t start = 0; start < text.size() || number == 0;) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = TrimLineEnd(text.substr(start, end - start));
        start = end + 1;
        ++number;
        if (number == 1) {
            const std::optional<unsigned> version = HeaderVersion(line, kMagic);
            if (!version || *version != kVersion) {
                problems.push_back(OverlapsProblem{version ? OverlapsFault::OtherVersion : OverlapsFault::NotOverlapsFile, 1, {}});
                return pairs;
            }
            continue;
        }
        if (line.empty() || line.front() == '#')
            continue;
        const auto names = SplitPair(line);
        if (!names || !IsStrictUtf8(line) || line.find('\0') != std::string_view::npos) {
            problems.push_back(OverlapsProblem{OverlapsFault::BadLine, number, {}});
            continue;
        }
        IntendedOverlap pair{platform::FromUtf8(names->first), platform::FromUtf8(names->second)};
        if (!IsModListName(pair.overriding) || !IsModListName(pair.overridden)) {
            problems.push_back(OverlapsProblem{OverlapsFault::BadName, number,
                                               IsModListName(pair.overriding) ? pair.overridden : pair.overriding});
            continue;
        }
        auto folded = FoldedPair(pair);
        if (folded.first == folded.second) {
            problems.push_back(OverlapsProblem{OverlapsFault::SameMod, number, pair.overriding});
            continue;
        }
        if (!seen.insert(std::move(folded)).second) {
            problems.push_back(OverlapsProblem{OverlapsFault::Duplicate, number, {}});
            continue;
        }
        pairs.push_back(std::move(pair));
    }
    return pairs;
}

platform::FsStatus ReadIntendedOverlaps(platform::FileSystem& fileSystem, const std::wstring& path,
                                        std::vector<IntendedOverlap>& pairs, std::vector<OverlapsProblem>& problems)
{
    pairs.clear();
    std::vector<unsigned char> bytes;
    const platform::FsStatus read = fileSystem.ReadWholeFile(path, kMaxIntendedOverlapsBytes, bytes);
    if (platform::IsNotFound(read))
        return {};
    if (platform::IsTooLarge(read)) {
        problems.push_back(OverlapsProblem{OverlapsFault::TooLarge, 0, {}});
        return {};
    }
    if (!read.ok())
        return read;
    pairs = ParseIntendedOverlaps(bytes, problems);
    return {};
}

platform::FsStatus WriteIntendedOverlaps(platform::FileSystem& fileSystem, const std::wstring& path,
                                         const std::vector<IntendedOverlap>& pairs)
{
    const platform::FsStatus made = fileSystem.CreateFolders(platform::GetFolderOfPath(path));
    if (!made.ok())
        return made;
    return fileSystem.WriteFileDurably(path, FormatIntendedOverlaps(pairs));
}

}  // namespace mods
