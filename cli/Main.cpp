// pakorder: the mods of the game on the command line.
#include <new>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/Output.h"
#include "cli/Session.h"
#include "cli/System.h"
#include "cli/Texts.h"
#include "platform/FileSystem.h"
#include "platform/Utf8.h"

namespace {

int Run(std::vector<std::wstring> arguments)
{
    cli::Context context{platform::SystemFileSystem(), cli::RealSystem(), cli::StandardOutput(), cli::StandardError()};
    try {
        return cli::RunCommandLine(arguments, context);
    } catch (const std::bad_alloc&) {
        // The core leaves each mod whole when memory runs out; the run stops there.
        context.err.Line(std::wstring(L"pakorder: ") + cli::texts::kOutOfMemory);
        return cli::kNotDone;
    }
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv)
{
    return Run(std::vector<std::wstring>(argv + 1, argv + argc));
}
#else
int main(int argc, char** argv)
{
    std::vector<std::wstring> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(platform::FromUtf8(argv[i]));
    return Run(std::move(arguments));
}
#endif
