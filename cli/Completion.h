#pragma once
// Completion on Tab in the shells: the scripts that `pakorder completion
// SHELL` prints, and what they ask the program for. A script hands the
// words typed so far to `pakorder __complete`, which answers "files",
// "folders", or "words" followed by the candidates, one a line: the
// commands, their options, the names of the folder's mods as list writes
// them. The scripts only quote the candidates for their shell.

#include <string>
#include <string_view>
#include <vector>

namespace cli {

struct Context;

// The word that starts a completion request, in place of a command.
inline constexpr std::wstring_view kCompleteRequest = L"__complete";

// `words` are the command line's after the program's name, the last the one
// being completed (empty when nothing is typed of it yet).
void Complete(const std::vector<std::wstring>& words, Context& context);

// The script for "bash", "zsh" or "fish"; empty for any other name.
std::string_view CompletionScript(std::wstring_view shell);

}  // namespace cli
