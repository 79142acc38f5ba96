#pragma once
// The language the player chose, kept in the program's INI beside the
// folder history: [Settings] Language=English. Chinese unless English is kept.

#include "app/Texts.h"
#include "platform/Profile.h"

texts::Language ReadLanguage(platform::Profile& profile);
void KeepLanguage(platform::Profile& profile, texts::Language language);
