#ifndef CHANNELS_METHOD_CHANNEL_H_
#define CHANNELS_METHOD_CHANNEL_H_

#include <functional>
#include <memory>
#include <string>

#include "channels/binary_messenger.h"
#include "channels/method_call.h"
#include "channels/method_result.h"
#include "codec/method_codec.h"

namespace flutter {

// Handles one method call; owns `result` and must give it exactly one
// outcome.
using CallHandler = std::function<void(const MethodCall& call,
                                       std::unique_ptr<MethodResult> result)>;

// Connects a channel name to a CallHandler. The installed handler keeps what
// it needs, so the channel object may be destroyed right after installing.
class MethodChannel {
 public:
  // `messenger` and `codec` are borrowed and must outlive the installed
  // handler.
  MethodChannel(BinaryMessenger* messenger, const std::string& name,
                const MethodCodec* codec)
      : messenger_(messenger), name_(name), codec_(codec) {}

  MethodChannel(const MethodChannel&) = delete;
  MethodChannel& operator=(const MethodChannel&) = delete;

  // Replaces the channel's handler; an empty handler removes it. Messages
  // that are not method calls are logged and get the empty response.
  void InstallCallHandler(CallHandler handler) const;

 private:
  BinaryMessenger* messenger_;
  std::string name_;
  const MethodCodec* codec_;
};

}  // namespace flutter

#endif  // CHANNELS_METHOD_CHANNEL_H_
