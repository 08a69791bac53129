// A strict JSON reader for the documents apply takes: the grammar of RFC 8259 and nothing more
// (no comments, no trailing commas, no single quotes), UTF-8 only, no name twice in one object,
// and a bounded depth, so that a hostile document can neither be misread nor exhaust the stack.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace botcfg::json {

struct Member;

struct Value
{
    enum class Type { Null, Boolean, Number, String, Array, Object };
    Type type = Type::Null;
    // A string's bytes; a number as it was written ("75", "-1", "2.5e3"); "true" or "false".
    std::string text;
    std::vector<Value> items; // an array's
    std::vector<Member> members; // an object's, in the document's order
};

// A name and its value. A struct of its own, not a std::pair: a pair may not hold Value while
// Value is still being declared, and Clang's standard library refuses it.
struct Member
{
    std::string name;
    Value value;
};

// Where a document breaks the grammar: line and column (in bytes) from 1, and what was wrong.
class ParseError : public std::runtime_error
{
public:
    ParseError(std::size_t line, std::size_t column, const std::string &what)
        : std::runtime_error(what)
        , line(line)
        , column(column)
    {
    }
    std::size_t line;
    std::size_t column;
};

// The deepest nesting of arrays and objects a document may have.
inline constexpr std::size_t kMaxDepth = 32;

// Reads a whole document: one value with whitespace around it, and a UTF-8 byte-order mark at
// the start passed over. A string's \u escapes below U+0100 give the byte of that number, so
// that what get --json writes for a byte of a single-byte code page reads back as that byte;
// any other character gives its UTF-8 bytes. Throws ParseError.
Value Parse(std::string_view text);

// "a string", "an object", ...: a type as a message names it.
const char *TypeName(Value::Type type);

} // namespace botcfg::json
