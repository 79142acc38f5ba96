#include "commandline/CliHarness.h"

#include <gtest/gtest.h>

#include "cli/CommandLine.h"
#include "cli/Output.h"
#include "mods/ModCatalogue.h"
#include "platform/Utf8.h"
#include "unit/ManifestBytes.h"

namespace cli_testing {

std::optional<std::wstring> TestSystem::Variable(const std::wstring& name)
{
    const auto found = variables.find(name);
    return found == variables.end() ? std::nullopt : std::optional(found->second);
}

std::wstring TestSystem::FullPath(const std::wstring& path)
{
#ifdef _WIN32
    const bool absolute = path.size() > 2 && path[1] == L':';
#else
    const bool absolute = !path.empty() && path[0] == L'/';
#endif
    return absolute ? path : platform::JoinPath(current, path);
}

platform::FsStatus TestSystem::ReadInput(std::size_t maxBytes, std::vector<unsigned char>& bytes)
{
    if (input.size() > maxBytes)
        return platform::FsStatus{27};  // too large: the status the tests do not look into
    bytes.assign(input.begin(), input.end());
    return {};
}

std::optional<std::wstring> TestSystem::ReadLine()
{
    if (input.empty())
        return std::nullopt;
    const std::size_t end = input.find('\n');
    const std::string line = input.substr(0, end);
    input.erase(0, end == std::string::npos ? input.size() : end + 1);
    return platform::FromUtf8(line);
}

std::ostream& operator<<(std::ostream& stream, const Result& result)
{
    return stream << "status " << result.status << "\nstdout:\n" << result.out << "stderr:\n" << result.err;
}

Cli::Cli()
{
    testing_files::MakeFolder(paks);
    testing_files::WriteFileWithTime(Pak(L"DATA.PAK"), testing_files::Time(2012, 9, 20));
    system.current = game;
    system.program = root / L"bin";
#ifdef _WIN32
    system.variables[L"APPDATA"] = root / L"appdata";
#else
    system.variables[L"HOME"] = root / L"home";
    system.variables[L"XDG_STATE_HOME"] = root / L"state";
#endif
}

void Cli::AddMods(std::initializer_list<std::wstring> names, bool withManifests)
{
    int day = 0;
    for (const std::wstring& name : names) {
        const mods::FileTime time = testing_files::Time(2021, 1, 2 + 2 * day++);
        testing_files::WriteFileWithTime(Pak(name), time);
        if (withManifests) {
            const std::vector<unsigned char> manifest =
                testing_files::ManifestBytes({{u"MEDIA/", {{u"SHARED.DAT", static_cast<std::uint32_t>(day)}}}});
            testing_files::WriteFileWithTime(Pak(name + L".MAN"), time, std::string(manifest.begin(), manifest.end()));
        }
    }
}

Result Cli::Run(const std::vector<std::wstring>& arguments)
{
    cli::StringOutput out, err;
    cli::Context context{files, system, out, err};
    Result result;
    result.status = cli::RunCommandLine(arguments, context);
    result.out = std::move(out.text);
    result.err = std::move(err.text);
    return result;
}

std::wstring Cli::Order()
{
    std::wstring order;
    for (const mods::ModEntry& mod : mods::ReadModCatalogue(platform::SystemFileSystem(), paks))
        order += (order.empty() ? L"" : L" ") + mod.fileName;
    return order;
}

mods::FileTime Cli::DiskTime(const std::wstring& name) const
{
    mods::FileTime time = 0;
    EXPECT_TRUE(platform::SystemFileSystem().ReadLastWriteTime(Pak(name), time).ok()) << platform::ToUtf8(name);
    return time;
}

}  // namespace cli_testing
