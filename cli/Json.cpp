#include "cli/Json.h"

#include "platform/Utf8.h"

namespace cli {

void JsonWriter::BeforeValue()
{
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (open_.empty())
        return;
    Level& level = open_.back();
    if (level.hasItems)
        text_ += level.compact ? ", " : ",";
    if (!level.compact) {
        text_ += '\n';
        text_.append(2 * open_.size(), ' ');
    }
    level.hasItems = true;
}

void JsonWriter::Open(char bracket, bool compact)
{
    BeforeValue();
    text_ += bracket;
    open_.push_back(Level{false, compact});
}

void JsonWriter::Close(char bracket)
{
    const Level level = open_.back();
    open_.pop_back();
    if (level.hasItems && !level.compact) {
        text_ += '\n';
        text_.append(2 * open_.size(), ' ');
    }
    text_ += bracket;
    if (open_.empty())
        text_ += '\n';
}

JsonWriter& JsonWriter::BeginObject()
{
    Open('{', false);
    return *this;
}

JsonWriter& JsonWriter::EndObject()
{
    Close('}');
    return *this;
}

JsonWriter& JsonWriter::BeginArray(bool compact)
{
    Open('[', compact);
    return *this;
}

JsonWriter& JsonWriter::EndArray()
{
    Close(']');
    return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key)
{
    BeforeValue();
    text_ += '"';
    text_.append(key);
    text_ += "\": ";
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::String(std::wstring_view text) { return String(std::string_view(platform::ToUtf8(text))); }

JsonWriter& JsonWriter::String(std::string_view utf8)
{
    BeforeValue();
    text_ += '"';
    std::size_t plain = 0;  // the start of the run copied as it is
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte != '"' && byte != '\\' && byte >= 0x20)
            continue;
        text_.append(utf8.substr(plain, i - plain));
        plain = i + 1;
        if (byte == '"' || byte == '\\') {
            text_ += '\\';
            text_ += static_cast<char>(byte);
        } else {
            static const char hex[] = "0123456789abcdef";
            text_ += "\\u00";
            text_ += hex[byte >> 4];
            text_ += hex[byte & 0xF];
        }
    }
    text_.append(utf8.substr(plain));
    text_ += '"';
    return *this;
}

JsonWriter& JsonWriter::Number(std::int64_t value)
{
    BeforeValue();
    text_ += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::Unsigned(std::uint64_t value)
{
    BeforeValue();
    text_ += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::Bool(bool value)
{
    BeforeValue();
    text_ += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Null()
{
    BeforeValue();
    text_ += "null";
    return *this;
}

JsonWriter& JsonWriter::OptionalString(const std::optional<std::wstring>& text)
{
    return text ? String(*text) : Null();
}

}  // namespace cli
