// The engine's messenger functions: callbacks per channel, responses through
// one-use handles, outbound messages, references and the messenger lock.
#include <cstring>
#include <string>

#include "host/standin/engine_state.h"

namespace {

std::vector<uint8_t> CopyBytes(const uint8_t* data, size_t size) {
  if (data == nullptr || size == 0) return {};
  return std::vector<uint8_t>(data, data + size);
}

StandinEngine::Delivered* FindDelivered(
    StandinEngine* engine, const FlutterDesktopMessageResponseHandle* handle) {
  for (const auto& delivered : engine->delivered) {
    if (reinterpret_cast<const FlutterDesktopMessageResponseHandle*>(
            delivered.get()) == handle) {
      return delivered.get();
    }
  }
  return nullptr;
}

// Records an outbound message and returns its id.
uint64_t Record(StandinEngine* engine, const char* channel,
                const uint8_t* message, size_t size, bool with_reply) {
  auto outbound = std::make_unique<StandinEngine::Outbound>();
  outbound->id = engine->next_outbound_id++;
  outbound->channel = channel;
  outbound->bytes = CopyBytes(message, size);
  outbound->with_reply = with_reply;
  outbound->reply_pending = with_reply;
  uint64_t id = outbound->id;
  engine->outbound.push_back(std::move(outbound));
  return id;
}

}  // namespace

extern "C" {

bool FlutterDesktopMessengerSend(FlutterDesktopMessengerRef messenger,
                                 const char* channel, const uint8_t* message,
                                 size_t message_size) {
  StandinEngine* engine =
      standin::EngineOfMessenger(messenger, "FlutterDesktopMessengerSend");
  if (engine == nullptr || channel == nullptr) return false;
  ++engine->counters.sends;
  Record(engine, channel, message, message_size, false);
  return true;
}

bool FlutterDesktopMessengerSendWithReply(FlutterDesktopMessengerRef messenger,
                                          const char* channel,
                                          const uint8_t* message,
                                          size_t message_size,
                                          FlutterDesktopBinaryReply reply,
                                          void* user_data) {
  StandinEngine* engine = standin::EngineOfMessenger(
      messenger, "FlutterDesktopMessengerSendWithReply");
  if (engine == nullptr || channel == nullptr) return false;
  if (!engine->accept_send_with_reply) {
    ++engine->counters.refused_sends_with_reply;
    return false;
  }
  ++engine->counters.sends_with_reply;
  uint64_t id =
      Record(engine, channel, message, message_size, reply != nullptr);
  if (reply != nullptr) engine->pending_replies[id] = {reply, user_data};
  return true;
}

void FlutterDesktopMessengerSendResponse(
    FlutterDesktopMessengerRef messenger,
    const FlutterDesktopMessageResponseHandle* handle, const uint8_t* data,
    size_t data_length) {
  StandinEngine* engine = standin::EngineOfMessenger(
      messenger, "FlutterDesktopMessengerSendResponse");
  if (engine == nullptr) return;
  if (engine->lock_depth == 0) ++engine->counters.unlocked_responses;
  if (!engine->available) ++engine->counters.unavailable_responses;
  StandinEngine::Delivered* delivered =
      handle == nullptr ? nullptr : FindDelivered(engine, handle);
  if (delivered == nullptr) {
    ++engine->counters.unknown_responses;
    return;
  }
  if (delivered->state == kStandinResponded) {
    ++engine->counters.duplicate_responses;
    return;
  }
  if (data == nullptr && data_length != 0) {
    ++engine->counters.invalid_calls;
    data_length = 0;
  }
  ++engine->counters.responses;
  delivered->state = kStandinResponded;
  delivered->null_response = data == nullptr;
  delivered->response = CopyBytes(data, data_length);
}

void FlutterDesktopMessengerSetCallback(FlutterDesktopMessengerRef messenger,
                                        const char* channel,
                                        FlutterDesktopMessageCallback callback,
                                        void* user_data) {
  StandinEngine* engine = standin::EngineOfMessenger(
      messenger, "FlutterDesktopMessengerSetCallback");
  if (engine == nullptr) return;
  if (channel == nullptr) {
    ++engine->counters.invalid_calls;
    return;
  }
  if (callback == nullptr) {
    ++engine->counters.cleared_callbacks;
    engine->callbacks.erase(channel);
    return;
  }
  ++engine->counters.set_callbacks;
  engine->callbacks[channel] = {callback, user_data};
}

FlutterDesktopMessengerRef FlutterDesktopMessengerAddRef(
    FlutterDesktopMessengerRef messenger) {
  StandinEngine* engine =
      standin::EngineOfMessenger(messenger, "FlutterDesktopMessengerAddRef");
  if (engine == nullptr) return nullptr;
  ++engine->counters.add_refs;
  return messenger;
}

void FlutterDesktopMessengerRelease(FlutterDesktopMessengerRef messenger) {
  StandinEngine* engine =
      standin::EngineOfMessenger(messenger, "FlutterDesktopMessengerRelease");
  if (engine == nullptr) return;
  if (engine->counters.releases >= engine->counters.add_refs) {
    ++engine->counters.invalid_calls;
    return;
  }
  ++engine->counters.releases;
}

bool FlutterDesktopMessengerIsAvailable(FlutterDesktopMessengerRef messenger) {
  StandinEngine* engine = standin::EngineOfMessenger(
      messenger, "FlutterDesktopMessengerIsAvailable");
  return engine != nullptr && engine->available;
}

// The lock is a depth count, not a mutex: one thread drives an engine, and a
// missing unlock must show up in the counters rather than as a hang.
FlutterDesktopMessengerRef FlutterDesktopMessengerLock(
    FlutterDesktopMessengerRef messenger) {
  StandinEngine* engine =
      standin::EngineOfMessenger(messenger, "FlutterDesktopMessengerLock");
  if (engine == nullptr) return nullptr;
  ++engine->counters.locks;
  ++engine->lock_depth;
  return messenger;
}

void FlutterDesktopMessengerUnlock(FlutterDesktopMessengerRef messenger) {
  StandinEngine* engine =
      standin::EngineOfMessenger(messenger, "FlutterDesktopMessengerUnlock");
  if (engine == nullptr) return;
  if (engine->lock_depth == 0) {
    ++engine->counters.invalid_calls;
    return;
  }
  --engine->lock_depth;
  ++engine->counters.unlocks;
}

}  // extern "C"
