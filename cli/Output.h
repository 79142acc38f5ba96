#pragma once
// Where the command line writes: stdout and stderr, as UTF-8.

#include <string>
#include <string_view>

namespace cli {

class Output {
public:
    virtual ~Output() = default;
    virtual void Write(std::string_view utf8) = 0;
    // The text and a line break.
    void Line(std::wstring_view text);
};

// Collects what is written, for the tests.
class StringOutput final : public Output {
public:
    void Write(std::string_view utf8) override { text.append(utf8); }
    std::string text;
};

}  // namespace cli
