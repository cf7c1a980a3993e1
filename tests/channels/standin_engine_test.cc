// The engine stand-in must make misuse of the engine visible, since the
// channel tests rely on its counters.
#include "host/standin/standin_engine.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

const char kChannel[] = "test/channel";

// A channel callback that answers with whatever handle the test chooses.
struct Responder {
  int sends = 0;
  const FlutterDesktopMessageResponseHandle* handle = nullptr;
  bool use_message_handle = true;

  static void Callback(FlutterDesktopMessengerRef messenger,
                       const FlutterDesktopMessage* message, void* user_data) {
    auto* self = static_cast<Responder*>(user_data);
    if (self->use_message_handle) self->handle = message->response_handle;
    EXPECT_EQ(message->struct_size, sizeof(FlutterDesktopMessage));
    FlutterDesktopMessengerLock(messenger);
    for (int i = 0; i < self->sends; ++i) {
      const uint8_t reply[] = {static_cast<uint8_t>(i)};
      FlutterDesktopMessengerSendResponse(messenger, self->handle, reply, 1);
    }
    FlutterDesktopMessengerUnlock(messenger);
  }
};

TEST(StandinEngineTest, ResponseHandlesAreGoodForOneResponse) {
  standin::Engine engine;
  Responder responder;
  FlutterDesktopMessengerSetCallback(engine.messenger(), kChannel,
                                     Responder::Callback, &responder);
  responder.sends = 2;
  standin::Response first = engine.Deliver(kChannel, {1});
  EXPECT_EQ(first.bytes, std::vector<uint8_t>{0});
  EXPECT_EQ(engine.counters().duplicate_responses, 1);

  // A used handle stays known on later messages; a made-up one is unknown.
  responder.use_message_handle = false;
  responder.sends = 1;
  engine.Deliver(kChannel, {2});
  responder.handle =
      reinterpret_cast<const FlutterDesktopMessageResponseHandle*>(&responder);
  engine.Deliver(kChannel, {3});
  responder.handle = nullptr;
  engine.Deliver(kChannel, {4});

  StandinCounters counters = engine.counters();
  EXPECT_EQ(counters.responses, 1);
  EXPECT_EQ(counters.duplicate_responses, 2);
  EXPECT_EQ(counters.unknown_responses, 2);
  EXPECT_EQ(counters.unlocked_responses, 0);
}

TEST(StandinEngineTest, UnbalancedCallsAreCounted) {
  standin::Engine engine;
  FlutterDesktopMessengerRef messenger = engine.messenger();
  FlutterDesktopMessengerRelease(messenger);
  FlutterDesktopMessengerUnlock(messenger);
  EXPECT_EQ(FlutterDesktopMessengerAddRef(messenger), messenger);
  FlutterDesktopMessengerRelease(messenger);
  StandinCounters counters = engine.counters();
  EXPECT_EQ(counters.invalid_calls, 2);
  EXPECT_EQ(counters.add_refs, 1);
  EXPECT_EQ(counters.releases, 1);
}

TEST(StandinEngineTest, HandlesOfAStoppedEngineAreRefused) {
  auto engine = std::make_unique<standin::Engine>();
  FlutterDesktopMessengerRef messenger = engine->messenger();
  engine.reset();
  int64_t before = StandinInvalidHandleCalls();
  CaptureStderr();
  EXPECT_FALSE(FlutterDesktopMessengerIsAvailable(messenger));
  EXPECT_EQ(GetCapturedStderr(),
            "standin: FlutterDesktopMessengerIsAvailable called with an "
            "unknown handle\n");
  EXPECT_EQ(StandinInvalidHandleCalls(), before + 1);
}

TEST(StandinEngineTest, DeliveryWithoutCallbackHasNoHandler) {
  standin::Engine engine;
  EXPECT_EQ(engine.Deliver(kChannel, {1}).state, kStandinNoHandler);
  EXPECT_FALSE(engine.HasCallback(kChannel));
}

TEST(StandinEngineTest, PendingReplyIsDeliveredOnce) {
  standin::Engine engine;
  int calls = 0;
  auto reply = [](const uint8_t*, size_t, void* user_data) {
    ++*static_cast<int*>(user_data);
  };
  EXPECT_TRUE(FlutterDesktopMessengerSendWithReply(engine.messenger(), kChannel,
                                                   nullptr, 0, reply, &calls));
  uint64_t id = engine.Outbound().at(0).id;
  EXPECT_TRUE(engine.Reply(id, {}));
  EXPECT_FALSE(engine.Reply(id, {}));
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(engine.Outbound().at(0).reply_pending);
}

}  // namespace
