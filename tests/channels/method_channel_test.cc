#include "channels/method_channel.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "channels/binary_messenger_impl.h"
#include "channels/one_shot_reply.h"
#include "host/standin/standin_engine.h"
#include "tests/channels/channel_test_support.h"

namespace flutter {
namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;
using testing_support::Bytes;
using testing_support::CallBytes;
using testing_support::Codec;
using testing_support::ExpectEngineBalanced;

const char kChannel[] = "test/methods";
const char kDuplicateResult[] =
    "Error: Only one of Success, Error, or NotImplemented can be called, and "
    "it can be called exactly once. Ignoring duplicate result.\n";
const char kLeak[] =
    "Warning: Failed to respond to a message. This is a memory leak.\n";

class MethodChannelTest : public ::testing::Test {
 protected:
  // Installs a handler that records the method name and passes the result
  // to `answer`.
  void Install(std::function<void(std::unique_ptr<MethodResult>)> answer) {
    MethodChannel channel(&messenger_, kChannel, &Codec());
    channel.InstallCallHandler(
        [this, answer](const MethodCall& call,
                       std::unique_ptr<MethodResult> result) {
          methods_ += call.method_name() + ";";
          answer(std::move(result));
        });
  }

  standin::Engine engine_;
  BinaryMessengerImpl messenger_{engine_.messenger()};
  std::string methods_;
};

TEST_F(MethodChannelTest, EachOutcomeIsOneEnvelope) {
  struct Case {
    const char* name;
    std::function<void(MethodResult&)> answer;
    Bytes expected;
    bool null_data;
  };
  const Case cases[] = {
      {"success true",
       [](MethodResult& r) { r.Success(EncodableValue(true)); },
       {0x00, 0x01},
       false},
      {"success without value",
       [](MethodResult& r) { r.Success(); },
       {0x00, 0x00},
       false},
      {"error without details",
       [](MethodResult& r) { r.Error("INVALID_ARGUMENT"); },
       {0x01, 0x07, 0x10, 'I', 'N', 'V', 'A', 'L', 'I',  'D', '_',
        'A',  'R',  'G',  'U', 'M', 'E', 'N', 'T', 0x00, 0x00},
       false},
      {"error with details",
       [](MethodResult& r) { r.Error("E", "m", EncodableValue(int32_t{5})); },
       {0x01, 0x07, 0x01, 'E', 0x07, 0x01, 'm', 0x03, 0x05, 0x00, 0x00, 0x00},
       false},
      {"not implemented",
       [](MethodResult& r) { r.NotImplemented(); },
       {},
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Install([&c](std::unique_ptr<MethodResult> result) { c.answer(*result); });
    CaptureStderr();
    standin::Response response = engine_.Deliver(kChannel, CallBytes("m"));
    EXPECT_EQ(GetCapturedStderr(), "");  // answered: no leak warning
    EXPECT_EQ(response.state, kStandinResponded);
    EXPECT_EQ(response.bytes, c.expected);
    EXPECT_EQ(response.null_data, c.null_data);
  }
  EXPECT_EQ(methods_, "m;m;m;m;m;");
  ExpectEngineBalanced(engine_.counters());
}

TEST_F(MethodChannelTest, UndecodableMessageGetsEmptyResponse) {
  Install([](std::unique_ptr<MethodResult> result) { result->Success(); });
  CaptureStderr();
  standin::Response response = engine_.Deliver(kChannel, {});
  EXPECT_EQ(GetCapturedStderr(),
            "Invalid read in StandardCodecByteStreamReader\n"
            "Invalid method call; method name is not a string.\n"
            "Unable to construct method call from message on channel "
            "test/methods\n");
  EXPECT_EQ(methods_, "");
  EXPECT_EQ(response.state, kStandinResponded);
  EXPECT_TRUE(response.null_data);
  ExpectEngineBalanced(engine_.counters());
}

TEST_F(MethodChannelTest, SecondOutcomeIsLoggedAndDropped) {
  Install([](std::unique_ptr<MethodResult> result) {
    result->Success(EncodableValue(true));
    result->Error("LATE", "too late");
  });
  CaptureStderr();
  standin::Response response = engine_.Deliver(kChannel, CallBytes("m"));
  EXPECT_EQ(GetCapturedStderr(), kDuplicateResult);
  EXPECT_EQ(response.bytes, Bytes({0x00, 0x01}));
  EXPECT_EQ(engine_.counters().responses, 1);
  ExpectEngineBalanced(engine_.counters());
}

TEST_F(MethodChannelTest, DroppedResultWarnsOnceAndNeverAnswers) {
  Install([](std::unique_ptr<MethodResult>) {});
  CaptureStderr();
  standin::Response response = engine_.Deliver(kChannel, CallBytes("m"));
  EXPECT_EQ(GetCapturedStderr(), kLeak);
  EXPECT_EQ(response.state, kStandinPending);
  EXPECT_EQ(engine_.counters().locks, 0);
  ExpectEngineBalanced(engine_.counters());
}

TEST_F(MethodChannelTest, KeptResultAnswersLater) {
  std::unique_ptr<MethodResult> kept;
  Install([&kept](std::unique_ptr<MethodResult> result) {
    kept = std::move(result);
  });
  standin::Response response = engine_.Deliver(kChannel, CallBytes("m"));
  EXPECT_EQ(response.state, kStandinPending);

  kept->Success(EncodableValue(true));
  EXPECT_EQ(engine_.ResponseTo(response.message_id).bytes, Bytes({0x00, 0x01}));
  // The engine reference goes with the answer, not with the result.
  EXPECT_EQ(engine_.counters().releases, 1);
  CaptureStderr();
  kept.reset();
  EXPECT_EQ(GetCapturedStderr(), "");
  ExpectEngineBalanced(engine_.counters());
}

TEST_F(MethodChannelTest, EmptyHandlerRemovesTheChannel) {
  Install([](std::unique_ptr<MethodResult> result) { result->Success(); });
  ASSERT_TRUE(engine_.HasCallback(kChannel));
  MethodChannel(&messenger_, kChannel, &Codec()).InstallCallHandler(nullptr);
  EXPECT_FALSE(engine_.HasCallback(kChannel));
  EXPECT_EQ(engine_.Deliver(kChannel, CallBytes("m")).state, kStandinNoHandler);
}

TEST(OneShotReplyTest, EmptyVectorIsTheEmptyResponse) {
  const uint8_t* data = reinterpret_cast<const uint8_t*>(1);
  size_t size = 99;
  OneShotReply reply([&](const uint8_t* d, size_t s) {
    data = d;
    size = s;
  });
  std::vector<uint8_t> empty;
  reply.Respond(&empty);
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(size, 0u);
}

}  // namespace
}  // namespace flutter
