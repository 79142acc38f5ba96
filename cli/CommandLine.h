#pragma once
// A run of pakorder: the arguments taken apart, the folder found, the
// command run. Returns the exit status.

#include <string>
#include <vector>

namespace cli {

struct Context;

int RunCommandLine(const std::vector<std::wstring>& arguments, Context& context);

}  // namespace cli
