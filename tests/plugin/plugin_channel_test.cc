// The plug-in as the application sees it: registered with the engine
// stand-in through the DLL's export, spoken to with encoded messages on its
// two channels.
#include <cstdint>
#include <string>

#include "gtest/gtest.h"
#include "tests/plugin/clipboard_probe.h"
#include "tests/plugin/plugin_driver.h"

namespace clipboard_test {
namespace {

using flutter::EncodableList;
using flutter::EncodableMap;
using flutter::EncodableValue;
using Kind = Answer::Kind;

class PluginChannelTest : public ::testing::Test {
 protected:
  PluginDriver plugin_;
};

// Argument values that are not a map, and the empty map.
EncodableValue NotAMap(int which) {
  switch (which) {
    case 0:
      return EncodableValue();
    case 1:
      return EncodableValue(EncodableList{Str("text"), Str("hi")});
    case 2:
      return Str("hi");
    default:
      return EncodableValue(int32_t{7});
  }
}
constexpr int kNotAMapCount = 4;

TEST_F(PluginChannelTest, FixedAnswersIgnoreArgumentsAndClipboard) {
  PutText("held");
  const struct {
    const char* method;
    EncodableValue value;
  } cases[] = {
      {"getContentType", Str("unknown")},
      {"hasData", EncodableValue(false)},
      // An int32, not an int64: the value's kind is compared too.
      {"getDataSize", EncodableValue(int32_t{0})},
      {"startMonitoring", EncodableValue(true)},
      {"stopMonitoring", EncodableValue(true)},
      {"startMonitoring", EncodableValue(true)},
  };
  for (const auto& c : cases) {
    for (const EncodableValue& arguments :
         {EncodableValue(), Map({{"text", Str("x")}})}) {
      SCOPED_TRACE(c.method);
      const Answer answer = plugin_.Call(c.method, arguments);
      ASSERT_EQ(answer.kind, Kind::kSuccess) << answer;
      EXPECT_EQ(answer.value, c.value);
    }
  }
  EXPECT_EQ(ReadBlock(CF_UNICODETEXT), Utf16Bytes(std::wstring(L"held\0", 5)));
}

TEST_F(PluginChannelTest, NamesMatchExactly) {
  for (const char* method : {"Copy", "COPY", "copy ", " copy", "copyImages",
                             "pasteimage", "", "listen", "unknownMethod"}) {
    SCOPED_TRACE(method);
    EXPECT_EQ(plugin_.Call(method, Map({{"text", Str("x")}})).kind,
              Kind::kNotImplemented);
  }
}

TEST_F(PluginChannelTest, ArgumentErrorsLeaveTheClipboardAlone) {
  PutText("keep");
  const struct {
    const char* method;
    EncodableValue arguments;
    const char* code;
    const char* message;
  } cases[] = {
      {"copy", EncodableValue(EncodableMap{}), "EMPTY_TEXT",
       "Text cannot be empty"},
      {"copy", Map({{"text", Str("")}}), "EMPTY_TEXT", "Text cannot be empty"},
      {"copy", Map({{"text", EncodableValue(int32_t{5})}}), "EMPTY_TEXT",
       "Text cannot be empty"},
      {"copy", Map({{"other", Str("hi")}}), "EMPTY_TEXT",
       "Text cannot be empty"},
      {"copyRichText", EncodableValue(EncodableMap{}), "EMPTY_CONTENT",
       "Either text or html must be provided"},
      {"copyRichText", Map({{"text", Str("")}, {"html", Str("")}}),
       "EMPTY_CONTENT", "Either text or html must be provided"},
      {"copyRichText",
       Map({{"text", EncodableValue(true)},
            {"html", EncodableValue(std::vector<uint8_t>{'<', 'b', '>'})}}),
       "EMPTY_CONTENT", "Either text or html must be provided"},
      {"copyMultiple", EncodableValue(EncodableMap{}), "EMPTY_FORMATS",
       "At least one format must be provided"},
      {"copyMultiple", Map({{"formats", EncodableValue(EncodableMap{})}}),
       "EMPTY_FORMATS", "At least one format must be provided"},
      {"copyMultiple",
       Map({{"formats", EncodableValue(EncodableList{Str("text/plain")})}}),
       "EMPTY_FORMATS", "At least one format must be provided"},
      {"copyMultiple", Map({{"formats", Str("text/plain")}}), "EMPTY_FORMATS",
       "At least one format must be provided"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.method) + " " + c.code);
    const Answer answer = plugin_.Call(c.method, c.arguments);
    ASSERT_EQ(answer.kind, Kind::kError) << answer;
    EXPECT_EQ(answer.code, c.code);
    EXPECT_EQ(answer.message, c.message);
    EXPECT_FALSE(answer.details && !answer.details->IsNull());
  }
  // Any argument value that is not a map counts as no arguments.
  for (const char* method : {"copy", "copyRichText", "copyMultiple"}) {
    for (int which = 0; which < kNotAMapCount; ++which) {
      SCOPED_TRACE(std::string(method) + " with argument kind " +
                   std::to_string(NotAMap(which).index()));
      const Answer answer = plugin_.Call(method, NotAMap(which));
      ASSERT_EQ(answer.kind, Kind::kError) << answer;
      EXPECT_EQ(answer.code, "INVALID_ARGUMENT");
      EXPECT_EQ(answer.message, "Arguments are required");
    }
  }
  EXPECT_EQ(ReadBlock(CF_UNICODETEXT), Utf16Bytes(std::wstring(L"keep\0", 5)));
}

TEST_F(PluginChannelTest, PasteAndClearIgnoreTheirArguments) {
  for (int which = 0; which <= kNotAMapCount; ++which) {
    const EncodableValue arguments = which < kNotAMapCount
                                         ? NotAMap(which)
                                         : Map({{"text", Str("ignored")}});
    SCOPED_TRACE(which);
    PutText("abc");
    const Answer pasted = plugin_.Call("paste", arguments);
    EXPECT_EQ(pasted.value, Map({{"text", Str("abc")}})) << pasted;
    const Answer cleared = plugin_.Call("clear", arguments);
    EXPECT_EQ(cleared.value, EncodableValue(true)) << cleared;
    EXPECT_FALSE(ReadBlock(CF_UNICODETEXT));
  }
}

// Another program keeps the clipboard open: every operation answers its own
// error at once, and what the clipboard held is still there afterwards.
TEST_F(PluginChannelTest, ClipboardHeldByAnotherProgram) {
  PutText("theirs");
  const struct {
    const char* method;
    EncodableValue arguments;
    const char* code;
  } cases[] = {
      {"copy", Map({{"text", Str("mine")}}), "COPY_ERROR"},
      {"paste", EncodableValue(), "PASTE_ERROR"},
      {"clear", EncodableValue(), "CLEAR_ERROR"},
      {"copyRichText", Map({{"html", Str("<b>mine</b>")}}), "COPY_RICH_ERROR"},
      {"pasteRichText", EncodableValue(), "PASTE_RICH_ERROR"},
      {"copyMultiple", Map({{"formats", Map({{"text/plain", Str("mine")}})}}),
       "COPY_MULTIPLE_ERROR"},
  };
  {
    ClipboardHolder holder;
    ASSERT_TRUE(holder.holding());
    for (const auto& c : cases) {
      SCOPED_TRACE(c.method);
      const Answer answer = plugin_.Call(c.method, c.arguments);
      ASSERT_EQ(answer.kind, Kind::kError) << answer;
      EXPECT_EQ(answer.code, c.code);
      EXPECT_EQ(answer.message, "Failed to open clipboard");
    }
  }
  EXPECT_EQ(ReadBlock(CF_UNICODETEXT),
            Utf16Bytes(std::wstring(L"theirs\0", 7)));
  EXPECT_FALSE(ReadBlock(HtmlFormat()));
}

TEST_F(PluginChannelTest, EventChannelAcceptsListenersButSendsNothing) {
  const std::vector<uint8_t> ok = SuccessEnvelope(nullptr);
  EXPECT_EQ(ok, (std::vector<uint8_t>{0x00, 0x00}));
  const std::vector<uint8_t> no_stream =
      ErrorEnvelope("error", "No active stream to cancel");

  // Cancel without a listener, then listen twice, cancel twice.
  const struct {
    const char* method;
    const std::vector<uint8_t>& reply;
  } steps[] = {
      {"cancel", no_stream}, {"listen", ok},        {"listen", ok},
      {"cancel", ok},        {"cancel", no_stream}, {"listen", ok},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.method);
    const standin::Response response = plugin_.Send(kEventChannel, step.method);
    ASSERT_EQ(response.state, kStandinResponded);
    EXPECT_EQ(response.bytes, step.reply);
  }

  // With a listener in place, nothing the application asks for ever makes
  // the plug-in send an event.
  for (const char* method :
       {"startMonitoring", "copy", "paste", "clear", "copyRichText",
        "pasteRichText", "stopMonitoring"}) {
    plugin_.Call(method, Map({{"text", Str("t")}, {"html", Str("h")}}));
  }
  EXPECT_TRUE(plugin_.engine().Outbound().empty());
}

// Each registration is complete on its own: one without a view, and a second
// engine registered beside the first.
TEST_F(PluginChannelTest, RegistrationsStandAlone) {
  PluginDriver without_view(/*with_view=*/false);
  for (PluginDriver* driver : {&without_view, &plugin_}) {
    EXPECT_EQ(driver->Call("hasData").value, EncodableValue(false));
    EXPECT_EQ(driver->Send(kEventChannel, "listen").bytes,
              SuccessEnvelope(nullptr));
  }
}

}  // namespace
}  // namespace clipboard_test
