// pakorder conflicts: the conflict report of the window, as text or JSON.
#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/ModNames.h"
#include "cli/Session.h"
#include "cli/Texts.h"
#include "framework/FormatText.h"
#include "mods/Conflicts.h"
#include "mods/ModFile.h"
#include "platform/Utf8.h"

namespace cli {
namespace {

const char* ReasonName(mods::UncheckedReason reason)
{
    switch (reason) {
    case mods::UncheckedReason::NoManifest: return "no-manifest";
    case mods::UncheckedReason::Unreadable: return "unreadable";
    case mods::UncheckedReason::Malformed: return "malformed";
    }
    return "";
}

std::wstring Names(const std::vector<mods::ListedModToCheck>& rows, const std::vector<std::size_t>& which)
{
    std::wstring names;
    for (const std::size_t mod : which)
        names += (names.empty() ? L"" : texts::kNameSeparator) + rows[mod].name;
    return names;
}

void WriteJson(Session& session, const std::vector<mods::ListedModToCheck>& rows, const mods::ConflictReport& report)
{
    JsonWriter json;
    json.BeginObject().Key("format").String(L"pakorder-conflicts").Key("version").Number(1);
    json.Key("folder").String(session.Paks()).Key("selected").BeginArray();
    for (const mods::ListedModToCheck& row : rows)
        if (row.selected)
            json.String(row.name);
    json.EndArray().Key("conflicts").BeginArray();
    for (const mods::FileConflict& conflict : report.conflicts) {
        json.BeginObject().Key("path").String(conflict.path).Key("winner").String(rows[conflict.winner].name);
        json.Key("overridden").BeginArray();
        for (const std::size_t mod : conflict.overridden)
            json.String(rows[mod].name);
        json.EndArray().Key("identical").Bool(conflict.identical).EndObject();
    }
    json.EndArray().Key("modsInConflict").Number(static_cast<std::int64_t>(report.modsInConflict));
    json.Key("unchecked").BeginArray();
    for (const mods::UncheckedMod& mod : report.unchecked) {
        json.BeginObject().Key("file").String(rows[mod.mod].name).Key("reason").String(platform::FromUtf8(ReasonName(mod.reason)));
        json.Key("detail").OptionalString(mod.reason == mods::UncheckedReason::Unreadable
                                              ? std::optional(session.Reason(mod.status)) : std::nullopt);
        json.EndObject();
    }
    json.EndArray().EndObject();
    session.Print(json.Text());
}

}  // namespace

void RunConflicts(Session& session, const Invocation& invocation)
{
    const std::vector<mods::ModEntry> catalogue = session.Catalogue();
    std::vector<mods::ListedModToCheck> rows;
    rows.reserve(catalogue.size());
    for (const mods::ModEntry& mod : catalogue)
        rows.push_back(mods::ListedModToCheck{mod.fileName, !mods::IsDisabledModName(mod.fileName), false});
    std::wstring selectedNames;
    for (const int row : FindModRows(session, catalogue, invocation.operands)) {
        rows[static_cast<std::size_t>(row)].selected = true;
        selectedNames += (selectedNames.empty() ? L"" : texts::kNameSeparator) + rows[static_cast<std::size_t>(row)].name;
    }
    // A name that means no mod would widen the report to every mod.
    if (session.Status() != kDone)
        return;
    const mods::ConflictReport report = mods::CheckConflicts(session.Files(), session.Paks(), rows);
    if (invocation.json) {
        WriteJson(session, rows, report);
        return;
    }

    std::wstring text;
    int real = 0, identical = 0;
    for (const mods::FileConflict& conflict : report.conflicts) {
        std::vector<std::size_t> all = conflict.overridden;
        all.push_back(conflict.winner);
        text += conflict.identical
            ? fw::FormatText(texts::kIdenticalRow, conflict.path, Names(rows, all))
            : fw::FormatText(texts::kConflictRow, conflict.path, rows[conflict.winner].name, Names(rows, conflict.overridden));
        text += L'\n';
        (conflict.identical ? identical : real) += 1;
    }
    text += real ? fw::FormatText(texts::kConflictSummary, FileCount(static_cast<std::size_t>(real)), ModCount(report.modsInConflict))
                 : std::wstring(texts::kNoConflict);
    if (identical)
        text += fw::FormatText(texts::kIdenticalSummary, FileCount(static_cast<std::size_t>(identical)));
    if (!selectedNames.empty())
        text += fw::FormatText(texts::kSelectedOnly, selectedNames);
    for (const mods::UncheckedMod& mod : report.unchecked) {
        std::wstring why = mod.reason == mods::UncheckedReason::NoManifest ? std::wstring(texts::kNoManifest)
                         : mod.reason == mods::UncheckedReason::Malformed
                             ? std::wstring(texts::kManifestMalformed)
                             : fw::FormatText(texts::kManifestUnreadable, session.Reason(mod.status));
        text += L'\n' + fw::FormatText(texts::kUnchecked, rows[mod.mod].name, why);
    }
    session.Say(text);
}

}  // namespace cli
