#include "channels/engine_reply.h"

#include "codec/byte_streams.h"

namespace flutter {

SharedEngineMessenger ShareEngineMessenger(
    FlutterDesktopMessengerRef messenger) {
  // Should allocating the count fail, shared_ptr releases the reference.
  return SharedEngineMessenger(FlutterDesktopMessengerAddRef(messenger),
                               &FlutterDesktopMessengerRelease);
}

void EngineReply::operator()(const uint8_t* reply, size_t reply_size) {
  FlutterDesktopMessengerRef messenger = messenger_.get();
  // The lock keeps the engine from shutting down between the availability
  // check and the send.
  FlutterDesktopMessengerRef locked = FlutterDesktopMessengerLock(messenger);
  if (FlutterDesktopMessengerIsAvailable(messenger)) {
    if (response_handle_ == nullptr) {
      LogLine(
          "Error: Response can be set only once. Ignoring duplicate response.");
    } else {
      FlutterDesktopMessengerSendResponse(messenger, response_handle_, reply,
                                          reply_size);
      response_handle_ = nullptr;
    }
  }
  if (locked != nullptr) FlutterDesktopMessengerUnlock(locked);
}

}  // namespace flutter
