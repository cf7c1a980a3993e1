#ifndef CHANNELS_STREAM_HANDLER_H_
#define CHANNELS_STREAM_HANDLER_H_

#include <memory>
#include <string>
#include <utility>

#include "channels/event_sink.h"
#include "codec/encodable_value.h"

namespace flutter {

// The error a stream handler answers "listen" or "cancel" with.
struct StreamHandlerError {
  StreamHandlerError(const std::string& error_code,
                     const std::string& error_message,
                     std::unique_ptr<EncodableValue> error_details)
      : error_code(error_code),
        error_message(error_message),
        error_details(std::move(error_details)) {}

  const std::string error_code;
  const std::string error_message;
  const std::unique_ptr<EncodableValue> error_details;  // null for none
};

// Starts and stops the stream of an event channel. A null error means
// success.
class StreamHandler {
 public:
  StreamHandler() = default;
  virtual ~StreamHandler() = default;

  StreamHandler(const StreamHandler&) = delete;
  StreamHandler& operator=(const StreamHandler&) = delete;

  // `arguments` is null when absent. The handler may take `events` (move
  // from it) to keep sending; what it leaves there is destroyed afterwards.
  std::unique_ptr<StreamHandlerError> OnListen(
      const EncodableValue* arguments, std::unique_ptr<EventSink>&& events) {
    return DoListen(arguments, std::move(events));
  }
  std::unique_ptr<StreamHandlerError> OnCancel(
      const EncodableValue* arguments) {
    return DoCancel(arguments);
  }

 protected:
  virtual std::unique_ptr<StreamHandlerError> DoListen(
      const EncodableValue* arguments, std::unique_ptr<EventSink>&& events) = 0;
  virtual std::unique_ptr<StreamHandlerError> DoCancel(
      const EncodableValue* arguments) = 0;
};

}  // namespace flutter

#endif  // CHANNELS_STREAM_HANDLER_H_
