// pakorder undo, redo, history, recover: through the records of every write.
#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/Session.h"
#include "cli/Texts.h"
#include "cli/TimeText.h"
#include "framework/FormatText.h"
#include "mods/FolderRestore.h"
#include "platform/Utf8.h"

namespace cli {
namespace {

std::wstring ActionName(mods::RecordedAction action) { return platform::FromUtf8(mods::RecordedActionName(action)); }

const char* ProblemName(mods::RecordFault fault)
{
    switch (fault) {
    case mods::RecordFault::NotARecord: return "not-a-record";
    case mods::RecordFault::OtherVersion: return "other-version";
    case mods::RecordFault::Truncated: return "truncated";
    case mods::RecordFault::BadLine: return "bad-line";
    case mods::RecordFault::MissingField: return "missing-field";
    case mods::RecordFault::TooLarge: return "too-large";
    case mods::RecordFault::Unreadable: return "unreadable";
    case mods::RecordFault::WrongSequence: return "wrong-sequence";
    }
    return "";
}

void ReportNotRestored(Session& session, const std::vector<mods::NotRestored>& mods)
{
    for (const mods::NotRestored& mod : mods) {
        std::wstring why;
        switch (mod.reason) {
        case mods::NotRestoredReason::Gone: why = texts::kRestoreGone; break;
        case mods::NotRestoredReason::NameTaken: why = texts::kRestoreNameTaken; break;
        case mods::NotRestoredReason::Changed: why = texts::kRestoreChanged; break;
        case mods::NotRestoredReason::Failed: why = session.Reason(mod.status); break;
        }
        session.Fail(fw::FormatText(texts::kNotRestored, mod.name, why));
    }
}

// The outcome of an undo, a redo or a recovery of `record`.
void ReportRestore(Session& session, const mods::RestoreResult& result, const wchar_t* done, const mods::ChangeRecord& record)
{
    if (!result.beginStatus.ok()) {
        session.Fail(fw::FormatText(texts::kCannotRecord, session.Reason(result.beginStatus)));
        return;
    }
    session.Say(fw::FormatText(done, ActionName(record.action), record.sequence));
    ReportNotRestored(session, result.notRestored);
    if (!result.completeStatus.ok())
        session.Fail(fw::FormatText(texts::kCannotComplete, session.Reason(result.completeStatus)));
}

// Undo and redo step through complete records only: an unfinished one is recovered first.
mods::ChangeHistory* HistoryToStep(Session& session)
{
    mods::ChangeHistory* history = session.History();
    if (!history) {
        session.Fail(fw::FormatText(texts::kCannotRecord, session.Reason(platform::NotSupportedStatus())));
        return nullptr;
    }
    if (const std::optional<mods::ChangeRecord> unfinished = history->UnfinishedNewest()) {
        session.Fail(fw::FormatText(texts::kUnfinishedAction, ActionName(unfinished->action), unfinished->sequence));
        return nullptr;
    }
    return history;
}

}  // namespace

void RunUndo(Session& session, const Invocation&)
{
    mods::ChangeHistory* history = HistoryToStep(session);
    if (!history)
        return;
    const std::optional<mods::ChangeRecord> last = history->NextUndo();
    if (!last) {
        session.Fail(texts::kNothingToUndo);
        return;
    }
    ReportRestore(session, mods::Undo(*history, session.Files()), texts::kUndone, *last);
}

void RunRedo(Session& session, const Invocation&)
{
    mods::ChangeHistory* history = HistoryToStep(session);
    if (!history)
        return;
    const std::optional<mods::ChangeRecord> next = history->NextRedo();
    if (!next) {
        session.Fail(texts::kNothingToRedo);
        return;
    }
    ReportRestore(session, mods::Redo(*history, session.Files()), texts::kRedone, *next);
}

void RunRecover(Session& session, const Invocation& invocation)
{
    mods::ChangeHistory* history = session.History();
    const std::optional<mods::ChangeRecord> unfinished = history ? history->UnfinishedNewest() : std::nullopt;
    if (!unfinished) {
        session.Say(texts::kNothingToRecover);
        return;
    }
    if (invocation.keep) {
        // Kept as it is, and undoable as any write.
        const platform::FsStatus completed = history->Complete(unfinished->sequence);
        if (!completed.ok())
            session.Fail(fw::FormatText(texts::kCannotComplete, session.Reason(completed)));
        else
            session.Say(fw::FormatText(texts::kKeptUnfinished, ActionName(unfinished->action), unfinished->sequence));
        return;
    }
    ReportRestore(session, mods::RecoverUnfinished(*history, session.Files()), texts::kRecovered, *unfinished);
}

void RunHistory(Session& session, const Invocation& invocation)
{
    mods::ChangeHistory* history = session.History();
    if (!history) {
        // Not "no actions": there may be records PakOrder cannot find.
        session.Fail(texts::kNoRecordsPlace);
        return;
    }
    // Summaries, read one record at a time: how many mods each changed is
    // counted from its states, which are let go at once.
    const mods::ChangeHistory::Listing whole = history->List(mods::RecordParts::Summary);
    const mods::ChangeHistory::NextSteps steps = mods::ChangeHistory::StepsOf(whole);

    if (invocation.json) {
        JsonWriter json;
        json.BeginObject().Key("format").String(L"pakorder-history").Key("version").Number(1);
        json.Key("folder").String(session.Paks()).Key("records").BeginArray();
        for (const mods::ChangeRecord& record : whole.records) {
            json.BeginObject()
                .Key("sequence").Unsigned(record.sequence)
                .Key("made").String(IsoTime(record.madeAt))
                .Key("action").String(ActionName(record.action))
                .Key("complete").Bool(record.complete)
                .Key("modsChanged").Number(record.ModsChanged())
                .Key("mods").BeginArray(true);
            for (const std::wstring& name : record.intent)
                json.String(name);
            json.EndArray().Key("stepOf");
            if (record.stepOf)
                json.Unsigned(*record.stepOf);
            else
                json.Null();
            json.EndObject();
        }
        json.EndArray().Key("damaged").BeginArray();
        for (const mods::DamagedRecord& damaged : whole.damaged)
            json.BeginObject().Key("file").String(damaged.fileName).Key("problem").String(platform::FromUtf8(ProblemName(damaged.problem.fault)))
                .Key("line").Number(damaged.problem.line).EndObject();
        json.EndArray().Key("nextUndo");
        steps.undo ? json.Unsigned(*steps.undo) : json.Null();
        json.Key("nextRedo");
        steps.redo ? json.Unsigned(*steps.redo) : json.Null();
        json.EndObject();
        session.Print(json.Text());
        return;
    }
    std::wstring text;
    for (const mods::ChangeRecord& record : whole.records) {
        std::wstring mods;
        for (const std::wstring& name : record.intent)
            mods += (mods.empty() ? L"" : texts::kNameSeparator) + name;
        std::wstring number = std::to_wstring(record.sequence);
        number.insert(0, number.size() < 5 ? 5 - number.size() : 0, L' ');
        std::wstring action = ActionName(record.action) + (record.complete ? L"" : texts::kHistoryUnfinished);
        action.append(action.size() < 10 ? 10 - action.size() : 0, L' ');
        text += fw::FormatText(texts::kHistoryRow, number, ReadableTime(record.madeAt), action,
                               fw::FormatText(texts::kHistoryModsChanged, ModCount(static_cast<std::size_t>(record.ModsChanged()))) + (mods.empty() ? L"" : L": " + mods));
        text += L'\n';
    }
    if (whole.records.empty())
        text = std::wstring(texts::kHistoryEmpty) + L'\n';
    text.pop_back();
    session.Say(text);
    for (const mods::DamagedRecord& damaged : whole.damaged)
        session.Warn(fw::FormatText(texts::kDamagedRecord, damaged.fileName, platform::FromUtf8(ProblemName(damaged.problem.fault))));
}

}  // namespace cli
