#include "app/RecordTexts.h"

#include <windows.h>

#include <cwchar>

#include "app/Texts.h"

const wchar_t* ActionText(mods::RecordedAction action)
{
    using A = mods::RecordedAction;
    switch (action) {
    case A::SmartSort: return texts::kActionSmartSort;
    case A::SetTime: return texts::kActionSetTime;
    case A::Enable: return texts::kActionEnable;
    case A::Disable: return texts::kActionDisable;
    case A::Delete: return texts::kActionDelete;
    case A::Install: return texts::kActionInstall;
    case A::Undo: return texts::kActionUndo;
    case A::Redo: return texts::kActionRedo;
    case A::Restore: return texts::kActionRestore;
    case A::Recover: return texts::kActionRecover;
    case A::Import: return texts::kActionImport;
    }
    return L"";
}

std::wstring LocalTimeText(mods::FileTime utc)
{
    const FILETIME time{static_cast<DWORD>(utc & 0xFFFFFFFFu), static_cast<DWORD>(utc >> 32)};
    SYSTEMTIME universal{}, local{};
    if (!FileTimeToSystemTime(&time, &universal) || !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        return {};
    wchar_t text[32];
    std::swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u:%02u", local.wYear, local.wMonth, local.wDay, local.wHour,
                  local.wMinute, local.wSecond);
    return text;
}
