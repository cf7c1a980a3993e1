#ifndef CHANNELS_ENGINE_REPLY_H_
#define CHANNELS_ENGINE_REPLY_H_

#include <cstddef>
#include <cstdint>
#include <memory>

#include "channels/flutter_engine_api.h"

namespace flutter {

// Shares one engine reference on the messenger; the last owner releases it.
using SharedEngineMessenger = std::shared_ptr<FlutterDesktopMessenger>;

// Takes a reference on `messenger` for the returned share.
SharedEngineMessenger ShareEngineMessenger(
    FlutterDesktopMessengerRef messenger);

// The reply to one incoming engine message, used as its ReplyCallback. It
// sends at most one response, under the engine messenger's lock; a response
// after the engine has gone is dropped silently.
class EngineReply {
 public:
  EngineReply(SharedEngineMessenger messenger,
              const FlutterDesktopMessageResponseHandle* response_handle)
      : messenger_(std::move(messenger)), response_handle_(response_handle) {}

  void operator()(const uint8_t* reply, size_t reply_size);

 private:
  SharedEngineMessenger messenger_;
  // Null once the response has been sent: the engine takes the handle back.
  const FlutterDesktopMessageResponseHandle* response_handle_;
};

}  // namespace flutter

#endif  // CHANNELS_ENGINE_REPLY_H_
