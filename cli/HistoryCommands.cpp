// pakorder undo, redo, history, recover: through the records of every write.
#include "base/FormatText.h"
#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/Session.h"
#include "cli/Texts.h"
#include "cli/TimeText.h"
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

}  // namespace

void RunUndo(Session& session, const Invocation&)
{
    const mods::RestoreOutcome undone = session.Writer().Undo();
    if (undone.write.refused == mods::WriteRefusal::NothingToDo)
        session.Fail(texts::kNothingToUndo);
    else if (session.Ran(undone))
        session.Say(fw::FormatText(texts::kUndoneRecord, ActionName(undone.stepped->action), undone.stepped->sequence));
}

void RunRedo(Session& session, const Invocation&)
{
    const mods::RestoreOutcome redone = session.Writer().Redo();
    if (redone.write.refused == mods::WriteRefusal::NothingToDo)
        session.Fail(texts::kNothingToRedo);
    else if (session.Ran(redone))
        session.Say(fw::FormatText(texts::kRedoneRecord, ActionName(redone.stepped->action), redone.stepped->sequence));
}

void RunRecover(Session& session, const Invocation& invocation)
{
    if (invocation.keep) {
        // Kept as it is, and undoable as any write.
        const mods::WriteOutcome kept = session.Writer().KeepUnfinished();
        if (kept.refused == mods::WriteRefusal::NothingToDo)
            session.Say(texts::kNothingToRecover);
        else if (session.Ran(kept) && kept.completeStatus.ok())
            session.Say(fw::FormatText(texts::kKeptUnfinished, ActionName(kept.unfinished->action), kept.sequence));
        return;
    }
    const mods::RestoreOutcome recovered = session.Writer().Recover();
    if (recovered.write.refused == mods::WriteRefusal::NothingToDo)
        session.Say(texts::kNothingToRecover);
    else if (session.Ran(recovered) && !recovered.recoveryUnfinished)
        session.Say(fw::FormatText(texts::kRecovered, ActionName(recovered.stepped->action), recovered.stepped->sequence));
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
