#ifndef CODEC_METHOD_CODEC_H_
#define CODEC_METHOD_CODEC_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "channels/method_call.h"
#include "channels/method_result.h"
#include "codec/encodable_value.h"

namespace flutter {

// Turns method calls and their answers into messages and back.
class MethodCodec {
 public:
  MethodCodec() = default;
  virtual ~MethodCodec() = default;

  MethodCodec(const MethodCodec&) = delete;
  MethodCodec& operator=(const MethodCodec&) = delete;

  // Null when the message is not a method call.
  virtual std::unique_ptr<MethodCall> DecodeCall(const uint8_t* message,
                                                 size_t message_size) const = 0;
  virtual std::unique_ptr<std::vector<uint8_t>> EncodeCall(
      const MethodCall& call) const = 0;
  // `result` is null for no value.
  virtual std::unique_ptr<std::vector<uint8_t>> EncodeSuccessReply(
      const EncodableValue* result) const = 0;
  // `error_details` is null for none.
  virtual std::unique_ptr<std::vector<uint8_t>> EncodeErrorReply(
      const std::string& error_code, const std::string& error_message,
      const EncodableValue* error_details) const = 0;
  // Delivers a reply envelope to `result`. False when the envelope is neither
  // a success nor an error; then `result` is not called.
  virtual bool DecodeReplyInto(const uint8_t* response, size_t response_size,
                               MethodResult* result) const = 0;
};

}  // namespace flutter

#endif  // CODEC_METHOD_CODEC_H_
