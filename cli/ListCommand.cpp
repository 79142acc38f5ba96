// pakorder list: the mods in load order, as the window shows them.
#include "base/FormatText.h"
#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/Session.h"
#include "cli/Texts.h"
#include "cli/TimeText.h"
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

void WriteJson(Session& session, const std::vector<mods::ModEntry>& catalogue)
{
    JsonWriter json;
    json.BeginObject().Key("format").String(L"pakorder-list").Key("version").Number(1);
    json.Key("folder").String(session.Paks()).Key("mods").BeginArray();
    int position = 0;
    for (const mods::ModEntry& mod : catalogue) {
        const mods::ModListEntry named = mods::ModListEntryOf(mod.fileName);
        json.BeginObject()
            .Key("position").Number(++position)
            .Key("file").String(mod.fileName)
            .Key("name").String(named.name)
            .Key("enabled").Bool(named.enabled)
            .Key("date").String(mod.dateText)
            .Key("modified").String(IsoTime(mod.lastWriteTime))
            .EndObject();
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
    if (invocation.json) {
        WriteJson(session, catalogue);
        return;
    }
    // "   1  [x]  2024-3-5    name": as the window's columns show a mod.
    std::string text;
    std::string date;
    char digits[16];
    int position = 0, enabled = 0;
    for (const mods::ModEntry& mod : catalogue) {
        const bool on = !mods::IsDisabledModName(mod.fileName);
        enabled += on;
        AppendPadded(text, Digits(digits, ++position), 4, true);
        text += "  ";
        platform::AppendUtf8(text, on ? texts::kEnabledMark : texts::kDisabledMark);
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
