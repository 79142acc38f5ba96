#pragma once
// A small JSON reader and a check of a document against the part of JSON
// Schema that docs/pakorder.schema.json uses (type, const, enum, required,
// properties, additionalProperties, items, minimum, pattern, $ref), so the
// tests hold the output to the schema the README documents.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cli_testing {

struct Json {
    enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    bool integral = false;
    std::string text;
    std::vector<Json> items;
    std::vector<std::pair<std::string, Json>> members;

    const Json* Member(const std::string& key) const;
    const Json& operator[](const std::string& key) const;  // a null for a missing key
    const Json& operator[](std::size_t index) const;
};

// Empty for text that is not one JSON value.
std::optional<Json> ParseJson(const std::string& text);

// Where the document breaks the schema ("$.mods[2].enabled: not a boolean"),
// empty when it does not. `root` resolves "#/..." references.
std::vector<std::string> SchemaViolations(const Json& document, const Json& schema, const Json& root);

// The schema file of the README, read once.
const Json& PakorderSchema();

}  // namespace cli_testing
