// The routines and operations of the plug-in's core library, called directly
// with a recording result, for what a message on the channel cannot reach
// cheaply: data that other programs leave on the clipboard, the hand-over of
// refused blocks, and fragments too long for the HTML offsets.
#include <string>

#include "gtest/gtest.h"
#include "plugin/clipboard_html.h"
#include "plugin/clipboard_text.h"
#include "plugin/html_format.h"
#include "plugin/rich_text_operations.h"
#include "plugin/win_handles.h"
#include "tests/plugin/clipboard_probe.h"
#include "tests/plugin/recording_result.h"

namespace clipboard {
namespace {

using clipboard_test::Answer;
using clipboard_test::Bytes;
using clipboard_test::BytesOf;
using clipboard_test::HtmlFormat;
using clipboard_test::PutBlock;
using clipboard_test::ReadBlock;
using clipboard_test::RecordingResult;
using clipboard_test::Utf16Bytes;

std::string ReadTextNow() {
  ClipboardSession clipboard;
  return clipboard ? ReadUnicodeTextFromClipboard() : "<not opened>";
}

std::string ReadHtmlNow() {
  ClipboardSession clipboard;
  return clipboard ? ReadHtmlFromClipboard() : "<not opened>";
}

// Blocks as other programs may leave them: reading stops at the first NUL
// and never goes past the end of the block.
TEST(ClipboardRoutinesTest, ReadsForeignTextWithinItsBlock) {
  struct Case {
    const char* name;
    Bytes block;
    std::string text;
  };
  // Wine writes a NUL over the last bytes of every text block that it is
  // given, so a block without any NUL unit cannot be placed under Wine. With
  // an odd size the read still has to stop at the last whole unit on
  // Windows; Wine zeroes the odd byte and gives the same text.
  const Case cases[] = {
      {"odd byte count", Bytes{'h', 0, 'i', 0, 'x'}, "hi"},
      {"text after the NUL", Utf16Bytes(std::wstring(L"a\0b", 3)), "a"},
      // A block of no bytes cannot be locked: it reads as no text. (Wine
      // refuses such a block, so the clipboard is simply empty there.)
      {"empty block", Bytes{}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PutBlock(CF_UNICODETEXT, c.block);
    EXPECT_EQ(ReadTextNow(), c.text);
  }
}

TEST(ClipboardRoutinesTest, ReadsForeignHtmlWithinItsBlock) {
  const std::string document =
      "Version:1.0\r\nStartHTML:0000000105\r\nEndHTML:0000000150\r\n"
      "StartFragment:0000000141\r\nEndFragment:0000000142\r\n"
      "SourceURL:about:blank\r\n<html><body><!--StartFragment-->x";
  struct Case {
    const char* name;
    Bytes block;
    std::string html;
  };
  const Case cases[] = {
      {"no NUL", BytesOf(document), document},
      {"NUL inside", BytesOf(std::string("ab\0cd", 5)), "ab"},
      {"empty block (refused by Wine)", Bytes{}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PutBlock(HtmlFormat(), c.block);
    EXPECT_EQ(ReadHtmlNow(), c.html);
  }
}

// A block that SetClipboardData refuses stays with its owner, which frees it.
TEST(ClipboardRoutinesTest, RefusedBlockStaysWithItsOwner) {
  UniqueHGlobal block = AllocateMovable(4);
  ASSERT_TRUE(block);
  const HGLOBAL handle = block.get();
  // The clipboard is not open on this thread, so the system refuses it.
  EXPECT_FALSE(HandOverToClipboard(CF_UNICODETEXT, block));
  EXPECT_EQ(block.get(), handle);
}

TEST(ClipboardRoutinesTest, FragmentTooLongForTheOffsetsIsLeftOff) {
  clipboard_test::PutText("before");
  const flutter::EncodableMap arguments{
      {flutter::EncodableValue("text"), flutter::EncodableValue("t")},
      {flutter::EncodableValue("html"),
       flutter::EncodableValue(std::string(kMaxHtmlFragmentSize + 1, 'x'))},
  };
  Answer answer;
  CopyRichText(&arguments, std::make_unique<RecordingResult>(&answer));
  EXPECT_EQ(answer.kind, Answer::Kind::kSuccess);
  EXPECT_EQ(answer.value, flutter::EncodableValue(true));
  EXPECT_EQ(ReadBlock(CF_UNICODETEXT), Utf16Bytes(std::wstring(L"t\0", 2)));
  EXPECT_FALSE(ReadBlock(HtmlFormat()));
}

}  // namespace
}  // namespace clipboard
