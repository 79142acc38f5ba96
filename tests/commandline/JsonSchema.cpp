#include "commandline/JsonSchema.h"

#include <cmath>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

#include "platform/Utf8.h"

namespace cli_testing {
namespace {

class Reader {
public:
    explicit Reader(const std::string& text) : text_(text) {}

    std::optional<Json> Document()
    {
        std::optional<Json> value = Value(0);
        Space();
        return value && at_ == text_.size() ? value : std::nullopt;
    }

private:
    void Space()
    {
        while (at_ < text_.size() && std::string(" \t\r\n").find(text_[at_]) != std::string::npos)
            ++at_;
    }
    bool Take(char c)
    {
        Space();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    bool Word(const char* word)
    {
        const std::string w(word);
        if (text_.compare(at_, w.size(), w) != 0)
            return false;
        at_ += w.size();
        return true;
    }
    std::optional<unsigned> Hex4()
    {
        if (text_.size() - at_ < 4)
            return std::nullopt;
        unsigned value = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[at_++];
            value = value * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                                                       : (c | 0x20) >= 'a' && (c | 0x20) <= 'f' ? (c | 0x20) - 'a' + 10 : 99);
            if (value >= 0x10000u * 16)
                return std::nullopt;
        }
        return value;
    }
    std::optional<std::string> String()
    {
        if (!Take('"'))
            return std::nullopt;
        std::string out;
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (c == '"')
                return out;
            if (static_cast<unsigned char>(c) < 0x20)
                return std::nullopt;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ == text_.size())
                return std::nullopt;
            const char e = text_[at_++];
            const std::string simple = "\"\\/bfnrt", meaning = "\"\\/\b\f\n\r\t";
            if (const std::size_t i = simple.find(e); i != std::string::npos) {
                out += meaning[i];
            } else if (e == 'u') {
                std::optional<unsigned> c1 = Hex4();
                if (!c1)
                    return std::nullopt;
                if (*c1 >= 0xD800 && *c1 <= 0xDBFF && Word("\\u")) {
                    const std::optional<unsigned> c2 = Hex4();
                    if (!c2 || *c2 < 0xDC00 || *c2 > 0xDFFF)
                        return std::nullopt;
                    *c1 = 0x10000 + ((*c1 - 0xD800) << 10) + (*c2 - 0xDC00);
                }
                platform::AppendUtf8(out, static_cast<char32_t>(*c1));
            } else {
                return std::nullopt;
            }
        }
        return std::nullopt;
    }
    std::optional<Json> Value(int depth)
    {
        Space();
        if (at_ == text_.size() || depth > 64)
            return std::nullopt;
        Json value;
        const char c = text_[at_];
        if (c == '{') {
            ++at_;
            value.kind = Json::Kind::Object;
            if (Take('}'))
                return value;
            do {
                std::optional<std::string> key = String();
                if (!key || !Take(':'))
                    return std::nullopt;
                std::optional<Json> member = Value(depth + 1);
                if (!member)
                    return std::nullopt;
                value.members.emplace_back(std::move(*key), std::move(*member));
            } while (Take(','));
            return Take('}') ? std::optional(value) : std::nullopt;
        }
        if (c == '[') {
            ++at_;
            value.kind = Json::Kind::Array;
            if (Take(']'))
                return value;
            do {
                std::optional<Json> item = Value(depth + 1);
                if (!item)
                    return std::nullopt;
                value.items.push_back(std::move(*item));
            } while (Take(','));
            return Take(']') ? std::optional(value) : std::nullopt;
        }
        if (c == '"') {
            std::optional<std::string> text = String();
            if (!text)
                return std::nullopt;
            value.kind = Json::Kind::String;
            value.text = std::move(*text);
            return value;
        }
        if (Word("true") || Word("false")) {
            value.kind = Json::Kind::Bool;
            value.boolean = text_[at_ - 1] == 'e' && text_[at_ - 2] == 'u';
            return value;
        }
        if (Word("null"))
            return value;
        static const std::regex number("^-?(0|[1-9][0-9]*)(\\.[0-9]+)?([eE][-+]?[0-9]+)?");
        std::smatch match;
        const std::string rest = text_.substr(at_, 40);
        if (!std::regex_search(rest, match, number))
            return std::nullopt;
        value.kind = Json::Kind::Number;
        value.number = std::stod(match.str());
        value.integral = !match[2].matched && !match[3].matched;
        at_ += match.length();
        return value;
    }

    const std::string& text_;
    std::size_t at_ = 0;
};

const char* KindName(Json::Kind kind)
{
    switch (kind) {
    case Json::Kind::Null: return "null";
    case Json::Kind::Bool: return "boolean";
    case Json::Kind::Number: return "number";
    case Json::Kind::String: return "string";
    case Json::Kind::Array: return "array";
    case Json::Kind::Object: return "object";
    }
    return "";
}

bool HasType(const Json& value, const std::string& type)
{
    if (type == "integer")
        return value.kind == Json::Kind::Number && value.integral;
    return type == KindName(value.kind);
}

bool Same(const Json& a, const Json& b)
{
    return a.kind == b.kind && a.boolean == b.boolean && a.number == b.number && a.text == b.text && a.items.empty() &&
           b.items.empty() && a.members.empty() && b.members.empty();
}

void Check(const Json& value, const Json& schema, const Json& root, const std::string& where, std::vector<std::string>& out)
{
    if (const Json* ref = schema.Member("$ref")) {
        const Json* target = &root;
        std::stringstream path(ref->text.substr(2));  // "#/$defs/name"
        for (std::string part; std::getline(path, part, '/');)
            target = target->Member(part);
        if (!target)
            throw std::runtime_error("bad $ref " + ref->text);
        Check(value, *target, root, where, out);
    }
    if (const Json* type = schema.Member("type")) {
        bool any = false;
        if (type->kind == Json::Kind::String)
            any = HasType(value, type->text);
        for (const Json& one : type->items)
            any = any || HasType(value, one.text);
        if (!any) {
            out.push_back(where + ": a " + KindName(value.kind) + ", not of the schema's type");
            return;
        }
    }
    if (const Json* constant = schema.Member("const"); constant && !Same(value, *constant))
        out.push_back(where + ": not the constant of the schema");
    if (const Json* choices = schema.Member("enum")) {
        bool found = false;
        for (const Json& choice : choices->items)
            found = found || Same(value, choice);
        if (!found)
            out.push_back(where + ": \"" + value.text + "\" is none of the schema's values");
    }
    if (const Json* minimum = schema.Member("minimum"); minimum && value.kind == Json::Kind::Number && value.number < minimum->number)
        out.push_back(where + ": below the minimum");
    if (const Json* pattern = schema.Member("pattern"); pattern && value.kind == Json::Kind::String &&
                                                        !std::regex_search(value.text, std::regex(pattern->text)))
        out.push_back(where + ": \"" + value.text + "\" does not match " + pattern->text);
    if (value.kind == Json::Kind::Object) {
        if (const Json* required = schema.Member("required"))
            for (const Json& key : required->items)
                if (!value.Member(key.text))
                    out.push_back(where + ": no \"" + key.text + "\"");
        const Json* properties = schema.Member("properties");
        const Json* additional = schema.Member("additionalProperties");
        for (const auto& [key, member] : value.members) {
            const Json* property = properties ? properties->Member(key) : nullptr;
            if (property)
                Check(member, *property, root, where + "." + key, out);
            else if (additional && additional->kind == Json::Kind::Bool && !additional->boolean)
                out.push_back(where + ": \"" + key + "\" is not in the schema");
        }
    }
    if (value.kind == Json::Kind::Array)
        if (const Json* items = schema.Member("items"))
            for (std::size_t i = 0; i < value.items.size(); ++i)
                Check(value.items[i], *items, root, where + "[" + std::to_string(i) + "]", out);
}

}  // namespace

const Json* Json::Member(const std::string& key) const
{
    for (const auto& [name, value] : members)
        if (name == key)
            return &value;
    return nullptr;
}

const Json& Json::operator[](const std::string& key) const
{
    static const Json none;
    const Json* found = Member(key);
    return found ? *found : none;
}

const Json& Json::operator[](std::size_t index) const
{
    static const Json none;
    return index < items.size() ? items[index] : none;
}

std::optional<Json> ParseJson(const std::string& text) { return Reader(text).Document(); }

std::vector<std::string> SchemaViolations(const Json& document, const Json& schema, const Json& root)
{
    std::vector<std::string> out;
    Check(document, schema, root, "$", out);
    return out;
}

const Json& PakorderSchema()
{
    static const Json schema = [] {
        std::ifstream in(PAKORDER_SCHEMA_FILE, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        std::optional<Json> parsed = ParseJson(text.str());
        if (!parsed)
            throw std::runtime_error("cannot read " PAKORDER_SCHEMA_FILE);
        return *parsed;
    }();
    return schema;
}

}  // namespace cli_testing
