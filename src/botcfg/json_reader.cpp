#include "botcfg/json_reader.h"

#include "botcfg/output.h"

#include <set>

namespace botcfg::json {

namespace {

class Reader
{
public:
    explicit Reader(std::string_view text)
        : text_(text)
    {
    }

    Value Document()
    {
        if (text_.starts_with("\xEF\xBB\xBF"))
            at_ = 3;
        Value value = Any(0);
        SkipSpace();
        if (at_ < text_.size())
            Throw("more after the document's end");
        return value;
    }

private:
    [[noreturn]] void Throw(const std::string &what) const
    {
        std::size_t line = 1;
        std::size_t line_start = 0;
        for (std::size_t i = 0; i < at_ && i < text_.size(); ++i) {
            if (text_[i] == '\n') {
                ++line;
                line_start = i + 1;
            }
        }
        throw ParseError(line, at_ - line_start + 1, what);
    }

    void SkipSpace()
    {
        while (at_ < text_.size()
            && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n'
                || text_[at_] == '\r'))
            ++at_;
    }

    // The next character after whitespace, without taking it; '\0' at the end.
    char Peek()
    {
        SkipSpace();
        return at_ < text_.size() ? text_[at_] : '\0';
    }

    void Expect(char c, const char *what)
    {
        if (Peek() != c)
            Throw(std::string("expected ") + what);
        ++at_;
    }

    Value Any(std::size_t depth)
    {
        const char c = Peek();
        if (c == '{' || c == '[') {
            if (depth >= kMaxDepth)
                Throw("nested more than " + std::to_string(kMaxDepth) + " deep");
            return c == '{' ? Object(depth + 1) : Array(depth + 1);
        }
        if (c == '"')
            return {Value::Type::String, String(), {}, {}};
        if (c == '-' || (c >= '0' && c <= '9'))
            return {Value::Type::Number, Number(), {}, {}};
        for (const char *word : {"true", "false", "null"}) {
            if (text_.substr(at_).starts_with(word)) {
                at_ += std::string_view(word).size();
                return {word[0] == 'n' ? Value::Type::Null : Value::Type::Boolean, word, {}, {}};
            }
        }
        Throw(at_ < text_.size() ? "expected a value" : "the document ends where a value was due");
    }

    // Steps over an opening bracket; true, and past the closing one too, when nothing is between.
    bool OpensEmpty(char close)
    {
        ++at_;
        if (Peek() != close)
            return false;
        ++at_;
        return true;
    }

    Value Object(std::size_t depth)
    {
        Value object {Value::Type::Object, {}, {}, {}};
        if (OpensEmpty('}'))
            return object;
        std::set<std::string> names;
        do {
            if (Peek() != '"')
                Throw("expected a name in double quotes");
            const std::size_t name_at = at_;
            std::string name = String();
            if (!names.insert(name).second) {
                at_ = name_at;
                Throw("\"" + Printable(name) + "\" is given twice in one object");
            }
            Expect(':', "\":\" after a name");
            Value value = Any(depth);
            object.members.push_back({std::move(name), std::move(value)});
        } while (TakeSeparator('}'));
        return object;
    }

    Value Array(std::size_t depth)
    {
        Value array {Value::Type::Array, {}, {}, {}};
        if (OpensEmpty(']'))
            return array;
        do
            array.items.push_back(Any(depth));
        while (TakeSeparator(']'));
        return array;
    }

    // After a member or an item: true for ",", false for the closing character.
    bool TakeSeparator(char close)
    {
        const char c = Peek();
        if (c == ',' || c == close) {
            ++at_;
            return c == ',';
        }
        Throw(std::string("expected \",\" or \"") + close + "\"");
    }

    std::string Number()
    {
        const std::size_t start = at_;
        const auto digits = [&] {
            const std::size_t first = at_;
            while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9')
                ++at_;
            if (at_ == first)
                Throw("expected a digit");
            return at_ - first;
        };
        if (text_[at_] == '-')
            ++at_;
        const bool leading_zero = at_ < text_.size() && text_[at_] == '0';
        if (digits() > 1 && leading_zero)
            Throw("a number does not start with 0");
        if (at_ < text_.size() && text_[at_] == '.') {
            ++at_;
            digits();
        }
        if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
            ++at_;
            if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-'))
                ++at_;
            digits();
        }
        return std::string(text_.substr(start, at_ - start));
    }

    std::string String()
    {
        std::string bytes;
        ++at_;
        for (;;) {
            if (at_ >= text_.size())
                Throw("a string without its closing quote");
            const auto byte = static_cast<unsigned char>(text_[at_]);
            if (byte == '"') {
                ++at_;
                return bytes;
            }
            if (byte == '\\') {
                Escape(bytes);
            } else if (byte < 0x20) {
                Throw("a control character in a string (write it as \\u00XX)");
            } else if (byte < 0x80) {
                bytes += text_[at_++];
            } else {
                const std::size_t length = Utf8SequenceAt(text_, at_);
                if (length == 0)
                    Throw("bytes that are not UTF-8");
                bytes.append(text_.substr(at_, length));
                at_ += length;
            }
        }
    }

    void Escape(std::string &bytes)
    {
        ++at_;
        const char c = at_ < text_.size() ? text_[at_] : '\0';
        const std::string_view simple = "\"\\/bfnrt";
        const std::string_view meant = "\"\\/\b\f\n\r\t";
        if (const std::size_t found = simple.find(c);
            c != '\0' && found != std::string_view::npos) {
            bytes += meant[found];
            ++at_;
        } else if (c == 'u') {
            AppendCodePoint(bytes, CodePoint());
        } else {
            Throw("an unknown escape in a string");
        }
    }

    // The character of a \u escape, a surrogate pair taken whole; at_ stands on the 'u'.
    unsigned long CodePoint()
    {
        const unsigned long first = Hex4();
        if (first >= 0xDC00 && first <= 0xDFFF)
            Throw("a low surrogate without a high one before it");
        if (first < 0xD800 || first > 0xDBFF)
            return first;
        if (!text_.substr(at_).starts_with("\\u"))
            Throw("a high surrogate without a low one after it");
        ++at_;
        const unsigned long second = Hex4();
        if (second < 0xDC00 || second > 0xDFFF)
            Throw("a high surrogate without a low one after it");
        return 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
    }

    unsigned long Hex4()
    {
        ++at_; // the 'u'
        unsigned long value = 0;
        for (int i = 0; i < 4; ++i, ++at_) {
            const char c = at_ < text_.size() ? text_[at_] : '\0';
            const std::string_view digits = "0123456789abcdef";
            const std::size_t digit = digits.find(c >= 'A' && c <= 'F' ? c - 'A' + 'a' : c);
            if (c == '\0' || digit == std::string_view::npos)
                Throw("\\u needs four hexadecimal digits");
            value = value * 16 + digit;
        }
        return value;
    }

    static void AppendCodePoint(std::string &bytes, unsigned long code)
    {
        const auto put = [&](unsigned long byte) { bytes += static_cast<char>(byte); };
        if (code < 0x100) {
            put(code);
        } else if (code < 0x800) {
            put(0xC0 | (code >> 6));
            put(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            put(0xE0 | (code >> 12));
            put(0x80 | ((code >> 6) & 0x3F));
            put(0x80 | (code & 0x3F));
        } else {
            put(0xF0 | (code >> 18));
            put(0x80 | ((code >> 12) & 0x3F));
            put(0x80 | ((code >> 6) & 0x3F));
            put(0x80 | (code & 0x3F));
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

} // namespace

Value Parse(std::string_view text)
{
    return Reader(text).Document();
}

const char *TypeName(Value::Type type)
{
    // In the order of Value::Type.
    static constexpr const char *kNames[] = {
        "null", "true or false", "a number", "a string", "an array", "an object"};
    return kNames[static_cast<int>(type)];
}

} // namespace botcfg::json
