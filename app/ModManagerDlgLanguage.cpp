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
    const wchar_t* const headings[] = {texts::kColumnEnabled, texts::kColumnName, texts::kColumnDate,
                                       texts::kColumnOrderChanged};
    for (int column = 0; column < modList_.GetColumnCount() && column < 4; ++column)
        modList_.SetColumnText(column, headings[column]);
    if (modList_.GetColumnCount() > 0) {
        modList_.SetContextMenu(texts::kDeleteMenuItem, DeleteModCallback, nullptr, nullptr);
        // A report in the status line is in the old language: the count shows instead.
        ShowModCount();
    }

    if (HMENU systemMenu = GetSystemMenu(m_hWnd, FALSE)) {
        ModifyMenuW(systemMenu, kUndoCommand, MF_BYCOMMAND | MF_STRING, kUndoCommand, texts::kUndoMenuItem);
        ModifyMenuW(systemMenu, kRedoCommand, MF_BYCOMMAND | MF_STRING, kRedoCommand, texts::kRedoMenuItem);
        ModifyMenuW(systemMenu, kHistoryCommand, MF_BYCOMMAND | MF_STRING, kHistoryCommand, texts::kHistoryMenuItem);
    }
    CheckLanguageChosen(languageMenu_);
    ShowShortcutTips();
}

void CModManagerDlg::AddLanguageMenu(HMENU systemMenu)
{
    HMENU languages = CreatePopupMenu();
    if (!languages)
        return;
    AppendMenuW(languages, MF_STRING, kChineseCommand, texts::kLanguageChinese);
    AppendMenuW(languages, MF_STRING, kEnglishCommand, texts::kLanguageEnglish);
    // Owned by the window menu from here on. A choice in it comes as
    // WM_SYSCOMMAND, or under Wine as WM_COMMAND: both are handled.
    if (!AppendMenuW(systemMenu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(languages), texts::kLanguageMenu)) {
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
