// pakorder: the mods of the game on the command line.
#include <new>
#include <string>
#include <vector>

#include "base/FormatText.h"
#include "cli/CommandLine.h"
#include "cli/Output.h"
#include "cli/Session.h"
#include "cli/System.h"
#include "cli/Texts.h"
#include "platform/FileSystem.h"
#include "platform/Utf8.h"

namespace {

int RunCaught(const std::vector<std::wstring>& arguments, cli::Context& context)
{
    try {
        return cli::RunCommandLine(arguments, context);
    } catch (const std::bad_alloc&) {
        // The core leaves each mod whole when memory runs out; the run stops there.
        context.err.Line(std::wstring(L"pakorder: ") + cli::texts::kRanOutOfMemory);
        return cli::kNotDone;
    }
}

int Run(std::vector<std::wstring> arguments)
{
    cli::Context context{platform::SystemFileSystem(), cli::RealSystem(), cli::StandardOutput(), cli::StandardError()};
    const int status = RunCaught(arguments, context);
    // What did not reach stdout was not done, as coreutils and git see it.
    const platform::FsStatus written = context.out.Close();
    if (!written.ok()) {
        context.err.Line(L"pakorder: " + fw::FormatText(cli::texts::kWriteError, cli::SystemReason(written)));
        return status == cli::kDone ? cli::kNotDone : status;
    }
    return status;
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
