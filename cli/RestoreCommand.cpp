// pakorder restore: the whole folder back as it was before one record, as
// the window's history dialog puts it back.
#include <cstdint>

#include "base/FormatText.h"
#include "cli/Commands.h"
#include "cli/Session.h"
#include "cli/Texts.h"
#include "cli/TimeText.h"
#include "mods/FolderState.h"
#include "platform/Utf8.h"

namespace cli {
namespace {

// Digits only, as history prints them, and within the records' range.
std::optional<std::uint64_t> RecordNumber(const std::wstring& text)
{
    if (text.empty() || text.size() > 20)
        return std::nullopt;
    std::uint64_t number = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        const std::uint64_t digit = static_cast<std::uint64_t>(c - L'0');
        if (number > (UINT64_MAX - digit) / 10)
            return std::nullopt;
        number = number * 10 + digit;
    }
    return number;
}

}  // namespace

void RunRestore(Session& session, const Invocation& invocation)
{
    const std::wstring& given = invocation.operands.front();
    const std::optional<std::uint64_t> sequence = RecordNumber(given);
    if (!sequence) {
        session.UsageError(fw::FormatText(texts::kNotARecordNumber, given));
        return;
    }
    mods::ChangeHistory* history = session.History();
    if (!history) {
        session.Fail(texts::kNoRecordsPlace);
        return;
    }
    const std::optional<mods::ChangeRecord> record = history->Record(*sequence);
    if (!record) {
        session.Fail(fw::FormatText(texts::kNoSuchRecord, *sequence));
        return;
    }
    const std::wstring action = platform::FromUtf8(mods::RecordedActionName(record->action));
    const std::optional<int> files = session.Writer().FilesToRestore(*record);
    if (!files) {
        // The restore would be refused: the folder cannot be read whole. Read again for the reason.
        std::vector<mods::RecordedMod> state;
        session.Fail(fw::FormatText(texts::kCannotReadWholeFolder, session.Paks(),
                                    session.Reason(mods::ReadFolderState(session.Files(), session.Paks(), state))));
        return;
    }
    if (*files == 0) {
        session.Say(fw::FormatText(texts::kNothingToRestoreToRecord, action, *sequence));
        return;
    }
    if (!invocation.yes &&
        !session.Confirm(fw::FormatText(texts::kRestoreToRecordQuestion, ReadableTime(record->madeAt), action, *sequence,
                                        FileCount(static_cast<std::size_t>(*files))))) {
        session.Fail(texts::kNotAnswered);
        return;
    }
    const mods::RestoreOutcome restored = session.Writer().RestoreBefore(*sequence);
    if (restored.write.refused == mods::WriteRefusal::NothingToDo)
        session.Fail(fw::FormatText(texts::kNoSuchRecord, *sequence));  // gone since it was read
    else if (session.Ran(restored))
        session.Say(fw::FormatText(texts::kRestoredToRecord, action, *sequence,
                                   FileCount(static_cast<std::size_t>(restored.filesChanged))));
}

}  // namespace cli
