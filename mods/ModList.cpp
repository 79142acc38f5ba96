#include "mods/ModList.h"

#include <charconv>
#include <cstdint>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "mods/Arrangement.h"
#include "mods/ModCatalogue.h"
#include "mods/ModFile.h"
#include "platform/LetterCase.h"
#include "platform/Utf8.h"

namespace mods {
namespace {

constexpr std::string_view kMagic = "# PakOrder mod list ";
constexpr unsigned kVersion = 1;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kExplanation = "# + enabled, - disabled; in load order, the first loaded first\n";
constexpr std::string_view kPairExplanation = "# = a mod, \" > \", a mod it is meant to override\n";
// ".PAK.MAN" is added to the name on disk; a file name holds at most 255.
constexpr std::size_t kMaxNameLength = 255 - 8;

// Names Windows keeps for devices, whatever follows them after a dot.
bool IsReservedDeviceName(std::wstring_view name)
{
    std::wstring_view stem = name.substr(0, name.find(L'.'));
    while (!stem.empty() && stem.back() == L' ')
        stem.remove_suffix(1);
    const std::wstring folded = platform::FoldedCase(stem);
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
        if (folded == device)
            return true;
    if (folded.size() == 4 && (folded.compare(0, 3, L"COM") == 0 || folded.compare(0, 3, L"LPT") == 0)) {
        const wchar_t digit = folded[3];
        return (digit >= L'0' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' || digit == L'\u00B3';
    }
    return false;
}

}  // namespace

std::string_view TrimLineEnd(std::string_view line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    return line;
}

std::optional<unsigned> HeaderVersion(std::string_view firstLine, std::string_view magic)
{
    if (firstLine.substr(0, magic.size()) != magic)
        return std::nullopt;
    const std::string_view digits = firstLine.substr(magic.size());
    unsigned version = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), version);
    if (error != std::errc() || end != digits.data() + digits.size() || digits.empty())
        return std::nullopt;
    return version;
}

bool IsStrictUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        std::uint32_t c = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, c = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, c = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, c = lead & 0x07u;
        } else {
            return false;
        }
        if (text.size() - i < length)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (next & 0x3Fu);
        }
        if ((length == 3 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) || (length == 4 && (c < 0x10000 || c > 0x10FFFF)))
            return false;
        i += length;
    }
    return true;
}

ModListEntry ModListEntryOf(std::wstring_view pakName)
{
    const std::size_t extension = FileExtension(pakName).size();
    const std::wstring_view name = pakName.substr(0, pakName.size() - (extension ? extension + 1 : 0));
    return ModListEntry{std::wstring(name), !IsDisabledModName(pakName)};
}

bool IsModListName(std::wstring_view name)
{
    if (name.empty() || name.size() > kMaxNameLength || name.back() == L' ' || platform::ToUtf8(name).size() > kMaxNameLength)
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<std::uint32_t>(name[i]);
        if (c < 0x20 || c == 0x7F || std::wstring_view(L"<>:\"/\\|?*").find(name[i]) != std::wstring_view::npos)
            return false;
        if (c >= 0xD800 && c <= 0xDFFF) {
            // Half a pair cannot be UTF-8: only a whole UTF-16 pair is a character.
            const bool pairStart = sizeof(wchar_t) == 2 && c <= 0xDBFF && i + 1 < name.size() &&
                                   static_cast<std::uint32_t>(name[i + 1]) >= 0xDC00 &&
                                   static_cast<std::uint32_t>(name[i + 1]) <= 0xDFFF;
            if (!pairStart)
                return false;
            ++i;
        }
    }
    return !IsReservedDeviceName(name);
}

std::string FormatModList(const std::vector<ModListEntry>& mods, std::vector<std::wstring>* leftOut)
{
    return FormatModList(mods, {}, leftOut);
}

std::string FormatModList(const std::vector<ModListEntry>& mods, const std::vector<IntendedOverlap>& intended,
                          std::vector<std::wstring>* leftOut)
{
    std::string text(kMagic);
    text += std::to_string(kVersion);
    text += '\n';
    text += kExplanation;
    for (const ModListEntry& mod : mods) {
        if (!IsModListName(mod.name)) {
            if (leftOut)
                leftOut->push_back(mod.name);
            continue;
        }
        text += mod.enabled ? "+ " : "- ";
        text += platform::ToUtf8(mod.name);
        text += '\n';
    }
    if (!intended.empty())
        text += kPairExplanation;
    for (const IntendedOverlap& pair : intended)
        if (const std::optional<std::string> line = FormatOverlapPair(pair)) {
            text += "= ";
            text += *line;
            text += '\n';
        }
    return text;
}

std::vector<std::wstring> NamesTakenTwice(const std::vector<ModListEntry>& mods)
{
    // Each folded name: the first mod that takes it, null once reported.
    std::unordered_map<std::wstring, const std::wstring*> firstOf;
    std::vector<std::wstring> twice;
    for (const ModListEntry& mod : mods) {
        if (!IsModListName(mod.name))
            continue;
        const auto [it, first] = firstOf.emplace(platform::FoldedCase(mod.name), &mod.name);
        if (!first && it->second) {
            twice.push_back(*it->second);
            it->second = nullptr;
        }
    }
    return twice;
}

namespace {

ModListExport ExportNamed(const std::vector<ModListEntry>& entries)
{
    ModListExport list;
    list.takenTwice = NamesTakenTwice(entries);
    if (list.takenTwice.empty())
        list.text = FormatModList(entries, &list.leftOut);
    return list;
}

}  // namespace

ModListExport ExportModList(const std::vector<ArrangedMod>& rows)
{
    std::vector<ModListEntry> entries;
    for (const ArrangedMod& row : rows)
        entries.push_back(ModListEntryOf(row.name));
    return ExportNamed(entries);
}

ModListExport ExportModList(const std::vector<ModEntry>& mods)
{
    std::vector<ModListEntry> entries;
    for (const ModEntry& mod : mods)
        entries.push_back(ModListEntryOf(mod.fileName));
    return ExportNamed(entries);
}

std::optional<ModListContents> ParseModListContents(const std::vector<unsigned char>& bytes, ModListProblem& whyNot)
{
    if (bytes.size() > kMaxModListBytes) {
        whyNot = ModListProblem{ModListFault::TooLarge, 0, {}};
        return std::nullopt;
    }
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.find('\0') != std::string_view::npos || !IsStrictUtf8(text)) {
        whyNot = ModListProblem{ModListFault::Binary, 0, {}};
        return std::nullopt;
    }
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());  // as Notepad saves UTF-8

    ModListContents list;
    std::unordered_set<std::wstring> seen;
    std::set<std::pair<std::wstring, std::wstring>> seenPairs;
    int number = 0;
    for (std::size_t start = 0; start < text.size() || number == 0;) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = TrimLineEnd(text.substr(start, end - start));
        start = end + 1;
        ++number;
        if (number == 1) {
            const std::optional<unsigned> version = HeaderVersion(line, kMagic);
            if (!version || *version != kVersion) {
                whyNot = ModListProblem{version ? ModListFault::OtherVersion : ModListFault::NotAModList, 1, {}};
                return std::nullopt;
            }
            continue;
        }
        if (line.empty() || line.front() == '#')
            continue;
        if (line.size() < 3 || (line[0] != '+' && line[0] != '-' && line[0] != '=') || (line[1] != ' ' && line[1] != '\t')) {
            whyNot = ModListProblem{ModListFault::BadLine, number, {}};
            return std::nullopt;
        }
        if (line[0] == '=') {
            std::optional<IntendedOverlap> pair = ParseOverlapPair(line.substr(2));
            if (!pair) {
                whyNot = ModListProblem{ModListFault::BadLine, number, {}};
                return std::nullopt;
            }
            if (!seenPairs.emplace(platform::FoldedCase(pair->overriding), platform::FoldedCase(pair->overridden)).second) {
                whyNot = ModListProblem{ModListFault::Duplicate, number, std::move(pair->overriding)};
                return std::nullopt;
            }
            list.intended.push_back(std::move(*pair));
            continue;
        }
        ModListEntry mod{platform::FromUtf8(line.substr(2)), line[0] == '+'};
        if (!IsModListName(mod.name)) {
            whyNot = ModListProblem{ModListFault::BadName, number, std::move(mod.name)};
            return std::nullopt;
        }
        if (!seen.insert(platform::FoldedCase(mod.name)).second) {
            whyNot = ModListProblem{ModListFault::Duplicate, number, std::move(mod.name)};
            return std::nullopt;
        }
        list.mods.push_back(std::move(mod));
    }
    return list;
}

std::optional<std::vector<ModListEntry>> ParseModList(const std::vector<unsigned char>& bytes, ModListProblem& whyNot)
{
    std::optional<ModListContents> list = ParseModListContents(bytes, whyNot);
    if (!list)
        return std::nullopt;
    return std::move(list->mods);
}

}  // namespace mods
