// The JSON reader that apply uses: what get --json writes reads back to the same bytes, and
// anything outside the strict grammar is refused with its place.
#include "botcfg/json_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using botcfg::json::Parse;
using botcfg::json::ParseError;
using Type = botcfg::json::Value::Type;

TEST(JsonReader, ReadsEscapesBackToTheBytesGetWrote)
{
    const auto document =
        Parse("\xEF\xBB\xBF { \"v\": \"\\u00e9\\u00E9\xC3\xA9\\t\\\"\\\\\\/\\u0001\","
              " \"BOT1\": {\"n\": -1.5e+3}, \"e\": [true, null, \"\\ud83d\\ude00\"] }");
    ASSERT_EQ(document.type, Type::Object);
    ASSERT_EQ(document.members.size(), 3u);
    // \u00XX is the byte XX (a file's single-byte text); raw UTF-8 stays as it is.
    EXPECT_EQ(document.members[0].value.text, "\xE9\xE9\xC3\xA9\t\"\\/\x01");
    EXPECT_EQ(document.members[1].name, "BOT1");
    EXPECT_EQ(document.members[1].value.members[0].value.type, Type::Number);
    EXPECT_EQ(document.members[1].value.members[0].value.text, "-1.5e+3");
    EXPECT_EQ(document.members[2].value.items[2].text, "\xF0\x9F\x98\x80");
}

TEST(JsonReader, RefusesAnythingOutsideTheStrictGrammar)
{
    const std::string deep = std::string(botcfg::json::kMaxDepth + 1, '[')
        + std::string(botcfg::json::kMaxDepth + 1, ']');
    for (const std::string text :
        {"", " ", "{", "{}x", "{} {}", "{\"a\":1,}", "[1,]", "{'a':1}", "{a:1}", "{\"a\":01}",
            "{\"a\":1.}", "{\"a\":-}", "{\"a\":.5}", "{\"a\":tru}", "NaN", "// c\n{}",
            "{\"a\":\"\x01\"}", "{\"a\":\"\\x\"}", "{\"a\":\"\\u12\"}", "{\"a\":\"\\ud800\"}",
            "{\"a\":\"\\udc00x\"}", "{\"a\":\"\xE9\"}", "{\"a\":\"x", "{\"a\":1,\"a\":2}"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(Parse(text), ParseError);
    }
    EXPECT_THROW(Parse(deep), ParseError);
    EXPECT_NO_THROW(Parse(deep.substr(1, deep.size() - 2)));
}

TEST(JsonReader, NamesTheLineAndColumnOfAFault)
{
    try {
        Parse("{\n  \"a\": \"1\",\n  \"b\" \"2\"}");
        FAIL() << "no error";
    } catch (const ParseError &error) {
        EXPECT_EQ(error.line, 3u);
        EXPECT_EQ(error.column, 7u);
    }
}

} // namespace
