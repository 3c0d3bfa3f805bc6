#include "json_value.h"

#include <charconv>
#include <fstream>
#include <stdexcept>

namespace tolvex::testing {

namespace {

class Parser {
  public:
    explicit Parser(std::string_view text) : text_(text) {}

    JsonValue Value() {
        SkipSpace();
        const char c = Peek();
        if (c == '{') return Object();
        if (c == '[') return Array();
        if (c == '"') return StringValue();
        if (text_.substr(pos_, 4) == "null") return Literal(4, JsonValue::Kind::Null, false);
        if (text_.substr(pos_, 4) == "true") return Literal(4, JsonValue::Kind::Bool, true);
        if (text_.substr(pos_, 5) == "false") return Literal(5, JsonValue::Kind::Bool, false);
        return Number();
    }

  private:
    char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
    void Expect(char c) {
        SkipSpace();
        if (Peek() != c) throw std::runtime_error(std::string("json: expected ") + c);
        ++pos_;
    }
    void SkipSpace() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\n' ||
                                       text_[pos_] == '\r' || text_[pos_] == '\t'))
            ++pos_;
    }
    JsonValue Literal(std::size_t length, JsonValue::Kind kind, bool value) {
        pos_ += length;
        JsonValue v;
        v.kind = kind;
        v.boolean = value;
        return v;
    }
    JsonValue Number() {
        JsonValue v;
        v.kind = JsonValue::Kind::Number;
        while (pos_ < text_.size() &&
               std::string_view("+-.0123456789eE").find(Peek()) != std::string_view::npos)
            v.text.push_back(text_[pos_++]);
        if (v.text.empty()) throw std::runtime_error("json: bad value");
        return v;
    }
    static void AppendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (code >> 18)));
            out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    unsigned Hex4() {
        unsigned code = 0;
        std::from_chars(text_.data() + pos_, text_.data() + pos_ + 4, code, 16);
        pos_ += 4;
        return code;
    }
    std::string RawString() {
        Expect('"');
        std::string out;
        while (Peek() != '"') {
            char c = text_.at(pos_++);
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            c = text_.at(pos_++);
            switch (c) {
            case 'n':
                out.push_back('\n');
                break;
            case 'r':
                out.push_back('\r');
                break;
            case 't':
                out.push_back('\t');
                break;
            case 'b':
                out.push_back('\b');
                break;
            case 'f':
                out.push_back('\f');
                break;
            case 'u': {
                unsigned code = Hex4();
                if (code >= 0xD800 && code < 0xDC00 && text_.substr(pos_, 2) == "\\u") {
                    pos_ += 2;
                    code = 0x10000 + ((code - 0xD800) << 10) + (Hex4() - 0xDC00);
                }
                AppendUtf8(out, code);
                break;
            }
            default:
                out.push_back(c);
                break;
            }
        }
        ++pos_;
        return out;
    }
    JsonValue StringValue() {
        JsonValue v;
        v.kind = JsonValue::Kind::String;
        v.text = RawString();
        return v;
    }
    JsonValue Array() {
        JsonValue v;
        v.kind = JsonValue::Kind::Array;
        Expect('[');
        SkipSpace();
        if (Peek() == ']') {
            ++pos_;
            return v;
        }
        for (;;) {
            v.items.push_back(Value());
            SkipSpace();
            if (Peek() == ']') break;
            Expect(',');
        }
        ++pos_;
        return v;
    }
    JsonValue Object() {
        JsonValue v;
        v.kind = JsonValue::Kind::Object;
        Expect('{');
        SkipSpace();
        if (Peek() == '}') {
            ++pos_;
            return v;
        }
        for (;;) {
            SkipSpace();
            std::string key = RawString();
            Expect(':');
            v.members.emplace(std::move(key), Value());
            SkipSpace();
            if (Peek() == '}') break;
            Expect(',');
        }
        ++pos_;
        return v;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace

const JsonValue& JsonValue::operator[](std::string_view key) const {
    auto it = members.find(key);
    if (it == members.end()) throw std::out_of_range("json: no member " + std::string(key));
    return it->second;
}

JsonValue ParseJson(std::string_view text) {
    return Parser(text).Value();
}

std::vector<JsonValue> ReadJsonLines(const std::string& fileName) {
    std::ifstream in(std::string(TOLVEX_TEST_DATA_DIR) + "/" + fileName, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open test data " + fileName);
    std::vector<JsonValue> lines;
    std::string line;
    while (std::getline(in, line))
        if (!line.empty()) lines.push_back(ParseJson(line));
    return lines;
}

} // namespace tolvex::testing
