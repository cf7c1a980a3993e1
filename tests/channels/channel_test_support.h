// Helpers shared by the channel tests: message bytes and the engine-side
// checks that every message must leave behind.
#ifndef TESTS_CHANNELS_CHANNEL_TEST_SUPPORT_H_
#define TESTS_CHANNELS_CHANNEL_TEST_SUPPORT_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "channels/method_call.h"
#include "codec/encodable_value.h"
#include "codec/standard_method_codec.h"
#include "host/standin/standin_engine.h"

namespace flutter {
namespace testing_support {

using Bytes = std::vector<uint8_t>;

inline const StandardMethodCodec& Codec() {
  return StandardMethodCodec::SharedInstance();
}

// The encoded method call `name` without arguments.
inline Bytes CallBytes(const std::string& name) {
  return *Codec().EncodeCall(MethodCall(name, nullptr));
}

// Every reference taken was returned, every lock released, and the engine
// saw no misuse.
inline void ExpectEngineBalanced(const StandinCounters& counters) {
  EXPECT_EQ(counters.add_refs, counters.releases);
  EXPECT_EQ(counters.locks, counters.unlocks);
  EXPECT_EQ(counters.duplicate_responses, 0);
  EXPECT_EQ(counters.unknown_responses, 0);
  EXPECT_EQ(counters.unlocked_responses, 0);
  EXPECT_EQ(counters.unavailable_responses, 0);
  EXPECT_EQ(counters.invalid_calls, 0);
}

// Counts how many of its copies are alive; a cheap way to see that a
// callable (and what it captured) has been destroyed.
using Sentinel = std::shared_ptr<int>;
inline Sentinel MakeSentinel() { return std::make_shared<int>(0); }

}  // namespace testing_support
}  // namespace flutter

#endif  // TESTS_CHANNELS_CHANNEL_TEST_SUPPORT_H_
