#include "channels/event_sink_implementation.h"

namespace flutter {

void EventSinkImplementation::DoSuccess(const EncodableValue* event) {
  auto envelope = codec_->EncodeSuccessReply(event);
  messenger_->Send(name_, envelope->data(), envelope->size(), nullptr);
}

void EventSinkImplementation::DoError(const std::string& error_code,
                                      const std::string& error_message,
                                      const EncodableValue* error_details) {
  auto envelope =
      codec_->EncodeErrorReply(error_code, error_message, error_details);
  messenger_->Send(name_, envelope->data(), envelope->size(), nullptr);
}

void EventSinkImplementation::DoEndStream() {
  messenger_->Send(name_, nullptr, 0, nullptr);
}

}  // namespace flutter
