#pragma once
// The commands of pakorder: what each takes, and the function that runs it.

#include <span>

#include "cli/Arguments.h"

namespace cli {

class Session;

struct Command {
    const wchar_t* name;
    const wchar_t* help;  // starts with the usage line
    unsigned options;     // the Option flags it takes
    int minOperands;
    int maxOperands;      // -1: any number
    void (*run)(Session& session, const Invocation& invocation);
    bool needsFolder = true;  // false: about the program itself, run without one
    bool asksFirst = false;   // --yes only skips the question a terminal is asked
};

std::span<const Command> Commands();

void RunList(Session& session, const Invocation& invocation);
void RunEnable(Session& session, const Invocation& invocation);
void RunDisable(Session& session, const Invocation& invocation);
void RunMove(Session& session, const Invocation& invocation);
void RunSetTime(Session& session, const Invocation& invocation);
void RunDelete(Session& session, const Invocation& invocation);
void RunInstall(Session& session, const Invocation& invocation);
void RunConflicts(Session& session, const Invocation& invocation);
void RunIntend(Session& session, const Invocation& invocation);
void RunExport(Session& session, const Invocation& invocation);
void RunImport(Session& session, const Invocation& invocation);
void RunUndo(Session& session, const Invocation& invocation);
void RunRedo(Session& session, const Invocation& invocation);
void RunHistory(Session& session, const Invocation& invocation);
void RunRecover(Session& session, const Invocation& invocation);
void RunRestore(Session& session, const Invocation& invocation);
void RunVersion(Session& session, const Invocation& invocation);
void RunCompletion(Session& session, const Invocation& invocation);

// "pakorder 1.0.0 (commit ...)", for version and --version.
std::wstring VersionLine();

}  // namespace cli
