#pragma once
// Which PAKS folder a run manages: the one named with --folder (a PAKS
// folder or the game's folder); otherwise the current folder when it is
// one of those; otherwise the game where the system has it installed.

#include <optional>
#include <string>

class ReusedListing;
namespace platform { class FileSystem; }

namespace cli {

struct Context;

// The PAKS folder at `path`: the path itself when it qualifies, or its
// PAKS subfolder when that does. The listing that decided is kept in
// `keep`, when given, for the command's own read of the folder.
std::optional<std::wstring> PaksFolderAt(platform::FileSystem& fileSystem, const std::wstring& path,
                                         ReusedListing* keep = nullptr);

// The folder, absolute, ending with one separator; empty, with the message
// that says how to name one in `whyNot`, when none is found.
std::optional<std::wstring> FindPaksFolder(Context& context, ReusedListing& files, const std::optional<std::wstring>& named,
                                           std::wstring& whyNot);

}  // namespace cli
