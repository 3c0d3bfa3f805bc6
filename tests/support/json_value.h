#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tolvex::testing {

// Just enough JSON to read the conformance vectors: one object per line.
struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    std::string text; // string contents, or the number as written
    std::vector<JsonValue> items;
    std::map<std::string, JsonValue, std::less<>> members;

    bool IsNull() const { return kind == Kind::Null; }
    const JsonValue& operator[](std::string_view key) const;
    bool Has(std::string_view key) const { return members.find(key) != members.end(); }
};

JsonValue ParseJson(std::string_view text);

// Every non-empty line of a .jsonl file in the test data folder.
std::vector<JsonValue> ReadJsonLines(const std::string& fileName);

} // namespace tolvex::testing
