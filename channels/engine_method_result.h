#ifndef CHANNELS_ENGINE_METHOD_RESULT_H_
#define CHANNELS_ENGINE_METHOD_RESULT_H_

#include <memory>
#include <string>

#include "channels/binary_messenger.h"
#include "channels/method_result.h"
#include "channels/one_shot_reply.h"
#include "codec/encodable_value.h"
#include "codec/method_codec.h"

namespace flutter {

// The result of a method call from the engine: encodes the outcome as a
// reply envelope and answers the message once. A second outcome logs and
// is dropped; destruction without one logs a warning.
class EngineMethodResult : public MethodResult {
 public:
  // `codec` is borrowed and must outlive the result.
  EngineMethodResult(ReplyCallback reply, const MethodCodec* codec)
      : reply_(std::make_unique<OneShotReply>(std::move(reply))),
        codec_(codec) {}

 protected:
  void DoSuccess(const EncodableValue* result) override;
  void DoError(const std::string& error_code, const std::string& error_message,
               const EncodableValue* error_details) override;
  // Sends the empty response.
  void DoNotImplemented() override;

 private:
  std::unique_ptr<OneShotReply> reply_;
  const MethodCodec* codec_;
};

}  // namespace flutter

#endif  // CHANNELS_ENGINE_METHOD_RESULT_H_
