#ifndef CHANNELS_EVENT_CHANNEL_H_
#define CHANNELS_EVENT_CHANNEL_H_

#include <memory>
#include <string>

#include "channels/binary_messenger.h"
#include "channels/stream_handler.h"
#include "codec/method_codec.h"

namespace flutter {

// Connects a channel name to a StreamHandler: the application's "listen" and
// "cancel" calls start and stop the stream, and each is answered with a
// success or error envelope. The installed handler keeps what it needs, so
// the channel object may be destroyed right after installing.
class EventChannel {
 public:
  // `messenger` and `codec` are borrowed and must outlive the installed
  // handler and every sink it hands out.
  EventChannel(BinaryMessenger* messenger, const std::string& name,
               const MethodCodec* codec)
      : messenger_(messenger), name_(name), codec_(codec) {}

  EventChannel(const EventChannel&) = delete;
  EventChannel& operator=(const EventChannel&) = delete;

  // Replaces the channel's handler; null removes it.
  void InstallStreamHandler(std::unique_ptr<StreamHandler> handler) const;

 private:
  BinaryMessenger* messenger_;
  std::string name_;
  const MethodCodec* codec_;
};

}  // namespace flutter

#endif  // CHANNELS_EVENT_CHANNEL_H_
