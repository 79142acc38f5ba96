// pakorder conflicts: the conflict report of the window, as text or JSON;
// the files of the overlaps the player intends only when asked for.
#include <span>

#include "base/FormatText.h"
#include "cli/Commands.h"
#include "cli/IntendedPairs.h"
#include "cli/Json.h"
#include "cli/ModNames.h"
#include "cli/ProblemTexts.h"
#include "cli/ProgressLine.h"
#include "cli/Session.h"
#include "cli/System.h"
#include "cli/Texts.h"
#include "mods/Conflicts.h"
#include "mods/ModFile.h"
#include "platform/Utf8.h"

#include <cstdint>
#include <span>

namespace cli {
namespace {

const char* ReasonName(mods::UncheckedReason reason)
{
    switch (reason) {
    case mods::UncheckedReason::NoManifest: return "no-manifest";
    case mods::UncheckedReason::Unreadable: return "unreadable";
    case mods::UncheckedReason::Malformed: return "malformed";
    case mods::UncheckedReason::TooLarge: return "too-large";
    }
    return "";
}

// Each mod's name in UTF-8, made once: a report names the same mods
// thousands of times.
std::vector<std::string> Utf8Names(const std::vector<mods::ListedModToCheck>& rows)
{
    std::vector<std::string> names;
    names.reserve(rows.size());
    for (const mods::ListedModToCheck& row : rows)
        names.push_back(platform::ToUtf8(row.name));
    return names;
}

void AppendNames(std::string& text, const std::vector<std::string>& names, std::span<const std::uint32_t> which,
                 std::optional<std::size_t> last = std::nullopt)
{
    static const std::string separator = platform::ToUtf8(texts::kNameSeparator);
    for (std::size_t i = 0; i < which.size(); ++i) {
        if (i)
            text += separator;
        text += names[which[i]];
    }
    if (last) {
        if (!which.empty())
            text += separator;
        text += names[*last];
    }
}

// An intended file is listed only with --all.
bool Listed(const mods::FileConflict& conflict, bool all) { return all || !conflict.intended; }

void WriteJson(Session& session, const std::vector<mods::ListedModToCheck>& rows, const mods::ConflictReport& report,
               bool all)
{
    const std::vector<std::string> names = Utf8Names(rows);
    JsonWriter json;
    json.BeginObject().Key("format").String(L"pakorder-conflicts").Key("version").Number(1);
    json.Key("folder").String(session.Paks()).Key("selected").BeginArray(true);
    for (std::size_t mod = 0; mod < rows.size(); ++mod)
        if (rows[mod].selected)
            json.String(names[mod]);
    json.EndArray().Key("conflicts").BeginArray();
    for (const mods::FileConflict& conflict : report.conflicts) {
        if (!Listed(conflict, all))
            continue;
        json.BeginObject().Key("path").String(report.PathOf(conflict)).Key("winner").String(names[conflict.winner]);
        json.Key("overridden").BeginArray(true);
        for (const std::size_t mod : report.Overridden(conflict))
            json.String(names[mod]);
        json.EndArray().Key("identical").Bool(conflict.identical).Key("intended").Bool(conflict.intended).EndObject();
        if (json.Text().size() > (1u << 20))
            session.Print(json.TakeText());
    }
    json.EndArray().Key("modsInConflict").Number(static_cast<std::int64_t>(report.modsInConflict));
    json.Key("unchecked").BeginArray();
    for (const mods::UncheckedMod& mod : report.unchecked) {
        json.BeginObject().Key("file").String(names[mod.mod]).Key("reason").String(std::string_view(ReasonName(mod.reason)));
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
    const std::vector<mods::IntendedOverlap> intended = ReadIntendedPairs(session);
    const mods::ConflictReport report = [&] {
        ProgressLine line(session.Err(), session.Sys().IsTerminal(StandardStream::Error));
        return mods::CheckConflicts(session.Files(), session.Paks(), rows, intended, [&](std::size_t done, std::size_t count) {
            line.Show(fw::FormatText(texts::kConflictsProgress, done, count));
        });
    }();
    if (invocation.json) {
        WriteJson(session, rows, report, invocation.all);
        return;
    }

    // Built as UTF-8, and written a piece at a time: a report may name a
    // million mods.
    const std::vector<std::string> names = Utf8Names(rows);
    const std::string inEffect = platform::ToUtf8(texts::kInEffect), overridden = platform::ToUtf8(texts::kOverridden),
                      identicalIn = platform::ToUtf8(texts::kIdenticalIn);
    std::string text;
    const std::string intendedMark = platform::ToUtf8(texts::kIntendedMark);
    int real = 0, identical = 0, meant = 0;
    for (const mods::FileConflict& conflict : report.conflicts) {
        meant += conflict.intended;
        if (!Listed(conflict, invocation.all))
            continue;
        platform::AppendUtf8(text, report.PathOf(conflict));
        if (conflict.intended)
            text += intendedMark;
        if (conflict.identical) {
            text += identicalIn;
            AppendNames(text, names, report.Overridden(conflict), conflict.winner);
            ++identical;
        } else {
            text += inEffect;
            text += names[conflict.winner];
            text += overridden;
            AppendNames(text, names, report.Overridden(conflict));
            real += !conflict.intended;
        }
        text += '\n';
        session.PrintWhenLong(text);
    }
    std::wstring summary = real ? fw::FormatText(texts::kConflictSummary, FileCount(static_cast<std::size_t>(real)),
                                                 ModCount(report.modsInConflict))
                                : std::wstring(texts::kNoConflict);
    if (meant)
        summary += fw::FormatText(invocation.all ? texts::kIntendedSummary : texts::kIntendedLeftOut,
                                  FileCount(static_cast<std::size_t>(meant)));
    if (identical)
        summary += fw::FormatText(texts::kIdenticalSummary, FileCount(static_cast<std::size_t>(identical)));
    if (!selectedNames.empty())
        summary += fw::FormatText(texts::kSelectedOnly, selectedNames);
    for (const mods::UncheckedMod& mod : report.unchecked)
        summary += L'\n' + fw::FormatText(texts::kUnchecked, rows[mod.mod].name, ProblemWords(mods::TextOf(mod)));
    platform::AppendUtf8(text, summary);
    text += '\n';
    session.Print(text);
}

}  // namespace cli
