#include "cli/Output.h"

#include "platform/Utf8.h"

namespace cli {

void Output::Line(std::wstring_view text)
{
    std::string line = platform::ToUtf8(text);
    line += '\n';
    Write(line);
}

}  // namespace cli
