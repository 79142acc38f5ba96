#include "app/FailureTexts.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include "app/Texts.h"
#include "base/FormatText.h"

namespace {

std::wstring SystemWords(platform::FsStatus status)
{
#ifdef _WIN32
    // In the language chosen, where the system has it.
    const WORD language = texts::CurrentLanguage() == texts::Language::English
                              ? MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)
                              : MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
    std::wstring said = platform::SystemMessage(status, language);
    if (!said.empty())
        return said;
#endif
    // Elsewhere its words would not follow the language chosen: its number.
    return fw::FormatText(texts::kErrorOther, status.error);
}

}  // namespace

std::wstring DescribeError(platform::FsStatus status)
{
    using platform::FailureKind;
    switch (platform::KindOf(status)) {
    case FailureKind::NotFound: return texts::kErrorNotFound;
    case FailureKind::PathNotFound: return texts::kErrorPathNotFound;
    case FailureKind::AlreadyExists: return texts::kErrorAlreadyExists;
    case FailureKind::AccessDenied: return texts::kErrorAccessDenied;
    case FailureKind::InUse: return texts::kErrorInUse;
    case FailureKind::DiskFull: return texts::kErrorDiskFull;
    case FailureKind::WriteProtected: return texts::kErrorWriteProtected;
    case FailureKind::NameInvalid: return texts::kErrorNameInvalid;
    case FailureKind::NotRegularFile: return texts::kErrorNotRegularFile;
    case FailureKind::TimeNotKept: return texts::kErrorTimeNotKept;
    default: return SystemWords(status);
    }
}
