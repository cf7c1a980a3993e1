// Control interface of the engine stand-in: a substitute for the engine side
// of the FlutterDesktop* functions (channels/flutter_engine_api.h), for tests
// and for the command-line host.
//
// The stand-in is a plain C ABI, so that it works across the DLL boundary
// (flutter_windows.dll in the Windows build): only plain types and pointers
// cross it. Pointers that it returns point into memory that the engine owns;
// they stay valid as stated per function. The inline C++ wrapper at the end
// (namespace standin) copies everything into the caller's own containers.
//
// Threads: an engine and everything registered with it is driven from one
// thread at a time, as the real engine delivers platform messages on one.
//
// What the stand-in checks (misuse is counted, never a crash):
//  - every response handle is fresh per delivered message and valid for
//    exactly one FlutterDesktopMessengerSendResponse; a second send with it
//    counts as a duplicate response, a handle it never gave out (or null) as
//    an unknown response;
//  - a response sent while the messenger lock is not held, or after the
//    engine became unavailable, is counted;
//  - AddRef/Release and Lock/Unlock are counted; a Release or Unlock without
//    a matching AddRef or Lock counts as an invalid call;
//  - a call with a handle that belongs to no running engine writes a line
//    "standin: <function> called with an unknown handle" to standard error,
//    counts in StandinInvalidHandleCalls() and returns a null/false/-1 result.
#ifndef HOST_STANDIN_STANDIN_ENGINE_H_
#define HOST_STANDIN_STANDIN_ENGINE_H_

#include <stddef.h>
#include <stdint.h>

#include "channels/flutter_engine_api.h"

#ifdef __cplusplus
#include <string>
#include <vector>
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct StandinEngine StandinEngine;

// The outcome of delivering one message.
typedef enum {
  kStandinNoHandler = 0,  // no callback is set for the channel
  kStandinPending = 1,    // the callback returned without responding (yet)
  kStandinResponded = 2,  // a response has been sent for the message
} StandinResponseState;

typedef struct {
  StandinResponseState state;
  // The response bytes when state is kStandinResponded; null when the
  // response was sent with a null pointer. Owned by the engine, valid until
  // it is stopped.
  const uint8_t* data;
  size_t size;
} StandinResponse;

// One message that the system sent to the application.
typedef struct {
  uint64_t id;          // for StandinEngineReply; unique per engine
  const char* channel;  // NUL-terminated
  const uint8_t* data;  // null when size is 0
  size_t size;
  bool with_reply;     // sent with FlutterDesktopMessengerSendWithReply
  bool reply_pending;  // with_reply and not yet replied to
} StandinOutboundMessage;

// Counts since the engine was started.
typedef struct {
  int64_t add_refs;   // FlutterDesktopMessengerAddRef
  int64_t releases;   // FlutterDesktopMessengerRelease
  int64_t locks;      // FlutterDesktopMessengerLock
  int64_t unlocks;    // FlutterDesktopMessengerUnlock
  int64_t responses;  // accepted FlutterDesktopMessengerSendResponse calls
  int64_t duplicate_responses;    // with a handle already used
  int64_t unknown_responses;      // with a handle never given out, or null
  int64_t unlocked_responses;     // sent without holding the messenger lock
  int64_t unavailable_responses;  // sent while IsAvailable was false
  int64_t invalid_calls;          // Release without AddRef, Unlock without Lock
  int64_t sends;                  // FlutterDesktopMessengerSend
  int64_t sends_with_reply;  // accepted FlutterDesktopMessengerSendWithReply
  int64_t refused_sends_with_reply;  // SendWithReply answered with false
  int64_t replies_delivered;  // reply callbacks called by StandinEngineReply
  int64_t set_callbacks;      // SetCallback with a callback
  int64_t cleared_callbacks;  // SetCallback with a null callback
  int64_t texture_registrations;
  int64_t texture_frames_marked;
  int64_t texture_unregistrations;
  int64_t texture_completions;  // unregister completions run
} StandinCounters;

// Starts an engine with one plug-in registrar, with or without a view.
FLUTTER_ENGINE_API StandinEngine* StandinEngineStart(bool with_view);
// Stops the engine and frees it; its handles become unknown. Callbacks that
// are still set are not called; pending replies are never delivered.
FLUTTER_ENGINE_API void StandinEngineStop(StandinEngine* engine);

FLUTTER_ENGINE_API FlutterDesktopPluginRegistrarRef
StandinEngineRegistrar(StandinEngine* engine);
FLUTTER_ENGINE_API FlutterDesktopMessengerRef
StandinEngineMessenger(StandinEngine* engine);

// Delivers a copy of the bytes on `channel` to its callback with a fresh
// response handle, and returns the message's id (through `message_id`, may be
// null) and what has been answered by the time the callback returned.
FLUTTER_ENGINE_API StandinResponse StandinEngineDeliver(StandinEngine* engine,
                                                        const char* channel,
                                                        const uint8_t* data,
                                                        size_t size,
                                                        uint64_t* message_id);
// The response to a delivered message as of now (for a response that the
// system sends later). kStandinNoHandler for an id never delivered.
FLUTTER_ENGINE_API StandinResponse
StandinEngineResponseTo(StandinEngine* engine, uint64_t message_id);

// True while `channel` has a callback.
FLUTTER_ENGINE_API bool StandinEngineHasCallback(StandinEngine* engine,
                                                 const char* channel);

// Outbound messages in the order sent. The record and what it points to stay
// valid until StandinEngineClearOutbound or StandinEngineStop.
FLUTTER_ENGINE_API size_t StandinEngineOutboundCount(StandinEngine* engine);
FLUTTER_ENGINE_API bool StandinEngineOutboundAt(StandinEngine* engine,
                                                size_t index,
                                                StandinOutboundMessage* out);
// Forgets the recorded messages; pending replies can still be delivered.
FLUTTER_ENGINE_API void StandinEngineClearOutbound(StandinEngine* engine);
// Calls the reply of the outbound message `id` once with the bytes. False
// when that message has no pending reply.
FLUTTER_ENGINE_API bool StandinEngineReply(StandinEngine* engine, uint64_t id,
                                           const uint8_t* data, size_t size);
// With false, FlutterDesktopMessengerSendWithReply returns false and records
// nothing (the engine refuses the message). Initially true.
FLUTTER_ENGINE_API void StandinEngineSetAcceptSendWithReply(
    StandinEngine* engine, bool accept);

// What FlutterDesktopMessengerIsAvailable answers. Initially true.
FLUTTER_ENGINE_API void StandinEngineSetAvailable(StandinEngine* engine,
                                                  bool available);

FLUTTER_ENGINE_API StandinCounters
StandinEngineGetCounters(StandinEngine* engine);

// The record of the latest texture registration, copied. False when there
// was none. Registered ids start at 1; unregistering runs the completion
// before returning.
FLUTTER_ENGINE_API bool StandinEngineLastTextureInfo(
    StandinEngine* engine, FlutterDesktopTextureInfo* out);

// Calls, process-wide, with a handle of no running engine.
FLUTTER_ENGINE_API int64_t StandinInvalidHandleCalls(void);

#ifdef __cplusplus
}  // extern "C"

namespace standin {

struct Response {
  StandinResponseState state = kStandinNoHandler;
  std::vector<uint8_t> bytes;  // the response when state is kStandinResponded
  bool null_data = false;      // responded with a null pointer
  uint64_t message_id = 0;
};

struct OutboundMessage {
  uint64_t id = 0;
  std::string channel;
  std::vector<uint8_t> bytes;
  bool with_reply = false;
  bool reply_pending = false;
};

// One running engine for the lifetime of the object (or until Stop).
class Engine {
 public:
  explicit Engine(bool with_view = true)
      : engine_(StandinEngineStart(with_view)) {}
  ~Engine() { Stop(); }
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // Idempotent. Afterwards only the destructor may be called.
  void Stop() {
    if (engine_ != nullptr) StandinEngineStop(engine_);
    engine_ = nullptr;
  }

  FlutterDesktopPluginRegistrarRef registrar() const {
    return StandinEngineRegistrar(engine_);
  }
  FlutterDesktopMessengerRef messenger() const {
    return StandinEngineMessenger(engine_);
  }

  Response Deliver(const std::string& channel,
                   const std::vector<uint8_t>& bytes) {
    uint64_t id = 0;
    StandinResponse response = StandinEngineDeliver(
        engine_, channel.c_str(), bytes.data(), bytes.size(), &id);
    return Convert(response, id);
  }
  Response ResponseTo(uint64_t message_id) const {
    return Convert(StandinEngineResponseTo(engine_, message_id), message_id);
  }

  bool HasCallback(const std::string& channel) const {
    return StandinEngineHasCallback(engine_, channel.c_str());
  }

  std::vector<OutboundMessage> Outbound() const {
    std::vector<OutboundMessage> messages;
    size_t count = StandinEngineOutboundCount(engine_);
    for (size_t i = 0; i < count; ++i) {
      StandinOutboundMessage raw;
      if (!StandinEngineOutboundAt(engine_, i, &raw)) break;
      OutboundMessage message;
      message.id = raw.id;
      message.channel = raw.channel;
      if (raw.size > 0) message.bytes.assign(raw.data, raw.data + raw.size);
      message.with_reply = raw.with_reply;
      message.reply_pending = raw.reply_pending;
      messages.push_back(std::move(message));
    }
    return messages;
  }
  // Reads and clears the outbound messages.
  std::vector<OutboundMessage> TakeOutbound() {
    std::vector<OutboundMessage> messages = Outbound();
    StandinEngineClearOutbound(engine_);
    return messages;
  }
  bool Reply(uint64_t id, const std::vector<uint8_t>& bytes) {
    return StandinEngineReply(engine_, id, bytes.data(), bytes.size());
  }
  void SetAcceptSendWithReply(bool accept) {
    StandinEngineSetAcceptSendWithReply(engine_, accept);
  }

  void SetAvailable(bool available) {
    StandinEngineSetAvailable(engine_, available);
  }

  StandinCounters counters() const { return StandinEngineGetCounters(engine_); }

  bool LastTextureInfo(FlutterDesktopTextureInfo* out) const {
    return StandinEngineLastTextureInfo(engine_, out);
  }

  StandinEngine* get() const { return engine_; }

 private:
  static Response Convert(const StandinResponse& raw, uint64_t id) {
    Response response;
    response.state = raw.state;
    response.message_id = id;
    if (raw.state == kStandinResponded) {
      response.null_data = raw.data == nullptr;
      if (raw.size > 0 && raw.data != nullptr) {
        response.bytes.assign(raw.data, raw.data + raw.size);
      }
    }
    return response;
  }

  StandinEngine* engine_;
};

}  // namespace standin

#endif  // __cplusplus

#endif  // HOST_STANDIN_STANDIN_ENGINE_H_
