#ifndef CODEC_STANDARD_METHOD_CODEC_H_
#define CODEC_STANDARD_METHOD_CODEC_H_

#include "codec/method_codec.h"
#include "codec/standard_codec_serializer.h"

namespace flutter {

// The method codec of the standard message encoding.
//   call:    method name (string), arguments (null when none)
//   success: 0, result (null when none)
//   error:   1, code (string), message (null when empty), details
class StandardMethodCodec : public MethodCodec {
 public:
  // The codec kept for `serializer` (the shared serializer when null). It
  // lives until the process ends, so channels may borrow it.
  static const StandardMethodCodec& SharedInstance(
      const StandardCodecSerializer* serializer = nullptr);

  explicit StandardMethodCodec(const StandardCodecSerializer* serializer)
      : serializer_(serializer) {}

  std::unique_ptr<MethodCall> DecodeCall(const uint8_t* message,
                                         size_t message_size) const override;
  std::unique_ptr<std::vector<uint8_t>> EncodeCall(
      const MethodCall& call) const override;
  std::unique_ptr<std::vector<uint8_t>> EncodeSuccessReply(
      const EncodableValue* result) const override;
  std::unique_ptr<std::vector<uint8_t>> EncodeErrorReply(
      const std::string& error_code, const std::string& error_message,
      const EncodableValue* error_details) const override;
  // Throws std::bad_variant_access for an error envelope whose code is not a
  // string or whose message is neither null nor a string.
  bool DecodeReplyInto(const uint8_t* response, size_t response_size,
                       MethodResult* result) const override;

 private:
  const StandardCodecSerializer* serializer_;
};

}  // namespace flutter

#endif  // CODEC_STANDARD_METHOD_CODEC_H_
