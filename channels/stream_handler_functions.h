#ifndef CHANNELS_STREAM_HANDLER_FUNCTIONS_H_
#define CHANNELS_STREAM_HANDLER_FUNCTIONS_H_

#include <functional>
#include <memory>
#include <utility>

#include "channels/event_sink.h"
#include "channels/stream_handler.h"
#include "codec/encodable_value.h"

namespace flutter {

using StreamHandlerListen = std::function<std::unique_ptr<StreamHandlerError>(
    const EncodableValue* arguments, std::unique_ptr<EventSink>&& events)>;
using StreamHandlerCancel = std::function<std::unique_ptr<StreamHandlerError>(
    const EncodableValue* arguments)>;

// A StreamHandler made of two callables. A missing one answers with the
// error "error" / "No OnListen handler set" (or "No OnCancel handler set").
class StreamHandlerFunctions : public StreamHandler {
 public:
  StreamHandlerFunctions(StreamHandlerListen on_listen,
                         StreamHandlerCancel on_cancel)
      : on_listen_(std::move(on_listen)), on_cancel_(std::move(on_cancel)) {}

 protected:
  std::unique_ptr<StreamHandlerError> DoListen(
      const EncodableValue* arguments,
      std::unique_ptr<EventSink>&& events) override {
    if (!on_listen_) {
      return std::make_unique<StreamHandlerError>(
          "error", "No OnListen handler set", nullptr);
    }
    return on_listen_(arguments, std::move(events));
  }

  std::unique_ptr<StreamHandlerError> DoCancel(
      const EncodableValue* arguments) override {
    if (!on_cancel_) {
      return std::make_unique<StreamHandlerError>(
          "error", "No OnCancel handler set", nullptr);
    }
    return on_cancel_(arguments);
  }

 private:
  StreamHandlerListen on_listen_;
  StreamHandlerCancel on_cancel_;
};

}  // namespace flutter

#endif  // CHANNELS_STREAM_HANDLER_FUNCTIONS_H_
