#pragma once
// The window's words for why a file operation failed.

#include <string>

#include "platform/FileSystem.h"

// The reason in the language chosen (texts::SetLanguage): our words for the
// kinds we name, otherwise the system's own, or its number.
std::wstring DescribeError(platform::FsStatus status);
