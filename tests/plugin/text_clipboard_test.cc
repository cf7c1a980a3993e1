// "copy", "paste" and "clear" through the method channel, checked against
// the clipboard's own blocks.
#include <string>

#include "gtest/gtest.h"
#include "tests/plugin/clipboard_probe.h"
#include "tests/plugin/plugin_driver.h"

namespace clipboard_test {
namespace {

using flutter::EncodableValue;
using Kind = Answer::Kind;

class TextClipboardTest : public ::testing::Test {
 protected:
  EncodableValue Paste() {
    const Answer answer = plugin_.Call("paste");
    EXPECT_EQ(answer.kind, Kind::kSuccess) << answer;
    return answer.value;
  }

  PluginDriver plugin_;
};

// The block holds UTF-16 up to the first NUL and one NUL unit, nothing more;
// paste gives back the UTF-8 of what the block holds.
TEST_F(TextClipboardTest, CopyPlacesExactlyTheTextAndPasteReturnsIt) {
  const struct {
    const char* name;
    std::string text;
    Bytes block;
    std::string pasted;
  } cases[] = {
      {"ascii", "hi", {'h', 0, 'i', 0, 0, 0}, "hi"},
      {"accented letter", "\xC3\xA9", {0xE9, 0, 0, 0}, "\xC3\xA9"},
      {"outside the BMP",
       "\xF0\x9F\x98\x80",
       {0x3D, 0xD8, 0x00, 0xDE, 0, 0},
       "\xF0\x9F\x98\x80"},
      {"NUL inside", std::string("a\0b", 3), {'a', 0, 0, 0}, "a"},
      {"NUL first", std::string("\0b", 2), {0, 0}, ""},
      // Malformed UTF-8 is substituted, never refused.
      {"malformed", "a\xFF", {'a', 0, 0xFD, 0xFF, 0, 0}, "a\xEF\xBF\xBD"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PutBlock(HtmlFormat(), BytesOf("stale"));
    const Answer answer = plugin_.Call("copy", Map({{"text", Str(c.text)}}));
    ASSERT_EQ(answer.kind, Kind::kSuccess) << answer;
    EXPECT_EQ(answer.value, EncodableValue(true));
    EXPECT_EQ(ReadBlock(CF_UNICODETEXT), c.block);
    EXPECT_FALSE(ReadBlock(HtmlFormat())) << "copy empties the clipboard";
    EXPECT_EQ(Paste(), Map({{"text", Str(c.pasted)}}));
  }
}

// Text that other programs place; reading stops at the first NUL and never
// goes past the end of the block.
TEST_F(TextClipboardTest, PasteReadsWhatOtherProgramsPlaced) {
  const struct {
    const char* name;
    std::vector<std::pair<UINT, Bytes>> blocks;
    std::string pasted;
  } cases[] = {
      {"nothing", {}, ""},
      {"no text format", {{HtmlFormat(), BytesOf("<b>x</b>")}}, ""},
      {"text after the NUL",
       {{CF_UNICODETEXT, Utf16Bytes(std::wstring(L"a\0b\0", 4))}},
       "a"},
      // Wine writes a NUL over the end of every text block it is given, so
      // a block with no NUL unit at all cannot be placed there. An odd size
      // still needs the bound on Windows; Wine zeroes the odd byte.
      {"odd size", {{CF_UNICODETEXT, Bytes{'h', 0, 'i', 0, 'x'}}}, "hi"},
      // A block of no bytes cannot be locked (Wine refuses to place it).
      {"empty block", {{CF_UNICODETEXT, Bytes{}}}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PutBlocks(c.blocks);
    EXPECT_EQ(Paste(), Map({{"text", Str(c.pasted)}}));
  }
}

TEST_F(TextClipboardTest, ClearEmptiesTheClipboard) {
  PutBlocks({{CF_UNICODETEXT, Utf16Bytes(std::wstring(L"x\0", 2))},
             {HtmlFormat(), BytesOf("<b>x</b>")}});
  for (int round = 0; round < 2; ++round) {  // the second on an empty one
    SCOPED_TRACE(round);
    EXPECT_EQ(plugin_.Call("clear").value, EncodableValue(true));
    EXPECT_TRUE(OfferedAmong({CF_UNICODETEXT, HtmlFormat()}).empty());
    EXPECT_EQ(Paste(), Map({{"text", Str("")}}));
  }
}

}  // namespace
}  // namespace clipboard_test
