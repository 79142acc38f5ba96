#pragma once
// A JSON document written as it is built: two-space indents, one value per
// line, UTF-8. The command line's documents are described in the README.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

class JsonWriter {
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    // The key of the next value in an object.
    JsonWriter& Key(std::string_view key);
    JsonWriter& String(std::wstring_view text);
    JsonWriter& Number(std::int64_t value);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();
    // A string, or null without one.
    JsonWriter& OptionalString(const std::optional<std::wstring>& text);

    // The document, ending with a line break.
    std::string Text() const { return text_ + "\n"; }

private:
    void BeforeValue();
    void Close(char bracket);

    std::string text_;
    std::vector<bool> hasItems_;  // per open container
    bool afterKey_ = false;
};

}  // namespace cli
