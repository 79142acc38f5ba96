// The main window's texts in the language chosen, and the window menu's
// choice of language: a choice shows at once and is kept in the INI beside
// the folder history. Dialogs opened later read their texts when they open.

#include "app/ModManagerDlg.h"

#include <commctrl.h>

#include <cwchar>

#include "app/LanguageSetting.h"
#include "app/Texts.h"
#include "platform/IniProfile.h"
#include "res/resource.h"

namespace {

// Words broken into lines show so only on a multiline button.
void SetButtonText(HWND button, const wchar_t* text)
{
    const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
    if (std::wcschr(text, L'\n') && !(style & BS_MULTILINE))
        SetWindowLongPtrW(button, GWL_STYLE, style | BS_MULTILINE);
    SetWindowTextW(button, text);
}

// Only the words change: a language's mark stays.
void SetItemText(HMENU menu, UINT item, bool byPosition, const wchar_t* text)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<wchar_t*>(text);
    SetMenuItemInfoW(menu, item, byPosition, &info);
}

// The language shown gets the menu's mark.
void CheckLanguageChosen(HMENU languages)
{
    if (!languages)
        return;
    const bool english = texts::CurrentLanguage() == texts::Language::English;
    CheckMenuRadioItem(languages, 0, 1, english ? 1 : 0, MF_BYPOSITION);
}

}  // namespace

void CModManagerDlg::ReadLanguageChoice()
{
    if (historyFile_.empty()) {
        texts::SetLanguage(texts::Language::Chinese);
        return;
    }
    platform::IniProfile settings(historyFile_);
    texts::SetLanguage(ReadLanguage(settings));
}

void CModManagerDlg::ShowTexts()
{
    SetWindowText(texts::kWindowCaption);
    const struct {
        int id;
        const wchar_t* text;
    } buttons[] = {
        {IDOK, texts::kButtonSmartSort},
        {IDC_MOVE_TOP, texts::kButtonMoveTop},
        {IDC_MOVE_UP, texts::kButtonMoveUp},
        {IDC_MOVE_DOWN, texts::kButtonMoveDown},
        {IDC_MOVE_BOTTOM, texts::kButtonMoveBottom},
        {IDC_CONFLICT_CHECK, texts::kButtonConflictCheck},
        {IDC_RESTORE, texts::kButtonRestore},
        {IDC_EDIT_TIME, texts::kButtonEditTime},
        {IDC_LAUNCH_GAME, texts::kButtonLaunchGame},
    };
    for (const auto& button : buttons)
        SetButtonText(GetDlgItem(button.id), button.text);

    // The list's columns and menu exist once it is set up.
    rows_.ShowTexts();
    if (rows_.IsSetUp())
        ShowModCount();  // a report in the status line is in the old language: the count shows instead

    LabelWindowMenu();
    CheckLanguageChosen(languageMenu_);
    ShowShortcutTips();
}

std::span<const CModManagerDlg::MenuItem> CModManagerDlg::WindowMenuItems()
{
    static const MenuItem items[] = {
        {kUndoCommand, texts::kUndoMenuItem},
        {kRedoCommand, texts::kRedoMenuItem},
        {kHistoryCommand, texts::kHistoryMenuItem},
        {kExportCommand, texts::kExportMenuItem},
        {kImportCommand, texts::kImportMenuItem},
        {kLanguagesSubmenu, texts::kLanguageMenu},
    };
    return items;
}

std::span<const CModManagerDlg::MenuItem> CModManagerDlg::LanguageItems()
{
    // In the order CheckLanguageChosen marks them.
    static const MenuItem items[] = {
        {kChineseCommand, texts::kLanguageChinese},
        {kEnglishCommand, texts::kLanguageEnglish},
    };
    return items;
}

void CModManagerDlg::AddWindowMenu()
{
    HMENU systemMenu = GetSystemMenu(m_hWnd, FALSE);
    if (!systemMenu)
        return;
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    for (const MenuItem& item : WindowMenuItems()) {
        if (item.command == kLanguagesSubmenu)
            AddLanguageMenu(systemMenu, item.text);
        else
            AppendMenuW(systemMenu, MF_STRING, item.command, item.text);
    }
}

void CModManagerDlg::LabelWindowMenu()
{
    HMENU systemMenu = GetSystemMenu(m_hWnd, FALSE);
    if (!systemMenu)
        return;
    for (const MenuItem& item : WindowMenuItems()) {
        if (item.command != kLanguagesSubmenu) {
            SetItemText(systemMenu, item.command, FALSE, item.text);
            continue;
        }
        // A submenu has no command of its own: it is found by its handle.
        for (int position = GetMenuItemCount(systemMenu) - 1; languageMenu_ && position >= 0; --position)
            if (GetSubMenu(systemMenu, position) == languageMenu_)
                SetItemText(systemMenu, static_cast<UINT>(position), TRUE, item.text);
    }
    if (languageMenu_)
        for (const MenuItem& item : LanguageItems())
            SetItemText(languageMenu_, item.command, FALSE, item.text);
}

void CModManagerDlg::AddLanguageMenu(HMENU systemMenu, const wchar_t* label)
{
    HMENU languages = CreatePopupMenu();
    if (!languages)
        return;
    for (const MenuItem& item : LanguageItems())
        AppendMenuW(languages, MF_STRING, item.command, item.text);
    // Owned by the window menu from here on. A choice in it comes as
    // WM_SYSCOMMAND, or under Wine as WM_COMMAND: both are handled.
    if (!AppendMenuW(systemMenu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(languages), label)) {
        DestroyMenu(languages);
        return;
    }
    languageMenu_ = languages;
    CheckLanguageChosen(languageMenu_);
}

void CModManagerDlg::ChooseLanguage(texts::Language language)
{
    texts::SetLanguage(language);
    if (!historyFile_.empty()) {
        platform::IniProfile settings(historyFile_);
        KeepLanguage(settings, language);
    }
    ShowTexts();
}

void CModManagerDlg::OnChooseChinese() { ChooseLanguage(texts::Language::Chinese); }
void CModManagerDlg::OnChooseEnglish() { ChooseLanguage(texts::Language::English); }
