// The real pakorder program, started as a shell starts it: its arguments,
// environment and current folder, stdin, stdout and stderr apart, and its
// exit status.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>

#include "commandline/CliHarness.h"
#include "platform/Utf8.h"

using namespace cli_testing;
using namespace testing_files;

namespace {

std::string ReadAll(int fd)
{
    std::string text;
    char buffer[4096];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(got));
    ::close(fd);
    return text;
}

// In a forked child: becomes the program, in `folder`, with only HOME and
// XDG_STATE_HOME set.
[[noreturn]] void BecomeProgram(const std::wstring& folder, const std::wstring& home,
                                const std::vector<std::string>& arguments)
{
    const std::string where = platform::ToUtf8(folder), homeVariable = "HOME=" + platform::ToUtf8(home),
                      stateVariable = "XDG_STATE_HOME=" + platform::ToUtf8(home) + "/state";
    std::vector<char*> argv{const_cast<char*>(PAKORDER_PROGRAM)};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    char* environment[] = {const_cast<char*>(homeVariable.c_str()), const_cast<char*>(stateVariable.c_str()), nullptr};
    if (::chdir(where.c_str()) == 0)
        ::execve(PAKORDER_PROGRAM, argv.data(), environment);
    ::_exit(127);
}

// Runs the program in `folder` with HOME and XDG_STATE_HOME set, `input` on
// stdin, stdout to the test or to the file `output`.
Result Start(const std::wstring& folder, const std::wstring& home, const std::vector<std::string>& arguments,
             const std::string& input = {}, const char* output = nullptr)
{
    int in[2], out[2], err[2];
    if (::pipe(in) || ::pipe(out) || ::pipe(err))
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(in[0], 0), ::dup2(out[1], 1), ::dup2(err[1], 2);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]})
            ::close(fd);
        if (output && ::dup2(::open(output, O_WRONLY), 1) != 1)
            ::_exit(127);
        BecomeProgram(folder, home, arguments);
    }
    ::close(in[0]), ::close(out[1]), ::close(err[1]);
    if (::write(in[1], input.data(), input.size()) != static_cast<ssize_t>(input.size()))
        ADD_FAILURE() << "stdin not written";
    ::close(in[1]);
    Result result;
    result.out = ReadAll(out[0]);
    result.err = ReadAll(err[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

TEST(Program, ResultsOnStdoutErrorsOnStderrAndTheExitStatus)
{
    Cli cli;
    cli.AddMods({L"a.pak", L"b.pak", L"c.G1O"});
    const std::wstring home = cli.root / L"home";

    const Result listed = Start(cli.paks, home, {"list"});
    EXPECT_EQ(listed.status, 0) << listed;
    EXPECT_EQ(listed.out, "   1  [x]  ?   2021-1-2    a.pak\n   2  [x]  ?   2021-1-4    b.pak\n   3  [ ]      2021-1-6    c.G1O\n"
                          "3 mods, 2 enabled\n");  // no colour on a pipe
    EXPECT_EQ(listed.err, "");

    const Result partly = Start(cli.game, home, {"enable", "c", "nosuch"});
    EXPECT_EQ(partly.status, 1) << partly;
    EXPECT_EQ(partly.out, "enabled c.PAK\n");
    EXPECT_EQ(partly.err, "pakorder: nosuch: no mod of that name\n");
    EXPECT_TRUE(std::filesystem::is_directory(FsPath(home + L"/state/pakorder")));

    const Result usage = Start(cli.game, home, {"move", "a"});
    EXPECT_EQ(usage.status, 2) << usage;
    EXPECT_EQ(usage.out, "");

    const Result imported = Start(cli.root.path(), home, {"--folder", "game/PAKS", "import", "-"},
                                  "# PakOrder mod list 1\r\n+ b\r\n- a\r\n");
    EXPECT_EQ(imported.status, 0) << imported;
    EXPECT_EQ(cli.Order(), L"b.pak a.G1O c.PAK");

    const Result exported = Start(cli.game, home, {"export"});
    EXPECT_EQ(exported.status, 0) << exported;
    EXPECT_NE(exported.out.find("\n+ b\n- a\n+ c\n"), std::string::npos) << exported;

    const Result nowhere = Start(home, home, {"list"});
    EXPECT_EQ(nowhere.status, 1) << nowhere;
    EXPECT_NE(nowhere.err.find("--folder PATH"), std::string::npos) << nowhere;
}

// The program started with stderr on a terminal (a pseudo-terminal the
// test reads), stdout on a pipe, as a shell at a terminal starts it.
struct OnTerminal {
    pid_t child = -1;
    int terminal = -1, out = -1;
    std::string seen;  // on the terminal so far

    // With `typing`, stdin is the terminal too.
    OnTerminal(const std::wstring& folder, const std::wstring& home, const std::vector<std::string>& arguments,
               bool typing = false)
    {
        int replica = -1, pipe[2];
        if (::openpty(&terminal, &replica, nullptr, nullptr, nullptr) != 0 || ::pipe(pipe) != 0)
            return;
        child = ::fork();
        if (child == 0) {
            const int nothing = ::open("/dev/null", O_RDONLY);
            ::dup2(typing ? replica : nothing, 0), ::dup2(pipe[1], 1), ::dup2(replica, 2);
            BecomeProgram(folder, home, arguments);
        }
        ::close(replica), ::close(pipe[1]);
        out = pipe[0];
    }
    // Reads the terminal until `text` shows, or for ten seconds.
    bool WaitFor(const std::string& text)
    {
        for (int waited = 0; seen.find(text) == std::string::npos && waited < 10000; waited += 10) {
            pollfd ready{terminal, POLLIN, 0};
            char buffer[4096];
            if (::poll(&ready, 1, 10) == 1) {
                const ssize_t got = ::read(terminal, buffer, sizeof buffer);
                if (got <= 0)
                    break;
                seen.append(buffer, static_cast<std::size_t>(got));
            }
        }
        return seen.find(text) != std::string::npos;
    }
    // The exit status, once all it wrote is read.
    int Finish(std::string& stdoutText)
    {
        stdoutText = ReadAll(out);
        int status = 0;
        ::waitpid(child, &status, 0);
        WaitFor("\x04");  // the rest of the terminal's text, to its end
        ::close(terminal);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST(Program, ProgressOnATerminalOnlyAndCtrlCStopsAnInstallWhole)
{
    Cli cli;
    cli.AddMods({L"a.pak", L"b.pak"}, true);
    const std::wstring home = cli.root / L"home";
    TempFolder downloads;
    WriteFile(downloads / L"small.pak", "small");
    WriteFile(downloads / L"last.pak", "last");
    // A large file, without the disk space: the copy still takes its time.
    const int big = ::open(platform::ToUtf8(downloads / L"big.pak").c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(::ftruncate(big, 1LL << 30), 0);
    ::close(big);
    WriteFile(downloads / L"big.pak.MAN", "manifest");

    OnTerminal install(cli.game, home, {"install", platform::ToUtf8(downloads / L"small.pak"),
                                        platform::ToUtf8(downloads / L"big.pak"), platform::ToUtf8(downloads / L"last.pak")});
    ASSERT_GT(install.child, 0);
    EXPECT_TRUE(install.WaitFor("installing big.pak (2 of 3): ")) << install.seen;
    ::kill(install.child, SIGINT);
    std::string out;
    EXPECT_EQ(install.Finish(out), 1) << install.seen;
    EXPECT_EQ(out, "installed small.pak\n");
    EXPECT_NE(install.seen.find("\rinstalling small.pak (1 of 3): 0%  Ctrl+C stops"), std::string::npos) << install.seen;
    EXPECT_NE(install.seen.find("pakorder: big.pak: not installed: cancelled\r\npakorder: last.pak: not installed: cancelled\r\n"),
              std::string::npos) << install.seen;
    EXPECT_EQ(cli.Order(), L"a.pak b.pak small.pak");
    EXPECT_FALSE(Exists(cli.Pak(L"big.pak")) || Exists(cli.Pak(L"big.pak.MAN")));
    const Result history = Start(cli.game, home, {"history"});
    EXPECT_EQ(history.out.find("    1  "), 0u) << history;
    EXPECT_NE(history.out.find("  install     1 mod changed: small.pak, big.pak, last.pak\n"), std::string::npos) << history;

    OnTerminal conflicts(cli.game, home, {"conflicts"});
    std::string report;
    EXPECT_EQ(conflicts.Finish(report), 0);
    EXPECT_NE(conflicts.seen.find("\rreading the manifests: "), std::string::npos) << conflicts.seen;
    EXPECT_NE(report.find("in effect: b.pak"), std::string::npos) << report;

    // restore asks at the terminal, and reads the answer typed there.
    ASSERT_EQ(Start(cli.game, home, {"disable", "a"}).status, 0);
    OnTerminal restore(cli.game, home, {"restore", "2"}, true);
    EXPECT_TRUE(restore.WaitFor("[y/N] ")) << restore.seen;
    EXPECT_NE(restore.seen.find("before disable (record 2)? 2 files will change;"), std::string::npos) << restore.seen;
    ASSERT_EQ(::write(restore.terminal, "yes\n", 4), 4);
    EXPECT_EQ(restore.Finish(out), 0) << restore.seen;
    EXPECT_EQ(out, "put the folder back as it was before disable (record 2): 2 files changed\n");
    EXPECT_EQ(cli.Order(), L"a.pak b.pak small.pak");

    // On a pipe, not a character more than the results and failures.
    const Result piped = Start(cli.game, home, {"install", platform::ToUtf8(downloads / L"last.pak")});
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.err, "");
    EXPECT_EQ(Start(cli.game, home, {"conflicts"}).err, "");
}

TEST(Program, OutputThatCannotBeWrittenIsAFailure)
{
    Cli cli;
    cli.AddMods({L"a.pak", L"b.pak", L"c.G1O"});
    for (int i = 0; i < 300; ++i)  // more than the stream holds back: the writes fail, not only the last flush
        WriteFile(cli.Pak(L"more" + std::to_wstring(i) + L".pak"));
    const std::wstring home = cli.root / L"home";
    const std::vector<std::vector<std::string>> commands = {
        {"list"}, {"list", "--json"}, {"export"}, {"history"}, {"--help"},
    };
    for (const std::vector<std::string>& command : commands) {
        const Result full = Start(cli.game, home, command, {}, "/dev/full");
        EXPECT_EQ(full.status, 1) << command[0] << "\n" << full;
        EXPECT_EQ(full.err, "pakorder: write error: No space left on device\n") << command[0];
    }
}

}  // namespace
