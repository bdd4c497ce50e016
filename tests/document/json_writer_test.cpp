#include "document/json_writer.h"

#include <gtest/gtest.h>

#include <string>

namespace korvo {
namespace {

std::u16string WithUnit(std::u16string before, char16_t unit, std::u16string after) {
    before += unit;
    return before + after;
}

TEST(JsonString, escapesQuotesBackslashAndControlsAndEncodesUtf8) {
    struct Case {
        const char* name;
        std::u16string in;
        std::string out;
    };
    const Case cases[] = {
        {"empty", u"", "\"\""},
        {"quote and backslash", u"say \"hi\" \\ there", "\"say \\\"hi\\\" \\\\ there\""},
        {"slash stays", u"a/b", "\"a/b\""},
        {"short escapes", u"\b\f\n\r\t", "\"\\b\\f\\n\\r\\t\""},
        {"other controls", std::u16string(u"\0\x01\x1f", 3), "\"\\u0000\\u0001\\u001f\""},
        {"DEL and space stay", u"\x7f ", "\"\x7f \""},
        {"Latin-1", u"caf\u00e9 \u00a9", "\"caf\xc3\xa9 \xc2\xa9\""},
        {"BMP", u"\u2116 \u201c\u201d \uffff", "\"\xe2\x84\x96 \xe2\x80\x9c\xe2\x80\x9d \xef\xbf\xbf\""},
        {"line and paragraph separators", u"\u2028\u2029", "\"\\u2028\\u2029\""},
        {"surrogate pair", u"\U0001F600", "\"\xf0\x9f\x98\x80\""},
        {"highest code point", u"\U0010FFFF", "\"\xf4\x8f\xbf\xbf\""},
        {"lone high surrogate", WithUnit(u"a", 0xD800, u"b"),
         "\"a\xef\xbf\xbd"
         "b\""},
        {"lone low surrogate", WithUnit(u"a", 0xDC00, u""), "\"a\xef\xbf\xbd\""},
        {"high surrogate at the end", WithUnit(u"", 0xDBFF, u""), "\"\xef\xbf\xbd\""},
        {"two highs then a low", WithUnit(WithUnit(u"", 0xD800, u""), 0xD83D, u"\xDE00"),
         "\"\xef\xbf\xbd\xf0\x9f\x98\x80\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(JsonString(c.in), c.out);
    }
}

TEST(JsonWriter, placesCommasAndColonsInNestedValues) {
    JsonWriter w;
    w.BeginObject();
    w.Key(u"a");
    w.Int(-12);
    w.Key(u"list");
    w.BeginArray();
    w.Int(0);
    w.String(u"#");
    w.BeginObject();
    w.EndObject();
    w.BeginArray();
    w.EndArray();
    w.Bool(true);
    w.Null();
    w.EndArray();
    w.Key(u"k\"ey");
    w.Bool(false);
    w.EndObject();
    EXPECT_EQ(w.Text(), "{\"a\":-12,\"list\":[0,\"#\",{},[],true,null],\"k\\\"ey\":false}");
}

TEST(JsonWriter, misuseIsIgnoredRatherThanCorruptingState) {
    JsonWriter w;
    w.EndObject();  // nothing open
    w.EndArray();
    w.Key(u"x");  // a key outside an object
    w.BeginObject();
    w.Int(1);      // a value without its key
    w.EndArray();  // wrong kind of end
    w.Key(u"a");
    w.EndObject();  // a key waiting for its value
    w.Int(2);
    w.EndObject();
    w.Int(3);  // a second top-level value
    EXPECT_EQ(w.Text(), "{\"a\":2}");
}

}  // namespace
}  // namespace korvo
