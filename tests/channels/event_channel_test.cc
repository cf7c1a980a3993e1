#include "channels/event_channel.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "channels/binary_messenger_impl.h"
#include "channels/stream_handler_functions.h"
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

const char kChannel[] = "test/events";
const Bytes kSuccess = {0x00, 0x00};

Bytes ErrorEnvelope(const std::string& code, const std::string& message) {
  return *Codec().EncodeErrorReply(code, message, nullptr);
}

// What the stream handler saw and how it answers.
struct HandlerLog {
  std::string calls;
  std::vector<std::unique_ptr<EventSink>> sinks;
  std::unique_ptr<StreamHandlerError> listen_error;
  std::unique_ptr<StreamHandlerError> cancel_error;
  const EncodableValue* cancel_details = nullptr;  // of the last cancel error
};

std::unique_ptr<StreamHandler> LoggingHandler(HandlerLog* log) {
  return std::make_unique<StreamHandlerFunctions>(
      [log](const EncodableValue* arguments,
            std::unique_ptr<EventSink>&& events)
          -> std::unique_ptr<StreamHandlerError> {
        log->calls +=
            arguments && !arguments->IsNull() ? "listen(args);" : "listen;";
        log->sinks.push_back(std::move(events));
        return std::move(log->listen_error);
      },
      [log](const EncodableValue* arguments)
          -> std::unique_ptr<StreamHandlerError> {
        log->calls += arguments == nullptr ? "cancel(none);" : "cancel;";
        if (log->cancel_error) {
          log->cancel_details = log->cancel_error->error_details.get();
        }
        return std::move(log->cancel_error);
      });
}

class EventChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EventChannel(&messenger_, kChannel, &Codec())
        .InstallStreamHandler(LoggingHandler(&log_));
  }
  void TearDown() override { ExpectEngineBalanced(engine_.counters()); }

  standin::Response Call(const std::string& method) {
    return engine_.Deliver(kChannel, CallBytes(method));
  }

  standin::Engine engine_;
  BinaryMessengerImpl messenger_{engine_.messenger()};
  HandlerLog log_;
};

TEST_F(EventChannelTest, ListenThenCancel) {
  EXPECT_EQ(Call("listen").bytes, kSuccess);
  EXPECT_EQ(log_.sinks.size(), 1u);
  EXPECT_EQ(Call("cancel").bytes, kSuccess);
  EXPECT_EQ(log_.calls, "listen;cancel;");
}

TEST_F(EventChannelTest, CancelWithoutStreamIsAnErrorAndSkipsTheHandler) {
  EXPECT_EQ(Call("cancel").bytes,
            ErrorEnvelope("error", "No active stream to cancel"));
  EXPECT_EQ(log_.calls, "");
}

TEST_F(EventChannelTest, SecondListenCancelsFirstAndHandsOutANewSink) {
  EXPECT_EQ(Call("listen").bytes, kSuccess);
  EXPECT_EQ(Call("listen").bytes, kSuccess);
  EXPECT_EQ(log_.calls, "listen;cancel(none);listen;");
  ASSERT_EQ(log_.sinks.size(), 2u);
  EXPECT_NE(log_.sinks[0], log_.sinks[1]);
}

// The reply to "listen" depends on OnListen alone; a failed implicit cancel
// only writes an unterminated, unflushed text.
TEST_F(EventChannelTest, FailedImplicitCancelIsOnlyReported) {
  for (bool with_details : {true, false}) {
    SCOPED_TRACE(with_details);
    log_.cancel_details = nullptr;
    Call("listen");
    log_.cancel_error = std::make_unique<StreamHandlerError>(
        "CODE", "msg",
        with_details ? std::make_unique<EncodableValue>(1) : nullptr);
    CaptureStderr();
    standin::Response response = Call("listen");
    std::string text = GetCapturedStderr();
    std::ostringstream expected;
    expected << "Failed to cancel existing stream: CODE, msg, "
             << static_cast<const void*>(log_.cancel_details);
    EXPECT_EQ(text, expected.str());
    EXPECT_EQ(response.bytes, kSuccess);
    Call("cancel");
  }
}

TEST_F(EventChannelTest, ListenErrorStillStartsTheStream) {
  log_.listen_error = std::make_unique<StreamHandlerError>(
      "LISTEN_FAILED", "no", std::make_unique<EncodableValue>(true));
  EncodableValue details(true);
  EXPECT_EQ(Call("listen").bytes,
            *Codec().EncodeErrorReply("LISTEN_FAILED", "no", &details));
  EXPECT_EQ(Call("cancel").bytes, kSuccess);
  EXPECT_EQ(log_.calls, "listen;cancel;");
}

TEST_F(EventChannelTest, CancelErrorStillStopsTheStream) {
  Call("listen");
  log_.cancel_error =
      std::make_unique<StreamHandlerError>("CANCEL_FAILED", "no", nullptr);
  EXPECT_EQ(Call("cancel").bytes, ErrorEnvelope("CANCEL_FAILED", "no"));
  EXPECT_EQ(Call("cancel").bytes,
            ErrorEnvelope("error", "No active stream to cancel"));
}

TEST_F(EventChannelTest, ListenPassesItsArguments) {
  MethodCall call("listen", std::make_unique<EncodableValue>(7));
  engine_.Deliver(kChannel, *Codec().EncodeCall(call));
  EXPECT_EQ(log_.calls, "listen(args);");
}

TEST_F(EventChannelTest, OtherMethodNamesGetTheEmptyResponse) {
  for (const char* method : {"Listen", "listen ", "cancelx", "other", ""}) {
    SCOPED_TRACE(method);
    standin::Response response = Call(method);
    EXPECT_EQ(response.state, kStandinResponded);
    EXPECT_TRUE(response.null_data);
  }
  EXPECT_EQ(log_.calls, "");
}

TEST_F(EventChannelTest, UndecodableMessageIsLoggedWithTheChannelName) {
  CaptureStderr();
  standin::Response response = engine_.Deliver(kChannel, {0x03, 1, 0, 0, 0});
  EXPECT_EQ(GetCapturedStderr(),
            "Invalid method call; method name is not a string.\n"
            "Unable to construct method call from message on channel: "
            "test/events\n");
  EXPECT_TRUE(response.null_data);
}

TEST_F(EventChannelTest, SinkSendsEnvelopesOnTheChannel) {
  Call("listen");
  ASSERT_EQ(log_.sinks.size(), 1u);
  EventSink& sink = *log_.sinks[0];
  sink.Success(EncodableValue(true));
  sink.Success();
  sink.Error("E", "m");
  sink.EndStream();

  std::vector<standin::OutboundMessage> sent = engine_.TakeOutbound();
  ASSERT_EQ(sent.size(), 4u);
  const Bytes expected[] = {{0x00, 0x01},
                            {0x00, 0x00},
                            {0x01, 0x07, 0x01, 'E', 0x07, 0x01, 'm', 0x00},
                            {}};
  for (size_t i = 0; i < sent.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(sent[i].channel, kChannel);
    EXPECT_FALSE(sent[i].with_reply);
    EXPECT_EQ(sent[i].bytes, expected[i]);
  }
}

TEST(EventChannelHandlerTest, MissingCallablesAnswerWithErrors) {
  standin::Engine engine;
  BinaryMessengerImpl messenger(engine.messenger());
  EventChannel(&messenger, kChannel, &Codec())
      .InstallStreamHandler(
          std::make_unique<StreamHandlerFunctions>(nullptr, nullptr));
  EXPECT_EQ(engine.Deliver(kChannel, CallBytes("listen")).bytes,
            ErrorEnvelope("error", "No OnListen handler set"));
  EXPECT_EQ(engine.Deliver(kChannel, CallBytes("cancel")).bytes,
            ErrorEnvelope("error", "No OnCancel handler set"));
  ExpectEngineBalanced(engine.counters());
}

class CountedHandler : public StreamHandler {
 public:
  explicit CountedHandler(int* alive) : alive_(alive) { ++*alive_; }
  ~CountedHandler() override { --*alive_; }

 protected:
  std::unique_ptr<StreamHandlerError> DoListen(
      const EncodableValue*, std::unique_ptr<EventSink>&&) override {
    return nullptr;
  }
  std::unique_ptr<StreamHandlerError> DoCancel(const EncodableValue*) override {
    return nullptr;
  }

 private:
  int* alive_;
};

TEST(EventChannelHandlerTest, RemovingTheHandlerDestroysTheStreamHandler) {
  standin::Engine engine;
  BinaryMessengerImpl messenger(engine.messenger());
  EventChannel channel(&messenger, kChannel, &Codec());
  int alive = 0;
  channel.InstallStreamHandler(std::make_unique<CountedHandler>(&alive));
  EXPECT_EQ(alive, 1);
  channel.InstallStreamHandler(nullptr);
  EXPECT_EQ(alive, 0);
  EXPECT_FALSE(engine.HasCallback(kChannel));
}

}  // namespace
}  // namespace flutter
