#pragma once
// The command line taken apart: the command, its operands and the options,
// which may come anywhere ("--" ends them). What is allowed where is the
// command table's to say.

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace cli {

enum class Placement { None, Top, Bottom, Before, After };

// Options, as flags of the commands that take them.
enum Option : unsigned {
    kJsonOption = 1u << 0,
    kYesOption = 1u << 1,
    kKeepOption = 1u << 2,
    kPlacementOption = 1u << 3,
    kAllOption = 1u << 4,
    kRemoveOption = 1u << 5,
};
inline constexpr unsigned kOptionFlags = 6;  // the bits above

struct Invocation {
    std::wstring command;
    std::vector<std::wstring> operands;
    std::optional<std::wstring> folder;
    bool help = false;
    bool version = false;
    bool json = false;
    bool yes = false;
    bool keep = false;
    bool all = false;
    bool remove = false;
    Placement placement = Placement::None;
    std::wstring anchor;  // --before or --after NAME
    unsigned options = 0;             // the Option flags given
    std::vector<std::wstring> spelled;  // how each was spelled, for messages, by flag bit
};

// Every option as it is typed: the Option flag it gives (0 for those every
// command takes) and whether a value follows it. For the manual page's test
// and the completion.
struct OptionName {
    const wchar_t* name;
    unsigned flag;
    bool takesValue;
};
std::span<const OptionName> OptionNames();

// Empty, with the reason in `usageError`, for an option that does not
// exist, lacks its value or is given twice.
std::optional<Invocation> ParseArguments(const std::vector<std::wstring>& arguments, std::wstring& usageError);

}  // namespace cli
