// The plug-in's core library called directly, for what a message on the
// channel cannot reach cheaply: the hand-over of a refused block, and a
// fragment too long for the HTML offsets (a 100 MB message otherwise).
#include <string>

#include "gtest/gtest.h"
#include "plugin/html_format.h"
#include "plugin/rich_text_operations.h"
#include "plugin/win_handles.h"
#include "tests/plugin/clipboard_probe.h"
#include "tests/plugin/recording_result.h"

namespace clipboard {
namespace {

using clipboard_test::Answer;
using clipboard_test::HtmlFormat;
using clipboard_test::ReadBlock;
using clipboard_test::RecordingResult;
using clipboard_test::Utf16Bytes;

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
