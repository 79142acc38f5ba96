#include "mods/ChangeRecord.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "mods/ModFile.h"
#include "platform/LetterCase.h"
#include "platform/Utf8.h"

namespace mods {
namespace {

constexpr std::string_view kMagic = "PakOrder change record ";
constexpr std::uint64_t kVersion = 1;
constexpr std::string_view kComplete = "complete";
constexpr std::string_view kUnfinished = "unfinished";

constexpr std::string_view kActionNames[] = {"smart-sort", "set-time", "enable", "disable", "delete",
                                              "install",    "undo",     "redo",   "restore", "recover", "import"};

bool IsSurrogate(std::uint32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// A surrogate that is not half of a pair cannot be UTF-8: it is written
// as \uXXXX, as control characters are as \t, \n, \r or \xHH.
bool IsLoneSurrogate(std::wstring_view text, std::size_t i)
{
    const auto c = static_cast<std::uint32_t>(text[i]);
    if (!IsSurrogate(c))
        return false;
    if constexpr (sizeof(wchar_t) == 2) {
        if (c <= 0xDBFF && i + 1 < text.size() && static_cast<std::uint32_t>(text[i + 1]) >= 0xDC00 &&
            static_cast<std::uint32_t>(text[i + 1]) <= 0xDFFF)
            return false;
        if (c >= 0xDC00 && i > 0 && static_cast<std::uint32_t>(text[i - 1]) >= 0xD800 &&
            static_cast<std::uint32_t>(text[i - 1]) <= 0xDBFF)
            return false;
    }
    return true;
}

bool NeedsEscape(std::wstring_view text, std::size_t i)
{
    const auto c = static_cast<std::uint32_t>(text[i]);
    return c < 0x20 || c == 0x7F || c == '\\' || IsLoneSurrogate(text, i);
}

void AppendHex(std::wstring& out, std::uint32_t value, int digits)
{
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out += L"0123456789ABCDEF"[(value >> shift) & 0xF];
}

// Printable ASCII, the most names are, in one pass; false (and nothing
// added) for any other character.
bool AppendPrintableAscii(std::string& out, std::wstring_view text)
{
    const std::size_t start = out.size();
    out.resize(start + text.size());
    char* next = out.data() + start;
    for (const wchar_t c : text) {
        if (c < 0x20 || c >= 0x7F || c == '\\') {
            out.resize(start);
            return false;
        }
        *next++ = static_cast<char>(c);
    }
    return true;
}

void AppendEscaped(std::string& out, std::wstring_view text)
{
    if (AppendPrintableAscii(out, text))
        return;
    bool plain = true;
    for (std::size_t i = 0; i < text.size() && plain; ++i)
        plain = !NeedsEscape(text, i);
    if (plain) {
        platform::AppendUtf8(out, text);
        return;
    }
    std::wstring escaped;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<std::uint32_t>(text[i]);
        if (!NeedsEscape(text, i)) {
            escaped += text[i];
        } else if (c == '\\') {
            escaped += L"\\\\";
        } else if (c == '\t') {
            escaped += L"\\t";
        } else if (c == '\n') {
            escaped += L"\\n";
        } else if (c == '\r') {
            escaped += L"\\r";
        } else if (c < 0x80) {
            escaped += L"\\x";
            AppendHex(escaped, c, 2);
        } else {
            escaped += L"\\u";
            AppendHex(escaped, c, 4);
        }
    }
    platform::AppendUtf8(out, escaped);
}

void AppendNumber(std::string& out, std::uint64_t value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

// Writes value as exactly `width` digits, ending at `end`, two at a time.
void PutDigits(char* end, std::uint64_t value, int width)
{
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    for (; width >= 2; width -= 2, value /= 100) {
        end -= 2;
        std::memcpy(end, kPairs + 2 * (value % 100), 2);
    }
    if (width == 1)
        *--end = static_cast<char>('0' + value % 10);
}

// The exact count, then the same time for people: 2024-03-05 17:04:09.1234567 UTC.
// A record holds thousands of times, mostly of few days: the date of the
// last day written is kept.
class TimeText {
public:
    void AppendTo(std::string& out, FileTime time)
    {
        char text[64];
        char* next = std::to_chars(text, text + 24, time).ptr;
        *next++ = '\t';
        if (time > kMaxCalendarTime || (time / kTicksPerDay != day_ && !MakeDate(time))) {
            *next++ = '-';
            out.append(text, next);
            return;
        }
        std::memcpy(next, date_, dateLength_);
        next += dateLength_;
        constexpr std::string_view kShape = " HH:MM:SS.fffffff UTC";
        kShape.copy(next, kShape.size());
        const FileTime ofDay = time % kTicksPerDay;
        const FileTime seconds = ofDay / kTicksPerSecond;
        PutDigits(next + 3, seconds / 3600, 2);
        PutDigits(next + 6, seconds / 60 % 60, 2);
        PutDigits(next + 9, seconds % 60, 2);
        PutDigits(next + 17, ofDay % kTicksPerSecond, 7);
        out.append(text, next + kShape.size());
    }

private:
    bool MakeDate(FileTime time)
    {
        const auto fields = CalendarFromFileTime(time);
        if (!fields)
            return false;
        const auto year = static_cast<std::uint64_t>(fields->year);
        const int yearDigits = year > 9999 ? 5 : 4;
        PutDigits(date_ + yearDigits, year, yearDigits);
        char* next = date_ + yearDigits;
        *next = '-';
        PutDigits(next + 3, static_cast<std::uint64_t>(fields->month), 2);
        next[3] = '-';
        PutDigits(next + 6, static_cast<std::uint64_t>(fields->day), 2);
        dateLength_ = static_cast<std::size_t>(yearDigits) + 6;
        day_ = time / kTicksPerDay;
        return true;
    }

    FileTime day_ = ~FileTime{0};
    char date_[16] = {};
    std::size_t dateLength_ = 0;
};

void AppendTime(std::string& out, FileTime time) { TimeText().AppendTo(out, time); }

void AppendMods(std::string& out, std::string_view key, const std::vector<RecordedMod>& mods)
{
    TimeText times;
    for (const RecordedMod& mod : mods) {
        out += key;
        out += '\t';
        AppendEscaped(out, mod.pak.name);
        out += '\t';
        const std::size_t pakTime = out.size();
        times.AppendTo(out, mod.pak.time);
        const std::size_t pakTimeLength = out.size() - pakTime;
        if (mod.companion) {
            out += '\t';
            AppendEscaped(out, mod.companion->name);
            out += '\t';
            if (mod.companion->time == mod.pak.time)  // as it mostly is: a mod is retimed whole
                out.append(out, pakTime, pakTimeLength);
            else
                times.AppendTo(out, mod.companion->time);
        }
        out += '\n';
    }
}

// --- reading -------------------------------------------------------------

std::vector<std::string_view> SplitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos)
            return fields;
        start = tab + 1;
    }
}

std::optional<std::uint64_t> ParseNumber(std::string_view text)
{
    std::uint64_t value = 0;
    if (text.empty() || text.front() < '0' || text.front() > '9')
        return std::nullopt;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

int HexValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    return -1;
}

std::optional<std::wstring> ParseName(std::string_view text)
{
    std::wstring wide = platform::FromUtf8(text);
    if (wide.empty() || wide.find(L'\\') == std::wstring::npos)
        return wide.empty() ? std::nullopt : std::optional<std::wstring>(std::move(wide));
    std::wstring name;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        if (wide[i] != L'\\') {
            name += wide[i];
            continue;
        }
        if (++i == wide.size())
            return std::nullopt;
        const wchar_t kind = wide[i];
        if (kind == L'\\' || kind == L't' || kind == L'n' || kind == L'r') {
            name += kind == L'\\' ? L'\\' : kind == L't' ? L'\t' : kind == L'n' ? L'\n' : L'\r';
            continue;
        }
        const std::size_t digits = kind == L'x' ? 2 : kind == L'u' ? 4 : 0;
        if (digits == 0 || wide.size() - i - 1 < digits)
            return std::nullopt;
        std::uint32_t value = 0;
        for (std::size_t k = 1; k <= digits; ++k) {
            const int digit = HexValue(wide[i + k]);
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + static_cast<std::uint32_t>(digit);
        }
        name += static_cast<wchar_t>(value);
        i += digits;
    }
    return name;
}

std::optional<RecordedMod> ParseMod(const std::vector<std::string_view>& fields)
{
    // key, pak name, time, date[, companion name, time, date]
    if (fields.size() != 4 && fields.size() != 7)
        return std::nullopt;
    RecordedMod mod;
    auto name = ParseName(fields[1]);
    auto time = ParseNumber(fields[2]);
    if (!name || !time)
        return std::nullopt;
    mod.pak = RecordedFile{std::move(*name), *time};
    if (fields.size() == 7) {
        auto companionName = ParseName(fields[4]);
        auto companionTime = ParseNumber(fields[5]);
        if (!companionName || !companionTime)
            return std::nullopt;
        mod.companion = RecordedFile{std::move(*companionName), *companionTime};
    }
    return mod;
}

std::optional<RecordedAction> ParseAction(std::string_view name)
{
    for (std::size_t i = 0; i < std::size(kActionNames); ++i) {
        if (kActionNames[i] == name)
            return static_cast<RecordedAction>(i);
    }
    return std::nullopt;
}

std::optional<ChangeRecord> Refuse(RecordProblem& whyNot, RecordFault fault, int line)
{
    whyNot = RecordProblem{fault, line, {}};
    return std::nullopt;
}

// --- counting the mods changed -------------------------------------------

// How many mods differ between two states: a mod is matched across them by
// its key, and counts when it is in one state only or its files differ.
// Both states mostly list the mods in the same order: pairs are compared in
// place, and only the mods out of step wait in a table for their partner.
// (A mod whose key one of its own state already waits with counts as changed.)
// `keys` gives Of(mod), Match(a, b) (the same key) and Same(a, b).
template <typename Mod, typename Keys>
int CountChanged(const std::vector<Mod>& before, const std::vector<Mod>& after, const Keys& keys)
{
    using Waiting = std::unordered_map<decltype(keys.Of(std::declval<const Mod&>())), const Mod*>;
    Waiting waitingBefore, waitingAfter;
    int changed = 0;
    const auto place = [&](const Mod& mod, Waiting& partners, Waiting& waiting) {
        auto key = keys.Of(mod);
        if (const auto partner = partners.find(key); partner != partners.end()) {
            changed += keys.Same(*partner->second, mod) ? 0 : 1;
            partners.erase(partner);
        } else if (!waiting.emplace(std::move(key), &mod).second) {
            ++changed;
        }
    };
    for (std::size_t i = 0; i < std::max(before.size(), after.size()); ++i) {
        if (i < before.size() && i < after.size() && keys.Match(before[i], after[i])) {
            changed += keys.Same(before[i], after[i]) ? 0 : 1;
            continue;
        }
        if (i < before.size())
            place(before[i], waitingAfter, waitingBefore);
        if (i < after.size())
            place(after[i], waitingBefore, waitingAfter);
    }
    return changed + static_cast<int>(waitingBefore.size() + waitingAfter.size());
}

struct RecordedModKeys {
    std::wstring Of(const RecordedMod& mod) const { return ModKey(mod.pak.name); }
    bool Match(const RecordedMod& a, const RecordedMod& b) const { return a.pak.name == b.pak.name || Of(a) == Of(b); }
    bool Same(const RecordedMod& a, const RecordedMod& b) const { return a == b; }
};

// A state's line as a summary reads it: its fields as written, unread.
struct StateLine {
    std::string_view fields;  // all but the key
    std::string_view pakName, pakTime;
    std::string_view companionName, companionTime;  // empty without a companion
};

// Up to `most` tab-separated fields into `fields`; how many there are (more than `most` when there are more).
std::size_t SplitInto(std::string_view line, std::string_view* fields, std::size_t most)
{
    std::size_t count = 0;
    for (std::size_t start = 0;; ++count) {
        const std::size_t tab = line.find('\t', start);
        if (count < most)
            fields[count] = line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
        if (tab == std::string_view::npos)
            return count + 1;
        start = tab + 1;
    }
}

// A number ParseNumber takes, mostly without working out its value.
bool IsNumberText(std::string_view text)
{
    if (text.empty() || text.size() >= 20)  // past 64 bits, or zeros in front
        return ParseNumber(text).has_value();
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool SameNumber(std::string_view a, std::string_view b) { return a == b || ParseNumber(a) == ParseNumber(b); }

// A name as written is one ParseName takes.
bool IsWrittenName(std::string_view written)
{
    return !written.empty() && (written.find('\\') == std::string_view::npos || ParseName(written).has_value());
}

// A state's line as ParseMod would take it, added to `lines`; false when ParseMod would refuse it.
bool ReadStateLine(std::string_view text, std::vector<StateLine>& lines)
{
    std::string_view fields[7];
    const std::size_t count = SplitInto(text, fields, 7);
    if (count != 4 && count != 7)
        return false;
    if (!IsWrittenName(fields[1]) || !IsNumberText(fields[2]))
        return false;
    if (count == 7 && (!IsWrittenName(fields[4]) || !IsNumberText(fields[5])))
        return false;
    const std::string_view all = text.substr(fields[0].size() + 1);
    lines.push_back(count == 7 ? StateLine{all, fields[1], fields[2], fields[4], fields[5]}
                               : StateLine{all, fields[1], fields[2], {}, {}});
    return true;
}

// Printable ASCII without an escape: the name is its bytes.
bool IsPlainName(std::string_view written)
{
    for (const char c : written)
        if (c < 0x20 || c >= 0x7F || c == '\\')
            return false;
    return true;
}

// The name without its extension, as ModKey takes it off.
std::string_view PlainStem(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos || dot == 0 || dot + 1 == name.size() ? name : name.substr(0, dot);
}

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// ModKey of names as written, without reading the names that are plain.
struct StateLineKeys {
    // ModKey's characters as bytes: ASCII as it is, any other character
    // as 0x80 and its four bytes, so that equal keys are equal bytes.
    std::string Of(const StateLine& line) const
    {
        std::string key;
        if (IsPlainName(line.pakName)) {
            const std::string_view stem = PlainStem(line.pakName);
            key.resize(stem.size());
            std::transform(stem.begin(), stem.end(), key.begin(), AsciiUpper);
            return key;
        }
        for (const wchar_t c : ModKey(*ParseName(line.pakName))) {
            const auto code = static_cast<std::uint32_t>(c);
            if (code < 0x80) {
                key += static_cast<char>(code);
                continue;
            }
            key += '\x80';
            for (int shift = 24; shift >= 0; shift -= 8)
                key += static_cast<char>((code >> shift) & 0xFF);
        }
        return key;
    }
    bool Match(const StateLine& a, const StateLine& b) const
    {
        if (a.pakName == b.pakName)
            return true;
        if (!IsPlainName(a.pakName) || !IsPlainName(b.pakName))
            return Of(a) == Of(b);
        const std::string_view x = PlainStem(a.pakName), y = PlainStem(b.pakName);
        return x.size() == y.size() &&
               std::equal(x.begin(), x.end(), y.begin(), [](char p, char q) { return AsciiUpper(p) == AsciiUpper(q); });
    }
    bool Same(const StateLine& a, const StateLine& b) const
    {
        return a.companionName.empty() == b.companionName.empty() && SameNumber(a.pakTime, b.pakTime) &&
               SameName(a.pakName, b.pakName) && SameName(a.companionName, b.companionName) &&
               (a.companionName.empty() || SameNumber(a.companionTime, b.companionTime));
    }
    // Names written alike are alike; others are read (bytes that are not
    // UTF-8 read as U+FFFD, whichever they are).
    static bool SameName(std::string_view a, std::string_view b) { return a == b || ParseName(a) == ParseName(b); }
};

}  // namespace

bool operator==(const RecordedFile& a, const RecordedFile& b) { return a.name == b.name && a.time == b.time; }

bool operator==(const RecordedMod& a, const RecordedMod& b) { return a.pak == b.pak && a.companion == b.companion; }

std::string_view RecordedActionName(RecordedAction action)
{
    const auto index = static_cast<std::size_t>(action);
    return index < std::size(kActionNames) ? kActionNames[index] : std::string_view();
}

std::wstring ModKey(const std::wstring& pakName)
{
    const std::size_t extension = FileExtension(pakName).size();
    return platform::FoldedCase(std::wstring_view(pakName).substr(0, pakName.size() - (extension ? extension + 1 : 0)));
}

int ChangeRecord::ModsChanged() const
{
    if (!complete)
        return static_cast<int>(intent.size());
    return modsChangedRead ? *modsChangedRead : CountChanged(before, after, RecordedModKeys{});
}

void FormatRecordOpening(std::string& out, const ChangeRecord& record, const std::vector<RecordedMod>& before,
                         std::size_t modsToFollow)
{
    // Room for the whole record at once: a copy of hundreds of KB on growing
    // would cost as much as the formatting.
    std::size_t size = 512;
    for (const RecordedMod& mod : before)
        size += 128 + 3 * (mod.pak.name.size() + (mod.companion ? mod.companion->name.size() : 0));
    size += size / (before.size() + 1) * modsToFollow;
    out.clear();
    out.reserve(size);
    out += kMagic;
    AppendNumber(out, kVersion);
    out += "\nsequence\t";
    AppendNumber(out, record.sequence);
    out += "\nfolder\t";
    AppendEscaped(out, record.paksFolder);
    out += "\nmade\t";
    AppendTime(out, record.madeAt);
    out += "\naction\t";
    out += RecordedActionName(record.action);
    out += '\n';
    if (record.stepOf) {
        out += "step-of\t";
        AppendNumber(out, *record.stepOf);
        out += '\n';
    }
    for (const std::wstring& name : record.intent) {
        out += "intent\t";
        AppendEscaped(out, name);
        out += '\n';
    }
    AppendMods(out, "before", before);
}

void AppendRecordEnd(std::string& text, const std::vector<RecordedMod>* after)
{
    if (after)
        AppendMods(text, "after", *after);
    text += after ? kComplete : kUnfinished;
    text += '\n';
}

std::string FormatRecord(const ChangeRecord& record)
{
    std::string out;
    FormatRecordOpening(out, record, record.before, record.complete ? record.after.size() : 0);
    AppendRecordEnd(out, record.complete ? &record.after : nullptr);
    return out;
}

std::optional<ChangeRecord> ParseRecord(const std::vector<unsigned char>& bytes, RecordProblem& whyNot,
                                        RecordParts parts)
{
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')  // a record saved by an editor that writes CR LF
            line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }

    if (lines.empty() || lines[0].substr(0, kMagic.size()) != kMagic)
        return Refuse(whyNot, RecordFault::NotARecord, 1);
    if (ParseNumber(lines[0].substr(kMagic.size())) != kVersion)
        return Refuse(whyNot, RecordFault::OtherVersion, 1);
    const int lineCount = static_cast<int>(lines.size());
    if (lines.size() < 2 || (lines.back() != kComplete && lines.back() != kUnfinished))
        return Refuse(whyNot, RecordFault::Truncated, lineCount);

    ChangeRecord record;
    record.complete = lines.back() == kComplete;
    bool hasSequence = false, hasFolder = false, hasMade = false, hasAction = false;
    std::vector<StateLine> summaryBefore, summaryAfter;
    if (parts == RecordParts::Summary) {
        summaryBefore.reserve(lines.size() / 2);
        summaryAfter.reserve(lines.size() / 2);
    }
    for (int index = 1; index + 1 < lineCount; ++index) {
        const std::string_view text = lines[static_cast<std::size_t>(index)];
        const int line = index + 1;
        const bool beforeLine = text.substr(0, 7) == "before\t", afterLine = text.substr(0, 6) == "after\t";
        if (parts == RecordParts::WithoutStates && (beforeLine || afterLine))
            continue;
        if (parts == RecordParts::Summary && (beforeLine || (afterLine && record.complete))) {
            // Most mods are after the action as they were, on the same line
            // of each state: such a line is read once.
            const std::size_t same = summaryAfter.size();
            if (afterLine && same < summaryBefore.size() && summaryBefore[same].fields == text.substr(6))
                summaryAfter.push_back(summaryBefore[same]);
            else if (!ReadStateLine(text, beforeLine ? summaryBefore : summaryAfter))
                return Refuse(whyNot, RecordFault::BadLine, line);
            continue;
        }
        const std::vector<std::string_view> fields = SplitFields(text);
        const std::string_view key = fields[0];
        bool fine = false;
        if (key == "before" || (key == "after" && record.complete)) {
            auto mod = ParseMod(fields);
            if ((fine = mod.has_value()))
                (key == "before" ? record.before : record.after).push_back(std::move(*mod));
        } else if (key == "intent" && fields.size() == 2) {
            auto name = ParseName(fields[1]);
            if ((fine = name.has_value()))
                record.intent.push_back(std::move(*name));
        } else if (key == "sequence" && fields.size() == 2 && !hasSequence) {
            const auto number = ParseNumber(fields[1]);
            fine = hasSequence = number.has_value();
            record.sequence = number.value_or(0);
        } else if (key == "folder" && fields.size() == 2 && !hasFolder) {
            auto folder = ParseName(fields[1]);
            if ((fine = hasFolder = folder.has_value()))
                record.paksFolder = std::move(*folder);
        } else if (key == "made" && (fields.size() == 2 || fields.size() == 3) && !hasMade) {
            const auto time = ParseNumber(fields[1]);
            fine = hasMade = time.has_value();
            record.madeAt = time.value_or(0);
        } else if (key == "action" && fields.size() == 2 && !hasAction) {
            const auto action = ParseAction(fields[1]);
            fine = hasAction = action.has_value();
            record.action = action.value_or(RecordedAction{});
        } else if (key == "step-of" && fields.size() == 2 && !record.stepOf) {
            record.stepOf = ParseNumber(fields[1]);
            fine = record.stepOf.has_value();
        }
        if (!fine)
            return Refuse(whyNot, RecordFault::BadLine, line);
    }
    if (!hasSequence || !hasFolder || !hasMade || !hasAction)
        return Refuse(whyNot, RecordFault::MissingField, 0);
    if (parts == RecordParts::Summary && record.complete)
        record.modsChangedRead = CountChanged(summaryBefore, summaryAfter, StateLineKeys{});
    return record;
}

}  // namespace mods
