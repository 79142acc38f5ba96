#pragma once
// A JSON document written as it is built: two-space indents, one value per
// line but in a compact array (strings or numbers on one line), UTF-8. The
// command line's documents are described in the README.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cli {

class JsonWriter {
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray(bool compact = false);
    JsonWriter& EndArray();
    // The key of the next value in an object.
    JsonWriter& Key(std::string_view key);
    JsonWriter& String(std::wstring_view text);
    // Text already in UTF-8 (converted once for many uses).
    JsonWriter& String(std::string_view utf8);
    JsonWriter& Number(std::int64_t value);
    // A record's number, which may be past Number's range.
    JsonWriter& Unsigned(std::uint64_t value);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();
    // A string, or null without one.
    JsonWriter& OptionalString(const std::optional<std::wstring>& text);

    // The document, ending with a line break once it is closed.
    const std::string& Text() const { return text_; }
    // The text written so far, handed out and forgotten: a long document
    // goes out in pieces.
    std::string TakeText() { return std::exchange(text_, std::string()); }

private:
    struct Level {
        bool hasItems = false;
        bool compact = false;
    };
    void BeforeValue();
    void Open(char bracket, bool compact);
    void Close(char bracket);

    std::string text_;
    std::vector<Level> open_;
    bool afterKey_ = false;
};

}  // namespace cli
