#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "channels/binary_messenger_impl.h"
#include "host/standin/standin_engine.h"
#include "tests/channels/channel_test_support.h"

namespace flutter {
namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;
using testing_support::Bytes;
using testing_support::ExpectEngineBalanced;
using testing_support::MakeSentinel;

const char kChannel[] = "test/channel";
const char kDuplicateResponse[] =
    "Error: Response can be set only once. Ignoring duplicate response.\n";

class BinaryMessengerTest : public ::testing::Test {
 protected:
  standin::Engine engine_;
  std::unique_ptr<BinaryMessengerImpl> messenger_ =
      std::make_unique<BinaryMessengerImpl>(engine_.messenger());
};

TEST_F(BinaryMessengerTest, HandlerAnswersOnceUnderTheLock) {
  Bytes received;
  messenger_->InstallHandler(
      kChannel, [&](const uint8_t* message, size_t size, ReplyCallback reply) {
        received.assign(message, message + size);
        const uint8_t answer[] = {1, 2};
        reply(answer, sizeof(answer));
      });
  CaptureStderr();
  standin::Response response = engine_.Deliver(kChannel, {7, 8, 9});
  EXPECT_EQ(GetCapturedStderr(), "");

  EXPECT_EQ(received, Bytes({7, 8, 9}));
  EXPECT_EQ(response.state, kStandinResponded);
  EXPECT_EQ(response.bytes, Bytes({1, 2}));
  StandinCounters counters = engine_.counters();
  EXPECT_EQ(counters.add_refs, 1);
  EXPECT_EQ(counters.locks, 1);
  EXPECT_EQ(counters.responses, 1);
  ExpectEngineBalanced(counters);
}

TEST_F(BinaryMessengerTest, SecondReplyLogsAndSendsNothing) {
  messenger_->InstallHandler(kChannel,
                             [](const uint8_t*, size_t, ReplyCallback reply) {
                               const uint8_t first[] = {1};
                               const uint8_t second[] = {2};
                               reply(first, 1);
                               reply(second, 1);
                             });
  CaptureStderr();
  standin::Response response = engine_.Deliver(kChannel, {0});
  EXPECT_EQ(GetCapturedStderr(), kDuplicateResponse);

  EXPECT_EQ(response.bytes, Bytes({1}));
  StandinCounters counters = engine_.counters();
  EXPECT_EQ(counters.responses, 1);
  EXPECT_EQ(counters.locks, 2);
  ExpectEngineBalanced(counters);
}

// A kept reply holds its engine reference until it is dropped, and may answer
// later.
TEST_F(BinaryMessengerTest, KeptReplyAnswersLaterAndThenReleases) {
  ReplyCallback kept;
  messenger_->InstallHandler(kChannel,
                             [&](const uint8_t*, size_t, ReplyCallback reply) {
                               kept = std::move(reply);
                             });
  standin::Response response = engine_.Deliver(kChannel, {0});
  EXPECT_EQ(response.state, kStandinPending);
  EXPECT_EQ(engine_.counters().releases, 0);

  const uint8_t answer[] = {9};
  kept(answer, 1);
  EXPECT_EQ(engine_.ResponseTo(response.message_id).bytes, Bytes({9}));
  EXPECT_EQ(engine_.counters().releases, 0);
  kept = nullptr;
  EXPECT_EQ(engine_.counters().releases, 1);
  ExpectEngineBalanced(engine_.counters());
}

TEST_F(BinaryMessengerTest, ReplyAfterEngineIsGoneIsDroppedSilently) {
  ReplyCallback kept;
  messenger_->InstallHandler(kChannel,
                             [&](const uint8_t*, size_t, ReplyCallback reply) {
                               kept = std::move(reply);
                             });
  standin::Response response = engine_.Deliver(kChannel, {0});
  engine_.SetAvailable(false);

  CaptureStderr();
  kept(nullptr, 0);
  kept(nullptr, 0);  // still no line: the handle is never looked at
  EXPECT_EQ(GetCapturedStderr(), "");
  kept = nullptr;

  EXPECT_EQ(engine_.ResponseTo(response.message_id).state, kStandinPending);
  StandinCounters counters = engine_.counters();
  EXPECT_EQ(counters.responses, 0);
  EXPECT_EQ(counters.locks, 2);
  ExpectEngineBalanced(counters);
}

TEST_F(BinaryMessengerTest, ReinstallingReplacesAndDestroysTheOldHandler) {
  auto sentinel = MakeSentinel();
  std::string called;
  messenger_->InstallHandler(
      kChannel, [&called, sentinel](const uint8_t*, size_t, ReplyCallback r) {
        called += "first;";
        r(nullptr, 0);
      });
  messenger_->InstallHandler(
      kChannel, [&called](const uint8_t*, size_t, ReplyCallback r) {
        called += "second;";
        r(nullptr, 0);
      });
  EXPECT_EQ(sentinel.use_count(), 1);
  EXPECT_EQ(engine_.counters().set_callbacks, 2);

  EXPECT_EQ(engine_.Deliver(kChannel, {0}).state, kStandinResponded);
  EXPECT_EQ(called, "second;");
}

TEST_F(BinaryMessengerTest, EmptyHandlerRemovesEntryAndEngineCallback) {
  auto sentinel = MakeSentinel();
  messenger_->InstallHandler(
      kChannel, [sentinel](const uint8_t*, size_t, ReplyCallback) {});
  messenger_->InstallHandler(kChannel, nullptr);
  EXPECT_EQ(sentinel.use_count(), 1);
  EXPECT_FALSE(engine_.HasCallback(kChannel));

  // A name that never had a handler is still cleared in the engine.
  messenger_->InstallHandler("never/installed", nullptr);
  EXPECT_EQ(engine_.counters().cleared_callbacks, 2);
  EXPECT_EQ(engine_.Deliver(kChannel, {0}).state, kStandinNoHandler);
}

TEST_F(BinaryMessengerTest, DestructionLeavesTheEngineAlone) {
  messenger_->InstallHandler(kChannel,
                             [](const uint8_t*, size_t, ReplyCallback) {});
  StandinCounters before = engine_.counters();
  messenger_.reset();
  StandinCounters after = engine_.counters();
  EXPECT_EQ(after.cleared_callbacks, before.cleared_callbacks);
  EXPECT_EQ(after.set_callbacks, before.set_callbacks);
  EXPECT_TRUE(engine_.HasCallback(kChannel));
}

TEST_F(BinaryMessengerTest, SendWithoutReplyUsesPlainSend) {
  const uint8_t message[] = {4, 5};
  messenger_->Send(kChannel, message, sizeof(message), nullptr);

  std::vector<standin::OutboundMessage> sent = engine_.TakeOutbound();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].channel, kChannel);
  EXPECT_EQ(sent[0].bytes, Bytes({4, 5}));
  EXPECT_FALSE(sent[0].with_reply);
  EXPECT_EQ(engine_.counters().sends_with_reply, 0);
}

TEST_F(BinaryMessengerTest, SendWithReplyDeliversTheAnswerOnce) {
  Bytes answer;
  int calls = 0;
  auto sentinel = MakeSentinel();
  messenger_->Send(kChannel, nullptr, 0,
                   [&, sentinel](const uint8_t* reply, size_t size) {
                     ++calls;
                     answer.assign(reply, reply + size);
                   });
  std::vector<standin::OutboundMessage> sent = engine_.TakeOutbound();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_TRUE(sent[0].reply_pending);
  EXPECT_EQ(sentinel.use_count(), 2);  // held until the engine answers

  EXPECT_TRUE(engine_.Reply(sent[0].id, {6, 7}));
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(answer, Bytes({6, 7}));
  EXPECT_EQ(sentinel.use_count(), 1);
}

TEST_F(BinaryMessengerTest, RefusedSendWithReplyFreesTheReplyAtOnce) {
  engine_.SetAcceptSendWithReply(false);
  bool called = false;
  auto sentinel = MakeSentinel();
  messenger_->Send(
      kChannel, nullptr, 0,
      [&called, sentinel](const uint8_t*, size_t) { called = true; });
  EXPECT_EQ(sentinel.use_count(), 1);
  EXPECT_FALSE(called);
  EXPECT_EQ(engine_.counters().refused_sends_with_reply, 1);
  EXPECT_TRUE(engine_.Outbound().empty());
}

// Exceptions must not unwind into the engine; the dropped reply still
// returns its reference.
TEST_F(BinaryMessengerTest, HandlerExceptionStopsAtTheEngineBoundary) {
  messenger_->InstallHandler(kChannel,
                             [](const uint8_t*, size_t, ReplyCallback) {
                               throw std::runtime_error("boom");
                             });
  CaptureStderr();
  standin::Response response = engine_.Deliver(kChannel, {0});
  EXPECT_EQ(GetCapturedStderr(), "Exception in message handler: boom\n");
  EXPECT_EQ(response.state, kStandinPending);
  ExpectEngineBalanced(engine_.counters());
}

}  // namespace
}  // namespace flutter
