#include "cli/CommandLine.h"

#include <algorithm>

#include "base/FormatText.h"
#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/Completion.h"
#include "cli/FolderDiscovery.h"
#include "cli/Output.h"
#include "cli/Session.h"
#include "cli/System.h"
#include "cli/Texts.h"
#include "platform/ReusedListing.h"
#include "platform/Utf8.h"

namespace cli {
namespace {

constexpr std::wstring_view kErrorPrefix = L"pakorder: ";

int Usage(Context& context, const std::wstring& problem, const std::wstring& hint)
{
    context.err.Line(std::wstring(kErrorPrefix) + problem);
    context.err.Line(std::wstring(kErrorPrefix) + hint);
    return kUsageError;
}

// What the command does not take, or the operands it lacks.
std::optional<std::wstring> Misuse(const Command& command, const Invocation& invocation)
{
    for (unsigned bit = 0; bit < kOptionFlags; ++bit) {
        const unsigned option = 1u << bit;
        if ((invocation.options & option) && !(command.options & option))
            return fw::FormatText(texts::kOptionNotHere, command.name, invocation.spelled[bit]);
    }
    const int operands = static_cast<int>(invocation.operands.size());
    if (operands < command.minOperands)
        return fw::FormatText(texts::kTooFewOperands, command.name);
    if (command.maxOperands >= 0 && operands > command.maxOperands)
        return fw::FormatText(texts::kTooManyOperands, command.name);
    if ((command.options & kPlacementOption) && invocation.placement == Placement::None)
        return std::wstring(texts::kNoPlacement);
    if ((command.options & kYesOption) && !command.asksFirst && !invocation.yes)
        return std::wstring(texts::kDeleteNeedsYes);
    return std::nullopt;
}

}  // namespace

int RunCommandLine(const std::vector<std::wstring>& arguments, Context& context)
{
    if (!arguments.empty() && arguments.front() == kCompleteRequest) {
        Complete(std::vector<std::wstring>(arguments.begin() + 1, arguments.end()), context);
        return kDone;
    }
    std::wstring problem;
    const std::optional<Invocation> invocation = ParseArguments(arguments, problem);
    if (!invocation)
        return Usage(context, problem, texts::kUsageHint);
    if (invocation->version) {
        context.out.Line(VersionLine());
        return kDone;
    }
    // "pakorder help move" is "pakorder move --help".
    std::wstring name = invocation->command;
    const bool help = invocation->help || name == L"help";
    if (name == L"help")
        name = invocation->operands.empty() ? L"" : invocation->operands.front();
    if (name.empty()) {
        if (help) {
            context.out.Write(platform::ToUtf8(texts::kUsage));
            return kDone;
        }
        return Usage(context, texts::kNoCommand, texts::kUsageHint);
    }
    const std::span<const Command> commands = Commands();
    const auto command = std::find_if(commands.begin(), commands.end(), [&](const Command& c) { return name == c.name; });
    if (command == commands.end())
        return Usage(context, fw::FormatText(texts::kUnknownCommand, name), texts::kUsageHint);
    if (help) {
        context.out.Write(platform::ToUtf8(command->help));
        return kDone;
    }
    if (const std::optional<std::wstring> misuse = Misuse(*command, *invocation))
        return Usage(context, *misuse, fw::FormatText(texts::kCommandUsageHint, command->name));
    // A question needs someone at a terminal to answer it.
    if (command->asksFirst && !invocation->yes &&
        !(context.system.IsTerminal(StandardStream::Input) && context.system.IsTerminal(StandardStream::Error)))
        return Usage(context, fw::FormatText(texts::kNoTerminalToAsk, command->name),
                     fw::FormatText(texts::kCommandUsageHint, command->name));
    if (!command->needsFolder) {
        Session session(context, std::wstring());
        command->run(session, *invocation);
        return session.Status();
    }

    // The listing that finds the folder is the one the command reads first.
    ReusedListing files(context.files);
    Context reusing{files, context.system, context.out, context.err};
    std::wstring whyNot;
    const std::optional<std::wstring> paks = FindPaksFolder(reusing, files, invocation->folder, whyNot);
    if (!paks) {
        context.err.Line(std::wstring(kErrorPrefix) + whyNot);
        return kNotDone;
    }
    Session session(reusing, *paks);
    command->run(session, *invocation);
    return session.Status();
}

}  // namespace cli
