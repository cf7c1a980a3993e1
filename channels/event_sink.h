#ifndef CHANNELS_EVENT_SINK_H_
#define CHANNELS_EVENT_SINK_H_

#include <string>

#include "codec/encodable_value.h"

namespace flutter {

// Sends the events of one stream to the application.
class EventSink {
 public:
  EventSink() = default;
  virtual ~EventSink() = default;

  EventSink(const EventSink&) = delete;
  EventSink& operator=(const EventSink&) = delete;

  void Success(const EncodableValue& event) { DoSuccess(&event); }
  void Success() { DoSuccess(nullptr); }
  // Without details, DoError receives null details.
  void Error(const std::string& error_code,
             const std::string& error_message = "") {
    DoError(error_code, error_message, nullptr);
  }
  void Error(const std::string& error_code, const std::string& error_message,
             const EncodableValue& error_details) {
    DoError(error_code, error_message, &error_details);
  }
  void EndStream() { DoEndStream(); }

 protected:
  // `event` is null for no value.
  virtual void DoSuccess(const EncodableValue* event) = 0;
  // `error_details` is null for none.
  virtual void DoError(const std::string& error_code,
                       const std::string& error_message,
                       const EncodableValue* error_details) = 0;
  virtual void DoEndStream() = 0;
};

}  // namespace flutter

#endif  // CHANNELS_EVENT_SINK_H_
