#pragma once
// The system's own explorer-style Save As and Open dialogs, as they come:
// no template or hook of ours (CFileDialog is for that).

#include <windows.h>

#include <optional>
#include <string>

namespace fw {

struct FileNamePrompt {
    std::wstring title;
    // Pairs of a description and its patterns, each ended by '|':
    // "Text (*.txt)|*.txt|All files (*.*)|*.*|".
    std::wstring filter;
    std::wstring defaultExtension;  // without the dot; added to a name typed without one
    std::wstring fileName;          // offered in the name box
};

// The path chosen, or empty when the user cancels. Saving asks before
// replacing a file; opening takes only a file that is there.
std::optional<std::wstring> AskForFileToSave(HWND owner, const FileNamePrompt& prompt);
std::optional<std::wstring> AskForFileToOpen(HWND owner, const FileNamePrompt& prompt);

}  // namespace fw
