#include "channels/event_channel.h"

#include <iostream>
#include <utility>
#include <vector>

#include "channels/event_sink_implementation.h"
#include "channels/method_call.h"
#include "codec/byte_streams.h"

namespace flutter {
namespace {

using Envelope = std::unique_ptr<std::vector<uint8_t>>;

// The MessageHandler that serves "listen" and "cancel" on one channel.
class StreamMessageHandler {
 public:
  StreamMessageHandler(std::shared_ptr<StreamHandler> handler,
                       const MethodCodec* codec, const std::string& name,
                       BinaryMessenger* messenger)
      : handler_(std::move(handler)),
        codec_(codec),
        name_(name),
        messenger_(messenger) {}

  void operator()(const uint8_t* message, size_t message_size,
                  ReplyCallback reply) {
    std::unique_ptr<MethodCall> call =
        codec_->DecodeCall(message, message_size);
    if (!call) {
      LogLine(
          ("Unable to construct method call from message on channel: " + name_)
              .c_str());
      reply(nullptr, 0);
      return;
    }
    const std::string& method = call->method_name();
    if (method == "listen") {
      Send(Listen(call->arguments()), reply);
    } else if (method == "cancel") {
      Send(Cancel(call->arguments()), reply);
    } else {
      reply(nullptr, 0);
    }
  }

 private:
  Envelope Listen(const EncodableValue* arguments) {
    if (listening_) {
      // A new listener replaces the old stream; failing to stop it is only
      // reported, never answered.
      std::unique_ptr<StreamHandlerError> error = handler_->OnCancel(nullptr);
      if (error) {
        std::cerr << "Failed to cancel existing stream: " << error->error_code
                  << ", " << error->error_message << ", "
                  << static_cast<const void*>(error->error_details.get());
      }
    }
    listening_ = true;
    std::unique_ptr<EventSink> sink =
        std::make_unique<EventSinkImplementation>(messenger_, name_, codec_);
    return EnvelopeFor(handler_->OnListen(arguments, std::move(sink)));
  }

  Envelope Cancel(const EncodableValue* arguments) {
    if (!listening_) {
      return codec_->EncodeErrorReply("error", "No active stream to cancel",
                                      nullptr);
    }
    Envelope envelope = EnvelopeFor(handler_->OnCancel(arguments));
    listening_ = false;  // stopped, even when the handler reports an error
    return envelope;
  }

  Envelope EnvelopeFor(std::unique_ptr<StreamHandlerError> error) const {
    if (!error) return codec_->EncodeSuccessReply(nullptr);
    return codec_->EncodeErrorReply(error->error_code, error->error_message,
                                    error->error_details.get());
  }

  static void Send(const Envelope& envelope, const ReplyCallback& reply) {
    reply(envelope->data(), envelope->size());
  }

  // Shared by the copies of this handler.
  std::shared_ptr<StreamHandler> handler_;
  const MethodCodec* codec_;
  std::string name_;
  BinaryMessenger* messenger_;
  bool listening_ = false;
};

}  // namespace

void EventChannel::InstallStreamHandler(
    std::unique_ptr<StreamHandler> handler) const {
  if (!handler) {
    messenger_->InstallHandler(name_, nullptr);
    return;
  }
  messenger_->InstallHandler(
      name_,
      StreamMessageHandler(std::shared_ptr<StreamHandler>(std::move(handler)),
                           codec_, name_, messenger_));
}

}  // namespace flutter
