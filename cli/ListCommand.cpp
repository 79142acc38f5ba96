// pakorder list: the mods in load order, as the window shows them, with
// the marks of their conflicts and tied times.
#include "base/FormatText.h"
#include "cli/Commands.h"
#include "cli/IntendedPairs.h"
#include "cli/Json.h"
#include "cli/Session.h"
#include "cli/Texts.h"
#include "cli/TimeText.h"
#include "mods/ConflictIndex.h"
#include "mods/ModFile.h"
#include "mods/ModList.h"
#include "platform/Utf8.h"

namespace cli {
namespace {

// The rows of thousands of mods: built as UTF-8 in one piece, without a
// formatted text per row.
void AppendPadded(std::string& text, std::string_view piece, std::size_t width, bool right)
{
    if (right && piece.size() < width)
        text.append(width - piece.size(), ' ');
    text.append(piece);
    if (!right && piece.size() < width)
        text.append(width - piece.size(), ' ');
}

std::string_view Digits(char (&buffer)[16], int value)
{
    char* end = buffer + sizeof buffer;
    char* next = end;
    do {
        *--next = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0);
    return std::string_view(next, static_cast<std::size_t>(end - next));
}

// What the conflict analysis makes of the listed order, with the pairs
// the player intends, and which enabled mods share a last-write time.
struct Marks {
    mods::ConflictIndex index;
    mods::ConflictAnalysis analysis;
    mods::TiedTimes tied;
};

void FindMarks(Session& session, const std::vector<mods::ModEntry>& catalogue, Marks& marks)
{
    std::vector<mods::ListedModToCheck> rows;
    std::vector<std::wstring> enabled;
    rows.reserve(catalogue.size());
    for (const mods::ModEntry& mod : catalogue) {
        rows.push_back(mods::ListedModToCheck{mod.fileName, !mods::IsDisabledModName(mod.fileName), false});
        if (rows.back().enabled)
            enabled.push_back(mod.fileName);  // the game loads no other
    }
    marks.index.Read(session.Files(), session.Paks(), enabled);
    marks.analysis = marks.index.Analyse(rows, ReadIntendedPairs(session));
    marks.tied = mods::FindTiedTimes(catalogue);
}

const wchar_t* MarkOf(mods::ConflictMark mark)
{
    switch (mark) {
    case mods::ConflictMark::Overrides: return texts::kListMarkOverrides;
    case mods::ConflictMark::Overridden: return texts::kListMarkOverridden;
    case mods::ConflictMark::Both: return texts::kListMarkBoth;
    case mods::ConflictMark::FullyOverridden: return texts::kListMarkFullyOverridden;
    case mods::ConflictMark::Unchecked: return texts::kListMarkUnchecked;
    case mods::ConflictMark::None:
    case mods::ConflictMark::Unknown: break;
    }
    return L" ";
}

// The mods a relation names, by name as a mod list names them; the pairs
// the player intends are left out, as they raise no mark.
void NameRows(JsonWriter& json, const std::vector<std::string>& names, const std::vector<mods::ModOverlap>& overlaps)
{
    json.BeginArray(true);
    for (const mods::ModOverlap& overlap : overlaps)
        if (!overlap.intended)
            json.String(names[overlap.row]);
    json.EndArray();
}

void WriteJson(Session& session, const std::vector<mods::ModEntry>& catalogue, const Marks& marks)
{
    std::vector<std::string> names;
    names.reserve(catalogue.size());
    for (const mods::ModEntry& mod : catalogue)
        names.push_back(platform::ToUtf8(mods::ModListEntryOf(mod.fileName).name));
    const std::vector<mods::ModRelations> relations = marks.index.AllRelations(marks.analysis);
    JsonWriter json;
    json.BeginObject().Key("format").String(L"pakorder-list").Key("version").Number(1);
    json.Key("folder").String(session.Paks()).Key("mods").BeginArray();
    for (std::size_t row = 0; row < catalogue.size(); ++row) {
        const mods::ModEntry& mod = catalogue[row];
        const mods::ConflictMark mark = marks.analysis.Rows()[row].mark;
        json.BeginObject()
            .Key("position").Number(static_cast<std::int64_t>(row + 1))
            .Key("file").String(mod.fileName)
            .Key("name").String(names[row])
            .Key("enabled").Bool(!mods::IsDisabledModName(mod.fileName))
            .Key("date").String(mod.dateText)
            .Key("modified").String(IsoTime(mod.lastWriteTime));
        json.Key("conflicts").BeginObject().Key("overrides");
        NameRows(json, names, relations[row].overrides);
        json.Key("overriddenBy");
        NameRows(json, names, relations[row].overriddenBy);
        json.Key("fullyOverridden").Bool(mark == mods::ConflictMark::FullyOverridden)
            .Key("unchecked").Bool(mark == mods::ConflictMark::Unchecked)
            .EndObject();
        json.Key("tiedWith").BeginArray(true);
        for (const std::size_t other : marks.tied.OthersOf(row))
            json.String(names[other]);
        json.EndArray().EndObject();
        if (json.Text().size() > (1u << 20))
            session.Print(json.TakeText());
    }
    json.EndArray().EndObject();
    session.Print(json.Text());
}

}  // namespace

void RunList(Session& session, const Invocation& invocation)
{
    const std::vector<mods::ModEntry> catalogue = session.Catalogue();
    Marks marks;
    FindMarks(session, catalogue, marks);
    if (invocation.json) {
        WriteJson(session, catalogue, marks);
        return;
    }
    // "   1  [x]  >=  2024-3-5    name": as the window's columns show a
    // mod, with its conflict mark and its tie mark between.
    std::string text;
    std::string date;
    char digits[16];
    int enabled = 0;
    for (std::size_t row = 0; row < catalogue.size(); ++row) {
        const mods::ModEntry& mod = catalogue[row];
        const bool on = !mods::IsDisabledModName(mod.fileName);
        enabled += on;
        AppendPadded(text, Digits(digits, static_cast<int>(row + 1)), 4, true);
        text += "  ";
        platform::AppendUtf8(text, on ? texts::kEnabledMark : texts::kDisabledMark);
        text += "  ";
        platform::AppendUtf8(text, MarkOf(marks.analysis.Rows()[row].mark));
        platform::AppendUtf8(text, marks.tied.groupOf[row] != mods::TiedTimes::kNone ? texts::kListMarkTied : L" ");
        text += "  ";
        date.clear();
        platform::AppendUtf8(date, mod.dateText);
        AppendPadded(text, date, 10, false);
        text += "  ";
        platform::AppendUtf8(text, mod.fileName);
        text += '\n';
        session.PrintWhenLong(text);
    }
    platform::AppendUtf8(text, fw::FormatText(texts::kListSummary, ModCount(catalogue.size()), enabled));
    text += '\n';
    session.Print(text);
}

}  // namespace cli
