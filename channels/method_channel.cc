#include "channels/method_channel.h"

#include <utility>

#include "channels/engine_method_result.h"
#include "codec/byte_streams.h"

namespace flutter {

void MethodChannel::InstallCallHandler(CallHandler handler) const {
  if (!handler) {
    messenger_->InstallHandler(name_, nullptr);
    return;
  }
  const MethodCodec* codec = codec_;
  std::string name = name_;
  messenger_->InstallHandler(name_, [handler = std::move(handler), codec, name](
                                        const uint8_t* message,
                                        size_t message_size,
                                        ReplyCallback reply) {
    // Created before decoding, so that every message is answered.
    auto result = std::make_unique<EngineMethodResult>(std::move(reply), codec);
    std::unique_ptr<MethodCall> call = codec->DecodeCall(message, message_size);
    if (!call) {
      LogLine(
          ("Unable to construct method call from message on channel " + name)
              .c_str());
      result->NotImplemented();
      return;
    }
    handler(*call, std::move(result));
  });
}

}  // namespace flutter
