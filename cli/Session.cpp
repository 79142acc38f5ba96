#include "cli/Session.h"

#include "cli/Output.h"
#include "cli/System.h"
#include "cli/Texts.h"
#include "framework/FormatText.h"
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

std::wstring Session::Reason(platform::FsStatus status) { return SystemReason(status); }

std::optional<std::uint64_t> Session::BeginWrite(mods::RecordedAction action, std::vector<std::wstring> intent)
{
    mods::ChangeHistory* history = History();
    if (!history) {
        Fail(fw::FormatText(texts::kCannotRecord, SystemReason(platform::NotSupportedStatus())));
        return std::nullopt;
    }
    // A write on top of a half-done one would leave it unrecoverable.
    if (const std::optional<mods::ChangeRecord> unfinished = history->UnfinishedNewest()) {
        Fail(fw::FormatText(texts::kUnfinishedAction, platform::FromUtf8(mods::RecordedActionName(unfinished->action)),
                            unfinished->sequence));
        return std::nullopt;
    }
    std::uint64_t sequence = 0;
    const platform::FsStatus recorded = history->Begin(action, std::move(intent), std::nullopt, sequence);
    if (!recorded.ok()) {
        Fail(fw::FormatText(texts::kCannotRecord, SystemReason(recorded)));
        return std::nullopt;
    }
    return sequence;
}

void Session::EndWrite(std::uint64_t sequence)
{
    const platform::FsStatus completed = history_ ? history_->Complete(sequence) : platform::NotSupportedStatus();
    if (!completed.ok())
        Fail(fw::FormatText(texts::kCannotComplete, SystemReason(completed)));
}

}  // namespace cli
