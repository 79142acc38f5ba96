#include "framework/FileNamePrompt.h"

#include <commdlg.h>

namespace fw {
namespace {

constexpr std::size_t kFileBufferLength = 32768;

std::optional<std::wstring> Ask(HWND owner, const FileNamePrompt& prompt, bool save)
{
    std::wstring filter = prompt.filter;
    for (wchar_t& c : filter)
        if (c == L'|')
            c = L'\0';
    std::wstring file = prompt.fileName;
    file.resize(kFileBufferLength, L'\0');

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = prompt.title.empty() ? nullptr : prompt.title.c_str();
    dialog.lpstrDefExt = prompt.defaultExtension.empty() ? nullptr : prompt.defaultExtension.c_str();
    // The current folder is the program's business, not the dialog's.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR |
                   (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    if (!(save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog)))
        return std::nullopt;
    file.resize(file.find(L'\0'));
    return file;
}

}  // namespace

std::optional<std::wstring> AskForFileToSave(HWND owner, const FileNamePrompt& prompt) { return Ask(owner, prompt, true); }

std::optional<std::wstring> AskForFileToOpen(HWND owner, const FileNamePrompt& prompt) { return Ask(owner, prompt, false); }

}  // namespace fw
