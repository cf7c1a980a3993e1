#ifndef CHANNELS_EVENT_SINK_IMPLEMENTATION_H_
#define CHANNELS_EVENT_SINK_IMPLEMENTATION_H_

#include <string>

#include "channels/binary_messenger.h"
#include "channels/event_sink.h"
#include "codec/method_codec.h"

namespace flutter {

// The event channel's sink: each event is one message on the channel, a
// success or error envelope; the end of the stream is an empty message. It
// keeps no stream state and sends whenever it is told to.
class EventSinkImplementation : public EventSink {
 public:
  // `messenger` and `codec` are borrowed: the sink may be used only while
  // the registrar that owns the messenger lives.
  EventSinkImplementation(const BinaryMessenger* messenger,
                          const std::string& name, const MethodCodec* codec)
      : messenger_(messenger), name_(name), codec_(codec) {}

 protected:
  void DoSuccess(const EncodableValue* event) override;
  void DoError(const std::string& error_code, const std::string& error_message,
               const EncodableValue* error_details) override;
  void DoEndStream() override;

 private:
  const BinaryMessenger* messenger_;
  std::string name_;
  const MethodCodec* codec_;
};

}  // namespace flutter

#endif  // CHANNELS_EVENT_SINK_IMPLEMENTATION_H_
