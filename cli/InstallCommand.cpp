// pakorder install: the drop rules, for files named on the command line.
#include "base/FormatText.h"
#include "cli/Commands.h"
#include "cli/ProblemTexts.h"
#include "cli/ProgressLine.h"
#include "cli/Session.h"
#include "cli/System.h"
#include "cli/Texts.h"
#include "mods/Install.h"
#include "mods/ModFile.h"
#include "platform/Paths.h"

namespace cli {
namespace {

// How far the copies have got, on a terminal; and Ctrl+C, noted while the
// files are copied, stops the install as the window's "cancel" does: the
// mod being copied is removed again, the rest are not copied.
class InstallLine final : public mods::InstallProgress {
public:
    explicit InstallLine(Session& session)
        : session_(session), line_(session.Err(), session.Sys().IsTerminal(StandardStream::Error))
    {
        session_.Sys().CatchInterrupts(true);
    }
    ~InstallLine() override
    {
        line_.Clear();
        session_.Sys().CatchInterrupts(false);
    }

    void CopyingMod(const std::wstring& name, std::size_t index, std::size_t count) override
    {
        name_ = Shortened(name, 40);
        index_ = index;
        count_ = count;
    }
    bool Copied(std::uint64_t bytes, std::uint64_t total) override
    {
        const int percent = total == 0 ? 100 : static_cast<int>(bytes * 100 / total);
        line_.Show(fw::FormatText(texts::kInstallProgress, name_, index_ + 1, count_, percent), bytes == 0);
        return !session_.Sys().Interrupted();
    }

private:
    Session& session_;
    ProgressLine line_;
    std::wstring name_;
    std::size_t index_ = 0, count_ = 0;
};

}  // namespace

void RunInstall(Session& session, const Invocation& invocation)
{
    std::vector<std::wstring> files, names;
    for (const std::wstring& given : invocation.operands) {
        const std::wstring path = session.Sys().FullPath(given);
        // One path at a time: a folder among them is not a mod, and ends nothing.
        const mods::DropPlan plan = mods::PlanDrop(session.Files(), {path});
        if (plan.files.empty() || !session.Files().FileExists(path)) {
            session.Fail(fw::FormatText(session.Files().PathExists(path) ? texts::kNotAModFile : texts::kNoSuchFile, given));
            continue;
        }
        files.push_back(path);
        names.push_back(platform::FileNameOf(path));
    }
    if (files.empty())
        return;
    mods::InstallResult installed;
    const mods::WriteOutcome outcome = [&] {
        InstallLine progress(session);
        return session.Writer().Install(files, installed, &progress);
    }();
    if (!session.Ran(outcome))
        return;
    for (const std::wstring& name : installed.copied)
        session.Say(fw::FormatText(texts::kInstalled, name));
    for (const mods::NotInstalled& mod : installed.notCopied)
        session.Fail(fw::FormatText(texts::kNotInstalled, mod.fileName, ProblemWords(mods::TextOf(mod))));
}

}  // namespace cli
