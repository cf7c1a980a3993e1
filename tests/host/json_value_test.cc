#include "host/cli/json_value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace clipboard_host {
namespace {

using flutter::EncodableList;
using flutter::EncodableMap;
using flutter::EncodableValue;

EncodableValue Str(const std::string& text) { return EncodableValue(text); }

std::vector<uint8_t> FakeFile(const std::string& path) {
  if (path == "three.bin") return {7, 0, 255};
  throw std::runtime_error("cannot open " + path);
}

EncodableValue Parse(const std::string& text) {
  return ValueFromJsonText(text, FakeFile);
}

std::string Print(const EncodableValue& value, PrintOptions options = {}) {
  return ValueToJson(value, options).dump();
}

struct ParseCase {
  const char* json;
  EncodableValue expected;
};

TEST(JsonValueTest, ParsesEveryKindOfValue) {
  const ParseCase cases[] = {
      {"null", EncodableValue()},
      {"true", EncodableValue(true)},
      {"5", EncodableValue(int32_t{5})},
      {"2147483647", EncodableValue(int32_t{2147483647})},
      {"-2147483648", EncodableValue(std::numeric_limits<int32_t>::min())},
      {"2147483648", EncodableValue(int64_t{2147483648})},
      {"-2147483649", EncodableValue(int64_t{-2147483649})},
      {"9223372036854775807",
       EncodableValue(std::numeric_limits<int64_t>::max())},
      {"1.0", EncodableValue(1.0)},
      {"1e3", EncodableValue(1000.0)},
      {"\"h\\u00e9\\ud83d\\ude00\"", Str("h\xC3\xA9\xF0\x9F\x98\x80")},
      {"\"a\\u0000b\"", Str(std::string("a\0b", 3))},
      {"[1, \"a\", []]",
       EncodableValue(EncodableList{EncodableValue(int32_t{1}), Str("a"),
                                    EncodableValue(EncodableList{})})},
      {"{}", EncodableValue(EncodableMap{})},
      {"{\"text\": \"hi\"}",
       EncodableValue(EncodableMap{{Str("text"), Str("hi")}})},
      // Only a lone "$" key is a tag.
      {"{\"$a\": 1, \"b\": 2}",
       EncodableValue(EncodableMap{{Str("$a"), EncodableValue(int32_t{1})},
                                   {Str("b"), EncodableValue(int32_t{2})}})},
      {"{\"$int64\": 5}", EncodableValue(int64_t{5})},
      {"{\"$int32\": -7}", EncodableValue(int32_t{-7})},
      {"{\"$double\": 2}", EncodableValue(2.0)},
      {"{\"$double\": \"-Infinity\"}",
       EncodableValue(-std::numeric_limits<double>::infinity())},
      {"{\"$bytes\": [0, 255]}", EncodableValue(std::vector<uint8_t>{0, 255})},
      {"{\"$bytes\": []}", EncodableValue(std::vector<uint8_t>{})},
      {"{\"$int32s\": [-1, 2]}", EncodableValue(std::vector<int32_t>{-1, 2})},
      {"{\"$int64s\": [3]}", EncodableValue(std::vector<int64_t>{3})},
      {"{\"$float32s\": [1.5, \"Infinity\"]}",
       EncodableValue(
           std::vector<float>{1.5f, std::numeric_limits<float>::infinity()})},
      {"{\"$float64s\": [0.25]}", EncodableValue(std::vector<double>{0.25})},
      {"{\"$string\": [104, 255]}", Str("h\xFF")},
      {"{\"$map\": [[1, \"one\"], [[2], null]]}",
       EncodableValue(EncodableMap{
           {EncodableValue(int32_t{1}), Str("one")},
           {EncodableValue(EncodableList{EncodableValue(int32_t{2})}),
            EncodableValue()}})},
      {"{\"$file\": \"three.bin\"}",
       EncodableValue(EncodableList{EncodableValue(int32_t{7}),
                                    EncodableValue(int32_t{0}),
                                    EncodableValue(int32_t{255})})},
      {"{\"$fileBytes\": \"three.bin\"}",
       EncodableValue(std::vector<uint8_t>{7, 0, 255})},
  };
  for (const ParseCase& c : cases) {
    EncodableValue value = Parse(c.json);
    EXPECT_EQ(value.index(), c.expected.index()) << c.json;
    EXPECT_EQ(value, c.expected) << c.json;
  }
  EXPECT_TRUE(
      std::isnan(flutter::get<double>(Parse("{\"$double\": \"NaN\"}"))));
}

TEST(JsonValueTest, RefusesWhatIsNotAValueNamingWhere) {
  const std::pair<const char*, const char*> cases[] = {
      {"{\"text\": ", "invalid JSON"},
      {"18446744073709551615", "int64 range"},
      {"{\"a\": {\"$int32\": 2147483648}}",
       "a.$int32: integer out of the int32"},
      {"{\"$int64\": 1.5}", "expected an integer"},
      {"{\"$bytes\": [1, 256]}", "$bytes[1]: expected a byte"},
      {"{\"$bytes\": [-1]}", "expected a byte"},
      {"{\"$bytes\": 5}", "expected an array"},
      {"{\"$double\": \"nan\"}", "expected a number"},
      {"{\"$float32s\": [1e300]}", "float32 range"},
      {"{\"$map\": [[1]]}", "$map[0]: expected a [key, value] pair"},
      {"{\"$file\": 5}", "expected a file name"},
      {"{\"$summary\": {\"of\": \"list\"}}", "cannot be sent"},
      {"{\"$unknown\": 1}", "unknown tag"},
      {"[{\"formats\": {\"$int32s\": [\"x\"]}}]",
       "[0].formats.$int32s[0]: expected an integer"},
  };
  for (const auto& [json, message] : cases) {
    try {
      Parse(json);
      ADD_FAILURE() << "accepted " << json;
    } catch (const JsonValueError& error) {
      EXPECT_NE(std::string(error.what()).find(message), std::string::npos)
          << json << " gave: " << error.what();
    }
  }
}

TEST(JsonValueTest, FileLoaderFailuresPassThrough) {
  EXPECT_THROW(Parse("{\"$file\": \"missing.bin\"}"), std::runtime_error);
  EXPECT_THROW(ValueFromJsonText("{\"$file\": \"three.bin\"}", nullptr),
               JsonValueError);
}

struct PrintCase {
  EncodableValue value;
  const char* json;
};

EncodableValue SmallIntList(size_t count, int32_t last) {
  EncodableList list(count, EncodableValue(int32_t{1}));
  list.back() = EncodableValue(last);
  return EncodableValue(std::move(list));
}

TEST(JsonValueTest, PrintsEveryKindDistinguishably) {
  PrintOptions small;
  small.summarise_above = 3;
  small.summary_head = 2;
  const PrintCase cases[] = {
      {EncodableValue(), "null"},
      {EncodableValue(false), "false"},
      {EncodableValue(int32_t{5}), "5"},
      {EncodableValue(int64_t{5}), "{\"$int64\":5}"},
      {EncodableValue(1.0), "1.0"},
      {EncodableValue(std::numeric_limits<double>::infinity()),
       "{\"$double\":\"Infinity\"}"},
      {Str("h\xC3\xA9"), "\"h\xC3\xA9\""},
      {Str("\xC3"), "{\"$string\":[195]}"},
      {EncodableValue(std::vector<uint8_t>{1, 2}), "{\"$bytes\":[1,2]}"},
      {EncodableValue(std::vector<int32_t>{1}), "{\"$int32s\":[1]}"},
      {EncodableValue(std::vector<int64_t>{1}), "{\"$int64s\":[1]}"},
      {EncodableValue(std::vector<double>{std::nan("")}),
       "{\"$float64s\":[\"NaN\"]}"},
      {EncodableValue(std::vector<float>{0.5f}), "{\"$float32s\":[0.5]}"},
      {EncodableValue(EncodableMap{{Str("b"), EncodableValue(int64_t{1})},
                                   {Str("a"), EncodableValue()}}),
       "{\"a\":null,\"b\":{\"$int64\":1}}"},
      {EncodableValue(EncodableMap{{EncodableValue(int32_t{1}), Str("x")}}),
       "{\"$map\":[[1,\"x\"]]}"},
      {EncodableValue(EncodableMap{{Str("$x"), Str("y")}}),
       "{\"$map\":[[\"$x\",\"y\"]]}"},
      // Byte-like lists and byte lists beyond the limit are summarised.
      {SmallIntList(3, 255), "[1,1,255]"},
      {SmallIntList(4, 255),
       "{\"$summary\":{\"first\":[1,1],\"length\":4,\"of\":\"list\"}}"},
      {SmallIntList(4, 256), "[1,1,1,256]"},
      {EncodableValue(std::vector<uint8_t>{9, 8, 7, 6}),
       "{\"$summary\":{\"first\":[9,8],\"length\":4,\"of\":\"bytes\"}}"},
      {EncodableValue(EncodableMap{{Str("imageBytes"), SmallIntList(5, 0)}}),
       "{\"imageBytes\":{\"$summary\":{\"first\":[1,1],\"length\":5,"
       "\"of\":\"list\"}}}"},
  };
  for (const PrintCase& c : cases) {
    EXPECT_EQ(Print(c.value, small), c.json) << c.json;
  }
  PrintOptions full;
  full.summarise_above = SIZE_MAX;
  EXPECT_EQ(Print(SmallIntList(4, 255), full), "[1,1,1,255]");
}

// What the host prints reads back as the same value, kind for kind.
TEST(JsonValueTest, PrintedValuesReadBackUnchanged) {
  PrintOptions full;
  full.summarise_above = SIZE_MAX;
  const EncodableValue values[] = {
      EncodableValue(int32_t{1}),
      EncodableValue(int64_t{1}),
      EncodableValue(1.0),
      EncodableValue(-0.5),
      EncodableValue(1e300),
      EncodableValue(std::numeric_limits<int64_t>::min()),
      Str(std::string("\0\xFF\xF0\x9F\x98\x80", 6)),
      EncodableValue(std::vector<uint8_t>(100, 3)),
      EncodableValue(EncodableList(100, EncodableValue(int32_t{3}))),
      EncodableValue(std::vector<float>{0.1f, -2.0f}),
      EncodableValue(std::vector<double>{0.1, 1e-300}),
      EncodableValue(EncodableMap{
          {Str("formats"),
           EncodableValue(EncodableMap{
               {Str("image/png"), EncodableValue(std::vector<uint8_t>{1})},
               {Str("text/plain"), Str("t")}})},
          {EncodableValue(int64_t{2}), EncodableValue(EncodableList{})}}),
  };
  for (const EncodableValue& value : values) {
    nlohmann::json printed = ValueToJson(value, full);
    EncodableValue back = Parse(printed.dump());
    EXPECT_EQ(back.index(), value.index()) << printed.dump();
    EXPECT_EQ(back, value) << printed.dump();
  }
}

TEST(JsonValueTest, RecognisesWellFormedUtf8) {
  const std::pair<std::string, bool> cases[] = {
      {"", true},
      {"plain", true},
      {"\xC3\xA9", true},
      {"\xEF\xBF\xBF", true},
      {"\xF0\x9F\x98\x80", true},
      {"\xF4\x8F\xBF\xBF", true},
      {"\xC0\x80", false},          // overlong NUL
      {"\xE0\x80\xAF", false},      // overlong slash
      {"\xED\xA0\x80", false},      // surrogate
      {"\xF4\x90\x80\x80", false},  // beyond U+10FFFF
      {"\xE2\x82", false},          // truncated
      {"\x80", false},              // lone continuation
      {"\xF8\x88\x80\x80\x80", false},
  };
  for (const auto& [text, valid] : cases) {
    EXPECT_EQ(IsValidUtf8(text), valid) << testing::PrintToString(text);
  }
}

}  // namespace
}  // namespace clipboard_host
