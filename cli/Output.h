#pragma once
// Where the command line writes: stdout and stderr, as UTF-8.

#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace cli {

class Output {
public:
    virtual ~Output() = default;
    virtual void Write(std::string_view utf8) = 0;
    // The text and a line break.
    void Line(std::wstring_view text);
    // Delivers what is still held back and lets the stream go, once all is
    // written: the first failure to write, if any. A list cut short on a
    // full disk is no success.
    virtual platform::FsStatus Close() { return {}; }
};

// Collects what is written, for the tests.
class StringOutput final : public Output {
public:
    void Write(std::string_view utf8) override { text.append(utf8); }
    std::string text;
};

}  // namespace cli
