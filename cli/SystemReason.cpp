// The command line's words for a failure: its own for what only this
// program means, the system's, in English where it has them, otherwise.
#include "cli/System.h"
#include "cli/Texts.h"

namespace cli {

std::wstring SystemReason(platform::FsStatus status)
{
    switch (platform::KindOf(status)) {
    case platform::FailureKind::NotRegularFile: return texts::kNotRegularFile;
    case platform::FailureKind::TimeNotKept: return texts::kTimeNotKept;
    default: break;
    }
    constexpr unsigned long kEnglishUs = 0x0409;  // MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)
    std::wstring reason = platform::SystemMessage(status, kEnglishUs);
    if (reason.empty())
        reason = platform::SystemMessage(status);
    return reason.empty() ? L"system error " + std::to_wstring(status.error) : reason;
}

}  // namespace cli
