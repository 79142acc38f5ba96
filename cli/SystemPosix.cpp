// The command line's system on Linux and other POSIX systems.
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cerrno>

#include "cli/Output.h"
#include "cli/System.h"
#include "cli/Texts.h"
#include "mods/GameDiscovery.h"
#include "mods/SteamGame.h"
#include "platform/Paths.h"
#include "platform/ReadToEnd.h"
#include "platform/Utf8.h"

namespace cli {
namespace {

class StreamOutput final : public Output {
public:
    explicit StreamOutput(std::FILE* stream) : stream_(stream) {}
    void Write(std::string_view utf8) override
    {
        if (std::fwrite(utf8.data(), 1, utf8.size(), stream_) != utf8.size())
            Failed();
    }
    platform::FsStatus Close() override
    {
        // A file is written in blocks: the last one fails only now.
        if (std::fflush(stream_) != 0 || std::ferror(stream_))
            Failed();
        if (std::fclose(stream_) != 0)
            Failed();
        return platform::FsStatus{static_cast<unsigned long>(failure_)};
    }

private:
    void Failed()
    {
        if (failure_ == 0)
            failure_ = errno ? errno : EIO;
    }

    std::FILE* stream_;
    int failure_ = 0;
};

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void NoteInterrupt(int) { g_interrupted = 1; }

class PosixSystem final : public System {
public:
    std::optional<std::wstring> Variable(const std::wstring& name) override
    {
        const char* value = std::getenv(platform::ToUtf8(name).c_str());
        return value ? std::optional(platform::FromUtf8(value)) : std::nullopt;
    }

    std::wstring CurrentFolder() override
    {
        char folder[PATH_MAX];
        return ::getcwd(folder, sizeof folder) ? platform::FromUtf8(folder) : std::wstring();
    }

    std::wstring ProgramFolder() override
    {
        char path[PATH_MAX];
        const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
        return length > 0 ? platform::GetFolderOfPath(platform::FromUtf8(std::string_view(path, static_cast<std::size_t>(length))))
                          : std::wstring();
    }

    std::wstring FullPath(const std::wstring& path) override
    {
        const std::wstring absolute = !path.empty() && path[0] == L'/' ? path : platform::JoinPath(CurrentFolder(), path);
        char resolved[PATH_MAX];
        return ::realpath(platform::ToUtf8(absolute).c_str(), resolved) ? platform::FromUtf8(resolved) : absolute;
    }

    platform::FsStatus ReadInput(std::size_t maxBytes, std::vector<unsigned char>& bytes) override
    {
        int failure = 0;
        const auto readSome = [&](unsigned char* buffer, std::size_t room) -> long long {
            for (;;) {
                const ssize_t got = ::read(STDIN_FILENO, buffer, room);
                if (got >= 0 || errno != EINTR) {
                    failure = got < 0 ? errno : 0;
                    return got;
                }
            }
        };
        switch (platform::ReadToEnd(readSome, 0, maxBytes, bytes)) {
        case platform::ReadToEndResult::Done: return {};
        case platform::ReadToEndResult::TooLarge: return platform::FsStatus{EFBIG};
        case platform::ReadToEndResult::Failed: break;
        }
        return platform::FsStatus{static_cast<unsigned long>(failure)};
    }

    bool IsTerminal(StandardStream stream) override
    {
        return ::isatty(stream == StandardStream::Input ? STDIN_FILENO : STDERR_FILENO) == 1;
    }

    std::optional<std::wstring> ReadLine() override
    {
        // A byte at a time: what follows the line is not taken from stdin.
        std::string line;
        char c = 0;
        for (;;) {
            const ssize_t got = ::read(STDIN_FILENO, &c, 1);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return line.empty() ? std::nullopt : std::optional(platform::FromUtf8(line));
            if (c == '\n')
                break;
            line += c;
        }
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        return platform::FromUtf8(line);
    }

    void CatchInterrupts(bool catching) override
    {
        if (!catching) {
            ::sigaction(SIGINT, &previous_, nullptr);
            return;
        }
        g_interrupted = 0;
        struct sigaction noting {};
        noting.sa_handler = NoteInterrupt;
        noting.sa_flags = SA_RESTART;  // the calls in progress go on; the copy looks at the note between blocks
        sigemptyset(&noting.sa_mask);
        ::sigaction(SIGINT, &noting, &previous_);
    }

    bool Interrupted() override { return g_interrupted != 0; }

private:
    struct sigaction previous_ {};
};

// An absolute path from a variable, as the XDG base directories want them.
std::optional<std::wstring> AbsoluteVariable(System& system, const wchar_t* name)
{
    std::optional<std::wstring> value = system.Variable(name);
    return value && !value->empty() && (*value)[0] == L'/' ? value : std::nullopt;
}

}  // namespace

System& RealSystem()
{
    static PosixSystem system;
    return system;
}

Output& StandardOutput()
{
    static StreamOutput out(stdout);
    return out;
}

Output& StandardError()
{
    static StreamOutput err(stderr);
    return err;
}

std::wstring RecordsRoot(System& system)
{
    if (const std::optional<std::wstring> state = AbsoluteVariable(system, L"XDG_STATE_HOME"))
        return platform::JoinPath(*state, L"pakorder");
    const std::optional<std::wstring> home = AbsoluteVariable(system, L"HOME");
    return home ? platform::JoinPath(platform::JoinPath(platform::JoinPath(*home, L".local"), L"state"), L"pakorder")
                : std::wstring();
}

mods::GamePlaces SystemGamePlaces(System& system, platform::FileSystem& fileSystem)
{
    mods::GamePlaces places;
    places.installed = [&system, &fileSystem] {
        const std::optional<std::wstring> home = AbsoluteVariable(system, L"HOME");
        if (!home)
            return std::vector<std::wstring>();
        const std::wstring data =
            AbsoluteVariable(system, L"XDG_DATA_HOME").value_or(platform::JoinPath(*home, L".local/share"));
        // Steam's own link first, then where its packages put it; the Flatpak last.
        std::vector<std::wstring> roots;
        for (const std::wstring& root : {platform::JoinPath(*home, L".steam/steam"), platform::JoinPath(data, L"Steam"),
                                         platform::JoinPath(*home, L".var/app/com.valvesoftware.Steam/.local/share/Steam")}) {
            std::wstring resolved = system.FullPath(root);
            if (std::find(roots.begin(), roots.end(), resolved) == roots.end())
                roots.push_back(std::move(resolved));
        }
        return mods::SteamGameFolders(fileSystem, roots);
    };
    return places;
}

}  // namespace cli
