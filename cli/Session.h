#pragma once
// One run of a command on one PAKS folder: what it says, what failed, and
// its writes, each recorded first as the window records its own.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "mods/ChangeHistory.h"
#include "mods/FolderWriter.h"
#include "mods/ModCatalogue.h"
#include "platform/FileSystem.h"

namespace cli {

class Output;
class System;

// What a run writes to and reads from.
struct Context {
    platform::FileSystem& files;
    System& system;
    Output& out;
    Output& err;
};

enum ExitStatus { kDone = 0, kNotDone = 1, kUsageError = 2 };

// "1 mod", "3 mods"; "1 file", "3 files".
std::wstring ModCount(std::size_t count);
std::wstring FileCount(std::size_t count);

class Session {
public:
    // paksFolder ends with one separator.
    Session(Context& context, std::wstring paksFolder);

    platform::FileSystem& Files() { return context_.files; }
    System& Sys() { return context_.system; }
    // Where a progress line is drawn.
    Output& Err() { return context_.err; }
    const std::wstring& Paks() const { return paks_; }
    std::vector<mods::ModEntry> Catalogue();
    // Empty when there is no place for records (then nothing may be written).
    mods::ChangeHistory* History();

    // A result, on stdout.
    void Say(const std::wstring& line);
    // Text as it is, on stdout: a document, a list.
    void Print(std::string_view utf8);
    // The same once `text` has grown long, which is then emptied: long
    // output goes out in pieces rather than all at the end.
    void PrintWhenLong(std::string& text);
    // On stderr; the run still counts as done.
    void Warn(const std::wstring& line);
    // On stderr; the run ends with kNotDone.
    void Fail(const std::wstring& line);
    // On stderr; the run ends with kUsageError.
    void UsageError(const std::wstring& line);
    // Asks on stderr and reads the answer: true for "y" or "yes".
    bool Confirm(const std::wstring& question);
    int Status() const { return status_; }

    std::wstring Reason(platform::FsStatus status);

    // Every write goes through it: recorded, locked, refused over an
    // unfinished action.
    mods::FolderWriter& Writer();
    // Says why a write was refused, or that its record could not be
    // completed; false when the write did not run.
    bool Ran(const mods::WriteOutcome& outcome);
    // The same for an undo, redo, restore or recovery, with every mod not
    // brought back named.
    bool Ran(const mods::RestoreOutcome& outcome);

private:
    Context& context_;
    std::wstring paks_;
    std::unique_ptr<mods::ChangeHistory> history_;
    std::unique_ptr<mods::FolderWriter> writer_;
    int status_ = kDone;
};

}  // namespace cli
