#include "cli/Session.h"

#include "base/FormatText.h"
#include "cli/Output.h"
#include "cli/ProblemTexts.h"
#include "cli/System.h"
#include "cli/Texts.h"
#include "platform/LetterCase.h"
#include "platform/Utf8.h"

namespace cli {
namespace {

constexpr std::wstring_view kErrorPrefix = L"pakorder: ";

}  // namespace

std::wstring ModCount(std::size_t count)
{
    return count == 1 ? std::wstring(texts::kOneMod) : fw::FormatText(texts::kMods, count);
}

std::wstring FileCount(std::size_t count)
{
    return count == 1 ? std::wstring(texts::kOneFile) : fw::FormatText(texts::kFiles, count);
}

Session::Session(Context& context, std::wstring paksFolder) : context_(context), paks_(std::move(paksFolder)) {}

std::vector<mods::ModEntry> Session::Catalogue() { return mods::ReadModCatalogue(context_.files, paks_); }

mods::ChangeHistory* Session::History()
{
    if (!history_) {
        const std::wstring root = RecordsRoot(context_.system);
        if (root.empty())
            return nullptr;
        history_ = std::make_unique<mods::ChangeHistory>(context_.files, root, paks_);
    }
    return history_.get();
}

void Session::Say(const std::wstring& line) { context_.out.Line(line); }

void Session::Print(std::string_view utf8) { context_.out.Write(utf8); }

void Session::PrintWhenLong(std::string& text)
{
    constexpr std::size_t kPiece = 1u << 20;
    if (text.size() < kPiece)
        return;
    context_.out.Write(text);
    text.clear();
}

void Session::Warn(const std::wstring& line) { context_.err.Line(std::wstring(kErrorPrefix) + line); }

void Session::Fail(const std::wstring& line)
{
    Warn(line);
    if (status_ == kDone)
        status_ = kNotDone;
}

void Session::UsageError(const std::wstring& line)
{
    Warn(line);
    status_ = kUsageError;
}

bool Session::Confirm(const std::wstring& question)
{
    context_.err.Write(platform::ToUtf8(std::wstring(kErrorPrefix) + question));
    const std::optional<std::wstring> answer = context_.system.ReadLine();
    if (!answer)
        context_.err.Write("\n");  // the input ended: the next line starts on a line of its own
    const std::wstring said = answer ? platform::FoldedCase(*answer) : std::wstring();
    return said == L"Y" || said == L"YES";
}

std::wstring Session::Reason(platform::FsStatus status)
{
    return SystemReason(status);
}

mods::FolderWriter& Session::Writer()
{
    if (!writer_)
        writer_ = std::make_unique<mods::FolderWriter>(context_.files, History());
    return *writer_;
}

bool Session::Ran(const mods::WriteOutcome& outcome)
{
    switch (outcome.refused) {
    case mods::WriteRefusal::None: break;
    case mods::WriteRefusal::NoHistory: Fail(texts::kNoRecordsPlace); return false;
    case mods::WriteRefusal::Locked: Fail(texts::kAnotherWriter); return false;
    case mods::WriteRefusal::Unfinished:
        Fail(fw::FormatText(texts::kUnfinishedAction, platform::FromUtf8(mods::RecordedActionName(outcome.unfinished->action)),
                            outcome.unfinished->sequence));
        return false;
    case mods::WriteRefusal::StateUnreadable: Fail(fw::FormatText(texts::kCannotReadWholeFolder, paks_, Reason(outcome.status))); return false;
    case mods::WriteRefusal::CannotRecord: Fail(fw::FormatText(texts::kCannotRecord, Reason(outcome.status))); return false;
    case mods::WriteRefusal::NothingToDo: return false;  // each command says it in its own words
    case mods::WriteRefusal::OtherFolder: return false;
    }
    if (!outcome.completeStatus.ok())
        Fail(fw::FormatText(texts::kCannotComplete, Reason(outcome.completeStatus)));
    return true;
}

bool Session::Ran(const mods::RestoreOutcome& outcome)
{
    if (outcome.write.refused == mods::WriteRefusal::OtherFolder) {
        Fail(fw::FormatText(texts::kRecordOfOtherFolder, outcome.stepped->sequence, outcome.stepped->paksFolder));
        return false;
    }
    if (!Ran(outcome.write))
        return false;
    for (const mods::NotRestored& mod : outcome.notRestored)
        Fail(fw::FormatText(texts::kModNotRestored, mod.name, ProblemWords(mods::TextOf(mod))));
    if (outcome.recoveryUnfinished)
        Fail(texts::kRecoveryUnfinished);
    return true;
}

}  // namespace cli
