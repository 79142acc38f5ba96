// The completion scripts, one per shell. Each asks the program it
// completes for (the one typed: a path, or pakorder found on PATH) what
// to offer, with the words typed so far, and quotes the answer as its
// shell wants: a mod's name may hold spaces, quotes or any letters.
#include "cli/Completion.h"

namespace cli {
namespace {

constexpr std::string_view kBash = R"script(# bash completion for pakorder
# Load it with: source <(pakorder completion bash)

_pakorder()
{
    local program=${COMP_WORDS[0]} current=${COMP_WORDS[COMP_CWORD]}
    [[ $program == "~/"* ]] && program=$HOME/${program#"~/"}
    # The word as the program will get it: a quote begun, spaces escaped.
    local words=("${COMP_WORDS[@]:1:COMP_CWORD}")
    current=${current#[\"\']}
    current=${current//\\ / }
    words[${#words[@]}-1]=$current
    local IFS=$'\n' reply
    reply=($(command "$program" __complete "${words[@]}" 2>/dev/null)) || return
    COMPREPLY=()
    case ${reply[0]} in
    files) COMPREPLY=($(compgen -f -- "$current")); compopt -o filenames 2>/dev/null ;;
    folders) COMPREPLY=($(compgen -d -- "$current")); compopt -o filenames 2>/dev/null ;;
    words)
        local candidate
        for candidate in "${reply[@]:1}"; do
            COMPREPLY+=("$(printf '%q' "$candidate")")
        done
        ;;
    esac
}
complete -F _pakorder pakorder
)script";

constexpr std::string_view kZsh = R"script(#compdef pakorder
# zsh completion for pakorder
# Load it with: source <(pakorder completion zsh), or as _pakorder on $fpath

_pakorder()
{
    local -a reply
    reply=("${(@f)$("${words[1]}" __complete "${(@Q)words[2,CURRENT]}" 2>/dev/null)}")
    case $reply[1] in
    files) _files ;;
    folders) _files -/ ;;
    words) (( $#reply > 1 )) && compadd -U -- "${(@)reply[2,-1]}" ;;
    esac
}

# Autoloaded from $fpath, this file is the function's body: it completes.
if [[ $funcstack[1] == _pakorder ]]; then
    _pakorder "$@"
else
    compdef _pakorder pakorder
fi
)script";

constexpr std::string_view kFish = R"script(# fish completion for pakorder
# Load it with: pakorder completion fish | source

function __pakorder_complete
    set -l words (commandline -opc) (commandline -ct)
    set -l reply ($words[1] __complete $words[2..-1] 2>/dev/null)
    switch "$reply[1]"
        case files
            __fish_complete_path (commandline -ct)
        case folders
            __fish_complete_directories (commandline -ct)
        case words
            printf '%s\n' $reply[2..-1]
    end
end

complete -c pakorder -f -a '(__pakorder_complete)'
)script";

}  // namespace

std::string_view CompletionScript(std::wstring_view shell)
{
    if (shell == L"bash")
        return kBash;
    if (shell == L"zsh")
        return kZsh;
    if (shell == L"fish")
        return kFish;
    return {};
}

}  // namespace cli
