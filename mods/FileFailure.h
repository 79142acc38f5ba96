#pragma once
#include <string>

#include "platform/FileSystem.h"

namespace mods {

// A file an operation could not change, and the system's reason.
struct FileFailure {
    std::wstring fileName;
    platform::FsStatus status;
};

}  // namespace mods
