#include "codec/standard_method_codec.h"

#include <map>

namespace flutter {

const StandardMethodCodec& StandardMethodCodec::SharedInstance(
    const StandardCodecSerializer* serializer) {
  if (!serializer) serializer = &StandardCodecSerializer::SharedInstance();
  // Never destroyed: channels borrow these codecs until the process ends.
  static auto* registry =
      new std::map<const StandardCodecSerializer*,
                   std::unique_ptr<StandardMethodCodec>>();
  auto found = registry->find(serializer);
  if (found != registry->end()) return *found->second;
  auto inserted = registry->emplace(
      serializer, std::make_unique<StandardMethodCodec>(serializer));
  return *inserted.first->second;
}

std::unique_ptr<MethodCall> StandardMethodCodec::DecodeCall(
    const uint8_t* message, size_t message_size) const {
  ByteBufferStreamReader reader(message, message_size);
  EncodableValue name = serializer_->ReadTaggedValue(&reader);
  const std::string* method_name = get_if<std::string>(&name);
  if (!method_name) {
    LogLine("Invalid method call; method name is not a string.");
    return nullptr;
  }
  auto arguments =
      std::make_unique<EncodableValue>(serializer_->ReadTaggedValue(&reader));
  return std::make_unique<MethodCall>(*method_name, std::move(arguments));
}

std::unique_ptr<std::vector<uint8_t>> StandardMethodCodec::EncodeCall(
    const MethodCall& call) const {
  auto message = std::make_unique<std::vector<uint8_t>>();
  ByteBufferStreamWriter writer(message.get());
  serializer_->WriteValue(EncodableValue(call.method_name()), &writer);
  const EncodableValue null;
  serializer_->WriteValue(call.arguments() ? *call.arguments() : null,
                          &writer);
  return message;
}

std::unique_ptr<std::vector<uint8_t>> StandardMethodCodec::EncodeSuccessReply(
    const EncodableValue* result) const {
  auto message = std::make_unique<std::vector<uint8_t>>();
  ByteBufferStreamWriter writer(message.get());
  writer.PutByte(0);
  const EncodableValue null;  // (a ternary with a temporary would copy *result)
  serializer_->WriteValue(result ? *result : null, &writer);
  return message;
}

std::unique_ptr<std::vector<uint8_t>> StandardMethodCodec::EncodeErrorReply(
    const std::string& error_code, const std::string& error_message,
    const EncodableValue* error_details) const {
  auto message = std::make_unique<std::vector<uint8_t>>();
  ByteBufferStreamWriter writer(message.get());
  writer.PutByte(1);
  serializer_->WriteValue(EncodableValue(error_code), &writer);
  serializer_->WriteValue(error_message.empty() ? EncodableValue()
                                                : EncodableValue(error_message),
                          &writer);
  const EncodableValue null;
  serializer_->WriteValue(error_details ? *error_details : null, &writer);
  return message;
}

bool StandardMethodCodec::DecodeReplyInto(const uint8_t* response,
                                          size_t response_size,
                                          MethodResult* result) const {
  ByteBufferStreamReader reader(response, response_size);
  uint8_t envelope = reader.GetByte();
  if (envelope == 0) {
    EncodableValue value = serializer_->ReadTaggedValue(&reader);
    if (value.IsNull()) {
      result->Success();
    } else {
      result->Success(value);
    }
    return true;
  }
  if (envelope == 1) {
    EncodableValue code = serializer_->ReadTaggedValue(&reader);
    EncodableValue message = serializer_->ReadTaggedValue(&reader);
    EncodableValue details = serializer_->ReadTaggedValue(&reader);
    std::string message_text =
        message.IsNull() ? std::string() : get<std::string>(message);
    const std::string& code_text = get<std::string>(code);
    if (details.IsNull()) {
      result->Error(code_text, message_text);
    } else {
      result->Error(code_text, message_text, details);
    }
    return true;
  }
  return false;
}

}  // namespace flutter
