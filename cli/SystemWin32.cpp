// The command line's system on Windows.
#include <windows.h>

#include <algorithm>
#include <atomic>

#include "cli/FolderDiscovery.h"
#include "cli/Output.h"
#include "cli/System.h"
#include "cli/Texts.h"
#include "mods/RegisteredGames.h"
#include "mods/SettingsPlace.h"
#include "platform/IniProfile.h"
#include "platform/Paths.h"
#include "platform/ReadToEnd.h"
#include "platform/Registry.h"
#include "platform/Utf8.h"

namespace cli {
namespace {

// A console shows UTF-16; a file or a pipe gets the UTF-8 bytes.
class HandleOutput final : public Output {
public:
    explicit HandleOutput(DWORD which) : handle_(GetStdHandle(which))
    {
        DWORD mode = 0;
        console_ = GetFileType(handle_) == FILE_TYPE_CHAR && GetConsoleMode(handle_, &mode);
    }
    void Write(std::string_view utf8) override
    {
        DWORD written = 0;
        bool whole = false;
        if (console_) {
            const std::wstring text = platform::FromUtf8(utf8);
            whole = WriteConsoleW(handle_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                    written == text.size();
        } else {
            whole = WriteFile(handle_, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr) &&
                    written == utf8.size();
        }
        if (!whole && failure_ == 0) {
            const DWORD error = GetLastError();
            failure_ = error ? error : ERROR_WRITE_FAULT;
        }
    }
    // Nothing is held back: each write reached the system or failed.
    platform::FsStatus Close() override { return platform::FsStatus{failure_}; }

private:
    HANDLE handle_;
    bool console_ = false;
    DWORD failure_ = 0;
};

std::atomic<bool> g_interrupted{false};

// Called on a thread of its own when Ctrl+C or Ctrl+Break is pressed.
BOOL WINAPI NoteInterrupt(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    g_interrupted = true;
    return TRUE;
}

class Win32System final : public System {
public:
    std::optional<std::wstring> Variable(const std::wstring& name) override
    {
        const DWORD length = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
        if (length == 0)
            return std::nullopt;
        std::wstring value(length, L'\0');
        value.resize(GetEnvironmentVariableW(name.c_str(), value.data(), length));
        return value;
    }

    std::wstring CurrentFolder() override
    {
        std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
        folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
        return folder;
    }

    std::wstring ProgramFolder() override
    {
        std::wstring path(32768, L'\0');
        path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
        return platform::GetFolderOfPath(path);
    }

    std::wstring FullPath(const std::wstring& path) override
    {
        const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
        if (length == 0)
            return path;
        std::wstring full(length, L'\0');
        full.resize(GetFullPathNameW(path.c_str(), length, full.data(), nullptr));
        return full;
    }

    platform::FsStatus ReadInput(std::size_t maxBytes, std::vector<unsigned char>& bytes) override
    {
        const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
        DWORD failure = 0;
        const auto readSome = [&](unsigned char* buffer, std::size_t room) -> long long {
            DWORD got = 0;
            if (ReadFile(input, buffer, static_cast<DWORD>(std::min<std::size_t>(room, 1u << 30)), &got, nullptr))
                return got;
            failure = GetLastError();
            return failure == ERROR_BROKEN_PIPE ? 0 : -1;  // the writer closed its end: the end
        };
        switch (platform::ReadToEnd(readSome, 0, maxBytes, bytes)) {
        case platform::ReadToEndResult::Done: return {};
        case platform::ReadToEndResult::TooLarge: return platform::FsStatus{ERROR_FILE_TOO_LARGE};
        case platform::ReadToEndResult::Failed: break;
        }
        return platform::FsStatus{failure};
    }

    bool IsTerminal(StandardStream stream) override
    {
        const HANDLE handle = GetStdHandle(stream == StandardStream::Input ? STD_INPUT_HANDLE : STD_ERROR_HANDLE);
        DWORD mode = 0;
        return GetFileType(handle) == FILE_TYPE_CHAR && GetConsoleMode(handle, &mode);
    }

    std::optional<std::wstring> ReadLine() override
    {
        const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
        DWORD mode = 0;
        const bool console = GetFileType(input) == FILE_TYPE_CHAR && GetConsoleMode(input, &mode);
        // A character (or a byte) at a time: what follows the line is left in stdin.
        std::wstring line;
        std::string bytes;
        bool any = false;
        for (;;) {
            DWORD got = 0;
            wchar_t c = 0;
            char byte = 0;
            const bool read = console ? ReadConsoleW(input, &c, 1, &got, nullptr) : ReadFile(input, &byte, 1, &got, nullptr);
            if (!read || got == 0)
                break;
            any = true;
            if (!console)
                c = static_cast<unsigned char>(byte);
            if (c == L'\n')
                break;
            if (console)
                line += c;
            else
                bytes += byte;
        }
        if (!console)
            line = platform::FromUtf8(bytes);
        if (!any)
            return std::nullopt;
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        return line;
    }

    void CatchInterrupts(bool catching) override
    {
        if (catching)
            g_interrupted = false;
        SetConsoleCtrlHandler(NoteInterrupt, catching ? TRUE : FALSE);
    }

    bool Interrupted() override { return g_interrupted; }
};

// The window's place, named after the window: this program is not it.
mods::SettingsPlace WindowSettingsPlace(System& system)
{
    return mods::SettingsPlaceOf(system.Variable(L"APPDATA").value_or(std::wstring()), mods::kWindowName);
}

}  // namespace

System& RealSystem()
{
    static Win32System system;
    return system;
}

Output& StandardOutput()
{
    static HandleOutput out(STD_OUTPUT_HANDLE);
    return out;
}

Output& StandardError()
{
    static HandleOutput err(STD_ERROR_HANDLE);
    return err;
}

std::wstring RecordsRoot(System& system)
{
    // The window's own place: both walk the same history.
    return WindowSettingsPlace(system).recordsFolder;
}

mods::GamePlaces SystemGamePlaces(System& system, platform::FileSystem& fileSystem)
{
    // As the window finds it: beside the program, then where Windows says
    // it is installed; last the folder the window's picker last accepted.
    mods::GamePlaces places;
    places.own.push_back(system.ProgramFolder());
    places.installed = [&fileSystem] { return mods::RegisteredGameFolders(fileSystem, platform::SystemRegistry()); };
    places.lastChosen = [&system]() -> std::optional<std::wstring> {
        const mods::SettingsPlace place = WindowSettingsPlace(system);
        if (place.settingsFile.empty())
            return std::nullopt;
        return platform::IniProfile(place.settingsFile).Read(mods::kFolderHistorySection, mods::kLastFolderKey);
    };
    return places;
}

}  // namespace cli
