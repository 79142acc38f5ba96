// pakorder version: the project's one version number, and the commit built.
#include <string_view>

#include "base/FormatText.h"
#include "base/Version.h"
#include "cli/Commands.h"
#include "cli/Session.h"
#include "cli/Texts.h"
#include "platform/Utf8.h"

namespace cli {

std::wstring VersionLine()
{
    const std::wstring version = platform::FromUtf8(PAKORDER_VERSION);
    const std::string_view commit = PAKORDER_COMMIT;
    return commit.empty() ? fw::FormatText(texts::kVersionLine, version)
                          : fw::FormatText(texts::kVersionWithCommit, version, platform::FromUtf8(commit));
}

void RunVersion(Session& session, const Invocation&) { session.Say(VersionLine()); }

}  // namespace cli
