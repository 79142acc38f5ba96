#include "cli/Completion.h"

#include <algorithm>
#include <optional>

#include "base/FormatText.h"
#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/FolderDiscovery.h"
#include "cli/Output.h"
#include "cli/Session.h"
#include "cli/Texts.h"
#include "mods/ModCatalogue.h"
#include "mods/ModFile.h"
#include "platform/LetterCase.h"
#include "platform/ReusedListing.h"

namespace cli {
namespace {

// What a command's operands are, for the candidates offered for them.
enum class Operands { None, Mods, EnabledMods, DisabledMods, FirstMod, TwoMods, Files, FirstFile, Shells };

struct OperandKind {
    std::wstring_view command;
    Operands operands;
};

// enable offers the mods not enabled, disable those not disabled.
constexpr OperandKind kOperandKinds[] = {
    {L"enable", Operands::DisabledMods}, {L"disable", Operands::EnabledMods}, {L"move", Operands::Mods},
    {L"set-time", Operands::FirstMod},   {L"delete", Operands::Mods},         {L"conflicts", Operands::Mods},
    {L"intend", Operands::TwoMods},
    {L"install", Operands::Files},       {L"import", Operands::FirstFile},    {L"export", Operands::FirstFile},
    {L"completion", Operands::Shells},
};

constexpr std::wstring_view kShells[] = {L"bash", L"zsh", L"fish"};

// Compared as names are: in any letter case.
bool StartsWith(std::wstring_view text, std::wstring_view prefix)
{
    return text.size() >= prefix.size() &&
           platform::FoldedCase(text.substr(0, prefix.size())) == platform::FoldedCase(prefix);
}

const OptionName* FindOption(std::wstring_view spelled)
{
    for (const OptionName& option : OptionNames())
        if (spelled == option.name)
            return &option;
    return nullptr;
}

// The words typed before the one being completed, taken apart as loosely
// as a half-typed line needs: no word is an error.
struct TypedSoFar {
    std::wstring command;
    int operands = 0;
    std::optional<std::wstring> folder;
    const OptionName* awaitingValue = nullptr;  // the word before wants a value
    bool optionsEnded = false;
};

TypedSoFar TakeApart(const std::vector<std::wstring>& words)
{
    TypedSoFar typed;
    for (std::size_t i = 0; i + 1 < words.size(); ++i) {
        const std::wstring& word = words[i];
        if (typed.awaitingValue) {
            if (std::wstring_view(typed.awaitingValue->name) == L"--folder")
                typed.folder = word;
            typed.awaitingValue = nullptr;
        } else if (!typed.optionsEnded && word == L"--") {
            typed.optionsEnded = true;
        } else if (!typed.optionsEnded && word.size() > 1 && word[0] == L'-') {
            const OptionName* option = FindOption(word.substr(0, word.find(L'=')));
            if (option && option->takesValue && word.find(L'=') == std::wstring::npos)
                typed.awaitingValue = option;
            else if (option && std::wstring_view(option->name) == L"--folder")
                typed.folder = word.substr(word.find(L'=') + 1);
        } else if (typed.command.empty()) {
            typed.command = word;
        } else {
            ++typed.operands;
        }
    }
    return typed;
}

Operands OperandsOf(const TypedSoFar& typed)
{
    const auto kind = std::find_if(std::begin(kOperandKinds), std::end(kOperandKinds),
                                   [&](const OperandKind& k) { return k.command == typed.command; });
    if (kind == std::end(kOperandKinds))
        return Operands::None;
    switch (kind->operands) {
    case Operands::FirstMod: return typed.operands == 0 ? Operands::Mods : Operands::None;
    case Operands::TwoMods: return typed.operands < 2 ? Operands::Mods : Operands::None;
    case Operands::FirstFile: return typed.operands == 0 ? Operands::Files : Operands::None;
    case Operands::Shells: return typed.operands == 0 ? Operands::Shells : Operands::None;
    default: return kind->operands;
    }
}

// The mods of the folder in use, as list writes their names; none when
// there is no folder (a completion says nothing of why).
std::vector<std::wstring> ModNames(Context& context, const TypedSoFar& typed, Operands which)
{
    ReusedListing files(context.files);
    Context reusing{files, context.system, context.out, context.err};
    std::wstring whyNot;
    const std::optional<std::wstring> paks = FindPaksFolder(reusing, files, typed.folder, whyNot);
    std::vector<std::wstring> names;
    if (!paks)
        return names;
    for (const mods::ModEntry& mod : mods::ReadModCatalogue(files, *paks)) {
        const bool disabled = mods::IsDisabledModName(mod.fileName);
        if ((which == Operands::EnabledMods && disabled) || (which == Operands::DisabledMods && !disabled))
            continue;
        names.push_back(mod.fileName);
    }
    return names;
}

}  // namespace

void Complete(const std::vector<std::wstring>& words, Context& context)
{
    const std::wstring current = words.empty() ? std::wstring() : words.back();
    const TypedSoFar typed = TakeApart(words);
    std::vector<std::wstring> candidates;
    const auto offer = [&](std::wstring_view candidate) {
        if (StartsWith(candidate, current))
            candidates.emplace_back(candidate);
    };

    const auto command = std::find_if(Commands().begin(), Commands().end(),
                                      [&](const Command& c) { return typed.command == c.name; });
    if (typed.awaitingValue) {
        if (std::wstring_view(typed.awaitingValue->name) == L"--folder") {
            context.out.Line(L"folders");
            return;
        }
        for (const std::wstring& name : ModNames(context, typed, Operands::Mods))  // --before, --after
            offer(name);
    } else if (!typed.optionsEnded && !current.empty() && current[0] == L'-') {
        for (const OptionName& option : OptionNames()) {
            const bool taken = option.flag == 0 || (command != Commands().end() && (command->options & option.flag));
            if (taken && std::wstring_view(option.name).starts_with(L"--"))
                offer(option.name);
        }
    } else if (typed.command.empty() || typed.command == L"help") {
        if (typed.command.empty() || typed.operands == 0) {
            for (const Command& c : Commands())
                offer(c.name);
            if (typed.command.empty())
                offer(L"help");
        }
    } else {
        const Operands operands = OperandsOf(typed);
        if (operands == Operands::Files) {
            context.out.Line(L"files");
            return;
        }
        if (operands == Operands::Shells)
            for (std::wstring_view shell : kShells)
                offer(shell);
        if (operands == Operands::Mods || operands == Operands::EnabledMods || operands == Operands::DisabledMods)
            for (const std::wstring& name : ModNames(context, typed, operands))
                offer(name);
    }
    context.out.Line(L"words");
    for (const std::wstring& candidate : candidates)
        context.out.Line(candidate);
}

void RunCompletion(Session& session, const Invocation& invocation)
{
    const std::string_view script = CompletionScript(invocation.operands.front());
    if (script.empty())
        session.UsageError(fw::FormatText(texts::kUnknownShell, invocation.operands.front()));
    else
        session.Print(script);
}

}  // namespace cli
