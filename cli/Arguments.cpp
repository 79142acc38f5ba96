#include "cli/Arguments.h"

#include "base/FormatText.h"
#include "cli/Texts.h"

namespace cli {
namespace {

int BitIndex(unsigned flag)
{
    int index = 0;
    while (flag > 1u) {
        flag >>= 1;
        ++index;
    }
    return index;
}

}  // namespace

std::optional<Invocation> ParseArguments(const std::vector<std::wstring>& arguments, std::wstring& usageError)
{
    Invocation invocation;
    invocation.spelled.resize(kOptionFlags);
    bool optionsEnd = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::wstring argument = arguments[i];
        if (optionsEnd || argument.size() < 2 || argument[0] != L'-') {
            if (invocation.command.empty())
                invocation.command = std::move(argument);
            else
                invocation.operands.push_back(std::move(argument));
            continue;
        }
        if (argument == L"--") {
            optionsEnd = true;
            continue;
        }
        // --name=value is --name value.
        std::optional<std::wstring> attached;
        if (const std::size_t equals = argument.find(L'='); argument.rfind(L"--", 0) == 0 && equals != std::wstring::npos) {
            attached = argument.substr(equals + 1);
            argument.resize(equals);
        }
        auto value = [&]() -> std::optional<std::wstring> {
            if (attached)
                return attached;
            if (i + 1 < arguments.size())
                return arguments[++i];
            usageError = fw::FormatText(texts::kOptionNeedsValue, argument);
            return std::nullopt;
        };
        auto flag = [&](unsigned option) {
            if (invocation.options & option) {
                usageError = option == kPlacementOption ? std::wstring(texts::kTwoPlacements)
                                                        : fw::FormatText(texts::kOptionTwice, argument);
                return false;
            }
            invocation.options |= option;
            invocation.spelled[static_cast<std::size_t>(BitIndex(option))] = argument;
            return true;
        };
        bool good = true;
        if (argument == L"--help" || argument == L"-h") {
            invocation.help = true;
        } else if (argument == L"--version") {
            invocation.version = true;
        } else if (argument == L"--folder") {
            const std::optional<std::wstring> folder = value();
            if (!folder)
                return std::nullopt;
            if (invocation.folder) {
                usageError = fw::FormatText(texts::kOptionTwice, argument);
                return std::nullopt;
            }
            invocation.folder = folder;
        } else if (argument == L"--json") {
            good = flag(kJsonOption);
            invocation.json = true;
        } else if (argument == L"--yes" || argument == L"-y") {
            good = flag(kYesOption);
            invocation.yes = true;
        } else if (argument == L"--keep") {
            good = flag(kKeepOption);
            invocation.keep = true;
        } else if (argument == L"--all") {
            good = flag(kAllOption);
            invocation.all = true;
        } else if (argument == L"--remove") {
            good = flag(kRemoveOption);
            invocation.remove = true;
        } else if (argument == L"--top" || argument == L"--bottom") {
            good = flag(kPlacementOption);
            invocation.placement = argument == L"--top" ? Placement::Top : Placement::Bottom;
        } else if (argument == L"--before" || argument == L"--after") {
            good = flag(kPlacementOption);
            const std::optional<std::wstring> anchor = good ? value() : std::nullopt;
            if (!anchor)
                return std::nullopt;
            invocation.placement = argument == L"--before" ? Placement::Before : Placement::After;
            invocation.anchor = *anchor;
        } else {
            usageError = fw::FormatText(texts::kUnknownOption, argument);
            return std::nullopt;
        }
        if (!good)
            return std::nullopt;
        if (attached && argument != L"--folder" && argument != L"--before" && argument != L"--after") {
            usageError = fw::FormatText(texts::kUnknownOption, arguments[i]);
            return std::nullopt;
        }
    }
    return invocation;
}

std::span<const OptionName> OptionNames()
{
    static constexpr OptionName kNames[] = {
        {L"--folder", 0, true},
        {L"--help", 0, false},
        {L"-h", 0, false},
        {L"--version", 0, false},
        {L"--json", kJsonOption, false},
        {L"--yes", kYesOption, false},
        {L"-y", kYesOption, false},
        {L"--keep", kKeepOption, false},
        {L"--all", kAllOption, false},
        {L"--remove", kRemoveOption, false},
        {L"--top", kPlacementOption, false},
        {L"--bottom", kPlacementOption, false},
        {L"--before", kPlacementOption, true},
        {L"--after", kPlacementOption, true},
    };
    return kNames;
}

}  // namespace cli
