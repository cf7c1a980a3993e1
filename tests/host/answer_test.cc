#include "host/cli/answer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codec/standard_method_codec.h"

namespace clipboard_host {
namespace {

using flutter::EncodableMap;
using flutter::EncodableValue;
using flutter::StandardMethodCodec;
using Bytes = std::vector<uint8_t>;

Bytes Success(const EncodableValue* value) {
  return *StandardMethodCodec::SharedInstance().EncodeSuccessReply(value);
}

Bytes Error(const std::string& code, const std::string& message,
            const EncodableValue* details = nullptr) {
  return *StandardMethodCodec::SharedInstance().EncodeErrorReply(code, message,
                                                                 details);
}

struct ReplyCase {
  const char* name;
  Bytes reply;
  const char* json;  // empty for a host failure
  int exit_status;
};

TEST(AnswerTest, RepliesPrintAsJsonWithTheirExitStatus) {
  const EncodableValue timestamp_map(
      EncodableMap{{EncodableValue("html"), EncodableValue("")},
                   {EncodableValue("timestamp"), EncodableValue(int64_t{42})}});
  const EncodableValue zero(int32_t{0});
  const EncodableValue details(true);
  const ReplyCase cases[] = {
      {"success true", Success(&details), "{\"success\":true}", 0},
      {"success none", Success(nullptr), "{\"success\":null}", 0},
      {"int32 zero", Success(&zero), "{\"success\":0}", 0},
      {"int64 kept apart", Success(&timestamp_map),
       "{\"success\":{\"html\":\"\",\"timestamp\":{\"$int64\":42}}}", 0},
      {"error", Error("EMPTY_TEXT", "Text cannot be empty"),
       "{\"error\":{\"code\":\"EMPTY_TEXT\",\"message\":\"Text cannot be "
       "empty\"}}",
       1},
      {"error with details", Error("E", "m", &details),
       "{\"error\":{\"code\":\"E\",\"details\":true,\"message\":\"m\"}}", 1},
      {"not implemented", {}, "{\"notImplemented\":true}", 3},
      {"unknown envelope", {7, 0}, "", 4},
      {"error code not a string", {1, 3, 1, 0, 0, 0, 0, 0}, "", 4},
  };
  for (const ReplyCase& c : cases) {
    Answer answer = DecodeReply(c.reply);
    EXPECT_EQ(ExitStatusOf(answer), c.exit_status) << c.name;
    if (*c.json == '\0') {
      EXPECT_NE(HostFailureText(answer), "") << c.name;
    } else {
      EXPECT_EQ(HostFailureText(answer), "") << c.name;
      EXPECT_EQ(AnswerToJson(answer, {}).dump(), c.json) << c.name;
    }
  }
}

TEST(AnswerTest, CallsLeftWithoutAReplyAreHostFailures) {
  for (Answer::Kind kind :
       {Answer::Kind::kNoAnswer, Answer::Kind::kNoHandler}) {
    Answer answer;
    answer.kind = kind;
    EXPECT_EQ(ExitStatusOf(answer), kExitHostFailure);
    EXPECT_NE(HostFailureText(answer), "");
  }
}

TEST(AnswerTest, EventMessagesPrintByKind) {
  const EncodableValue event(EncodableValue("changed"));
  EXPECT_EQ(EventToJson(Success(&event), {}).dump(), "{\"event\":\"changed\"}");
  EXPECT_EQ(EventToJson(Error("E", "m"), {}).dump(),
            "{\"eventError\":{\"code\":\"E\",\"message\":\"m\"}}");
  EXPECT_EQ(EventToJson({}, {}).dump(), "{\"endOfStream\":true}");
  EXPECT_EQ(EventToJson({9}, {}).dump(),
            "{\"malformedEvent\":{\"$bytes\":[9]}}");
}

}  // namespace
}  // namespace clipboard_host
