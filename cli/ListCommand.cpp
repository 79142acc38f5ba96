// pakorder list: the mods in load order, as the window shows them.
#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/Session.h"
#include "cli/Texts.h"
#include "cli/TimeText.h"
#include "framework/FormatText.h"
#include "mods/ModFile.h"
#include "mods/ModList.h"

namespace cli {
namespace {

std::wstring PaddedLeft(std::wstring text, std::size_t width)
{
    if (text.size() < width)
        text.insert(0, width - text.size(), L' ');
    return text;
}

std::wstring PaddedRight(std::wstring text, std::size_t width)
{
    if (text.size() < width)
        text.append(width - text.size(), L' ');
    return text;
}

}  // namespace

void RunList(Session& session, const Invocation& invocation)
{
    const std::vector<mods::ModEntry> catalogue = session.Catalogue();
    if (invocation.json) {
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
        }
        json.EndArray().EndObject();
        session.Print(json.Text());
        return;
    }
    std::wstring text;
    int position = 0, enabled = 0;
    for (const mods::ModEntry& mod : catalogue) {
        const bool on = !mods::IsDisabledModName(mod.fileName);
        enabled += on;
        text += fw::FormatText(texts::kListRow, PaddedLeft(std::to_wstring(++position), 4),
                               on ? texts::kEnabledMark : texts::kDisabledMark, PaddedRight(mod.dateText, 10),
                               mod.fileName);
        text += L'\n';
    }
    text += fw::FormatText(texts::kListSummary, ModCount(catalogue.size()), enabled);
    session.Say(text);
}

}  // namespace cli
