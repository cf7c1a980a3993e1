// The control interface: starting and stopping engines, delivering messages
// and reading what the system did.
#include "host/standin/standin_engine.h"

#include <utility>

#include "host/standin/engine_state.h"

namespace {

StandinResponse ResponseOf(const StandinEngine::Delivered& delivered) {
  StandinResponse response = {delivered.state, nullptr, 0};
  if (delivered.state == kStandinResponded && !delivered.null_response) {
    response.data = delivered.response.data();
    response.size = delivered.response.size();
  }
  return response;
}

const StandinResponse kNoHandler = {kStandinNoHandler, nullptr, 0};

}  // namespace

extern "C" {

StandinEngine* StandinEngineStart(bool with_view) {
  auto* engine = new StandinEngine;
  engine->with_view = with_view;
  standin::AddEngine(engine);
  return engine;
}

void StandinEngineStop(StandinEngine* engine) {
  if (engine == nullptr) return;
  standin::RemoveEngine(engine);
  delete engine;
}

FlutterDesktopPluginRegistrarRef StandinEngineRegistrar(StandinEngine* engine) {
  engine = standin::CheckedEngine(engine, "StandinEngineRegistrar");
  return engine == nullptr ? nullptr : engine->registrar();
}

FlutterDesktopMessengerRef StandinEngineMessenger(StandinEngine* engine) {
  engine = standin::CheckedEngine(engine, "StandinEngineMessenger");
  return engine == nullptr ? nullptr : engine->messenger();
}

StandinResponse StandinEngineDeliver(StandinEngine* engine, const char* channel,
                                     const uint8_t* data, size_t size,
                                     uint64_t* message_id) {
  if (message_id != nullptr) *message_id = 0;
  engine = standin::CheckedEngine(engine, "StandinEngineDeliver");
  if (engine == nullptr || channel == nullptr) return kNoHandler;
  auto found = engine->callbacks.find(channel);
  if (found == engine->callbacks.end()) return kNoHandler;
  StandinEngine::Callback callback = found->second;

  engine->delivered.push_back(std::make_unique<StandinEngine::Delivered>());
  StandinEngine::Delivered* delivered = engine->delivered.back().get();
  delivered->id = engine->delivered.size();
  if (message_id != nullptr) *message_id = delivered->id;

  // A copy of exactly `size` bytes, so that a read past the end of the
  // message is caught by the sanitizers.
  std::vector<uint8_t> bytes;
  if (data != nullptr && size > 0) bytes.assign(data, data + size);
  std::string name = channel;
  FlutterDesktopMessage message = {
      sizeof(FlutterDesktopMessage), name.c_str(),
      bytes.empty() ? nullptr : bytes.data(), bytes.size(),
      reinterpret_cast<const FlutterDesktopMessageResponseHandle*>(delivered)};
  callback.function(engine->messenger(), &message, callback.user_data);
  return ResponseOf(*delivered);
}

StandinResponse StandinEngineResponseTo(StandinEngine* engine,
                                        uint64_t message_id) {
  engine = standin::CheckedEngine(engine, "StandinEngineResponseTo");
  if (engine == nullptr || message_id == 0 ||
      message_id > engine->delivered.size()) {
    return kNoHandler;
  }
  return ResponseOf(*engine->delivered[message_id - 1]);
}

bool StandinEngineHasCallback(StandinEngine* engine, const char* channel) {
  engine = standin::CheckedEngine(engine, "StandinEngineHasCallback");
  return engine != nullptr && channel != nullptr &&
         engine->callbacks.count(channel) != 0;
}

size_t StandinEngineOutboundCount(StandinEngine* engine) {
  engine = standin::CheckedEngine(engine, "StandinEngineOutboundCount");
  return engine == nullptr ? 0 : engine->outbound.size();
}

bool StandinEngineOutboundAt(StandinEngine* engine, size_t index,
                             StandinOutboundMessage* out) {
  engine = standin::CheckedEngine(engine, "StandinEngineOutboundAt");
  if (engine == nullptr || out == nullptr || index >= engine->outbound.size()) {
    return false;
  }
  const StandinEngine::Outbound& message = *engine->outbound[index];
  out->id = message.id;
  out->channel = message.channel.c_str();
  out->data = message.bytes.empty() ? nullptr : message.bytes.data();
  out->size = message.bytes.size();
  out->with_reply = message.with_reply;
  out->reply_pending = message.reply_pending;
  return true;
}

void StandinEngineClearOutbound(StandinEngine* engine) {
  engine = standin::CheckedEngine(engine, "StandinEngineClearOutbound");
  if (engine != nullptr) engine->outbound.clear();
}

bool StandinEngineReply(StandinEngine* engine, uint64_t id, const uint8_t* data,
                        size_t size) {
  engine = standin::CheckedEngine(engine, "StandinEngineReply");
  if (engine == nullptr) return false;
  auto found = engine->pending_replies.find(id);
  if (found == engine->pending_replies.end()) return false;
  StandinEngine::PendingReply reply = found->second;
  engine->pending_replies.erase(found);
  for (auto& message : engine->outbound) {
    if (message->id == id) message->reply_pending = false;
  }
  ++engine->counters.replies_delivered;
  std::vector<uint8_t> bytes;
  if (data != nullptr && size > 0) bytes.assign(data, data + size);
  reply.function(bytes.empty() ? nullptr : bytes.data(), bytes.size(),
                 reply.user_data);
  return true;
}

void StandinEngineSetAcceptSendWithReply(StandinEngine* engine, bool accept) {
  engine =
      standin::CheckedEngine(engine, "StandinEngineSetAcceptSendWithReply");
  if (engine != nullptr) engine->accept_send_with_reply = accept;
}

void StandinEngineSetAvailable(StandinEngine* engine, bool available) {
  engine = standin::CheckedEngine(engine, "StandinEngineSetAvailable");
  if (engine != nullptr) engine->available = available;
}

StandinCounters StandinEngineGetCounters(StandinEngine* engine) {
  engine = standin::CheckedEngine(engine, "StandinEngineGetCounters");
  return engine == nullptr ? StandinCounters{} : engine->counters;
}

bool StandinEngineLastTextureInfo(StandinEngine* engine,
                                  FlutterDesktopTextureInfo* out) {
  engine = standin::CheckedEngine(engine, "StandinEngineLastTextureInfo");
  if (engine == nullptr || out == nullptr || !engine->has_texture_info) {
    return false;
  }
  *out = engine->last_texture_info;
  return true;
}

}  // extern "C"
