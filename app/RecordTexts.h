#pragma once
// How the window names a recorded action and the time it was made.

#include <string>

#include "mods/ChangeRecord.h"

const wchar_t* ActionText(mods::RecordedAction action);

// The UTC time as the player's clock showed it: "2026-12-09 18:35:12".
std::wstring LocalTimeText(mods::FileTime utc);
