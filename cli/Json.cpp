#include "cli/Json.h"

#include "platform/Utf8.h"

namespace cli {

void JsonWriter::BeforeValue()
{
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (hasItems_.empty())
        return;
    if (hasItems_.back())
        text_ += ',';
    hasItems_.back() = true;
    text_ += '\n';
    text_.append(2 * hasItems_.size(), ' ');
}

void JsonWriter::Close(char bracket)
{
    const bool hadItems = hasItems_.back();
    hasItems_.pop_back();
    if (hadItems) {
        text_ += '\n';
        text_.append(2 * hasItems_.size(), ' ');
    }
    text_ += bracket;
}

JsonWriter& JsonWriter::BeginObject()
{
    BeforeValue();
    text_ += '{';
    hasItems_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::EndObject()
{
    Close('}');
    return *this;
}

JsonWriter& JsonWriter::BeginArray()
{
    BeforeValue();
    text_ += '[';
    hasItems_.push_back(false);
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

JsonWriter& JsonWriter::String(std::wstring_view text)
{
    BeforeValue();
    const std::string utf8 = platform::ToUtf8(text);
    text_ += '"';
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            text_ += '\\';
            text_ += c;
        } else if (byte < 0x20) {
            static const char hex[] = "0123456789abcdef";
            text_ += "\\u00";
            text_ += hex[byte >> 4];
            text_ += hex[byte & 0xF];
        } else {
            text_ += c;
        }
    }
    text_ += '"';
    return *this;
}

JsonWriter& JsonWriter::Number(std::int64_t value)
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
