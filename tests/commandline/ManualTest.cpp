// The manual page, docs/pakorder.1, kept true to the command table: each
// command has its entry, whose first line names the options it takes, and
// every option is described.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "platform/Utf8.h"

namespace {

// The page's text as it reads: roff's font changes and escaped hyphens
// taken out.
std::vector<std::string> PageLines()
{
    std::ifstream file(PAKORDER_MANUAL_FILE, std::ios::binary);
    std::stringstream whole;
    whole << file.rdbuf();
    std::string text = whole.str();
    for (const std::string escape : {"\\fB", "\\fR", "\\fI", "\\fP"})
        for (std::size_t at; (at = text.find(escape)) != std::string::npos;)
            text.erase(at, escape.size());
    for (std::size_t at; (at = text.find("\\-")) != std::string::npos;)
        text.erase(at, 1);
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

TEST(Manual, NamesEveryCommandWithItsOptionsAndEveryOption)
{
    const std::vector<std::string> lines = PageLines();
    ASSERT_GT(lines.size(), 100u) << PAKORDER_MANUAL_FILE;
    for (const cli::Command& command : cli::Commands()) {
        const std::string name = platform::ToUtf8(command.name);
        // An entry: a tagged paragraph whose tag starts with the command.
        std::string entry;
        for (std::size_t i = 1; i < lines.size(); ++i)
            if (lines[i - 1] == ".TP" && (lines[i] == name || lines[i].rfind(name + " ", 0) == 0))
                entry = lines[i];
        EXPECT_FALSE(entry.empty()) << "no entry for " << name;
        for (const cli::OptionName& option : cli::OptionNames()) {
            const std::string spelled = platform::ToUtf8(option.name);
            if (option.flag != 0 && (command.options & option.flag) && spelled.rfind("--", 0) == 0) {
                EXPECT_NE(entry.find(spelled), std::string::npos) << name << " " << spelled;
            }
        }
    }
    for (const cli::OptionName& option : cli::OptionNames()) {
        const std::string spelled = platform::ToUtf8(option.name);
        bool described = false;
        for (const std::string& line : lines)
            described = described || line.find(spelled) != std::string::npos;
        EXPECT_TRUE(described) << spelled;
    }
}

}  // namespace
